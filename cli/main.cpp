// quillory-cli: Quillory's names for scripts and pipelines. Everything but the wiring lives in cli_core.
#include "clirun.h"

#include "core/appinfo.h"

#include <QCoreApplication>

#include <csignal>
#include <random>
#include <unistd.h>

namespace {

// An interrupted run takes its half-written file with it, then ends as the signal would have it.
void endOnSignal(int signal) {
    if (const char* path = quillory::cli::leftover(); path[0] != '\0')
        unlink(path);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

} // namespace

int main(int argc, char* argv[]) {
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        std::signal(signal, endOnSignal);
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
        .entropy =
            [] {
                std::random_device device;
                return (static_cast<std::uint64_t>(device()) << 32) | device();
            },
    };
    return quillory::cli::runCommandLine(QCoreApplication::arguments(), environment);
}
