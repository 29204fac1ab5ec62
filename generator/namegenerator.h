#pragma once

#include "core/listitems.h"

#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace quillory {

class RandomSource;

/** Which part of each drawn name a run keeps. None keeps nothing: the names are drawn but not listed. */
enum class NamePart { None, FirstAndLast, FirstOnly, LastOnly };

/**
 * The names of one run. Each name is kept as the numbers of the items drawn from the two pools, and
 * its text is made when asked: the cleaned first name, one space, the cleaned last name (or one part
 * alone). A pool item is cleaned (spaces removed, proper case) once per run, however often drawn; an
 * empty pool gives empty text. A million names take a few megabytes.
 */
class GeneratedNames final : public ListItems {
public:
    qsizetype size() const override { return m_size; }
    QString text(qsizetype index) const override;
    void appendLines(QByteArray& out, QByteArrayView lineEnd) const override;
    QString lines(QStringView lineEnd) const override;

    NamePart part() const { return m_part; }

private:
    friend std::shared_ptr<GeneratedNames> generateNames(const QStringList&, const QStringList&, NamePart, int,
                                                         RandomSource&, const std::function<void(int)>&);

    QString firstOf(qsizetype index) const;
    QString lastOf(qsizetype index) const;

    NamePart m_part = NamePart::None;
    qsizetype m_size = 0;
    // Per name, the place of its part in the texts below; only the parts kept are recorded.
    std::vector<std::uint32_t> m_first;
    std::vector<std::uint32_t> m_last;
    // The cleaned text of each pool item drawn at least once; entry 0 is the empty text.
    std::vector<QString> m_firstTexts;
    std::vector<QString> m_lastTexts;
};

/**
 * Draws `count` names. For each name the last-name item is drawn first, then the first-name item:
 * two numbers of the random sequence per name, whatever part is kept and even from an empty pool.
 * Draws are uniform and independent, with repetition. `progress` is called with the percentage of
 * the run done, i × 100 / count rounded down, each time it grows: at most 100 times a run.
 * A count of 0 or less draws nothing.
 */
std::shared_ptr<GeneratedNames> generateNames(const QStringList& firstPool, const QStringList& lastPool, NamePart part,
                                              int count, RandomSource& random,
                                              const std::function<void(int)>& progress = {});

} // namespace quillory
