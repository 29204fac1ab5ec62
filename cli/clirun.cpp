#include "clirun.h"

#include "nameoutput.h"

#include "core/apperror.h"
#include "core/appinfo.h"
#include "core/nativepath.h"
#include "core/outputfile.h"
#include "core/random.h"
#include "generator/namedraws.h"
#include "generator/people.h"
#include "store/lastnamespellings.h"
#include "store/namebirths.h"
#include "store/namedatabase.h"
#include "store/namefilereader.h"
#include "store/namestatements.h"
#include "store/nameweights.h"

#include <QDir>
#include <QFileInfo>
#include <QIODevice>

#include <QBuffer>
#include <chrono>
#include <cstring>

#include <new>
#include <optional>

namespace quillory::cli {

namespace {

// One line of diagnosis, its file names byte for byte as they were given.
void say(std::FILE* stream, const QString& line) {
    std::fputs(encodePath(kProgramName + QStringLiteral(": ") + oneLine(line) + QLatin1Char('\n')).constData(), stream);
    std::fflush(stream);
}

// Hands each name of a text file to `each`, read as the window's import reads it; a pipe or a device
// is read to its end first. Says once how many lines were passed over.
// Lines given as `content` are read the same way, `path` naming them.
template <typename Each>
void readNameFile(const QString& path, const QByteArray* content, const Environment& environment, Each&& each) {
    try {
        std::unique_ptr<QIODevice> file;
        if (content != nullptr) {
            auto buffer = std::make_unique<QBuffer>();
            buffer->setData(*content);
            buffer->open(QIODevice::ReadOnly);
            file = std::move(buffer);
        } else {
            file = openNameFile(path, true);
        }
        NameFileReader reader(*file);
        while (std::optional<QString> name = reader.next())
            each(*name);
        if (const qsizetype skipped = reader.skippedLines(); skipped > 0)
            say(environment.errors, QStringLiteral("%1: %2 %3 passed over: control characters are no part of a name")
                                        .arg(path)
                                        .arg(skipped)
                                        .arg(skipped == 1 ? QStringLiteral("line") : QStringLiteral("lines")));
    } catch (const AppError& error) {
        throw Failure{kRunFailure, QStringLiteral("%1: %2").arg(path, error.message())};
    }
}

struct ListQuery {
    const char* statement;
    const char* column;
};

ListQuery firstNameQuery(const Options& options) {
    if (options.source == NameSource::UserList)
        return {statements::kUserFirstNames, "firstname"};
    switch (options.gender) {
    case GenderChoice::MaleOnly:
        return {statements::kMaleFirstNames, "mfirst"};
    case GenderChoice::FemaleOnly:
        return {statements::kFemaleFirstNames, "ffirst"};
    default:
        return {statements::kBothFirstNames, "firstname"};
    }
}

ListQuery lastNameQuery(const Options& options) {
    if (options.source == NameSource::UserList)
        return {statements::kUserLastNames, "lastname"};
    return {statements::kSystemLastNames, "Last"};
}

QString genderWord(GenderChoice gender) {
    switch (gender) {
    case GenderChoice::MaleOnly:
        return QStringLiteral("male ");
    case GenderChoice::FemaleOnly:
        return QStringLiteral("female ");
    default:
        return {};
    }
}

bool exists(const QString& path) {
    return pathExists(path);
}

// The names.mdb a run reads: --database, else the user's own copy, else (an installed program whose
// user has no copy yet) the installed file itself. No copy is ever made: that is the window's work.
QString databaseToRead(const Options& options, const Environment& environment) {
    if (!options.database.isEmpty())
        return options.database;
    const NameDatabasePlace own = environment.paths.nameDatabase();
    if (!own.madeFrom.isEmpty() && !exists(own.file))
        return own.madeFrom;
    return own.file;
}

QString sourceName(const Options& options, bool firstNames, const QString& database) {
    const QString& file = firstNames ? options.firstNamesFile : options.lastNamesFile;
    if (!file.isEmpty())
        return file;
    if (options.source == NameSource::UserList)
        return QStringLiteral("the User List of %1").arg(database);
    return QStringLiteral("Halvard's List of %1").arg(database);
}

// Every names database the program knows of; -o may lead to none of them.
QStringList namesDatabases(const Options& options, const Environment& environment) {
    const NameDatabasePlace own = environment.paths.nameDatabase();
    QStringList files{own.file};
    if (!own.madeFrom.isEmpty())
        files << own.madeFrom;
    // The user's own copy, which an installed window reads, whichever file this run reads.
    if (!environment.paths.userDataFolder().isEmpty())
        files << QDir(environment.paths.userDataFolder()).filePath(appinfo::kNameDatabaseFile);
    if (!options.database.isEmpty())
        files << options.database;
    return files;
}

// Reports progress on a terminal once a run has taken more than a second, at most five times a second.
class Progress {
public:
    Progress(std::FILE* stream, bool enabled, std::int64_t total)
        : m_stream(stream), m_enabled(enabled && total > 0), m_total(total), m_start(Clock::now()) {}

