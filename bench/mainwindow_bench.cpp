// The main window's name lists: a full refill from the database, and the start-up that ends with
// the window shown.
#include "benchsupport.h"
#include "core/appcontext.h"
#include "core/random.h"
#include "core/settings.h"
#include "store/namedatabase.h"
#include "ui/listcontrol.h"
#include "widgets/mainwindow.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace quillory;

QStringList readList(const char* file) {
    QFile list(QStringLiteral(QUILLORY_DATA_DIR "/") + QString::fromUtf8(file));
    list.open(QIODevice::ReadOnly);
    return QString::fromUtf8(list.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// `count` different names made from a built-in list, in the letter case of a careless import.
QStringList manyNames(const QStringList& source, int count, int salt) {
    QStringList names;
    names.reserve(count);
    for (int i = 0; i < count; ++i) {
        QString name = source[(i * 7 + salt) % source.size()];
        if (i >= source.size())
            name += QLatin1Char(' ') + source[(i / source.size() + salt) % source.size()];
        names << (i % 3 == 0 ? name.toUpper() : i % 3 == 1 ? name.toLower() : name);
    }
    return names;
}

void store(const QString& file, const char* statement, const QStringList& names) {
    NameDatabase database(file);
    database.open();
    database.execute("begin");
    for (const QString& name : names)
        database.execute(statement, {truncatedName(name)});
    database.execute("commit");
}

using bench::Workbench;

// Halvard's List with both genders, the heaviest fill: 20,000 last names sorted, and 20,000 first
// names made distinct and sorted across the male and female tables.
void BM_FillNameLists(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    Workbench bench;
    const QString file = bench.context.paths.nameDatabaseFile();
    NameDatabase::create(file);
    const QStringList first =
        manyNames(readList("male_first_names.txt") + readList("female_first_names.txt"), count, 0);
    store(file, "insert into system_mfirstname values (?1)", first.mid(0, count / 2));
    store(file, "insert into system_ffirstname values (?1)", first.mid(count / 2));
    store(file, "insert into system_lastname values (?1)", manyNames(readList("last_names.txt"), count, 3));

    MainWindow window(bench.context);
    for (auto _ : state)
        window.FillNameLists();
    if (window.listView2()->count() != count || bench.dialogs.shown != 0)
        state.SkipWithError("the fill did not show every name");
    state.SetItemsProcessed(state.iterations() * 2 * count);
}
BENCHMARK(BM_FillNameLists)->Arg(20'000)->Unit(benchmark::kMillisecond);

// From constructing the main window to showing it, with the whole built-in list.
void BM_StartUp(benchmark::State& state) {
    Workbench bench;
    QFile::copy(QStringLiteral(QUILLORY_BUILTIN_NAMES_DB), bench.context.paths.nameDatabaseFile());
    for (auto _ : state) {
        auto window = std::make_unique<MainWindow>(bench.context);
        window->load();
        window->showAtStart();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(window->listView2()->count());
        state.PauseTiming();
        window.reset();
        state.ResumeTiming();
    }
    if (bench.dialogs.shown != 0)
        state.SkipWithError("start-up showed a message");
}
BENCHMARK(BM_StartUp)->Unit(benchmark::kMillisecond);

} // namespace
