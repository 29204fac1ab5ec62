#include "namedraws.h"

#include "core/random.h"

#include <QSet>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <limits>
#include <queue>
#include <stdexcept>
#include <utility>

namespace quillory {

namespace {

using u128 = unsigned __int128;

constexpr std::uint64_t kFullColumn = std::numeric_limits<std::uint64_t>::max();

// The names already given by a unique stream: one bit per possible name when that is no more than
// 16 bytes a name asked for, else an open-addressing hash set of name numbers.
class GivenNames {
public:
    GivenNames(std::uint64_t possible, std::uint64_t count) {
        if (possible <= 128 * std::max<std::uint64_t>(count, 8192)) {
            m_bits.assign(static_cast<std::size_t>((possible + 63) / 64), 0);
        } else {
            const std::uint64_t slotCount = std::bit_ceil(std::max<std::uint64_t>(2 * count, 16));
            m_slots.assign(static_cast<std::size_t>(slotCount), 0);
            m_shift = 64 - std::countr_zero(slotCount);
        }
    }

    /** Adds a name; false when it was there already. */
    bool insert(std::uint64_t name) {
        if (!m_bits.empty()) {
            std::uint64_t& word = m_bits[static_cast<std::size_t>(name / 64)];
            const std::uint64_t bit = std::uint64_t{1} << (name % 64);
            const bool fresh = (word & bit) == 0;
            word |= bit;
            return fresh;
        }
        std::size_t at = slotOf(name);
        for (; m_slots[at] != 0; at = (at + 1) & (m_slots.size() - 1))
            if (m_slots[at] == name + 1)
                return false;
        m_slots[at] = name + 1;
        return true;
    }

    /** Asks the processor to fetch where `name` is kept, a few draws before it is looked at. */
    void prefetch(std::uint64_t name) const {
        if (!m_bits.empty())
            __builtin_prefetch(&m_bits[static_cast<std::size_t>(name / 64)], 1);
        else
            __builtin_prefetch(&m_slots[slotOf(name)], 1);
    }

    /** Room for `count` names in all: a hash set grows, each name kept moving to its new place. */
    void reserve(std::uint64_t count) {
        if (!m_bits.empty() || 2 * count <= m_slots.size())
            return;
        std::vector<std::uint64_t> old = std::move(m_slots);
        const std::uint64_t slotCount = std::bit_ceil(2 * count);
        m_slots.assign(static_cast<std::size_t>(slotCount), 0);
        m_shift = 64 - std::countr_zero(slotCount);
        for (const std::uint64_t kept : old)
            if (kept != 0)
                insert(kept - 1);
    }

    bool contains(std::uint64_t name) const {
        if (!m_bits.empty())
            return (m_bits[static_cast<std::size_t>(name / 64)] >> (name % 64)) & 1;
        for (std::size_t at = slotOf(name); m_slots[at] != 0; at = (at + 1) & (m_slots.size() - 1))
            if (m_slots[at] == name + 1)
                return true;
        return false;
    }

private:
    std::size_t slotOf(std::uint64_t name) const {
        return static_cast<std::size_t>((name * 0x9E3779B97F4A7C15ULL) >> m_shift);
    }

