// Importing a text file of names into the User List, from the click on "Load First Names From File"
// to the lists refilled.
#include "benchsupport.h"
#include "core/appcontext.h"
#include "core/random.h"
#include "core/settings.h"
#include "store/namedatabase.h"
#include "ui/listcontrol.h"
#include "widgets/editmenu.h"
#include "widgets/mainwindow.h"

#include <QAction>

#include <QCoreApplication>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using namespace quillory;

// `count` different names, as a user's own list might hold them.
QByteArray nameFile(int count) {
    QFile source(QStringLiteral(QUILLORY_DATA_DIR "/female_first_names.txt"));
    source.open(QIODevice::ReadOnly);
    const QList<QByteArray> names = source.readAll().split('\n');
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes += names[i % (names.size() - 1)] + (i < names.size() - 1 ? "" : " " + QByteArray::number(i)) + "\r\n";
    return bytes;
}

void BM_Import(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    bench::Workbench bench;
    AppContext& context = bench.context;
    QFile file(bench.dir.filePath(QStringLiteral("names.txt")));
    file.open(QIODevice::WriteOnly);
    file.write(nameFile(count));
    file.close();
    bench.dialogs.filesToPick = {file.fileName()};
    NameDatabase::create(context.paths.nameDatabaseFile());
    MainWindow window(context);
    window.load();
    qobject_cast<QRadioButton*>(window.control(QStringLiteral("Option8")))->setChecked(true);
    auto* load = qobject_cast<QPushButton*>(window.control(QStringLiteral("PushButton6")));

    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(context.paths.nameDatabaseFile());
        NameDatabase::create(context.paths.nameDatabaseFile());
        state.ResumeTiming();
        load->click();
    }
    if (window.listView1()->count() != count || bench.dialogs.shown != 0)
        state.SkipWithError("the import did not show every name");
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_Import)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// "Undo Clear First Names" after a User List of `count` imported names was cleared: every row put
// back under its rowid, and the lists refilled.
void BM_UndoClear(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    bench::Workbench bench;
    AppContext& context = bench.context;
    QFile file(bench.dir.filePath(QStringLiteral("names.txt")));
    file.open(QIODevice::WriteOnly);
    file.write(nameFile(count));
    file.close();
    bench.dialogs.filesToPick = {file.fileName()};
    NameDatabase::create(context.paths.nameDatabaseFile());
    MainWindow window(context);
    window.load();
    qobject_cast<QRadioButton*>(window.control(QStringLiteral("Option8")))->setChecked(true);
    qobject_cast<QPushButton*>(window.control(QStringLiteral("PushButton6")))->click();
    auto* clear = qobject_cast<QPushButton*>(window.control(QStringLiteral("PushButton4")));

    for (auto _ : state) {
        state.PauseTiming();
        clear->click();
        state.ResumeTiming();
        window.editMenu().undo()->trigger();
    }
    if (window.listView1()->count() != count || bench.dialogs.shown != 0)
        state.SkipWithError("the undo did not bring every name back");
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_UndoClear)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

} // namespace
