#include "listdraw.h"

#include "core/random.h"
#include "namedraws.h"

namespace quillory {

namespace {

DrawPool poolOf(const QStringList& names, const ListDrawRules& rules, const ListDraw::Weigh& weigh) {
    // Weighted and unique draws take each printed text once; uniform draws take a list as it is.
    DrawPoolBuilder builder(!rules.keepSpaces, rules.weighted || rules.unique);
    for (const QString& name : names) {
        if (rules.weighted)
            builder.add(name, weigh(name));
        else
            builder.add(name);
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
                   const Weigh& firstWeight, const Weigh& lastWeight)
    : m_rules(rules) {
    if (drawsFirst(rules.part))
        m_first = poolOf(firstNames, rules, firstWeight);
    if (drawsLast(rules.part))
        m_last = poolOf(lastNames, rules, lastWeight);
    // The window prints the two parts joined by a space: a line two pairs print is given once.
    if (rules.unique && rules.part == NamePart::FirstAndLast)
        m_repeats = joinedLineRepeats(m_first.texts, m_last.texts);
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
    NameStream stream(m_first, m_last, {m_rules.part, m_rules.weighted, m_rules.unique}, random, m_repeats);
    if (m_rules.unique)
        stream.expect(static_cast<std::uint64_t>(std::max(count, 0)));
    return drawNames(stream, m_first, m_last, {m_rules.part, count, seed, m_rules.keepSpaces}, progress);
}

} // namespace quillory
