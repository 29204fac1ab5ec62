#include "options.h"

#include "core/appinfo.h"
#include "core/random.h"
#include "generator/today.h"
#include "store/lastnamespellings.h"

#include <QCommandLineParser>
#include <QHash>
#include <QRegularExpression>

#include <algorithm>
#include <limits>
#include <vector>

namespace quillory::cli {

namespace {

const QString kDescription =
    QStringLiteral("Writes random French personal names, one per line, to standard output or a file: first and last\n"
                   "names drawn from Halvard's List (the built-in names, from INSEE's birth registers) or from the\n"
                   "User List of the same names.mdb that Quillory's window keeps, or from text files.");

const QString kAfterOptions = QStringLiteral(
    "\n"
    "Names are drawn uniformly and with repetition unless --weighted, --born, --alive, --age or --unique\n"
    "says otherwise.\n"
    "Each part is in proper case and keeps its inner spaces (Da Silva); --strip-spaces gives the\n"
    "window's form (Dasilva). The same --seed, options and name lists always give the same output,\n"
    "byte for byte.\n"
    "Output is UTF-8. With -o, a file appears only once it is complete; a device or a pipe is written\n"
    "straight through. No names database is ever written.\n"
    "\n"
    "Exit status:\n"
    "  0  if OK (also when a reader of the output went away early),\n"
    "  1  if a name list or the output could not be read or written,\n"
    "  2  if the command line is wrong, --unique asks for more names than exist, nobody of the\n"
    "     chosen gender was given a first name in the --born years, or nobody alive is of the\n"
    "     --age ages.\n"
    "\n"
    "Examples:\n"
    "  quillory-cli -n 5 --seed 42\n"
    "  quillory-cli -n 1000 --gender female --weighted --format csv -o names.csv\n"
    "  quillory-cli -n 30 --born 2018-2021 --format csv -o nursery.csv\n"
    "  quillory-cli -n 1000 --alive --age 18-80 --format csv --fields full_name,birth_date,email\n"
    "  quillory-cli -n 100000 --unique | sort | uniq -d      (prints nothing)\n"
    "  quillory-cli -n 20 --part first --first-names prenoms.txt\n");

struct Choice {
    const char* word;
    int value;
};

constexpr Choice kParts[] = {{"first-last", static_cast<int>(NamePart::FirstAndLast)},
                             {"first", static_cast<int>(NamePart::FirstOnly)},
                             {"last", static_cast<int>(NamePart::LastOnly)}};
constexpr Choice kGenders[] = {{"both", static_cast<int>(GenderChoice::Both)},
                               {"male", static_cast<int>(GenderChoice::MaleOnly)},
                               {"female", static_cast<int>(GenderChoice::FemaleOnly)},
                               {"f", static_cast<int>(GenderChoice::FemaleOnly)},
                               {"m", static_cast<int>(GenderChoice::MaleOnly)}};
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

constexpr const auto& kFieldNames = kPersonFieldNames;

std::vector<Field> fieldsFrom(const QString& list) {
    std::vector<Field> fields;
    for (const QString& word : list.split(u',')) {
        const QString name = word.trimmed();
        const auto known = std::find_if(std::begin(kFieldNames), std::end(kFieldNames),
                                        [&](const char* field) { return name == QLatin1String(field); });
        if (known == std::end(kFieldNames))
            throw UsageError{QStringLiteral("unknown field '%1' for --fields (choose from %2)")
                                 .arg(name, QStringList(std::begin(kFieldNames), std::end(kFieldNames)).join(u','))};
        const auto field = static_cast<Field>(known - std::begin(kFieldNames));
        if (std::find(fields.begin(), fields.end(), field) != fields.end())
            throw UsageError{QStringLiteral("field '%1' given twice in --fields").arg(name)};
        fields.push_back(field);
    }
    return fields;
}

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

QString oneLine(const QString& text) {
    QString line;
    line.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\n')
            line += QStringLiteral("\\n");
        else if (u == u'\r')
            line += QStringLiteral("\\r");
        else if (u == u'\t')
            line += QStringLiteral("\\t");
        else if (u < 0x20 || u == 0x7F)
            line += QStringLiteral("\\x%1").arg(int(u), 2, 16, QLatin1Char('0'));
        else
            line += c;
    }
    return line;
}

std::variant<BirthYears, QString> bornFromArgument(const QString& text) {
    const std::variant<BirthYears, YearsProblem> years = birthYearsFrom(text);
    if (const BirthYears* found = std::get_if<BirthYears>(&years))
        return *found;
    switch (std::get<YearsProblem>(years)) {
    case YearsProblem::OutOfRange:
        return QStringLiteral("--born %1: the years of birth run from %2 to %3")
            .arg(text)
            .arg(kFirstBirthYear)
            .arg(kLastBirthYear);
    case YearsProblem::Backwards: {
        const QStringList ends = text.split(QRegularExpression(QStringLiteral("[-\u2013]")));
        return QStringLiteral("--born %1: the range runs backwards (write %2-%3)")
            .arg(text, ends.value(1).trimmed(), ends.value(0).trimmed());
    }
    case YearsProblem::NotYears:
        break;
    }
    return QStringLiteral("invalid value '%1' for --born (a year or a range of years, such as 1954 or 2000-2009)")
        .arg(text);
}

std::variant<Options::Ages, QString> agesFromArgument(const QString& text) {
    const std::variant<AgeRange, AgesProblem> ages = agesFrom(text);
    if (const AgeRange* found = std::get_if<AgeRange>(&ages))
        return *found;
    switch (std::get<AgesProblem>(ages)) {
    case AgesProblem::OutOfRange:
        return QStringLiteral("--age %1: ages run from 0 to %2").arg(text).arg(kOldestAge);
    case AgesProblem::Backwards: {
        const QStringList ends = text.split(QRegularExpression(QStringLiteral("[-\u2013]")));
        return QStringLiteral("--age %1: the range runs backwards (write %2-%3)")
            .arg(text, ends.value(1).trimmed(), ends.value(0).trimmed());
    }
    case AgesProblem::NotAges:
        break;
    }
    return QStringLiteral("invalid value '%1' for --age (an age or a range of ages, such as 30 or 18-65)").arg(text);
}

std::variant<QDate, QString> dayFromArgument(const QString& text) {
    static const QRegularExpression kDay(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
    const QDate day = kDay.match(text).hasMatch() ? QDate::fromString(text, Qt::ISODate) : QDate();
    if (!day.isValid())
        return QStringLiteral("invalid value '%1' for --on (a day written YYYY-MM-DD, such as 2026-01-01)").arg(text);
    if (day.year() < kFirstBirthYear)
        return QStringLiteral("--on %1: the days run from %2-01-01").arg(text).arg(kFirstBirthYear);
    return day;
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

namespace {

// Every option: its long name, its short letter (or none), the name of its value (or none for a
// switch) and its help text.
struct OptionSpec {
    const char* name;
    char letter;
    const char* value;
    const char* help;
};

constexpr OptionSpec kOptions[] = {
    {"count", 'n', "N", "how many names to write, 0 to 2147483647 (default 100)"},
    {"part", 0, "PART", "first-last, first or last (default first-last)"},
    {"gender", 0, "GENDER", "first names of Halvard's List: both, male (M) or female (F) (default both)"},
    {"source", 0, "SOURCE", "builtin (Halvard's List, the default) or user (the User List)"},
    {"database", 0, "FILE", "read names from this names.mdb instead of Quillory's own (never written)"},
    {"first-names", 0, "FILE", "draw first names from a text file, one name per line"},
    {"last-names", 0, "FILE", "draw last names from a text file, one name per line"},
    {"strip-spaces", 0, nullptr, "remove the spaces inside each part, as the window does"},
    {"weighted", 0, nullptr,
     "draw each name in proportion to the people born with it (names without a count weigh as the least "
     "common built-in name)"},
    {"born", 0, "YEARS",
     "draw first names as they were given in France in these years, 1900 to 2024 (1954, or 2000-2009): each "
     "in proportion to its births then, a name not given then never; last names as --weighted draws them"},
    {"alive", 0, nullptr,
     "people alive on the --on day, each sex and age as many as France counts (1 January 2026), each first "
     "name as given in the years of the person's birth; implies --weighted"},
    {"age", 0, "AGES",
     "only people of these ages in completed years on the --on day, 0 to 110 (30, or 18-65); without "
     "--alive, the first names as given in the days of birth those ages allow"},
    {"on", 0, "DAY", "the day ages are told on, YYYY-MM-DD (default 2026-01-01); with --alive, not before it"},
    {"unique", 0, nullptr, "never write the same name twice (fails when fewer exist)"},
    {"seed", 0, "N",
     "start the random sequence at N, 0 to 18446744073709551615, for output that never changes (default: a "
     "seed from the system)"},
    {"verbose", 'v', nullptr, "tell the seed and the pools' sizes on standard error"},
    {"format", 0, "FORMAT", "text, csv, jsonl or xlsx (default text)"},
    {"crlf", 0, nullptr, "end text lines with CR LF instead of LF"},
    {"fields", 0, "LIST",
     "csv, jsonl or xlsx: the columns of each record, in order, separated by commas, from first_name, "
     "last_name, full_name, sex, birth_year, birth_date, title, initials, email, first_name_ascii, "
     "last_name_ascii, birth_place, birth_department, street, postcode, city, department, address, phone, "
     "phone_international, mobile, mobile_international, nir"},
    {"ascii", 0, nullptr, "print every name with its accents folded away (Helene, Francois, Lefevre)"},
    {"cells", 0, "2|1", "xlsx: 2 puts first and last names in columns A and B (default), 1 the whole name in column A"},
    {"output", 'o', "FILE",
     "write to FILE instead of standard output (needed for xlsx); a file there is replaced once the new one "
     "is whole, a device or a pipe is written straight through"},
    {"help", 'h', nullptr, "display this help and exit"},
    {"version", 0, nullptr, "output version information and exit"},
};

// The edit distance between two words, a swap of two neighbours counting as one edit.
int editDistance(const QString& a, const QString& b) {
    const qsizetype n = a.size();
    const qsizetype m = b.size();
    std::vector<std::vector<int>> d(static_cast<std::size_t>(n + 1), std::vector<int>(static_cast<std::size_t>(m + 1)));
    for (qsizetype i = 0; i <= n; ++i)
        d[i][0] = static_cast<int>(i);
    for (qsizetype j = 0; j <= m; ++j)
        d[0][j] = static_cast<int>(j);
    for (qsizetype i = 1; i <= n; ++i) {
        for (qsizetype j = 1; j <= m; ++j) {
            const int cost = a[i - 1] == b[j - 1] ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + cost});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    }
    return d[n][m];
}

// The option closest to a mistyped name, if one is close enough to be what was meant.
const OptionSpec* closestTo(const QString& name) {
    const OptionSpec* best = nullptr;
    int bestDistance = std::numeric_limits<int>::max();
    bool tie = false;
    for (const OptionSpec& option : kOptions) {
        const int distance = editDistance(name, QLatin1String(option.name));
        if (distance < bestDistance) {
            best = &option;
            bestDistance = distance;
            tie = false;
        } else if (distance == bestDistance) {
            tie = true;
        }
    }
    const int allowed = name.size() <= 4 ? 1 : 2;
    return !tie && bestDistance <= allowed ? best : nullptr;
}

// The options given, by long name: the last value of each (a switch has an empty one).
class GivenOptions {
public:
    bool isSet(const char* name) const { return m_values.contains(QLatin1String(name)); }
    QString value(const char* name) const { return m_values.value(QLatin1String(name)); }
    void set(const OptionSpec& option, const QString& value) { m_values.insert(QLatin1String(option.name), value); }
    QStringList positional;

private:
    QHash<QString, QString> m_values;
};

QString dashed(const OptionSpec& option) {
    return QStringLiteral("--") + QLatin1String(option.name);
}

// Reads the arguments as GNU programs do: --name VALUE, --name=VALUE, an unambiguous beginning of a
// long name, -n VALUE, -nVALUE, grouped letters (-vn 5), and "--" before arguments that are no options.
GivenOptions readOptions(const QStringList& arguments) {
    GivenOptions given;
    bool optionsEnded = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (optionsEnded || argument == u"-" || !argument.startsWith(u'-')) {
            given.positional << argument;
            continue;
        }
        if (argument == u"--") {
            optionsEnded = true;
            continue;
        }
        const auto valueOf = [&](const OptionSpec& option, const QString& shown) {
            if (i + 1 >= arguments.size())
                throw UsageError{
                    QStringLiteral("option '%1' needs a value (%2)").arg(shown, QLatin1String(option.value))};
            return arguments[++i];
        };
        if (argument.startsWith(QStringLiteral("--"))) {
            const qsizetype equals = argument.indexOf(u'=');
            const QString name = argument.mid(2, equals < 0 ? -1 : equals - 2);
            std::vector<const OptionSpec*> matches;
            for (const OptionSpec& option : kOptions) {
                if (name == QLatin1String(option.name)) {
                    matches = {&option};
                    break;
                }
                if (!name.isEmpty() && QLatin1String(option.name).startsWith(name))
                    matches.push_back(&option);
            }
            if (matches.empty()) {
                const QString shown = QStringLiteral("--") + name;
                if (const OptionSpec* close = closestTo(name))
                    throw UsageError{
                        QStringLiteral("unknown option '%1'; did you mean '%2'?").arg(shown, dashed(*close))};
                throw UsageError{QStringLiteral("unknown option '%1'").arg(shown)};
            }
            if (matches.size() > 1) {
                QStringList names;
                for (const OptionSpec* option : matches)
                    names << QLatin1Char('\'') + dashed(*option) + QLatin1Char('\'');
                throw UsageError{
                    QStringLiteral("option '--%1' is ambiguous: %2").arg(name, names.join(QStringLiteral(", ")))};
            }
            const OptionSpec& option = *matches.front();
            if (option.value == nullptr) {
                if (equals >= 0)
                    throw UsageError{QStringLiteral("option '%1' takes no value").arg(dashed(option))};
                given.set(option, {});
            } else {
                given.set(option, equals >= 0 ? argument.mid(equals + 1) : valueOf(option, dashed(option)));
            }
            continue;
        }
        for (qsizetype at = 1; at < argument.size(); ++at) {
            const QChar letter = argument[at];
            const OptionSpec* found = nullptr;
            for (const OptionSpec& option : kOptions)
                if (option.letter != 0 && letter == QLatin1Char(option.letter))
                    found = &option;
            if (found == nullptr)
                throw UsageError{QStringLiteral("unknown option '-%1'").arg(letter)};
            if (found->value == nullptr) {
                given.set(*found, {});
                continue;
            }
            const QString rest = argument.mid(at + 1);
            given.set(*found, !rest.isEmpty() ? rest : valueOf(*found, QStringLiteral("-") + letter));
            break;
        }
    }
    return given;
}

QString helpText() {
    QCommandLineParser parser;
    parser.setApplicationDescription(kDescription);
    for (const OptionSpec& option : kOptions) {
        QStringList names;
        if (option.letter != 0)
            names << QString(QLatin1Char(option.letter));
        names << QLatin1String(option.name);
        parser.addOption(QCommandLineOption(names, QString::fromUtf8(option.help),
                                            option.value != nullptr ? QLatin1String(option.value) : QString()));
    }
    QString text = parser.helpText();
    // The usage line names the program as it is installed, however it was started.
    text.replace(0, text.indexOf(u'\n'), QStringLiteral("Usage: %1 [OPTION]...").arg(kProgramName));
    return text + kAfterOptions;
}

} // namespace

std::optional<QString> fieldsProblem(const std::vector<Field>& fields, NamePart part) {
    for (const Field field : fields) {
        const bool first = field == Field::FirstName || field == Field::FirstNameAscii;
        const bool last = field == Field::LastName || field == Field::LastNameAscii;
        if ((first && part == NamePart::LastOnly) || (last && part == NamePart::FirstOnly))
            return QStringLiteral("--fields %1: --part %2 draws none")
                .arg(QLatin1String(fieldName(field)), first ? QStringLiteral("last") : QStringLiteral("first"));
    }
    return std::nullopt;
}

Request parseArguments(const QStringList& arguments) {
    Request request;
    try {
        const GivenOptions parser = readOptions(arguments);
        if (parser.isSet("help")) {
            request.kind = Request::Kind::Help;
            request.text = helpText();
            return request;
        }
        if (parser.isSet("version")) {
            request.kind = Request::Kind::Version;
            request.text = QStringLiteral("%1 (%2) %3\n%4\n")
                               .arg(kProgramName, appinfo::kDisplayName, appinfo::kVersion, builtInNamesLine());
            return request;
        }
        if (!parser.positional.isEmpty())
            throw UsageError{QStringLiteral("unexpected argument '%1'").arg(parser.positional.first())};
        // A value left empty is a slip (an unset variable in a script), never a choice.
        for (const OptionSpec& option : kOptions)
            if (option.value != nullptr && parser.isSet(option.name) && parser.value(option.name).isEmpty())
                throw UsageError{QStringLiteral("empty value for %1").arg(dashed(option))};

        Options& o = request.options;
        if (parser.isSet("count")) {
            const std::optional<std::int64_t> value = countFromArgument(parser.value("count"));
            if (!value)
                throw UsageError{QStringLiteral("invalid count '%1' (a whole number from 0 to 2147483647)")
                                     .arg(parser.value("count"))};
            o.count = *value;
        }
        if (parser.isSet("part"))
            o.part = static_cast<NamePart>(choose(QStringLiteral("part"), parser.value("part"), kParts));
        if (parser.isSet("gender")) {
            // The letters the sex field prints, in either case, name a gender too.
            QString gender = parser.value("gender");
            if (gender.size() == 1)
                gender = gender.toLower();
            o.gender = static_cast<GenderChoice>(choose(QStringLiteral("gender"), gender, kGenders));
        }
        if (parser.isSet("source"))
            o.source = static_cast<NameSource>(choose(QStringLiteral("source"), parser.value("source"), kSources));
        if (parser.isSet("format"))
            o.format = static_cast<Format>(choose(QStringLiteral("format"), parser.value("format"), kFormats));
        if (parser.isSet("cells"))
            o.cells = choose(QStringLiteral("cells"), parser.value("cells"), kCells);
        if (parser.isSet("seed")) {
            o.seed = seedFromText(parser.value("seed"));
            if (!o.seed)
                throw UsageError{QStringLiteral("invalid seed '%1' (a whole number from 0 to 18446744073709551615)")
                                     .arg(parser.value("seed"))};
        }
        o.database = parser.value("database");
        o.firstNamesFile = parser.value("first-names");
        o.lastNamesFile = parser.value("last-names");
        o.output = parser.value("output");
        o.stripSpaces = parser.isSet("strip-spaces");
        o.weighted = parser.isSet("weighted");
        if (parser.isSet("born")) {
            o.bornText = parser.value("born");
            const std::variant<BirthYears, QString> years = bornFromArgument(o.bornText);
            if (const QString* error = std::get_if<QString>(&years))
                throw UsageError{*error};
            o.born = std::get<BirthYears>(years);
            o.weighted = true;
        }
        o.alive = parser.isSet("alive");
        if (o.alive)
            o.weighted = true;
        if (parser.isSet("age")) {
            o.ageText = parser.value("age");
            const std::variant<Options::Ages, QString> ages = agesFromArgument(o.ageText);
            if (const QString* error = std::get_if<QString>(&ages))
                throw UsageError{*error};
            o.age = std::get<Options::Ages>(ages);
        }
        if (parser.isSet("on")) {
            o.onText = parser.value("on");
            const std::variant<QDate, QString> day = dayFromArgument(o.onText);
            if (const QString* error = std::get_if<QString>(&day))
                throw UsageError{*error};
            o.on = std::get<QDate>(day);
        }
        o.unique = parser.isSet("unique");
        o.ascii = parser.isSet("ascii");
        if (parser.isSet("fields"))
            o.fields = fieldsFrom(parser.value("fields"));
        o.verbose = parser.isSet("verbose");
        o.crlf = parser.isSet("crlf");

        if (parser.isSet("gender") && o.source == NameSource::UserList)
            throw UsageError{QStringLiteral("--gender chooses among Halvard's List only; the User List has no gender")};
        if (o.born && o.source == NameSource::UserList)
            throw UsageError{QStringLiteral("--born draws from Halvard's List only; the User List's names have no "
                                            "years of birth")};
        if (o.born && !o.firstNamesFile.isEmpty())
            throw UsageError{QStringLiteral("--born draws the first names of Halvard's List; those of --first-names "
                                            "have no years of birth")};
        if (o.born && o.part == NamePart::LastOnly)
            throw UsageError{QStringLiteral("--born chooses first names, and --part last draws none")};
        if (!o.onText.isEmpty() && !o.alive && !o.age)
            throw UsageError{QStringLiteral("--on %1: the day of --alive and --age; give one of them").arg(o.onText)};
        if (o.alive && o.on < QDate(Population::kYear, 1, 1))
            throw UsageError{QStringLiteral("--on %1: the people alive are known from %2-01-01; --alive takes that day "
                                            "or a later one")
                                 .arg(o.onText)
                                 .arg(Population::kYear)};
        // Without --alive, --age chooses the first names by the days of birth it allows, as --born does by years.
        if (o.age && !o.alive) {
            if (o.source == NameSource::UserList)
                throw UsageError{QStringLiteral("--age without --alive draws from Halvard's List only; the User "
                                                "List's names have no years of birth")};
            if (!o.firstNamesFile.isEmpty())
                throw UsageError{QStringLiteral("--age without --alive draws the first names of Halvard's List; those "
                                                "of --first-names have no years of birth")};
            if (o.part == NamePart::LastOnly)
                throw UsageError{
                    QStringLiteral("--age without --alive chooses first names, and --part last draws none")};
            o.weighted = true;
        }
        if (!o.lastNamesFile.isEmpty() && o.part == NamePart::FirstOnly)
            throw UsageError{QStringLiteral("--last-names gives last names, and --part first draws none")};
        if (!o.firstNamesFile.isEmpty() && o.part == NamePart::LastOnly)
            throw UsageError{QStringLiteral("--first-names gives first names, and --part last draws none")};
        if (!o.fields.empty() && o.format == Format::Text)
            throw UsageError{QStringLiteral("--fields %1: text prints names alone; give --format csv, jsonl or xlsx")
                                 .arg(parser.value("fields"))};
        if (!o.fields.empty() && parser.isSet("cells"))
            throw UsageError{QStringLiteral("--cells and --fields both choose the columns: give one of them")};
        if (const std::optional<QString> problem = fieldsProblem(o.fields, o.part))
            throw UsageError{*problem};
        if (o.crlf && o.format != Format::Text)
            throw UsageError{QStringLiteral("--crlf applies to --format text only")};
        if (parser.isSet("cells") && o.format != Format::Xlsx)
            throw UsageError{QStringLiteral("--cells applies to --format xlsx only")};
        if (o.format == Format::Xlsx && o.toStandardOutput())
            throw UsageError{QStringLiteral("--format xlsx needs an output file (-o FILE)")};
        // Without --alive, --age is the days of birth it allows, inside any --born years and the years
        // of the first names' births.
        if (o.age && !o.alive) {
            const auto [from, to] = birthDaysOfAges(o.on, o.age->youngest, o.age->oldest);
            const BirthYears years = o.born.value_or(BirthYears{});
            const QDate first = std::max(from, QDate(years.first, 1, 1));
            const QDate last = std::min(to, QDate(years.last, 12, 31));
            if (last < first)
                throw UsageError{QStringLiteral("--age %1: nobody of those ages on %2 was born in %3 to %4, the years "
                                                "of the first names' births%5")
                                     .arg(o.ageText, o.on.toString(Qt::ISODate))
                                     .arg(years.first)
                                     .arg(years.last)
                                     .arg(o.on >= QDate(Population::kYear, 1, 1) ? QStringLiteral("; --alive draws the "
                                                                                                  "people born since")
                                                                                 : QString())};
            o.born = BirthYears{first.year(), last.year(), first.toJulianDay(), last.toJulianDay()};
        }
        // With --fields, the first row of a worksheet names the columns.
        const std::int64_t rows = o.fields.empty() ? kMaxSheetRows : kMaxSheetRows - 1;
        if (o.format == Format::Xlsx && o.count > rows)
            throw UsageError{QStringLiteral("--format xlsx holds at most %1 names (a worksheet's rows)").arg(rows)};
    } catch (const UsageError& error) {
        request.kind = Request::Kind::UsageError;
        request.text = oneLine(error.message);
    }
    return request;
}

} // namespace quillory::cli
