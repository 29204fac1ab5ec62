#include "fieldsoutput.h"

#include "core/apperror.h"

namespace quillory::cli {

PeopleRecords peopleRecordsOf(const Options& options, std::shared_ptr<const Places> places, std::uint64_t seed) {
    return PeopleRecords{
        .fields = options.fields,
        .format = options.format == Format::Jsonl ? RecordFormat::JsonLines
                  : options.format == Format::Csv ? RecordFormat::Csv
                                                  : RecordFormat::Workbook,
        .withFirst = options.part != NamePart::LastOnly,
        .withLast = options.part != NamePart::FirstOnly,
        .uniqueAddresses = options.unique,
        .rules = {.sex = options.gender == GenderChoice::FemaleOnly ? 'F'
                         : options.gender == GenderChoice::MaleOnly ? 'M'
                                                                    : '\0',
                  .firstYear = options.born ? std::optional<int>(options.born->first) : std::nullopt,
                  .lastYear = options.born ? std::optional<int>(options.born->last) : std::nullopt,
                  .firstDay = options.born ? options.born->firstDay : std::nullopt,
                  .lastDay = options.born ? options.born->lastDay : std::nullopt},
        .personWithName = options.alive,
        .titledFrom18On = options.alive || options.age ? std::optional<QDate>(options.on) : std::nullopt,
        .places = std::move(places),
        .ascii = options.ascii,
        .seed = seed,
        .workbook = options.output,
        .values = nullptr,
    };
}

std::unique_ptr<PeopleWriter> makeFieldsWriter(const Options& options, const DrawPool& first, const DrawPool& last,
                                               PeopleSource people, std::shared_ptr<const Places> places,
                                               std::uint64_t seed, std::unique_ptr<ByteSink> sink) {
    return makeFieldsWriter(peopleRecordsOf(options, std::move(places), seed), options, first, last, std::move(people),
                            std::move(sink));
}

std::unique_ptr<PeopleWriter> makeFieldsWriter(const PeopleRecords& records, const Options& options,
                                               const DrawPool& first, const DrawPool& last, PeopleSource people,
                                               std::unique_ptr<ByteSink> sink) {
    if (options.alive) // each person comes with the name
        return makePeopleWriter(records, first.texts, last.texts, {}, std::move(sink));
    return makePeopleWriter(records, first.texts, last.texts, std::move(people.births), std::move(sink),
                            std::move(people.placeOf), std::move(people.placeOfText));
}

} // namespace quillory::cli
