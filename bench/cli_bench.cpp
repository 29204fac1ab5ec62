// quillory-cli's own path: names drawn and written into a file, the pools read once beforehand as a
// run reads them; and the memory a run of ten million names takes.
#include "cli/clirun.h"
#include "cli/options.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using namespace quillory;

struct CliBench {
    QTemporaryDir dir;
    cli::Environment environment{.paths = AppPaths(dir.path()), .entropy = [] { return std::uint64_t{1}; }};
    cli::Options options;

    explicit CliBench(int count) {
        QFile::copy(QStringLiteral(QUILLORY_BUILTIN_NAMES_DB), dir.filePath(QStringLiteral("names.mdb")));
        QFile::copy(QStringLiteral(QUILLORY_BIRTHS_FILE), dir.filePath(QStringLiteral("births.tsv")));
        for (const char* places : {"communes.tsv", "departements.tsv"})
            QFile::copy(QFileInfo(QStringLiteral(QUILLORY_BIRTHS_FILE)).dir().filePath(QLatin1String(places)),
                        dir.filePath(QLatin1String(places)));
        options.count = count;
        options.seed = 1;
        options.output = dir.filePath(QStringLiteral("names.out"));
    }

    void run(benchmark::State& state) {
        const cli::RunPools pools = cli::loadPools(options, environment);
        for (auto _ : state)
            cli::writeNames(options, pools, *options.seed, environment);
        if (QFileInfo(options.output).size() < options.count * 4)
            state.SkipWithError("the file is too short");
        state.SetItemsProcessed(state.iterations() * options.count);
    }
};

// Text, one name a line, built-in names, uniform: to be compared with BM_Floor.
void BM_CliText(benchmark::State& state) {
    CliBench bench(static_cast<int>(state.range(0)));
    bench.run(state);
}
BENCHMARK(BM_CliText)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

void BM_CliWeighted(benchmark::State& state) {
    CliBench bench(static_cast<int>(state.range(0)));
    bench.options.weighted = true;
    bench.run(state);
}
BENCHMARK(BM_CliWeighted)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// First names as given in the 2000s, last names weighted: to be compared with BM_CliText.
void BM_CliBorn(benchmark::State& state) {
    CliBench bench(static_cast<int>(state.range(0)));
    bench.options.born = BirthYears{2000, 2009, std::nullopt, std::nullopt};
    bench.options.bornText = QStringLiteral("2000-2009");
    bench.options.weighted = true;
    bench.run(state);
}
BENCHMARK(BM_CliBorn)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// The people of today, their names alone: to be compared with BM_CliWeighted.
void BM_CliAlive(benchmark::State& state) {
    CliBench bench(static_cast<int>(state.range(0)));
    bench.options.alive = true;
    bench.options.weighted = true;
    bench.run(state);
}
BENCHMARK(BM_CliAlive)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

void BM_CliUnique(benchmark::State& state) {
    CliBench bench(static_cast<int>(state.range(0)));
    bench.options.unique = true;
    bench.run(state);
}
BENCHMARK(BM_CliUnique)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

