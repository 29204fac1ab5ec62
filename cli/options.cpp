#include "options.h"

#include "core/appinfo.h"

#include <QCommandLineParser>
#include <QRegularExpression>

#include <algorithm>
#include <limits>

namespace quillory::cli {

namespace {

const QString kDescription =
    QStringLiteral("Writes random French personal names, one per line, to standard output or a file: first and last\n"
                   "names drawn from Halvard's List (the built-in names, from INSEE's birth registers) or from the\n"
                   "User List of the same names.mdb that Quillory's window keeps, or from text files.");

const QString kAfterOptions = QStringLiteral(
    "\n"
    "Names are drawn uniformly and with repetition unless --weighted, --born or --unique says otherwise.\n"
    "Each part is in proper case and keeps its inner spaces (Da Silva); --strip-spaces gives the\n"
    "window's form (Dasilva). The same --seed, options and name lists always give the same output,\n"
    "byte for byte.\n"
    "Output is UTF-8. With -o, the file appears only once it is complete.\n"
    "\n"
    "Examples:\n"
    "  quillory-cli -n 5 --seed 42\n"
    "  quillory-cli -n 1000 --gender female --weighted --format csv -o names.csv\n"
    "  quillory-cli -n 30 --born 2018-2021 --format csv -o nursery.csv\n"
    "  quillory-cli -n 100000 --unique | sort | uniq -d      (prints nothing)\n"
    "  quillory-cli -n 20 --part first --first-names prenoms.txt\n"
    "\n"
    "Exit status:\n"
    "  0  if OK (also when a reader of the output went away early),\n"
    "  1  if a name list or the output could not be read or written,\n"
    "  2  if the command line is wrong, --unique asks for more names than exist, or nobody of the\n"
    "     chosen gender was given a first name in the --born years.\n");

struct Choice {
    const char* word;
    int value;
};

constexpr Choice kParts[] = {{"first-last", static_cast<int>(NamePart::FirstAndLast)},
                             {"first", static_cast<int>(NamePart::FirstOnly)},
                             {"last", static_cast<int>(NamePart::LastOnly)}};
constexpr Choice kGenders[] = {{"both", static_cast<int>(GenderChoice::Both)},
                               {"male", static_cast<int>(GenderChoice::MaleOnly)},
                               {"female", static_cast<int>(GenderChoice::FemaleOnly)}};
constexpr Choice kSources[] = {{"builtin", static_cast<int>(NameSource::HalvardsList)},
                               {"user", static_cast<int>(NameSource::UserList)}};
constexpr Choice kFormats[] = {{"text", static_cast<int>(Format::Text)},
                               {"csv", static_cast<int>(Format::Csv)},
                               {"jsonl", static_cast<int>(Format::Jsonl)},
                               {"xlsx", static_cast<int>(Format::Xlsx)}};
constexpr Choice kCells[] = {{"2", 2}, {"1", 1}};

struct UsageError {
    QString message;
};

template <std::size_t N> int choose(const QString& option, const QString& given, const Choice (&choices)[N]) {
    QStringList words;
    for (const Choice& choice : choices) {
        if (given == QLatin1String(choice.word))
            return choice.value;
        words.append(QLatin1String(choice.word));
    }
    throw UsageError{QStringLiteral("invalid value '%1' for --%2 (choose %3)").arg(given, option, words.join(u'|'))};
}

} // namespace

std::variant<BirthYears, QString> bornFromArgument(const QString& text) {
    static const QRegularExpression kYears(QStringLiteral("^([0-9]{4})(?:[-\u2013]([0-9]{4}))?$"));
    const QRegularExpressionMatch match = kYears.match(text);
    if (!match.hasMatch())
        return QStringLiteral("invalid value '%1' for --born (a year or a range of years, such as 1954 or 2000-2009)")
            .arg(text);
    const int first = match.captured(1).toInt();
    const int last = match.hasCaptured(2) ? match.captured(2).toInt() : first;
    if (std::min(first, last) < kFirstBirthYear || std::max(first, last) > kLastBirthYear)
        return QStringLiteral("--born %1: the years of birth run from %2 to %3")
            .arg(text)
            .arg(kFirstBirthYear)
            .arg(kLastBirthYear);
    if (last < first)
        return QStringLiteral("--born %1: the range runs backwards (write %2-%3)").arg(text).arg(last).arg(first);
    return BirthYears{first, last};
}

std::optional<std::int64_t> countFromArgument(const QString& text) {
    if (text.isEmpty() || text.size() > 10)
        return std::nullopt;
    std::int64_t value = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    if (value > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return value;
}

Request parseArguments(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsCompactedShortOptions);
    parser.setApplicationDescription(kDescription);

    const QCommandLineOption count({QStringLiteral("n"), QStringLiteral("count")},
                                   QStringLiteral("how many names to write, 0 to 2147483647 (default 100)"),
                                   QStringLiteral("N"));
    const QCommandLineOption part(QStringLiteral("part"),
                                  QStringLiteral("first-last, first or last (default first-last)"),
                                  QStringLiteral("PART"));
    const QCommandLineOption gender(
        QStringLiteral("gender"), QStringLiteral("first names of Halvard's List: both, male or female (default both)"),
        QStringLiteral("GENDER"));
    const QCommandLineOption source(QStringLiteral("source"),
                                    QStringLiteral("builtin (Halvard's List, the default) or user (the User List)"),
                                    QStringLiteral("SOURCE"));
    const QCommandLineOption database(QStringLiteral("database"),
                                      QStringLiteral("read names from this names.mdb instead of Quillory's own"),
                                      QStringLiteral("FILE"));
    const QCommandLineOption firstNames(QStringLiteral("first-names"),
                                        QStringLiteral("draw first names from a text file, one name per line"),
                                        QStringLiteral("FILE"));
    const QCommandLineOption lastNames(QStringLiteral("last-names"),
                                       QStringLiteral("draw last names from a text file, one name per line"),
                                       QStringLiteral("FILE"));
    const QCommandLineOption stripSpaces(QStringLiteral("strip-spaces"),
                                         QStringLiteral("remove the spaces inside each part, as the window does"));
    const QCommandLineOption weighted(
        QStringLiteral("weighted"),
        QStringLiteral("draw each name in proportion to the people born with it (names without a count weigh as "
                       "the least common built-in name)"));
    const QCommandLineOption born(
        QStringLiteral("born"),
        QStringLiteral("draw first names as they were given in France in these years, 1900 to 2024 (1954, or "
                       "2000-2009): each in proportion to its births then, a name not given then never; last "
                       "names as --weighted draws them"),
        QStringLiteral("YEARS"));
    const QCommandLineOption unique(QStringLiteral("unique"),
                                    QStringLiteral("never write the same name twice (fails when fewer exist)"));
    const QCommandLineOption seed(
        QStringLiteral("seed"),
        QStringLiteral("start the random sequence at N, 0 to 18446744073709551615, for output "
                       "that never changes (default: a seed from the system)"),
        QStringLiteral("N"));
    const QCommandLineOption verbose({QStringLiteral("v"), QStringLiteral("verbose")},
                                     QStringLiteral("tell the seed and the pools' sizes on standard error"));
    const QCommandLineOption format(QStringLiteral("format"), QStringLiteral("text, csv, jsonl or xlsx (default text)"),
                                    QStringLiteral("FORMAT"));
    const QCommandLineOption crlf(QStringLiteral("crlf"), QStringLiteral("end text lines with CR LF instead of LF"));
    const QCommandLineOption cells(QStringLiteral("cells"),
                                   QStringLiteral("xlsx: 2 puts first and last names in columns A and B (default), 1 "
                                                  "the whole name in column A"),
                                   QStringLiteral("2|1"));
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
                                    QStringLiteral("write to FILE instead of standard output (needed for xlsx)"),
                                    QStringLiteral("FILE"));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("display this help and exit"));
    const QCommandLineOption version(QStringLiteral("version"), QStringLiteral("output version information and exit"));
    parser.addOptions({count, part, gender, source, database, firstNames, lastNames, stripSpaces, weighted, born,
                       unique, seed, verbose, format, crlf, cells, output, help, version});

    Request request;
    try {
        if (!parser.parse(arguments))
            throw UsageError{parser.errorText()};
        if (parser.isSet(help)) {
            request.kind = Request::Kind::Help;
            QString text = parser.helpText();
            // The usage line names the program as it is installed, however it was started.
            text.replace(0, text.indexOf(u'\n'), QStringLiteral("Usage: %1 [OPTION]...").arg(kProgramName));
            request.text = text + kAfterOptions;
            return request;
        }
        if (parser.isSet(version)) {
            request.kind = Request::Kind::Version;
            request.text = QStringLiteral("%1 (%2) %3\n"
                                          "Names: Source : INSEE, Licence Ouverte / Open Licence 2.0.\n")
                               .arg(kProgramName, appinfo::kDisplayName, appinfo::kVersion);
            return request;
        }
        if (!parser.positionalArguments().isEmpty())
            throw UsageError{QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().first())};

        Options& o = request.options;
        if (parser.isSet(count)) {
            const std::optional<std::int64_t> value = countFromArgument(parser.value(count));
            if (!value)
                throw UsageError{QStringLiteral("invalid count '%1' (a whole number from 0 to 2147483647)")
                                     .arg(parser.value(count))};
            o.count = *value;
        }
        if (parser.isSet(part))
            o.part = static_cast<NamePart>(choose(QStringLiteral("part"), parser.value(part), kParts));
        if (parser.isSet(gender))
            o.gender = static_cast<GenderChoice>(choose(QStringLiteral("gender"), parser.value(gender), kGenders));
        if (parser.isSet(source))
            o.source = static_cast<NameSource>(choose(QStringLiteral("source"), parser.value(source), kSources));
        if (parser.isSet(format))
            o.format = static_cast<Format>(choose(QStringLiteral("format"), parser.value(format), kFormats));
        if (parser.isSet(cells))
            o.cells = choose(QStringLiteral("cells"), parser.value(cells), kCells);
        if (parser.isSet(seed)) {
            bool ok = false;
            const QString text = parser.value(seed);
            o.seed = text.toULongLong(&ok);
            if (!ok || text.isEmpty() || !std::all_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); }))
                throw UsageError{
                    QStringLiteral("invalid seed '%1' (a whole number from 0 to 18446744073709551615)").arg(text)};
        }
        o.database = parser.value(database);
        o.firstNamesFile = parser.value(firstNames);
        o.lastNamesFile = parser.value(lastNames);
        o.output = parser.value(output);
        o.stripSpaces = parser.isSet(stripSpaces);
        o.weighted = parser.isSet(weighted);
        if (parser.isSet(born)) {
            o.bornText = parser.value(born);
            const std::variant<BirthYears, QString> years = bornFromArgument(o.bornText);
            if (const QString* error = std::get_if<QString>(&years))
                throw UsageError{*error};
            o.born = std::get<BirthYears>(years);
            o.weighted = true;
        }
        o.unique = parser.isSet(unique);
        o.verbose = parser.isSet(verbose);
        o.crlf = parser.isSet(crlf);

        if (parser.isSet(gender) && o.source == NameSource::UserList)
            throw UsageError{QStringLiteral("--gender chooses among Halvard's List only; the User List has no gender")};
        if (o.born && o.source == NameSource::UserList)
            throw UsageError{QStringLiteral("--born draws from Halvard's List only; the User List's names have no "
                                            "years of birth")};
        if (o.born && !o.firstNamesFile.isEmpty())
            throw UsageError{QStringLiteral("--born draws the first names of Halvard's List; those of --first-names "
                                            "have no years of birth")};
        if (o.born && o.part == NamePart::LastOnly)
            throw UsageError{QStringLiteral("--born chooses first names, and --part last draws none")};
        if (o.crlf && o.format != Format::Text)
            throw UsageError{QStringLiteral("--crlf applies to --format text only")};
        if (parser.isSet(cells) && o.format != Format::Xlsx)
            throw UsageError{QStringLiteral("--cells applies to --format xlsx only")};
        if (o.format == Format::Xlsx && o.toStandardOutput())
            throw UsageError{QStringLiteral("--format xlsx needs an output file (-o FILE)")};
        if (o.format == Format::Xlsx && o.count > kMaxSheetRows)
            throw UsageError{
                QStringLiteral("--format xlsx holds at most %1 names (a worksheet's rows)").arg(kMaxSheetRows)};
    } catch (const UsageError& error) {
        request.kind = Request::Kind::UsageError;
        request.text = error.message;
    }
    return request;
}

} // namespace quillory::cli
