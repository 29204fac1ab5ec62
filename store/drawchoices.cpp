#include "drawchoices.h"

#include "core/apperror.h"
#include "core/random.h"
#include "core/settings.h"

namespace quillory {

namespace {

bool truthOf(const SettingsStore& settings, const QString& key) {
    try {
        return truthFromText(settings.ReadSetting(key, truthText(false)));
    } catch (const AppError&) {
        return false;
    }
}

} // namespace

std::optional<BirthYears> DrawChoices::bornYears() const {
    if (bornIn.isEmpty())
        return std::nullopt;
    const std::variant<BirthYears, YearsProblem> years = birthYearsFrom(bornIn);
    if (const BirthYears* found = std::get_if<BirthYears>(&years))
        return *found;
    return std::nullopt;
}

std::optional<AgeRange> DrawChoices::todayAges() const {
    if (peopleOfToday.isEmpty())
        return std::nullopt;
    const std::variant<AgeRange, AgesProblem> ages = agesFrom(peopleOfToday);
    if (const AgeRange* found = std::get_if<AgeRange>(&ages))
        return *found;
    return std::nullopt;
}

bool DrawChoices::drawsLikeTheCommandLine(bool userList) const {
    return commonNames || noRepeats || seed.has_value() ||
           (!userList && (bornYears().has_value() || todayAges().has_value()));
}

DrawChoices DrawChoices::read(const SettingsStore& settings) {
    DrawChoices choices;
    choices.commonNames = truthOf(settings, drawkeys::kCommonNames);
    choices.noRepeats = truthOf(settings, drawkeys::kNoRepeats);
    choices.keepSpaces = truthOf(settings, drawkeys::kKeepSpaces);
    choices.bornIn = settings.ReadSetting(drawkeys::kBornIn, QString()).trimmed();
    if (!choices.bornYears())
        choices.bornIn.clear();
    choices.peopleOfToday = settings.ReadSetting(drawkeys::kPeopleOfToday, QString()).trimmed();
    if (!choices.todayAges())
        choices.peopleOfToday.clear();
    choices.seed = seedFromText(settings.ReadSetting(drawkeys::kSeed, QString()).trimmed());
    return choices;
}

} // namespace quillory