    std::vector<std::uint64_t> m_bits;
    std::vector<std::uint64_t> m_slots; // name + 1; 0 is an empty slot
    int m_shift = 0;
};

} // namespace

AliasTable::AliasTable(std::span<const std::uint64_t> weights) : m_columns(weights.size()) {
    const std::size_t n = weights.size();
    u128 total = 0;
    for (const std::uint64_t weight : weights) {
        if (weight == 0)
            throw std::invalid_argument("AliasTable: a weight of zero");
        total += weight;
    }
    if (total > std::numeric_limits<std::uint64_t>::max())
        throw std::invalid_argument("AliasTable: the weights add up to 2^64 or more");

    // Each column holds n × weight out of n × total; a column holds exactly `total` when full.
    // Small and large columns are worked as stacks, filled in index order. While a column is worked,
    // what it holds (below 2^96) is kept in its threshold (the low 64 bits) and in `high`; small
    // columns stack from the front of `work`, large ones from its back (no column is in both), so
    // that building takes 20 bytes a column in all.
    std::vector<std::uint32_t> high(n);
    std::vector<std::uint32_t> work(n);
    std::size_t smallTop = 0;
    std::size_t largeTop = n;
    const auto held = [&](std::uint32_t i) { return (static_cast<u128>(high[i]) << 64) | m_columns[i].threshold; };
    const auto keep = [&](std::uint32_t i, u128 amount) {
        m_columns[i].threshold = static_cast<std::uint64_t>(amount);
        high[i] = static_cast<std::uint32_t>(amount >> 64);
        if (amount < total)
            work[smallTop++] = i;
        else
            work[--largeTop] = i;
    };
    for (std::size_t i = 0; i < n; ++i) {
        m_columns[i].alias = static_cast<std::uint32_t>(i);
        keep(static_cast<std::uint32_t>(i), static_cast<u128>(weights[i]) * n);
    }
    while (smallTop > 0 && largeTop < n) {
        const std::uint32_t s = work[--smallTop];
        const std::uint32_t g = work[largeTop++];
        const u128 small = held(s);
        const u128 large = held(g);
        m_columns[s].threshold = static_cast<std::uint64_t>((small << 64) / total);
        m_columns[s].alias = g;
        keep(g, large + small - total);
    }
    for (std::size_t at = 0; at < smallTop; ++at)
        m_columns[work[at]].threshold = kFullColumn;
    for (std::size_t at = largeTop; at < n; ++at)
        m_columns[work[at]].threshold = kFullColumn;
    // What is left is full (or short of full only by rounding): it keeps its own column.
}

double portableLog(double x) {
    int exponent = 0;
    double m = std::frexp(x, &exponent); // x = m × 2^exponent, 0.5 <= m < 1
    if (m < 0.70710678118654752440) {
        m *= 2.0;
        exponent -= 1;
    }
    // ln m = 2 (s + s³/3 + s⁵/5 + ...) with s = (m − 1) / (m + 1), |s| < 0.172: 12 terms reach the
    // last bit of a double.
    const double s = (m - 1.0) / (m + 1.0);
    const double s2 = s * s;
    double term = s;
    double sum = 0.0;
    for (int k = 0; k < 12; ++k) {
        sum += term / static_cast<double>(2 * k + 1);
        term *= s2;
    }
    return static_cast<double>(exponent) * 0.69314718055994530942 + 2.0 * sum;
}

std::vector<std::uint64_t> joinedLineRepeats(const QStringList& first, const QStringList& last) {
    std::vector<std::uint64_t> repeats;
    const QSet<QString> firstSet(first.begin(), first.end());
    const QSet<QString> lastSet(last.begin(), last.end());
    const auto firstCount = static_cast<std::uint64_t>(first.size());
    for (qsizetype f = 0; f < first.size(); ++f) {
        const QString& name = first[f];
        for (qsizetype space = name.indexOf(u' '); space >= 0; space = name.indexOf(u' ', space + 1)) {
            if (!firstSet.contains(name.left(space)))
                continue;
            // name + " " + l reads as name.left(space) + " " + (rest + " " + l).
            const QString rest = name.mid(space + 1) + QLatin1Char(' ');
            for (qsizetype l = 0; l < last.size(); ++l)
                if (lastSet.contains(rest + last[l]))
                    repeats.push_back(static_cast<std::uint64_t>(l) * firstCount + static_cast<std::uint64_t>(f));
        }
    }
    std::sort(repeats.begin(), repeats.end());
    repeats.erase(std::unique(repeats.begin(), repeats.end()), repeats.end());
    return repeats;
}

std::vector<std::uint64_t> joinedLineRepeats(const TextTable& first, const TextTable& last) {
    // Only a first name with a space can print another pair's line.
    for (qsizetype f = 0; f < first.size(); ++f)
        if (first.bytes(f).contains(' '))
            return joinedLineRepeats(first.toStringList(), last.toStringList());
    return {};
}

// Draws without repeats over the name numbers 0 to possible − 1.
class NameStream::Unique {
public:
    Unique(NameStream& stream, std::uint64_t count)
        : m_stream(stream), m_possible(possibleNumbers(stream)), m_count(count), m_given(m_possible, count) {
        const std::uint64_t available = m_possible - stream.m_repeats.size();
        if (stream.m_rules.weighted) {
            const auto sum = [](const std::vector<std::uint64_t>& weights) {
                u128 total = 0;
                for (const std::uint64_t weight : weights)
                    total += weight;
                return total;
            };
            const NamePart part = stream.m_rules.part;
            m_availableWeight = part == NamePart::FirstAndLast
                                    ? sum(stream.m_first.weights) * sum(stream.m_last.weights)
                                : part == NamePart::FirstOnly ? sum(stream.m_first.weights)
                                                              : sum(stream.m_last.weights);
            for (const std::uint64_t repeat : stream.m_repeats)
                m_availableWeight -= weightOf(repeat);
        } else if ((2 * count > available || 2 * available < m_possible) &&
                   m_possible <= std::numeric_limits<std::uint32_t>::max()) {
            m_shuffled.resize(static_cast<std::size_t>(m_possible));
            for (std::size_t i = 0; i < m_shuffled.size(); ++i)
                m_shuffled[i] = static_cast<std::uint32_t>(i);
        }
    }

