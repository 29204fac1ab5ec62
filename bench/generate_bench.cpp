// The program's main job: a million names drawn, listed and shown, then saved as results.txt or as a
// workbook; and the floor the first two are compared with.
#include "benchsupport.h"
#include "core/appcontext.h"
#include "core/peoplecolumns.h"
#include "core/random.h"
#include "core/settings.h"
#include "core/textoutput.h"
#include "generator/namegenerator.h"
#include "store/nameweights.h"
#include "ui/listcontrol.h"
#include "widgets/mainwindow.h"
#include "widgets/resultswindow.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QHash>
#include <QLineEdit>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <QRadioButton>

#include <fcntl.h>
#include <fstream>
#include <malloc.h>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

using namespace quillory;

// The bytes the program holds on the heap, mapped blocks included: unlike the resident set, it
// falls when memory is freed and rises when it is taken again.
double heapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd);
}

struct Program : bench::Workbench {
    std::unique_ptr<MainWindow> window;

    /** `choices`: the Names menu's settings, stored before the window starts ("CommonNames" = "True"...). */
    explicit Program(const QHash<QString, QString>& choices = {}) {
        QFile::copy(QStringLiteral(QUILLORY_BUILTIN_NAMES_DB), context.paths.nameDatabaseFile());
        QFile::copy(QStringLiteral(QUILLORY_BIRTHS_FILE), context.paths.besideProgram(QStringLiteral("births.tsv")));
        for (auto it = choices.cbegin(); it != choices.cend(); ++it)
            settings.StoreSetting(it.key(), it.value());
        window = std::make_unique<MainWindow>(
            context, [this](QWidget& main) { return std::make_unique<ResultsWindow>(context, &main); });
        window->load();
        window->showAtStart();
        QCoreApplication::processEvents();
    }

    ResultsWindow& results() { return static_cast<ResultsWindow&>(window->resultsWindow()); }

    void generate(int count) {
        window->text1()->setText(QString::number(count));
        window->startGenerating();
        QCoreApplication::processEvents();
    }
};

// A run's names as "Start Generating" lists them.
std::shared_ptr<const ListItems> builtInNames(int count) {
    Program program;
    program.generate(count);
    return program.results().listView1()->items().contents();
}

// "Start Generating" from the click to the results window shown: the built-in lists, "First and
// Last Name", with the Names menu's `choices`. Between runs the main window comes back, as "< Back"
// brings it.
void generateWith(benchmark::State& state, const QHash<QString, QString>& choices) {
    const int count = static_cast<int>(state.range(0));
    Program program(choices);
    program.generate(1); // loads the results window, which a first run does once per program run
    program.results().backClick();
    QCoreApplication::processEvents();
    const double before = heapInUse();
    double added = 0;
    for (auto _ : state) {
        program.generate(count);
        state.PauseTiming();
        if (added == 0)
            added = heapInUse() - before;
        program.results().backClick();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    if (program.results().listView1()->count() != count || program.dialogs.shown != 0)
        state.SkipWithError("the run did not list every name");
    state.counters["added_MB"] = added / (1024.0 * 1024.0);
    state.SetItemsProcessed(state.iterations() * count);
}

// As designed: nothing chosen in the Names menu.
void BM_Generate(benchmark::State& state) {
    generateWith(state, {});
}
BENCHMARK(BM_Generate)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// The same with common names more often, the births read at every run as a click reads them.
void BM_GenerateCommonNames(benchmark::State& state) {
    generateWith(state, {{QStringLiteral("CommonNames"), QStringLiteral("True")}});
}
BENCHMARK(BM_GenerateCommonNames)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// The first run of a program with common names more often: the births read and the pools made, from
// the click to the results window shown.
void BM_FirstRunCommonNames(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        Program program({{QStringLiteral("CommonNames"), QStringLiteral("True")}});
        state.ResumeTiming();
        program.generate(static_cast<int>(state.range(0)));
        state.PauseTiming();
        if (program.results().listView1()->count() != state.range(0))
            state.SkipWithError("the run did not list every name");
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_FirstRunCommonNames)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_GenerateBornIn(benchmark::State& state) {
    generateWith(state, {{QStringLiteral("BornIn"), QStringLiteral("2000-2009")}});
}
BENCHMARK(BM_GenerateBornIn)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

void BM_GenerateNoRepeats(benchmark::State& state) {
    generateWith(state, {{QStringLiteral("NoRepeats"), QStringLiteral("True")}});
}
BENCHMARK(BM_GenerateNoRepeats)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// "Copy All Names" on a million results: every name on the clipboard, one per line.
void BM_CopyAllNames(benchmark::State& state) {
    Program program;
    program.generate(static_cast<int>(state.range(0)));
    const ListControl* results = program.results().listView1();
    for (auto _ : state)
        results->copyAll();
    if (QGuiApplication::clipboard()->text().size() < state.range(0) * 4)
        state.SkipWithError("the clipboard does not hold the names");
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_CopyAllNames)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// "Save Results" as a text file: the content built and written in place of the earlier file.
void BM_SaveText(benchmark::State& state) {
    const auto names = builtInNames(static_cast<int>(state.range(0)));
    QTemporaryDir dir;
    const QString path = resultsFilePath(dir.path());
    for (auto _ : state)
        replaceFile(path, resultsText(*names));
    if (QFile(path).size() <= names->size() * 3)
        state.SkipWithError("the file is too short");
    state.SetItemsProcessed(state.iterations() * names->size());
}
BENCHMARK(BM_SaveText)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// View, "Show People": the people behind a million names drawn for the results list, off the window's
// thread (the time the columns take to come), and the memory each row keeps.
void BM_ShowPeople(benchmark::State& state) {
    Program program;
    program.generate(static_cast<int>(state.range(0)));
    const auto names = std::dynamic_pointer_cast<const NameRun>(program.results().listView1()->items().contents());
    const FirstNameBirths births = readFirstNameBirths(program.context.paths, nullptr, false);
    const BirthsOf birthsOf = [&births](const QString& name) {
        const NameBirthSpans* of = births.find(name);
        return of != nullptr ? *of : NameBirthSpans{};
    };
    std::shared_ptr<const PeopleColumns> columns;
    for (auto _ : state) {
        columns.reset();
        columns = PeopleColumns::make(*names, birthsOf);
    }
    if (columns->rows() != names->size() || !columns->text(names->size() - 1, 3).contains(u'@'))
        state.SkipWithError("a row without its person");
    state.counters["bytes_per_row"] = static_cast<double>(columns->bytes()) / static_cast<double>(columns->rows());
    state.SetItemsProcessed(state.iterations() * names->size());
}
BENCHMARK(BM_ShowPeople)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// A line of /proc/self/status in kB ("VmRSS", "VmHWM"), or -1.
double statusKilobytes(const std::string& key) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(key + ':', 0) == 0)
            return std::stod(line.substr(key.size() + 1));
    return -1;
}

