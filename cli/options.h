#pragma once

#include "core/ages.h"
#include "generator/namegenerator.h"
#include "generator/population.h"
#include "results/core/peoplewriter.h"
#include "store/namebirths.h"
#include "store/namelists.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <optional>
#include <variant>
#include <vector>

/** What quillory-cli is asked to do, read from its command line. */
namespace quillory::cli {

inline const QString kProgramName = QStringLiteral("quillory-cli");

enum class Format { Text, Csv, Jsonl, Xlsx };

/** The columns --fields chooses from. */
using Field = PersonField;

/** The most rows a worksheet holds. */
inline constexpr std::int64_t kMaxSheetRows = 1'048'576;

struct Options {
    std::int64_t count = 100;
    NamePart part = NamePart::FirstAndLast;
    GenderChoice gender = GenderChoice::Both;
    NameSource source = NameSource::HalvardsList;
    /** names.mdb to read instead of the one the window uses. */
    QString database;
    /** Text files to draw first or last names from instead of the database. */
    QString firstNamesFile;
    QString lastNamesFile;
    /** The lines of names given instead of reading those files, which then only name them in messages. */
    std::shared_ptr<const QByteArray> firstNamesContent;
    std::shared_ptr<const QByteArray> lastNamesContent;
    bool stripSpaces = false;
    bool weighted = false;
    bool unique = false;
    /** First names weighted by their births in these years (which implies `weighted`). */
    std::optional<BirthYears> born;
    /** --born as typed, for messages. */
    QString bornText;
    /** People alive on `on`, in the shares of the population by sex and age (which implies `weighted`). */
    bool alive = false;
    /** Only people whose age in completed years on `on` lies in this range. */
    using Ages = AgeRange;
    std::optional<Ages> age;
    /** --age as typed, for messages. */
    QString ageText;
    /** The day the ages are told on. */
    QDate on = QDate(Population::kYear, 1, 1);
    QString onText;
    std::optional<std::uint64_t> seed;
    bool verbose = false;
    Format format = Format::Text;
    bool crlf = false;
    int cells = 2;
    /** The file to write; empty text, or "-", for standard output. */
    QString output;
    /** The columns of each record, in order; none for the names alone, as ever. */
    std::vector<Field> fields;
    /** Every name printed with its accents folded away. */
    bool ascii = false;

    bool toStandardOutput() const { return output.isEmpty() || output == QLatin1String("-"); }
};

/** A command line read: a run to make, a text to print and leave, or a usage error. */
struct Request {
    enum class Kind { Run, Help, Version, UsageError };
    Kind kind = Kind::Run;
    Options options;
    /** The help or version text, or the usage error's one line. */
    QString text;
};

/**
 * A diagnostic as one line, whatever the names in it hold: a line end, a tab or another control
 * character is shown as its escape (\n, \r, \t, \x01).
 */
QString oneLine(const QString& text);

/** Why these fields cannot be written for names of that part (a part they need is not drawn), if so. */
std::optional<QString> fieldsProblem(const std::vector<Field>& fields, NamePart part);

/** Reads the arguments (the program's name first). */
Request parseArguments(const QStringList& arguments);

/**
 * The years of --born as typed: one year (1954) or a range (2000-2009, an en dash allowed), from
 * kFirstBirthYear to kLastBirthYear; a usage error's text otherwise.
 */
std::variant<BirthYears, QString> bornFromArgument(const QString& text);

/** The ages of --age as typed: one age (30) or a range (18-65, an en dash allowed), 0 to 110. */
std::variant<Options::Ages, QString> agesFromArgument(const QString& text);

/** The day of --on as typed: YYYY-MM-DD, from 1900-01-01. */
std::variant<QDate, QString> dayFromArgument(const QString& text);

/** The whole count as typed: plain digits, 0 to 2,147,483,647; nothing otherwise. */
std::optional<std::int64_t> countFromArgument(const QString& text);

} // namespace quillory::cli
