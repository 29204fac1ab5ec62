#pragma once

#include "fieldsoutput.h"
#include "options.h"

#include "core/apppaths.h"
#include "generator/drawpool.h"
#include "generator/today.h"

#include <QString>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

/** A run of quillory-cli: the pools read, the names drawn and written. */
namespace quillory::cli {

/** Exit statuses. */
inline constexpr int kSuccess = 0;
inline constexpr int kRunFailure = 1;
inline constexpr int kUsage = 2;

/** A run that cannot go on: its exit status and its one line for standard error. */
struct Failure {
    int status;
    QString message;
};

/** What a run needs of the world; main() gives the real one, tests and benchmarks their own. */
struct Environment {
    /** The program folder: names.mdb and births.tsv. */
    AppPaths paths;
    /** Where names go without -o. */
    int outputFd = 1;
    /** Where diagnostics go. */
    std::FILE* errors = stderr;
    /** Whether `errors` and the standard output are terminals: a long run shows its progress on
     *  `errors` when that is a terminal that the names do not go to. */
    bool errorsOnTerminal = false;
    bool outputOnTerminal = false;
    /** A seed from the system, for a run without --seed. */
    std::function<std::uint64_t()> entropy;
};

/**
 * The pools of a run, as read and made printable, with the joined lines that repeat others, and
 * the births of each first name when the run's fields need the person behind it.
 */
struct RunPools {
    DrawPool first;
    DrawPool last;
    std::vector<std::uint64_t> repeats;
    PeopleSource people;
    /** With --alive: the people of today, and the first names of each sex and period of the first pool. */
    std::optional<TodayDraw> today;
    std::shared_ptr<const PeriodNames> periodNames;
    /** The communes and départements, when a field needs them. */
    std::shared_ptr<const Places> places;
};

/**
 * Reads the names a run draws from, with the births of the first names when the fields need the
 * person behind each name (or `withPeople` asks for them whatever the fields). Throws Failure.
 */
RunPools loadPools(const Options& options, const Environment& environment, bool withPeople = false);

/** The communes and départements beside the program. Throws Failure. */
std::shared_ptr<const Places> loadPlaces(const Environment& environment);

/** A unique run asked for more names than its lists give. */
Failure tooFewNames(std::uint64_t distinct, std::int64_t count);

/** A unique run of the people of today that found no new name for one record. */
Failure noNewName(const TodayNames::Exhausted& exhausted);

/** Draws and writes `options.count` names from the sequence started at `seed`. Throws Failure or ClosedPipe. */
void writeNames(const Options& options, const RunPools& pools, std::uint64_t seed, Environment& environment);

/** A whole run: the exit status, with any diagnostic already written. */
int run(const Options& options, Environment& environment);

/** The command line read and run: help, version, usage errors and runs alike. */
int runCommandLine(const QStringList& arguments, Environment& environment);

} // namespace quillory::cli
