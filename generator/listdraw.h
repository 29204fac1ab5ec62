#pragma once

#include "drawpool.h"
#include "namegenerator.h"
#include "today.h"

#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace quillory {

/** How a run from two lists is drawn when it is drawn as quillory-cli draws. */
struct ListDrawRules {
    NamePart part = NamePart::FirstAndLast;
    /** Each name weighs what the weighing functions give it (0: never drawn). */
    bool weighted = false;
    /** No printed name twice. */
    bool unique = false;
    /** The names keep the spaces inside them (Da Silva) instead of losing them (Dasilva). */
    bool keepSpaces = false;
    /**
     * The people of today, drawn before their names as quillory-cli --alive draws them (which needs
     * `weighted`, and the first names' births).
     */
    std::optional<TodayDraw::Rules> today;
};

/** The births of the first names, for the people of today: a name's (null for none), and every period's years. */
struct FirstNameBirthsOf {
    std::function<const NameBirthSpans*(const QString& name)> find;
    std::vector<std::pair<int, int>> periods;
};

/**
 * A run from two lists of names, drawn through NameStream exactly as quillory-cli draws from the same
 * lists with the same seed and options (--strip-spaces unless spaces are kept): the pools are made
 * from the lists as quillory-cli makes them, and a run without repeats never prints a line twice.
 */
class ListDraw {
public:
    using Weigh = std::function<std::uint64_t(const QString& name)>;

    /** The weighing functions are used only when `rules.weighted`. */
    ListDraw(const QStringList& firstNames, const QStringList& lastNames, const ListDrawRules& rules,
             const Weigh& firstWeight = {}, const Weigh& lastWeight = {}, const FirstNameBirthsOf& births = {});

    /** With the people of today: nobody of those ages (and years), or none. */
    std::optional<TodayDraw::Problem> todayProblem() const { return m_todayProblem; }
    /**
     * With the people of today: the first sex ('F' or 'M') and period (first and last years) in which
     * some people alive are born and none of the first names was given; none when every one has names.
     */
    struct Unnamed {
        char sex;
        int fromYear;
        int toYear;
    };
    std::optional<Unnamed> unnamed() const { return m_unnamed; }

    /** Whether each part drawn has a name to draw (one that prints as something and weighs something). */
    bool hasFirstNames() const;
    bool hasLastNames() const;
    /** How many different names the lists can give under these rules. */
    std::uint64_t distinctNames() const;

    /** Draws `count` names from the sequence started at `seed`; a unique run needs count <= distinctNames(). */
    std::shared_ptr<GeneratedNames> draw(int count, std::uint64_t seed,
                                         const std::function<void(int)>& progress = {}) const;

private:
    ListDrawRules m_rules;
    DrawPool m_first;
    DrawPool m_last;
    std::vector<std::uint64_t> m_repeats;
    std::optional<TodayDraw> m_today;
    std::optional<TodayDraw::Problem> m_todayProblem;
    std::shared_ptr<const PeriodNames> m_periodNames;
    std::optional<Unnamed> m_unnamed;
};

} // namespace quillory
