#pragma once

#include "nameoutput.h"

#include "generator/people.h"

#include <memory>
#include <vector>

/** Records of the fields --fields chooses: one person a row, in CSV, JSON lines or a workbook. */
namespace quillory::cli {

/**
 * What the person of a run's names needs: the births of each first name of the pool by sex and
 * period (empty for a name without births), by its place in the pool.
 */
struct PeopleSource {
    std::vector<NameBirthSpans> firstNames;
};

/**
 * Writes a record per drawn name with `options.fields` in order: CSV (a header of the field names,
 * CR LF, quoted only where needed), JSON lines (an object a line, a missing value null, the year a
 * number) or a workbook (a header row, then a row a name, the year a number and every other cell text). The person
 * behind each name is drawn from the second sequence of `seed` (PersonDraw). Each pool text's forms (as printed,
 * without accents, initials, address) are made once.
 */
std::unique_ptr<NameWriter> makeFieldsWriter(const Options& options, const DrawPool& first, const DrawPool& last,
                                             PeopleSource people, std::uint64_t seed, std::unique_ptr<ByteSink> sink);

} // namespace quillory::cli
