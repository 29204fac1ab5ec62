#pragma once

#include "nameoutput.h"

#include "results/core/peoplewriter.h"

#include <functional>
#include <memory>
#include <vector>

/** Records of the fields --fields chooses, written by the people writer all programs share. */
namespace quillory::cli {

/**
 * The births of the first names of the pool by sex and period, each name's once, and where each name
 * of the pool finds its own (PersonDraw::kNoBirths for none).
 */
struct PeopleSource {
    std::vector<NameBirthSpans> births;
    std::vector<std::uint32_t> placeOf;
    /** For a pool too large for placeOf: the place of a name's births found from its text when drawn. */
    std::function<std::uint32_t(QByteArrayView text)> placeOfText;
};

/** What the records of `options.fields` hold for a run of `options` from `seed`, in its format. */
PeopleRecords peopleRecordsOf(const Options& options, std::shared_ptr<const Places> places, std::uint64_t seed);

/** The records of `options.fields` for each drawn name, in the format of `options`. Throws AppError. */
std::unique_ptr<PeopleWriter> makeFieldsWriter(const Options& options, const DrawPool& first, const DrawPool& last,
                                               PeopleSource people, std::shared_ptr<const Places> places,
                                               std::uint64_t seed, std::unique_ptr<ByteSink> sink);

/** The same with the records of `records`. */
std::unique_ptr<PeopleWriter> makeFieldsWriter(const PeopleRecords& records, const Options& options,
                                               const DrawPool& first, const DrawPool& last, PeopleSource people,
                                               std::unique_ptr<ByteSink> sink);

} // namespace quillory::cli
