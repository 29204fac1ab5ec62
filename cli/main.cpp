// quillory-cli: Quillory's names for scripts and pipelines. Everything but the wiring lives in cli_core.
#include "clirun.h"

#include "core/appinfo.h"
#include "core/nativepath.h"
#include "core/outputfile.h"
#include "core/random.h"

#include <QCoreApplication>

#include <csignal>
#include <unistd.h>

int main(int argc, char* argv[]) {
    // Before anything opens a file: a closed standard stream must not become one of the program's files.
    quillory::openClosedStandardStreams();
    // An interrupted run takes its half-written file with it, then ends as the signal would have it.
    quillory::removeTemporariesOnSignals();
    // A reader that goes away early (quillory-cli | head) shows as EPIPE on the next write, which ends
    // the run quietly, rather than as a signal that kills it.
    std::signal(SIGPIPE, SIG_IGN);
    // Likewise a file grown past the user's size limit fails its write and is reported, never left.
    std::signal(SIGXFSZ, SIG_IGN);
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(quillory::appinfo::kSettingsOrganisation);
    QCoreApplication::setApplicationName(quillory::appinfo::kSettingsSection);

    quillory::cli::Environment environment{
        .paths = quillory::AppPaths::forRunningProgram(),
        .outputFd = STDOUT_FILENO,
        .errors = stderr,
        .errorsOnTerminal = isatty(STDERR_FILENO) == 1,
        .outputOnTerminal = isatty(STDOUT_FILENO) == 1,
        .entropy = quillory::systemSeed,
    };
    // The arguments as the shell gave them: a file name that is not UTF-8 still names that file.
    return quillory::cli::runCommandLine(quillory::argumentsOf(argc, argv), environment);
}
