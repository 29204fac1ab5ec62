#include "fieldsoutput.h"

#include "core/apperror.h"

namespace quillory::cli {

std::unique_ptr<NameWriter> makeFieldsWriter(const Options& options, const DrawPool& first, const DrawPool& last,
                                             PeopleSource people, std::shared_ptr<const Places> places,
                                             std::uint64_t seed, std::unique_ptr<ByteSink> sink) {
    PeopleRecords records{
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
    };
    if (options.alive) // each person comes with the name
        return makePeopleWriter(records, first.texts, last.texts, {}, std::move(sink));
    return makePeopleWriter(records, first.texts, last.texts, std::move(people.births), std::move(sink),
                            std::move(people.placeOf), std::move(people.placeOfText));
}

} // namespace quillory::cli
