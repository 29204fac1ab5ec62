#include "random.h"

#include "appinfo.h"
#include "dialogs.h"

#include <algorithm>
#include <bit>
#include <random>

namespace quillory {

void RandomSource::reseed(std::uint64_t seed, int skip) {
    // splitmix64 spreads any seed, even 0 or a few bits of one, over the whole state.
    const auto next = [&seed] {
        seed += 0x9E3779B97F4A7C15ULL;
        std::uint64_t z = seed;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    };
    for (int i = 0; i < skip; ++i)
        next();
    for (auto& word : m_state)
        word = next();
}

std::uint64_t seedForTimeOfDay(QTime timeOfDay) {
    const float seconds = static_cast<float>(timeOfDay.msecsSinceStartOfDay()) / 1000.0f;
    return std::bit_cast<std::uint32_t>(seconds);
}

int SeedRandom(RandomSource& random, QTime timeOfDay, Dialogs& dialogs) {
    random.reseed(seedForTimeOfDay(timeOfDay));
    const int roll = RandomInteger(random, 100);
    if (roll == appinfo::kHomePageRoll)
        dialogs.openUrl(QUrl(appinfo::kHomePage));
    return roll;
}

std::uint64_t systemSeed() {
    std::random_device device;
    return (static_cast<std::uint64_t>(device()) << 32) | device();
}

std::optional<std::uint64_t> seedFromText(const QString& text) {
    if (text.isEmpty() || text.size() > 20 ||
        !std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return std::nullopt;
    bool ok = false;
    const std::uint64_t seed = text.toULongLong(&ok);
    return ok ? std::optional<std::uint64_t>(seed) : std::nullopt;
}

} // namespace quillory
