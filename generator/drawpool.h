#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace quillory {

/** The names one part is drawn from: their texts as printed and, for weighted draws, their weights. */
struct DrawPool {
    QStringList texts;
    std::vector<std::uint64_t> weights;
};

/**
 * A stored name as a part of a printed name: in proper case, with the spaces at either end dropped and
 * those inside kept (Da Silva), or with every space removed as the window's results have them
 * (Dasilva) when `stripSpaces` is set.
 */
QString printedPart(const QString& stored, bool stripSpaces);

/**
 * The pool of a part made from stored names and their weights (none, or one per name): each name as
 * printedPart() makes it, a name that prints as nothing or weighs nothing left out. With `distinct`, a text that prints
 * like an earlier one is left out too, so that each text is there once with its first weight;
 * without it, a name stored twice is there twice, as a shown list has it.
 */
DrawPool makeDrawPool(const QStringList& stored, const std::vector<std::uint64_t>& weights, bool stripSpaces,
                      bool distinct);

} // namespace quillory
