#include "clirun.h"

#include "nameoutput.h"

#include "core/apperror.h"
#include "core/random.h"
#include "generator/namedraws.h"
#include "store/namebirths.h"
#include "store/namedatabase.h"
#include "store/namefilereader.h"
#include "store/namestatements.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>

#include <chrono>
#include <cstring>
#include <optional>

namespace quillory::cli {

namespace {

void say(std::FILE* stream, const QString& line) {
    std::fputs((kProgramName + QStringLiteral(": ") + line + QLatin1Char('\n')).toUtf8().constData(), stream);
    std::fflush(stream);
}

// The names of a text file, read as the window's import reads them.
QStringList readNameFile(const QString& path) {
    if (QFileInfo(path).isDir())
        throw Failure{kRunFailure, QStringLiteral("%1: Is a directory").arg(path)};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Failure{kRunFailure, QStringLiteral("%1: %2").arg(path, file.errorString())};
    const auto namesOf = [](QIODevice& device) {
        QStringList names;
        NameFileReader reader(device);
        while (std::optional<QString> name = reader.next())
            names.append(*name);
        return names;
    };
    try {
        if (!file.isSequential())
            return namesOf(file);
        // A pipe (such as <(...) in a shell) is read whole first: the reader looks at the whole file
        // before settling its encoding.
        QByteArray bytes = file.readAll();
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        return namesOf(buffer);
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

// The weights of first or last names: each name's births in the list the options draw from; a name
// without a count weighs as much as the least common name of that list.
std::vector<std::uint64_t> weightsOf(const QStringList& names, bool firstNames, const Options& options,
                                     const BirthCounts& births) {
    std::vector<std::uint64_t> weights;
    weights.reserve(static_cast<std::size_t>(names.size()));
    for (const QString& name : names) {
        std::uint64_t count = 0;
        std::uint64_t least = 0;
        if (!firstNames) {
            count = births.count(BirthList::Last, name);
            least = births.least(BirthList::Last);
        } else if (options.gender == GenderChoice::MaleOnly) {
            count = births.count(BirthList::Male, name);
            least = births.least(BirthList::Male);
        } else if (options.gender == GenderChoice::FemaleOnly) {
            count = births.count(BirthList::Female, name);
            least = births.least(BirthList::Female);
        } else {
            count = births.firstNameCount(name);
            least = births.leastFirstName();
        }
        weights.push_back(count != 0 ? count : std::max<std::uint64_t>(least, 1));
    }
    return weights;
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

// The births by years of the first names, read from the names.mdb the names come from. They are
// built-in figures that follow the program, so an installed program reads its own file rather than
// the user's copy (which an older version may have made), and a --database file without them (made by
// an older version) gives way to the program's own.
YearBirths bornBirths(const Options& options, const Environment& environment, NameDatabase& namesFrom) {
    const BirthYears years = *options.born;
    const bool male = options.gender != GenderChoice::FemaleOnly;
    const bool female = options.gender != GenderChoice::MaleOnly;
    const auto readFrom = [&](NameDatabase& database) {
        if (!hasFirstNameBirths(database))
            throw AppError(QStringLiteral("%1: no births by years of the first names (a names.mdb made by an "
                                          "older version of Quillory)")
                               .arg(database.file()));
        return YearBirths::read(database, years, male, female);
    };
    try {
        const NameDatabasePlace own = environment.paths.nameDatabase();
        const bool installed = !own.madeFrom.isEmpty();
        if (options.database.isEmpty() && !installed)
            return readFrom(namesFrom); // the program's own names.mdb
        if (!options.database.isEmpty() && hasFirstNameBirths(namesFrom))
            return YearBirths::read(namesFrom, years, male, female);
        NameDatabase programOwn(installed ? own.madeFrom : own.file);
        if (installed)
            programOwn.openInstalled();
        else
            programOwn.open();
        return readFrom(programOwn);
    } catch (const AppError& error) {
        throw Failure{kRunFailure, error.message()};
    }
}

QString sourceName(const Options& options, bool firstNames, const QString& database) {
    const QString& file = firstNames ? options.firstNamesFile : options.lastNamesFile;
    if (!file.isEmpty())
        return file;
    if (options.source == NameSource::UserList)
        return QStringLiteral("the User List of %1").arg(database);
    return QStringLiteral("Halvard's List of %1").arg(database);
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

template <typename Writer> void pump(NameStream& stream, Writer& writer, std::int64_t count, Progress& progress) {
    constexpr std::int64_t kBetweenLooks = 1 << 16;
    for (std::int64_t done = 0; done < count;) {
        const std::int64_t until = std::min(count, done + kBetweenLooks);
        for (; done < until; ++done)
            writer.write(stream.next());
        progress.at(done);
    }
}

} // namespace

namespace {
// Written only outside signal handlers; read by one. A path too long to keep is not kept.
char g_leftover[4096];
} // namespace

void setLeftover(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    g_leftover[0] = '\0';
    if (name.size() < static_cast<qsizetype>(sizeof g_leftover))
        std::memcpy(g_leftover, name.constData(), static_cast<std::size_t>(name.size()) + 1);
}

const char* leftover() {
    return g_leftover;
}

RunPools loadPools(const Options& options, const Environment& environment) {
    const bool needFirst = options.part != NamePart::LastOnly;
    const bool needLast = options.part != NamePart::FirstOnly;
    const NameDatabasePlace place =
        options.database.isEmpty() ? environment.paths.nameDatabase() : NameDatabasePlace(options.database);
    const QString& databaseFile = place.file;

    std::optional<NameDatabase> database;
    const auto fromDatabase = [&](const ListQuery& query) {
        try {
            if (!database) {
                database.emplace(place);
                database->open();
            }
        } catch (const AppError& error) {
            throw Failure{kRunFailure, error.message()};
        }
        try {
            return queryNames(*database, query.statement, query.column);
        } catch (const AppError& error) {
            throw Failure{kRunFailure, QStringLiteral("%1: %2").arg(databaseFile, error.message())};
        }
    };

    QStringList firstStored;
    QStringList lastStored;
    if (needFirst)
        firstStored = options.firstNamesFile.isEmpty() ? fromDatabase(firstNameQuery(options))
                                                       : readNameFile(options.firstNamesFile);
    if (needLast)
        lastStored = options.lastNamesFile.isEmpty() ? fromDatabase(lastNameQuery(options))
                                                     : readNameFile(options.lastNamesFile);

    std::vector<std::uint64_t> firstWeights;
    std::vector<std::uint64_t> lastWeights;
    if (options.born && needFirst) {
        const YearBirths births = bornBirths(options, environment, *database);
        if (!births.any())
            throw Failure{kUsage, QStringLiteral("--born %1: no %2first names were given in those years")
                                      .arg(options.bornText, genderWord(options.gender))};
        firstWeights.reserve(static_cast<std::size_t>(firstStored.size()));
        for (const QString& name : std::as_const(firstStored))
            firstWeights.push_back(births.weight(name));
    }
    if (options.weighted) {
        const QString birthsFile = environment.paths.besideProgram(kBirthsFile);
        BirthCounts births;
        try {
            births = BirthCounts::read(birthsFile);
        } catch (const AppError& error) {
            throw Failure{kRunFailure, error.message()};
        }
        if (!options.born)
            firstWeights = weightsOf(firstStored, true, options, births);
        lastWeights = weightsOf(lastStored, false, options, births);
    }

    if (database)
        database->close();

    // Weighted and unique draws take each printed text once; uniform draws take a list as it is.
    const bool distinct = options.weighted || options.unique;
    RunPools pools{makeDrawPool(firstStored, firstWeights, options.stripSpaces, distinct),
                   makeDrawPool(lastStored, lastWeights, options.stripSpaces, distinct),
                   {}};
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
    // A line that joins both parts can be printed by two pairs; a unique run gives it once.
    const bool joined = options.format == Format::Text || (options.format == Format::Xlsx && options.cells == 1);
    if (options.unique && joined && options.part == NamePart::FirstAndLast)
        pools.repeats = joinedLineRepeats(pools.first.texts, pools.last.texts);
    return pools;
}

void writeNames(const Options& options, const RunPools& pools, std::uint64_t seed, Environment& environment) {
    RandomSource random(seed);
    NameStream stream(pools.first, pools.last, {options.part, options.weighted, options.unique}, random, pools.repeats);
    if (options.unique) {
        const std::uint64_t distinct = stream.distinctNames();
        if (static_cast<std::uint64_t>(options.count) > distinct)
            throw Failure{kUsage, QStringLiteral("--unique: these lists give %1 different names, not %2")
                                      .arg(distinct)
                                      .arg(options.count)};
        stream.expect(static_cast<std::uint64_t>(options.count));
    }

    try {
        if (!options.toStandardOutput() && !QFileInfo(QFileInfo(options.output).absolutePath()).isDir())
            throw AppError(QStringLiteral("%1: No such file or directory").arg(options.output));
        const bool showProgress =
            environment.errorsOnTerminal && !(options.toStandardOutput() && environment.outputOnTerminal);
        Progress progress(environment.errors, showProgress, options.count);
        if (options.format == Format::Xlsx) {
            const std::unique_ptr<NameWriter> writer = makeWorkbookWriter(options, pools.first, pools.last);
            try {
                pump(stream, *writer, options.count, progress);
                writer->finish();
            } catch (const AppError& error) {
                throw AppError(QStringLiteral("%1: %2").arg(options.output, error.message()));
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

int run(const Options& options, Environment& environment) {
    try {
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
        std::fprintf(environment.errors, "Try '%s --help' for more information.\n", kProgramName.toUtf8().constData());
        return kUsage;
    case Request::Kind::Run:
        break;
    }
    return run(request.options, environment);
}

} // namespace quillory::cli
