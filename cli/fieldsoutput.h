#pragma once

#include "nameoutput.h"

#include "results/core/peoplewriter.h"

#include <memory>
#include <vector>

/** Records of the fields --fields chooses, written by the people writer all programs share. */
namespace quillory::cli {

/** The births of each first name of the pool by sex and period, by its place in the pool. */
struct PeopleSource {
    std::vector<NameBirthSpans> firstNames;
};

/** The records of `options.fields` for each drawn name, in the format of `options`. Throws AppError. */
std::unique_ptr<NameWriter> makeFieldsWriter(const Options& options, const DrawPool& first, const DrawPool& last,
                                             PeopleSource people, std::uint64_t seed, std::unique_ptr<ByteSink> sink);

} // namespace quillory::cli
