#pragma once

#include "drawpool.h"
#include "namegenerator.h"

#include "core/random.h"

#include <QStringList>

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

/**
 * Streamed draws for runs of any length: uniform or weighted, with or without repeats, from a seed
 * whose output never changes. Every rule below is part of that promise; the README states them.
 */
namespace quillory {

/** A whole number from 0 to n − 1 made of 64 random bits x: the high 64 bits of the 128-bit product x × n. */
inline std::uint64_t numberBelow(std::uint64_t x, std::uint64_t n) {
    return static_cast<std::uint64_t>((static_cast<unsigned __int128>(x) * n) >> 64);
}

/** A whole number from 0 to n − 1 made of the next 64 bits of the sequence. */
inline std::uint64_t drawBelow(RandomSource& random, std::uint64_t n) {
    return numberBelow(random.nextBits(), n);
}

/**
 * Walker's alias table over whole-number weights, built by Vose's method in exact integer arithmetic
 * so that every machine builds the same table. A draw takes one number x of the sequence: the high 64
 * bits of x × n name a column i, and the low 64 bits (the fraction) give i when they are below the
 * column's threshold, else its alias.
 */
class AliasTable {
public:
    /** Weights must be positive, with a sum below 2^64. */
    explicit AliasTable(std::span<const std::uint64_t> weights);

    std::uint32_t draw(RandomSource& random) const { return drawWith(random.nextBits()); }
    /** The draw of the number `x`. */
    std::uint32_t drawWith(std::uint64_t x) const {
        const unsigned __int128 product = static_cast<unsigned __int128>(x) * m_columns.size();
        const auto index = static_cast<std::uint32_t>(product >> 64);
        const Column& column = m_columns[index];
        // Without a branch: which way a draw goes is as unpredictable as the draw itself.
        const std::uint32_t toAlias =
            0u - static_cast<std::uint32_t>(static_cast<std::uint64_t>(product) >= column.threshold);
        return index ^ ((index ^ column.alias) & toAlias);
    }
    std::size_t size() const { return m_columns.size(); }
    /** Ask the processor to fetch the column the number `x` draws from. */
    void prefetch(std::uint64_t x) const {
        __builtin_prefetch(
            &m_columns[static_cast<std::size_t>((static_cast<unsigned __int128>(x) * m_columns.size()) >> 64)]);
    }
    /** Column i's threshold and alias. */
    std::pair<std::uint64_t, std::uint32_t> column(std::size_t i) const {
        return {m_columns[i].threshold, m_columns[i].alias};
    }

private:
    // Twelve bytes: a table of millions of names stays small.
    struct [[gnu::packed]] Column {
        std::uint64_t threshold;
        std::uint32_t alias;
    };
    std::vector<Column> m_columns;
};

/** How a run draws. */
struct DrawRules {
    NamePart part = NamePart::FirstAndLast;
    bool weighted = false;
    /** No name twice; the pools must then hold each text once. */
    bool unique = false;
};

/**
 * One drawn name: the item numbers of its parts in their pools (0 for a part not drawn), and, when
 * the person was drawn before the name (people of today), that person.
 */
struct DrawnName {
    std::uint32_t first = 0;
    std::uint32_t last = 0;
    /** The day of birth as a Julian day number; 0 when no person came with the name. */
    std::int32_t born = 0;
    char sex = 0;            // 'F' or 'M'
    std::uint8_t domain = 0; // which of the three example domains
};

/**
 * The pairs of a first and a last name that print the same line as another pair when the two are
 * joined by a space ("Jean Le" + "Gall" and "Jean" + "Le Gall"). Of the pairs that print one line,
 * only the one with the shortest first name is drawn under --unique; the others are listed here as
 * pair numbers (last × first count + first). Empty unless a first name holds a space.
 */
std::vector<std::uint64_t> joinedLineRepeats(const QStringList& first, const QStringList& last);
std::vector<std::uint64_t> joinedLineRepeats(const TextTable& first, const TextTable& last);

/**
 * The names of a run, one at a time, with little memory whatever their number (except that a run
 * without repeats remembers what it gave). The pools must outlive the stream.
 *
 * - Uniform: per name, the last name's item drawBelow(last count), then the first name's; a part
 *   not printed is not drawn.
 * - Weighted: the same order, each part drawn from the alias table of its pool's weights.
 * - Unique: names are numbered (a pair is last × first count + first) and drawn without repeats:
 *   uniformly by redrawing a repeat when at most half the possible names are asked for, else by a
 *   Fisher–Yates shuffle; weighted by redrawing repeats until the names given hold half the weight,
 *   then the rest in the order of Efraimidis–Spirakis keys.
 */
class NameStream {
public:
    /** The pool of each part drawn must not be empty; weighted draws need each pool's weights. */
    NameStream(const DrawPool& first, const DrawPool& last, DrawRules rules, RandomSource& random,
               std::span<const std::uint64_t> repeats = {});
    ~NameStream();

    NameStream(const NameStream&) = delete;
    NameStream& operator=(const NameStream&) = delete;

    /** How many different names the pools can give under these rules. */
    std::uint64_t distinctNames() const;

    /**
     * Tells a unique stream how many names will be asked for (at most distinctNames()), which
     * chooses its method. Must come before the first next() of a unique stream.
     */
    void expect(std::uint64_t count);
    /**
     * Tells a unique stream that `count` names more will be asked for than it was told (the first
     * time, as expect()): none of them repeats a name given before, though they need not be those a
     * stream told the whole count at once would give.
     */
    void expectMore(std::uint64_t count);

    DrawnName next() {
        if (m_rules.unique)
            return nextUnique();
        return drawPair();
    }

private:
    class Unique;

    DrawnName nextUnique();
    // Draws with repeats, inline: they are most of a long run's work.
    DrawnName drawPair() {
        DrawnName drawn;
        if (m_rules.part != NamePart::FirstOnly)
            drawn.last = m_lastTable ? m_lastTable->draw(m_random)
                                     : static_cast<std::uint32_t>(drawBelow(m_random, m_lastCount));
        if (m_rules.part != NamePart::LastOnly)
            drawn.first = m_firstTable ? m_firstTable->draw(m_random)
                                       : static_cast<std::uint32_t>(drawBelow(m_random, m_firstCount));
        return drawn;
    }
    DrawnName nameOf(std::uint64_t number) const;

    const DrawPool& m_first;
    const DrawPool& m_last;
    DrawRules m_rules;
    RandomSource& m_random;
    std::uint64_t m_firstCount;
    std::uint64_t m_lastCount;
    std::optional<AliasTable> m_firstTable;
    std::optional<AliasTable> m_lastTable;
    std::unique_ptr<Unique> m_unique;
    std::span<const std::uint64_t> m_repeats;
};

/**
 * ln(x) for 0 < x <= 1 from additions, multiplications and divisions only, in a fixed order, so that
 * every machine with IEEE arithmetic gives the same bits (a system's log may differ in the last bit).
 */
double portableLog(double x);

} // namespace quillory