    void at(std::int64_t done) {
        if (!m_enabled)
            return;
        const auto now = Clock::now();
        if (now - m_start < std::chrono::seconds(1) || now - m_shown < std::chrono::milliseconds(200))
            return;
        m_shown = now;
        std::fprintf(m_stream, "\r%s: %lld of %lld names (%d%%)", kProgramName.toUtf8().constData(),
                     static_cast<long long>(done), static_cast<long long>(m_total),
                     static_cast<int>(done * 100 / m_total));
        std::fflush(m_stream);
        m_onScreen = true;
    }

    ~Progress() {
        if (m_onScreen) {
            std::fputs("\r\033[K", m_stream);
            std::fflush(m_stream);
        }
    }

private:
    using Clock = std::chrono::steady_clock;
    std::FILE* m_stream;
    bool m_enabled;
    std::int64_t m_total;
    Clock::time_point m_start;
    Clock::time_point m_shown;
    bool m_onScreen = false;
};

template <typename Stream, typename Writer>
void pump(Stream& stream, Writer& writer, std::int64_t count, Progress& progress) {
    constexpr std::int64_t kBetweenLooks = 1 << 16;
    for (std::int64_t done = 0; done < count;) {
        const std::int64_t until = std::min(count, done + kBetweenLooks);
        for (; done < until; ++done)
            writer.write(stream.next());
        progress.at(done);
    }
}

// Whether a pool's weights fit a draw: their sum must stay below 2^64.
bool weighable(const DrawPool& pool) {
    unsigned __int128 total = 0;
    for (const std::uint64_t weight : pool.weights)
        total += weight;
    return total <= std::numeric_limits<std::uint64_t>::max();
}

QString sexWord(char sex) {
    return sex == 'F' ? QStringLiteral("girls") : QStringLiteral("boys");
}

// The people of today for --alive, and the first names of each sex and period of the first pool;
// a combination that leaves some of those people without a first name is a usage error.
void drawToday(const Options& options, RunPools& pools, const std::shared_ptr<const FirstNameBirths>& births,
               const QString& firstSource) {
    const char sex = options.gender == GenderChoice::FemaleOnly ? 'F'
                     : options.gender == GenderChoice::MaleOnly ? 'M'
                                                                : '\0';
    const Options::Ages ages = options.age.value_or(Options::Ages{});
    std::variant<TodayDraw, TodayDraw::Problem> today = TodayDraw::make(
        Population::france(), {.on = options.on,
                               .youngest = ages.youngest,
                               .oldest = ages.oldest,
                               .sex = sex,
                               .firstYear = options.born ? std::optional<int>(options.born->first) : std::nullopt,
                               .lastYear = options.born ? std::optional<int>(options.born->last) : std::nullopt});
    if (std::holds_alternative<TodayDraw::Problem>(today)) {
        QString asked = QStringLiteral("--alive");
        if (options.age)
            asked += QStringLiteral(" --age ") + options.ageText;
        if (options.born)
            asked += QStringLiteral(" --born ") + options.bornText;
        if (!options.onText.isEmpty())
            asked += QStringLiteral(" --on ") + options.onText;
        throw Failure{kUsage, QStringLiteral("%1: nobody alive then is of those ages%2 (the people are those of "
                                             "%3-01-01, nobody born since)")
                                  .arg(asked, options.born ? QStringLiteral(" and born in those years") : QString())
                                  .arg(Population::kYear)};
    }
    pools.today.emplace(std::get<TodayDraw>(std::move(today)));
    if (options.part == NamePart::LastOnly || options.count == 0)
        return;

    const PeopleSource& people = pools.people;
    const auto birthsOf = [&](std::uint32_t item) -> const NameBirthSpans* {
        const std::uint32_t place = people.placeOfText             ? people.placeOfText(pools.first.texts.bytes(item))
                                    : item < people.placeOf.size() ? people.placeOf[item]
                                                                   : PersonDraw::kNoBirths;
        const std::vector<NameBirthSpans>& all = people.placeOfText ? births->all() : people.births;
        return place < all.size() ? &all[place] : nullptr;
    };
    pools.periodNames = std::make_shared<const PeriodNames>(
        periodsOf(births->all()), static_cast<std::uint32_t>(pools.first.texts.size()), birthsOf);
    for (const char each : {'F', 'M'}) {
        for (int cohort = Population::kYear - 1 - Population::kOldest; cohort < Population::kYear; ++cohort) {
            if (pools.today->reaches(each, cohort) && !pools.periodNames->hasNames(each, cohort)) {
                const auto [from, to] = pools.periodNames->periodYears(cohort);
                throw Failure{kUsage, QStringLiteral("--alive: no first name of %1 was given to %2 born in %3-%4, and "
                                                     "some of the people alive are of those years")
                                          .arg(firstSource, sexWord(each))
                                          .arg(from)
                                          .arg(to)};
            }
        }
    }
}

} // namespace

std::shared_ptr<const Places> loadPlaces(const Environment& environment) {
    try {
        return Places::read(environment.paths.besideProgram(kCommunesFile),
                            environment.paths.besideProgram(kDepartmentsFile));
    } catch (const AppError& error) {
        throw Failure{kRunFailure, error.message()};
    }
}

RunPools loadPools(const Options& options, const Environment& environment, bool withPeople) {
    const bool needFirst = options.part != NamePart::LastOnly;
    const bool needLast = options.part != NamePart::FirstOnly;
    const QString databaseFile = databaseToRead(options, environment);

    std::optional<NameDatabase> database;
    const auto openDatabase = [&]() -> NameDatabase& {
        if (!database) {
            try {
                database.emplace(NameDatabasePlace(databaseFile));
                database->openForReading();
            } catch (const AppError& error) {
                database.reset();
                throw Failure{kRunFailure, error.message()};
            }
        }
        return *database;
    };

    // The weights, read first so that each name is weighed as it is read.
    std::optional<NameWeights> weights;
    if (options.weighted) {
        const WeightChoice choice{.commonNames = options.weighted,
                                  .born = needFirst && !options.alive ? options.born : std::nullopt,
                                  .gender = options.gender};
        try {
            weights = NameWeights::read(choice, environment.paths, choice.born ? &openDatabase() : nullptr,
                                        !options.database.isEmpty());
        } catch (const AppError& error) {
            throw Failure{kRunFailure, error.message()};
        }
        if (!weights->anyFirstNameBorn()) {
            if (options.age && !options.alive)
                throw Failure{kUsage,
                              QStringLiteral("--age %1: no %2first names were given in the days of birth of those ages")
                                  .arg(options.ageText, genderWord(options.gender))};
            throw Failure{kUsage, QStringLiteral("--born %1: no %2first names were given in those years")
                                      .arg(options.bornText, genderWord(options.gender))};
        }
    }

    // The births of each first name by sex and period, when the fields need the person behind it.
    std::shared_ptr<const FirstNameBirths> births;
    PeopleSource people;
    QHash<const NameBirthSpans*, std::uint32_t> birthsPlaces;
    constexpr std::size_t kMostPlacesKept = std::size_t{1} << 18;
    if (needFirst && (withPeople || needsPerson(options.fields) || options.alive)) {
        try {
            births = std::make_shared<const FirstNameBirths>(
                readFirstNameBirths(environment.paths, options.firstNamesFile.isEmpty() ? &openDatabase() : nullptr,
                                    !options.database.isEmpty()));
        } catch (const Failure&) {
            throw;
        } catch (const AppError& error) {
            throw Failure{kRunFailure, error.message()};
        }
    }

    // Weighted and unique draws take each printed text once; uniform draws take a list as it is.
    const bool distinct = options.weighted || options.unique;
    DrawPoolBuilder first(options.stripSpaces, distinct, options.ascii);
    DrawPoolBuilder last(options.stripSpaces, distinct, options.ascii);
    const auto add = [&](DrawPoolBuilder& pool, bool firstNames, const QString& name) {
        const bool added =
            weights ? pool.add(name, firstNames ? weights->first(name) : weights->last(name)) : pool.add(name);
        if (added && firstNames && births && !people.placeOfText) {
            // A list so long that even four bytes a name would weigh: its names find their births
            // from their text as they are drawn, among all the births there are.
            if (people.placeOf.size() >= kMostPlacesKept) {
                people = PeopleSource{births->all(), {}, [births](QByteArrayView text) {
                                          const NameBirthSpans* of = births->find(QString::fromUtf8(text));
                                          return of != nullptr ? static_cast<std::uint32_t>(of - births->all().data())
                                                               : PersonDraw::kNoBirths;
                                      }};
                return;
            }
            // Each name's births are taken once, however often the list holds the name.
            std::uint32_t place = PersonDraw::kNoBirths;
            if (const NameBirthSpans* of = births->find(name)) {
                auto at = birthsPlaces.constFind(of);
                if (at == birthsPlaces.constEnd()) {
                    at = birthsPlaces.insert(of, static_cast<std::uint32_t>(people.births.size()));
                    people.births.push_back(*of);
                }
                place = *at;
            }
            people.placeOf.push_back(place);
        }
    };
    const auto fill = [&](DrawPoolBuilder& pool, bool firstNames, const QString& file, const ListQuery& query) {
        if (!file.isEmpty()) {
            const std::shared_ptr<const QByteArray>& content =
                firstNames ? options.firstNamesContent : options.lastNamesContent;
            readNameFile(file, content.get(), environment, [&](const QString& name) { add(pool, firstNames, name); });
            return;
        }
        NameDatabase& names = openDatabase();
        try {
            // An older copy's built-in surnames are read as the window shows them once it has respelt them.
            if (query.statement == statements::kSystemLastNames) {
                for (const QString& name : builtInLastNames(names))
                    add(pool, firstNames, name);
                return;
            }
            for (NameQuery rows(names, query.statement, query.column); !rows.atEnd(); rows.moveNext())
                add(pool, firstNames, rows.value());
        } catch (const AppError& error) {
            throw Failure{kRunFailure, QStringLiteral("%1: %2").arg(databaseFile, error.message())};
        }
    };
    try {
        if (needFirst)
            fill(first, true, options.firstNamesFile, firstNameQuery(options));
        if (needLast)
            fill(last, false, options.lastNamesFile, lastNameQuery(options));
    } catch (const AppError& error) { // a list too long to number
        throw Failure{kRunFailure, error.message()};
    }
    if (database)
        database->close();

    RunPools pools{first.take(), last.take(), {}, std::move(people), std::nullopt, nullptr, nullptr};
    if (needsPlaces(options.fields))
        pools.places = loadPlaces(environment);
    if (!weighable(pools.first) || !weighable(pools.last))
        throw Failure{kRunFailure, QStringLiteral("%1: the births add up to more than a draw can weigh")
                                       .arg(environment.paths.besideProgram(kBirthsFile))};
    if (options.count > 0) {
        if (needFirst && pools.first.texts.isEmpty())
            throw Failure{
                kRunFailure,
                QStringLiteral("no first names to draw from in %1").arg(sourceName(options, true, databaseFile))};
        if (needLast && pools.last.texts.isEmpty())
            throw Failure{
                kRunFailure,
                QStringLiteral("no last names to draw from in %1").arg(sourceName(options, false, databaseFile))};
    }
    if (options.alive)
        drawToday(options, pools, births, sourceName(options, true, databaseFile));
    // A line that joins both parts can be printed by two pairs; a unique run gives it once. The
    // records of people join them in full_name alone; their other fields keep the parts apart.
    const bool joined =
        options.fields.empty()
            ? options.format == Format::Text || (options.format == Format::Xlsx && options.cells == 1)
            : std::find(options.fields.begin(), options.fields.end(), Field::FullName) != options.fields.end();
    if (options.unique && joined && options.part == NamePart::FirstAndLast)
        pools.repeats = joinedLineRepeats(pools.first.texts, pools.last.texts);
    return pools;
}

namespace {

template <typename Stream>
void writeStream(const Options& options, const RunPools& pools, std::uint64_t seed, Environment& environment,
                 Stream& stream) {
    try {
        const bool showProgress =
            environment.errorsOnTerminal && !(options.toStandardOutput() && environment.outputOnTerminal);
        Progress progress(environment.errors, showProgress, options.count);
        // A workbook's failures are named after it here; a line format's file names itself (FileSink),
        // and a failure that names its files (OutputRefused) is said as it is.
        const auto named = [&](const AppError& error) {
            return AppError(QStringLiteral("%1: %2").arg(options.output, error.message()));
        };
        if (!options.fields.empty()) {
            std::unique_ptr<ByteSink> sink;
            if (options.format != Format::Xlsx)
                sink = options.toStandardOutput() ? std::unique_ptr<ByteSink>(new DescriptorSink(environment.outputFd))
                                                  : std::make_unique<FileSink>(options.output);
            try {
                std::unique_ptr<NameWriter> writer;
                try {
                    writer = makeFieldsWriter(options, pools.first, pools.last, pools.people, pools.places, seed,
                                              std::move(sink));
                } catch (const OutputRefused&) {
                    throw;
                } catch (const AppError& error) {
                    if (options.format != Format::Xlsx)
                        throw named(error);
                    throw;
                }
                pump(stream, *writer, options.count, progress);
                writer->finish();
            } catch (const OutputClosed&) {
                throw ClosedPipe{};
            } catch (const OutputRefused&) {
                throw;
            } catch (const AppError& error) {
                if (options.format != Format::Xlsx)
                    throw;
                throw named(error);
            }
            return;
        }
        if (options.format == Format::Xlsx) {
            try {
                const std::unique_ptr<NameWriter> writer = makeWorkbookWriter(options, pools.first, pools.last);
                pump(stream, *writer, options.count, progress);
                writer->finish();
            } catch (const OutputClosed&) {
                throw ClosedPipe{};
            } catch (const OutputRefused&) {
                throw;
            } catch (const AppError& error) {
                throw named(error);
            }
            return;
        }
        std::unique_ptr<ByteSink> sink;
        if (options.toStandardOutput())
            sink = std::make_unique<DescriptorSink>(environment.outputFd);
        else
            sink = std::make_unique<FileSink>(options.output);
        LineWriter writer(options, pools.first, pools.last, std::move(sink));
        pump(stream, writer, options.count, progress);
        writer.finish();
    } catch (const AppError& error) {
        throw Failure{kRunFailure, error.message()};
    }
}

} // namespace

Failure tooFewNames(std::uint64_t distinct, std::int64_t count) {
    return Failure{kUsage,
                   QStringLiteral("--unique: these lists give %1 different names, not %2").arg(distinct).arg(count)};
}

Failure noNewName(const TodayNames::Exhausted& exhausted) {
    return Failure{kUsage, QStringLiteral("--unique --alive: name %1 was drawn %2 times and given already each "
                                          "time; ask for fewer names")
                               .arg(exhausted.record)
                               .arg(TodayNames::kMostTries)};
}

void writeNames(const Options& options, const RunPools& pools, std::uint64_t seed, Environment& environment) {
    RandomSource random(seed);
    if (!pools.today) {
        NameStream stream(pools.first, pools.last, {options.part, options.weighted, options.unique}, random,
                          pools.repeats);
        if (options.unique) {
            const std::uint64_t distinct = stream.distinctNames();
            if (static_cast<std::uint64_t>(options.count) > distinct)
                throw tooFewNames(distinct, options.count);
            stream.expect(static_cast<std::uint64_t>(options.count));
        }
        writeStream(options, pools, seed, environment, stream);
        return;
    }
    if (options.unique) {
        RandomSource unused(seed);
        const std::uint64_t distinct =
            NameStream(pools.first, pools.last, {options.part, false, true}, unused, pools.repeats).distinctNames();
        if (static_cast<std::uint64_t>(options.count) > distinct)
            throw tooFewNames(distinct, options.count);
    }
    // The people of today: each record's person first, from the second sequence, then the name.
    RandomSource peoples = RandomSource::second(seed);
    TodayNames today(*pools.today, pools.periodNames.get(), static_cast<std::uint32_t>(pools.first.texts.size()),
                     pools.last, options.part, random, peoples);
    if (options.unique)
        today.makeUnique(pools.repeats);
    try {
        writeStream(options, pools, seed, environment, today);
    } catch (const TodayNames::Exhausted& exhausted) {
        throw noNewName(exhausted);
    }
}

int run(const Options& options, Environment& environment) {
    try {
        // Nothing is written over a names database, not even through a link or another name for it.
        if (!options.toStandardOutput()) {
            for (const QString& database : namesDatabases(options, environment))
                if (isSameFile(options.output, database))
                    throw Failure{kUsage, QStringLiteral("-o %1: that is the names database %2, which is never written")
                                              .arg(options.output, database)};
            if (isSqliteDatabase(options.output))
                throw Failure{kUsage,
                              QStringLiteral("-o %1: that is a database, which is never written").arg(options.output)};
        }
        const RunPools pools = loadPools(options, environment);
        const std::uint64_t seed = options.seed ? *options.seed : environment.entropy();
        if (options.verbose) {
            say(environment.errors, QStringLiteral("seed %1").arg(seed));
            say(environment.errors, QStringLiteral("drawing from %1 first names and %2 last names")
                                        .arg(pools.first.texts.size())
                                        .arg(pools.last.texts.size()));
        }
        writeNames(options, pools, seed, environment);
        return kSuccess;
    } catch (const Failure& failure) {
        say(environment.errors, failure.message);
        return failure.status;
    } catch (const ClosedPipe&) {
        return kSuccess;
    }
}

int runCommandLine(const QStringList& arguments, Environment& environment) {
    try {
        const Request request = parseArguments(arguments);
        switch (request.kind) {
        case Request::Kind::Help:
        case Request::Kind::Version:
            try {
                DescriptorSink out(environment.outputFd);
                out.append(request.text.toUtf8());
                out.finish();
            } catch (const ClosedPipe&) {
            } catch (const AppError& error) {
                say(environment.errors, error.message());
                return kRunFailure;
            }
            return kSuccess;
        case Request::Kind::UsageError:
            say(environment.errors, request.text);
            std::fprintf(environment.errors, "Try '%s --help' for more information.\n",
                         kProgramName.toUtf8().constData());
            return kUsage;
        case Request::Kind::Run:
            break;
        }
        return run(request.options, environment);
    } catch (const std::bad_alloc&) {
        say(environment.errors, QStringLiteral("memory exhausted"));
    } catch (const std::exception& error) {
        say(environment.errors, QString::fromUtf8(error.what()));
    } catch (...) {
        say(environment.errors, QStringLiteral("an unexpected failure"));
    }
    return kRunFailure;
}

} // namespace quillory::cli