void BM_CliCsv(benchmark::State& state) {
    CliBench bench(static_cast<int>(state.range(0)));
    bench.options.format = cli::Format::Csv;
    bench.run(state);
}
BENCHMARK(BM_CliCsv)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// Every field of --fields, CSV to a file: to be compared with BM_CliCsv.
void BM_CliFields(benchmark::State& state) {
    CliBench bench(static_cast<int>(state.range(0)));
    bench.options.format = cli::Format::Csv;
    for (int field = 0; field <= static_cast<int>(cli::Field::LastNameAscii); ++field)
        bench.options.fields.push_back(static_cast<cli::Field>(field));
    bench.run(state);
}
BENCHMARK(BM_CliFields)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// Every field for the people of today: to be compared with BM_CliFields.
void BM_CliAliveFields(benchmark::State& state) {
    CliBench bench(static_cast<int>(state.range(0)));
    bench.options.format = cli::Format::Csv;
    bench.options.alive = true;
    bench.options.weighted = true;
    for (int field = 0; field <= static_cast<int>(cli::Field::LastNameAscii); ++field)
        bench.options.fields.push_back(static_cast<cli::Field>(field));
    bench.run(state);
}
BENCHMARK(BM_CliAliveFields)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// The bytes of a run's records written to a file and made durable as -o makes it, without drawing
// anything: the floor a run of those fields is held to.
void floorOf(benchmark::State& state, cli::Field lastField) {
    CliBench bench(static_cast<int>(state.range(0)));
    bench.options.format = cli::Format::Csv;
    for (int field = 0; field <= static_cast<int>(lastField); ++field)
        bench.options.fields.push_back(static_cast<cli::Field>(field));
    cli::writeNames(bench.options, cli::loadPools(bench.options, bench.environment), *bench.options.seed,
                    bench.environment);
    QFile made(bench.options.output);
    if (!made.open(QIODevice::ReadOnly))
        return state.SkipWithError("no fields file");
    const QByteArray content = made.readAll();
    const QByteArray path = QFile::encodeName(bench.options.output);
    const QByteArray part = path + ".part";
    for (auto _ : state) {
        const int fd = ::open(part.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        bool ok =
            fd >= 0 && ::write(fd, content.constData(), static_cast<std::size_t>(content.size())) == content.size();
        ok = ok && ::fdatasync(fd) == 0;
        ok = ::close(fd) == 0 && ok;
        ok = ok && ::rename(part.constData(), path.constData()) == 0;
        if (!ok)
            state.SkipWithError("the floor's file could not be written");
    }
    state.SetItemsProcessed(state.iterations() * bench.options.count);
}

// What BM_CliFields is held to besides BM_CliCsv: its very bytes (six times those of the names alone).
void BM_FloorFields(benchmark::State& state) {
    floorOf(state, cli::Field::LastNameAscii);
}
BENCHMARK(BM_FloorFields)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// Every field, the places included, CSV to a file: held to BM_FloorFieldsAll, its own bytes written durably.
void BM_CliFieldsAll(benchmark::State& state) {
    CliBench bench(static_cast<int>(state.range(0)));
    bench.options.format = cli::Format::Csv;
    for (int field = 0; field <= static_cast<int>(cli::Field::Nir); ++field)
        bench.options.fields.push_back(static_cast<cli::Field>(field));
    bench.run(state);
}
BENCHMARK(BM_CliFieldsAll)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

void BM_FloorFieldsAll(benchmark::State& state) {
    floorOf(state, cli::Field::Nir);
}
BENCHMARK(BM_FloorFieldsAll)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// Addresses given once where every surname makes the same address: the last names are the
// accented forms of one word (60,000 of them), the first name one. With --unique each row after the
// first clashes with all the rows before it; held to the same run without --unique (Arg 0) by at
// most 2x.
void BM_CliUniqueEmailsClashing(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    CliBench bench(count);
    const QString firstNames = bench.dir.filePath(QStringLiteral("first.txt"));
    const QString lastNames = bench.dir.filePath(QStringLiteral("last.txt"));
    QFile first(firstNames);
    QFile last(lastNames);
    if (!first.open(QIODevice::WriteOnly) || !last.open(QIODevice::WriteOnly))
        return state.SkipWithError("no names files");
    first.write("Jean\n");
    const QStringList as = QString::fromUtf8("aàáâäãåāăą").split(QString(), Qt::SkipEmptyParts);
    for (int n = 0; n < 60'000; ++n) {
        QString name = QStringLiteral("B");
        for (int digits = n, place = 0; place < 5; ++place, digits /= 10)
            name += as[digits % 10];
        last.write((name + QLatin1Char('\n')).toUtf8());
    }
    first.close();
    last.close();
    bench.options.firstNamesFile = firstNames;
    bench.options.lastNamesFile = lastNames;
    bench.options.format = cli::Format::Csv;
    bench.options.fields = {cli::Field::Email};
    bench.options.unique = state.range(1) != 0;
    bench.run(state);
}
BENCHMARK(BM_CliUniqueEmailsClashing)
    ->ArgsProduct({{40'000}, {0, 1}})
    ->ArgNames({"", "unique"})
    ->Unit(benchmark::kMillisecond);

// The real program writing ten million names to a file; peak_MB is its peak resident set.
void BM_CliPeakMemory(benchmark::State& state) {
    QTemporaryDir dir;
    const QByteArray output = QFile::encodeName(dir.filePath(QStringLiteral("names.txt")));
    const QByteArray count = QByteArray::number(state.range(0));
    long peakKilobytes = 0;
    for (auto _ : state) {
        const pid_t child = fork();
        if (child == 0) {
            execl(QUILLORY_CLI, "quillory-cli", "-n", count.constData(), "--seed", "1", "-o", output.constData(),
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        int status = 0;
        rusage usage{};
        wait4(child, &status, 0, &usage);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
            state.SkipWithError("quillory-cli failed");
        peakKilobytes = std::max(peakKilobytes, usage.ru_maxrss);
    }
    state.counters["peak_MB"] = static_cast<double>(peakKilobytes) / 1024.0;
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_CliPeakMemory)->Arg(10'000'000)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
