#include "listdraw.h"

#include "core/random.h"
#include "namedraws.h"

namespace quillory {

namespace {

// `added` sees each name that became an item of the pool, in order.
DrawPool poolOf(const QStringList& names, const ListDrawRules& rules, const ListDraw::Weigh& weigh,
                const std::function<void(const QString&)>& added = {}) {
    // Weighted and unique draws take each printed text once; uniform draws take a list as it is.
    DrawPoolBuilder builder(!rules.keepSpaces, rules.weighted || rules.unique);
    for (const QString& name : names) {
        const bool taken = rules.weighted ? builder.add(name, weigh(name)) : builder.add(name);
        if (taken && added)
            added(name);
    }
    return builder.take();
}

bool drawsFirst(NamePart part) {
    return part == NamePart::FirstAndLast || part == NamePart::FirstOnly;
}

bool drawsLast(NamePart part) {
    return part == NamePart::FirstAndLast || part == NamePart::LastOnly;
}

} // namespace

ListDraw::ListDraw(const QStringList& firstNames, const QStringList& lastNames, const ListDrawRules& rules,
                   const Weigh& firstWeight, const Weigh& lastWeight, const FirstNameBirthsOf& births)
    : m_rules(rules) {
    const bool today = rules.today.has_value();
    std::vector<const NameBirthSpans*> birthsOfItem; // the people of today's names, by their place in the pool
    if (drawsFirst(rules.part))
        m_first = poolOf(firstNames, rules, firstWeight, [&](const QString& name) {
            if (today)
                birthsOfItem.push_back(births.find ? births.find(name) : nullptr);
        });
    if (drawsLast(rules.part))
        m_last = poolOf(lastNames, rules, lastWeight);
    // The window prints the two parts joined by a space: a line two pairs print is given once.
    if (rules.unique && rules.part == NamePart::FirstAndLast)
        m_repeats = joinedLineRepeats(m_first.texts, m_last.texts);
    if (!today)
        return;
    std::variant<TodayDraw, TodayDraw::Problem> people = TodayDraw::make(Population::france(), *rules.today);
    if (const auto* problem = std::get_if<TodayDraw::Problem>(&people)) {
        m_todayProblem = *problem;
        return;
    }
    m_today.emplace(std::get<TodayDraw>(std::move(people)));
    if (!drawsFirst(rules.part))
        return;
    m_periodNames = std::make_shared<const PeriodNames>(births.periods, static_cast<std::uint32_t>(birthsOfItem.size()),
                                                        [&](std::uint32_t item) { return birthsOfItem[item]; });
    for (const char sex : {'F', 'M'})
        for (std::uint32_t cell = 0; cell < m_today->cells() && !m_unnamed; ++cell)
            if (m_today->sexOf(cell) == sex && !m_periodNames->hasNames(sex, m_today->cohortOf(cell))) {
                const auto [from, to] = m_periodNames->periodYears(m_today->cohortOf(cell));
                m_unnamed = Unnamed{sex, from, to};
            }
}

bool ListDraw::hasFirstNames() const {
    return !drawsFirst(m_rules.part) || !m_first.texts.isEmpty();
}

bool ListDraw::hasLastNames() const {
    return !drawsLast(m_rules.part) || !m_last.texts.isEmpty();
}

std::uint64_t ListDraw::distinctNames() const {
    if (!hasFirstNames() || !hasLastNames())
        return 0;
    RandomSource random(0);
    const NameStream stream(m_first, m_last, {m_rules.part, m_rules.weighted, m_rules.unique}, random, m_repeats);
    return stream.distinctNames();
}

std::shared_ptr<GeneratedNames> ListDraw::draw(int count, std::uint64_t seed,
                                               const std::function<void(int)>& progress) const {
    RandomSource random(seed);
    if (m_today) {
        RandomSource peoples = RandomSource::second(seed);
        TodayNames stream(*m_today, m_periodNames.get(), static_cast<std::uint32_t>(m_first.texts.size()), m_last,
                          m_rules.part, random, peoples);
        if (m_rules.unique)
            stream.makeUnique(m_repeats);
        return drawNames(stream, m_first, m_last, {m_rules.part, count, seed, m_rules.keepSpaces}, progress);
    }
    NameStream stream(m_first, m_last, {m_rules.part, m_rules.weighted, m_rules.unique}, random, m_repeats);
    if (m_rules.unique)
        stream.expect(static_cast<std::uint64_t>(std::max(count, 0)));
    return drawNames(stream, m_first, m_last, {m_rules.part, count, seed, m_rules.keepSpaces}, progress);
}

} // namespace quillory