    static std::uint64_t possibleNumbers(const NameStream& stream) {
        const auto first = static_cast<std::uint64_t>(stream.m_first.texts.size());
        const auto last = static_cast<std::uint64_t>(stream.m_last.texts.size());
        switch (stream.m_rules.part) {
        case NamePart::FirstAndLast:
            return first * last;
        case NamePart::FirstOnly:
            return first;
        case NamePart::LastOnly:
            return last;
        case NamePart::None:
            break;
        }
        return 0;
    }

    // `extra` names more than were expected. The names handed from an ordered rest count as given,
    // so that the rest is ordered anew, without them, for the new count when it is needed.
    void more(std::uint64_t extra) {
        for (std::size_t i = 0; i < m_restAt; ++i) {
            m_given.insert(m_rest[i]);
            m_givenWeight += weightOf(m_rest[i]);
        }
        m_rest.clear();
        m_restAt = 0;
        m_count += extra;
        m_given.reserve(m_count);
    }

    std::uint64_t next() {
        if (m_handed >= m_count)
            throw std::logic_error("NameStream: more names asked for than expected");
        ++m_handed;
        if (m_stream.m_rules.weighted)
            return nextWeighted();
        if (!m_shuffled.empty()) {
            // Fisher–Yates, one swap a name; a name that repeats another's line is passed over.
            for (;;) {
                const std::size_t i = m_shuffledUpTo++;
                const auto j = i + static_cast<std::size_t>(drawBelow(m_stream.m_random, m_shuffled.size() - i));
                std::swap(m_shuffled[i], m_shuffled[j]);
                if (isAvailable(m_shuffled[i]))
                    return m_shuffled[i];
            }
        }
        for (;;) {
            const std::uint64_t name = nextCandidate();
            if (isAvailable(name) && m_given.insert(name))
                return name;
        }
    }

private:
    // The next number below m_possible of the sequence. The numbers are drawn a few ahead, in the
    // sequence's order, so that where each is kept can be fetched before it is looked at: the draws,
    // and so the names, are those of drawing one at a time.
    std::uint64_t nextCandidate() {
        if (m_aheadFilled == 0) {
            for (std::size_t i = 0; i < kAhead; ++i) {
                m_ahead[i] = drawBelow(m_stream.m_random, m_possible);
                m_given.prefetch(m_ahead[i]);
            }
            m_aheadFilled = kAhead;
        }
        const std::uint64_t name = m_ahead[m_aheadAt];
        m_ahead[m_aheadAt] = drawBelow(m_stream.m_random, m_possible);
        m_given.prefetch(m_ahead[m_aheadAt]);
        m_aheadAt = (m_aheadAt + 1) % kAhead;
        return name;
    }

    std::uint64_t nextWeighted() {
        if (m_rest.empty() && 2 * m_givenWeight <= m_availableWeight) {
            for (;;) {
                const DrawnName drawn = m_stream.drawPair();
                const std::uint64_t name = numberOf(drawn);
                if (isAvailable(name) && m_given.insert(name)) {
                    m_givenWeight += weightOf(name);
                    return name;
                }
            }
        }
        if (m_rest.empty())
            orderTheRest();
        return m_rest[m_restAt++];
    }

    // The names still to give, in the order of their keys −ln(u) / weight, u drawn in (0, 1] for
    // each name not given yet, in number order: the smallest keys, smallest first, continue the
    // weighted draw without repeats exactly.
    void orderTheRest() {
        const std::uint64_t wanted = m_count - m_handed + 1;
        using Keyed = std::pair<double, std::uint64_t>;
        std::priority_queue<Keyed> kept; // the largest key on top
        for (std::uint64_t name = 0; name < m_possible; ++name) {
            if (!isAvailable(name) || m_given.contains(name))
                continue;
            const double u = static_cast<double>((m_stream.m_random.nextBits() >> 11) + 1) * 0x1.0p-53;
            const Keyed keyed{-portableLog(u) / static_cast<double>(weightOf(name)), name};
            if (kept.size() < wanted) {
                kept.push(keyed);
            } else if (keyed < kept.top()) {
                kept.pop();
                kept.push(keyed);
            }
        }
        m_rest.resize(kept.size());
        for (std::size_t i = kept.size(); i-- > 0; kept.pop())
            m_rest[i] = kept.top().second;
    }

