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

#include <memory>

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

// A main window on an empty names.mdb with the User List chosen, and a file of `count` names that
// the picker gives "Load First Names From File".
struct ImportBench : bench::Workbench {
    explicit ImportBench(int count) {
        QFile file(dir.filePath(QStringLiteral("names.txt")));
        file.open(QIODevice::WriteOnly);
        file.write(nameFile(count));
        file.close();
        dialogs.filesToPick = {file.fileName()};
        NameDatabase::create(context.paths.nameDatabaseFile());
        window = std::make_unique<MainWindow>(context);
        window->load();
        qobject_cast<QRadioButton*>(window->control(QStringLiteral("Option8")))->setChecked(true);
    }
    QPushButton* button(const char* name) const {
        return qobject_cast<QPushButton*>(window->control(QString::fromLatin1(name)));
    }
    std::unique_ptr<MainWindow> window;
};

void BM_Import(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    ImportBench bench(count);
    AppContext& context = bench.context;
    MainWindow& window = *bench.window;
    QPushButton* load = bench.button("PushButton6");

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
    ImportBench bench(count);
    MainWindow& window = *bench.window;
    bench.button("PushButton6")->click();
    QPushButton* clear = bench.button("PushButton4");

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
