#pragma once

#include "bytesink.h"

#include "generator/drawpool.h"
#include "generator/people.h"
#include "generator/places.h"

#include <QDate>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

/**
 * The records of people: one writer for every program that writes them (quillory-cli's --fields and
 * the results window's "Save As…"), so that a person's fields are formatted, and their addresses
 * numbered, one way.
 */
namespace quillory {

/** The fields a record of a person is made of. */
enum class PersonField {
    FirstName,
    LastName,
    FullName,
    Sex,
    BirthYear,
    BirthDate,
    Title,
    Initials,
    Email,
    FirstNameAscii,
    LastNameAscii,
    // Where the person was born and lives, and the numbers that go with it (Places).
    BirthPlace,
    BirthDepartment,
    Street,
    Postcode,
    City,
    Department,
    Address,
    Phone,
    PhoneInternational,
    Mobile,
    MobileInternational,
    Nir
};

/** Every field's name, as --fields, the CSV header and JSON lines write it, in the order of PersonField. */
inline constexpr const char* kPersonFieldNames[] = {"first_name",
                                                    "last_name",
                                                    "full_name",
                                                    "sex",
                                                    "birth_year",
                                                    "birth_date",
                                                    "title",
                                                    "initials",
                                                    "email",
                                                    "first_name_ascii",
                                                    "last_name_ascii",
                                                    "birth_place",
                                                    "birth_department",
                                                    "street",
                                                    "postcode",
                                                    "city",
                                                    "department",
                                                    "address",
                                                    "phone",
                                                    "phone_international",
                                                    "mobile",
                                                    "mobile_international",
                                                    "nir"};

/** A field's name. */
inline const char* fieldName(PersonField field) {
    return kPersonFieldNames[static_cast<int>(field)];
}

/** Whether any of the fields needs the person drawn behind the name (a sex, a birth). */
bool needsPerson(const std::vector<PersonField>& fields);

/** Whether any of the fields needs the places (communes.tsv and departements.tsv). */
bool needsPlaces(const std::vector<PersonField>& fields);

enum class RecordFormat { Csv, JsonLines, Workbook, Values };

/**
 * Takes each record's values as they are made (RecordFormat::Values): texts as UTF-8 bytes as a
 * workbook's cells hold them, the birth year as a number, a value not known as missing.
 */
class RecordValues {
public:
    virtual ~RecordValues() = default;
    /**
     * A text; `identity`, when not 0, is the same for every record whose value in that column is the
     * same text (a name's place in its pool, a commune's, a day), so that a reader may make each
     * text once.
     */
    virtual void text(std::size_t column, QByteArrayView bytes, std::uint64_t identity) = 0;
    virtual void number(std::size_t column, int value) = 0;
    virtual void missing(std::size_t column) = 0;
    /** After the last column of each record. */
    virtual void endRecord() = 0;
};

/** What the records of a run hold and how they are written. */
struct PeopleRecords {
    /** The columns of each record, in order. */
    std::vector<PersonField> fields;
    RecordFormat format = RecordFormat::Csv;
    /** Which parts the drawn names have. */
    bool withFirst = true;
    bool withLast = true;
    /** Each address given once: a clash takes the smallest number from 2 that makes it new. */
    bool uniqueAddresses = false;
    PersonDraw::Rules rules;
    /** Each person comes with the name (DrawnName's born, sex and domain), drawn before it: none is drawn here. */
    bool personWithName = false;
    /** When given, a person under 18 on this day has no title. */
    std::optional<QDate> titledFrom18On;
    /** The places, when a field needs them (needsPlaces); drawn from the third sequence of the seed (PlaceDraw). */
    std::shared_ptr<const Places> places;
    /** The places' texts folded to ASCII, as --ascii folds the names. */
    bool ascii = false;
    /** The person behind each name is drawn from the second sequence of this seed (PersonDraw). */
    std::uint64_t seed = 0;
    /** The workbook's file (RecordFormat::Workbook). */
    QString workbook;
    /** Where the values go (RecordFormat::Values). */
    RecordValues* values = nullptr;
};

/** A writer of people's records, which can also be asked for its records so far and told to pass some over. */
class PeopleWriter : public NameWriter {
public:
    /** Makes the records of every name written so far: a Values writer has handed them all over after it. */
    virtual void flush() = 0;
    /**
     * Passes over the people of `count` names that were drawn and not written, as if they had been:
     * each sequence moves on by the numbers a record takes, so that the next record is the one that
     * would follow them.
     */
    virtual void skip(std::uint64_t count) = 0;
};

/**
 * Writes a record per drawn name: CSV (a header of the field names, CR LF, quoted only where needed),
 * JSON lines (an object a line, a missing value null, the year a number) or a workbook (a header row,
 * then a row a name, the year a number and every other cell text), the lines to `sink` (none for a
 * workbook). `first` and `last` are the pools' texts as printed; `births` the births of each first
 * name by its place in `first` (empty spans for a name without births), or, with `placeOf`, as
 * PersonDraw takes them;
 * or with `placeOfText`, each first name's place in `births` found from its text as it is drawn. Each text's forms (as
 * printed, without accents, initials, address) are made once. Throws AppError.
 */
std::unique_ptr<PeopleWriter> makePeopleWriter(const PeopleRecords& records, const TextTable& first,
                                               const TextTable& last, std::vector<NameBirthSpans> births,
                                               std::unique_ptr<ByteSink> sink, std::vector<std::uint32_t> placeOf = {},
                                               std::function<std::uint32_t(QByteArrayView)> placeOfText = {});

} // namespace quillory