    bool isAvailable(std::uint64_t name) const {
        const auto& repeats = m_stream.m_repeats;
        return repeats.empty() || !std::binary_search(repeats.begin(), repeats.end(), name);
    }

    std::uint64_t numberOf(DrawnName drawn) const {
        switch (m_stream.m_rules.part) {
        case NamePart::FirstAndLast:
            return static_cast<std::uint64_t>(drawn.last) * static_cast<std::uint64_t>(m_stream.m_first.texts.size()) +
                   drawn.first;
        case NamePart::FirstOnly:
            return drawn.first;
        default:
            return drawn.last;
        }
    }

    u128 weightOf(std::uint64_t name) const {
        const DrawnName drawn = m_stream.nameOf(name);
        switch (m_stream.m_rules.part) {
        case NamePart::FirstAndLast:
            return static_cast<u128>(m_stream.m_first.weights[drawn.first]) * m_stream.m_last.weights[drawn.last];
        case NamePart::FirstOnly:
            return m_stream.m_first.weights[drawn.first];
        default:
            return m_stream.m_last.weights[drawn.last];
        }
    }

    NameStream& m_stream;
    std::uint64_t m_possible;
    std::uint64_t m_count;
    std::uint64_t m_handed = 0;
    GivenNames m_given;
    static constexpr std::size_t kAhead = 16;
    std::array<std::uint64_t, kAhead> m_ahead{};
    std::size_t m_aheadAt = 0;
    std::size_t m_aheadFilled = 0;
    std::vector<std::uint32_t> m_shuffled;
    std::size_t m_shuffledUpTo = 0;
    u128 m_availableWeight = 0;
    u128 m_givenWeight = 0;
    std::vector<std::uint64_t> m_rest;
    std::size_t m_restAt = 0;
};

NameStream::NameStream(const DrawPool& first, const DrawPool& last, DrawRules rules, RandomSource& random,
                       std::span<const std::uint64_t> repeats)
    : m_first(first), m_last(last), m_rules(rules), m_random(random),
      m_firstCount(static_cast<std::uint64_t>(first.texts.size())),
      m_lastCount(static_cast<std::uint64_t>(last.texts.size())), m_repeats(repeats) {
    const bool withFirst = rules.part == NamePart::FirstAndLast || rules.part == NamePart::FirstOnly;
    const bool withLast = rules.part == NamePart::FirstAndLast || rules.part == NamePart::LastOnly;
    if (rules.weighted && withFirst && !first.texts.isEmpty())
        m_firstTable.emplace(first.weights);
    if (rules.weighted && withLast && !last.texts.isEmpty())
        m_lastTable.emplace(last.weights);
}

NameStream::~NameStream() = default;

std::uint64_t NameStream::distinctNames() const {
    return Unique::possibleNumbers(*this) - m_repeats.size();
}

void NameStream::expect(std::uint64_t count) {
    if (m_rules.unique)
        m_unique = std::make_unique<Unique>(*this, count);
}

void NameStream::expectMore(std::uint64_t count) {
    if (!m_rules.unique)
        return;
    if (!m_unique)
        return expect(count);
    m_unique->more(count);
}

DrawnName NameStream::nameOf(std::uint64_t number) const {
    switch (m_rules.part) {
    case NamePart::FirstAndLast: {
        const auto firstCount = static_cast<std::uint64_t>(m_first.texts.size());
        return {static_cast<std::uint32_t>(number % firstCount), static_cast<std::uint32_t>(number / firstCount)};
    }
    case NamePart::FirstOnly:
        return {static_cast<std::uint32_t>(number), 0};
    default:
        return {0, static_cast<std::uint32_t>(number)};
    }
}

DrawnName NameStream::nextUnique() {
    if (!m_unique)
        throw std::logic_error("NameStream: a unique stream must be told its count first");
    return nameOf(m_unique->next());
}

} // namespace quillory