// "Save Results" as a workbook, from the click to the file handed to the spreadsheet application
// (which is not started). Reports the most memory the first save added to the process at any moment.
void saveWorkbook(benchmark::State& state, const char* output) {
    const int count = static_cast<int>(state.range(0));
    Program program;
    program.generate(count);
    ResultsWindow& results = program.results();
    results.text2()->setText(program.dir.path());
    qobject_cast<QRadioButton*>(results.control(QString::fromLatin1(output)))->setChecked(true);
    double addedPeak = -1;
    for (auto _ : state) {
        if (addedPeak < 0) {
            state.PauseTiming();
            std::ofstream("/proc/self/clear_refs") << "5"; // the peak resident set starts again from now
            const double before = statusKilobytes("VmRSS");
            state.ResumeTiming();
            results.saveClick();
            addedPeak = (statusKilobytes("VmHWM") - before) / 1024.0;
        } else {
            results.saveClick();
        }
    }
    if (program.dialogs.started != state.iterations() || program.dialogs.shown != 0)
        state.SkipWithError("the workbook was not handed over");
    state.counters["added_peak_MB"] = addedPeak;
    state.SetItemsProcessed(state.iterations() * count);
}

void BM_SaveXlsx2Cells(benchmark::State& state) {
    saveWorkbook(state, "Option5");
}
BENCHMARK(BM_SaveXlsx2Cells)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

void BM_SaveXlsx1Cell(benchmark::State& state) {
    saveWorkbook(state, "Option6");
}
BENCHMARK(BM_SaveXlsx1Cell)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// The bare floor of both: two draws per name from the same random sequence, and the same number of
// names of the same lengths appended to one byte buffer and written to a file. With `durable`, the
// bytes reach the disk as a saved file's do: written to a new file, synced once, renamed into place.
void floor(benchmark::State& state, bool durable) {
    const auto names = builtInNames(static_cast<int>(state.range(0)));
    std::vector<int> lengths;
    lengths.reserve(names->size());
    for (qsizetype i = 0; i < names->size(); ++i)
        lengths.push_back(static_cast<int>(names->text(i).toUtf8().size()));
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.filePath(QStringLiteral("floor.txt")));
    const QByteArray part = path + ".new";
    RandomSource random(1);
    const std::string letters(64, 'x');
    for (auto _ : state) {
        int sum = 0;
        for (std::size_t i = 0; i < lengths.size(); ++i)
            sum += RandomInteger(random, 15'178) + RandomInteger(random, 4'910);
        benchmark::DoNotOptimize(sum);
        QByteArray content;
        for (const int length : lengths) {
            content.append(letters.data(), length);
            content.append("\r\n", 2);
        }
        const int fd = ::open((durable ? part : path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        bool ok =
            fd >= 0 && ::write(fd, content.constData(), static_cast<std::size_t>(content.size())) == content.size();
        if (durable)
            ok = ok && ::fdatasync(fd) == 0;
        ok = ::close(fd) == 0 && ok;
        if (durable)
            ok = ok && ::rename(part.constData(), path.constData()) == 0;
        if (!ok)
            state.SkipWithError("the floor's file could not be written");
    }
    state.SetItemsProcessed(state.iterations() * names->size());
}

void BM_Floor(benchmark::State& state) {
    floor(state, false);
}
BENCHMARK(BM_Floor)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// What BM_SaveText and BM_CliText are held to: the floor, made durable as they make their files.
void BM_FloorDurable(benchmark::State& state) {
    floor(state, true);
}
BENCHMARK(BM_FloorDurable)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

} // namespace
