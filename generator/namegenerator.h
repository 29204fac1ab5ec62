#pragma once

#include "core/listitems.h"

#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace quillory {

class NameStream;
class TodayNames;
class RandomSource;
struct DrawPool;

/** Which part of each drawn name a run keeps. None keeps nothing: the names are drawn but not listed. */
enum class NamePart { None, FirstAndLast, FirstOnly, LastOnly };

/** A run drawn through a NameStream: how many, which part, and what the run can tell of itself. */
struct RunOfDraws {
    NamePart part = NamePart::FirstAndLast;
    int count = 0;
    std::uint64_t seed = 0;
    /** The pools' texts keep the spaces inside the names. */
    bool keepsSpaces = false;
};

/**
 * The names of one run. Each name is kept as the numbers of the items drawn from the two pools, and
 * its text is made when asked: the cleaned first name, one space, the cleaned last name (or one part
 * alone). A pool item is cleaned once per run, however often drawn; an empty pool gives empty text.
 * A million names take a few megabytes.
 */
class GeneratedNames final : public NameRun {
public:
    qsizetype size() const override { return m_size; }
    QString text(qsizetype index) const override;
    void appendLines(QByteArray& out, QByteArrayView lineEnd) const override;
    QString lines(QStringView lineEnd) const override;

    QString firstName(qsizetype index) const override { return keepsFirst() ? firstOf(index) : QString(); }
    QString lastName(qsizetype index) const override { return keepsLast() ? lastOf(index) : QString(); }
    bool keepsFirst() const override { return m_part == NamePart::FirstAndLast || m_part == NamePart::FirstOnly; }
    bool keepsLast() const override { return m_part == NamePart::FirstAndLast || m_part == NamePart::LastOnly; }
    std::optional<std::uint64_t> seed() const override { return m_seed; }
    bool keepsSpaces() const override { return m_keepsSpaces; }
    RunPeople people() const override { return m_people; }
    std::optional<RunPerson> person(qsizetype index) const override {
        if (m_born.empty())
            return std::nullopt;
        const auto at = static_cast<std::size_t>(index);
        return RunPerson{m_born[at], (m_sexAndDomain[at] & 1) != 0 ? 'M' : 'F',
                         static_cast<std::uint8_t>(m_sexAndDomain[at] >> 1)};
    }
    /** Drawn runs take their seed for the people behind them; the window adds what it chose. */
    void setPeople(const RunPeople& people) { m_people = people; }

    NamePart part() const { return m_part; }

private:
    friend std::shared_ptr<GeneratedNames> generateNames(const QStringList&, const QStringList&, NamePart, int,
                                                         RandomSource&, const std::function<void(int)>&, bool);
    friend std::shared_ptr<GeneratedNames> drawNames(NameStream&, const DrawPool&, const DrawPool&, const RunOfDraws&,
                                                     const std::function<void(int)>&);
    friend std::shared_ptr<GeneratedNames> drawNames(TodayNames&, const DrawPool&, const DrawPool&, const RunOfDraws&,
                                                     const std::function<void(int)>&);

    // A run without names yet, ready for run.count of them.
    static std::shared_ptr<GeneratedNames> begin(const RunOfDraws& run);
    template <typename Stream, typename Each>
    friend std::shared_ptr<GeneratedNames> drawFrom(Stream&, std::shared_ptr<GeneratedNames>, const DrawPool&,
                                                    const DrawPool&, const RunOfDraws&, const std::function<void(int)>&,
                                                    Each&&);

    QString firstOf(qsizetype index) const;
    QString lastOf(qsizetype index) const;

    NamePart m_part = NamePart::None;
    qsizetype m_size = 0;
    std::optional<std::uint64_t> m_seed;
    bool m_keepsSpaces = false;
    RunPeople m_people;
    // Per name, the place of its part in the texts below; only the parts kept are recorded.
    std::vector<std::uint32_t> m_first;
    std::vector<std::uint32_t> m_last;
    // The people of today, drawn before their names: each one's day of birth, and its sex (bit 0: M)
    // and address's domain (the bits above).
    std::vector<std::int32_t> m_born;
    std::vector<std::uint8_t> m_sexAndDomain;
    // The cleaned text of each pool item drawn at least once; entry 0 is the empty text.
    std::vector<QString> m_firstTexts;
    std::vector<QString> m_lastTexts;
};

/**
 * Draws `count` names. For each name the last-name item is drawn first, then the first-name item:
 * two numbers of the random sequence per name, whatever part is kept and even from an empty pool.
 * Draws are uniform and independent, with repetition. Each item is cleaned by losing its spaces
 * (Dasilva), or with `keepSpaces` only those at its ends (Da Silva). `progress` is called with the percentage of
 * the run done, i × 100 / count rounded down, each time it grows: at most 100 times a run.
 * A count of 0 or less draws nothing.
 */
std::shared_ptr<GeneratedNames> generateNames(const QStringList& firstPool, const QStringList& lastPool, NamePart part,
                                              int count, RandomSource& random,
                                              const std::function<void(int)>& progress = {}, bool keepSpaces = false);

/**
 * Draws `run.count` names from `stream` (a unique stream must have been told the count), whose
 * pools are `first` and `last`; the texts are the pools' as they are. Progress is reported as
 * generateNames() reports it.
 */
std::shared_ptr<GeneratedNames> drawNames(NameStream& stream, const DrawPool& first, const DrawPool& last,
                                          const RunOfDraws& run, const std::function<void(int)>& progress = {});

/** The same for the people of today: the run keeps each name's person too (GeneratedNames::person). */
std::shared_ptr<GeneratedNames> drawNames(TodayNames& stream, const DrawPool& first, const DrawPool& last,
                                          const RunOfDraws& run, const std::function<void(int)>& progress = {});

} // namespace quillory
