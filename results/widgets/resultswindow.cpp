#include "resultswindow.h"

#include "core/apperror.h"
#include "core/appinfo.h"
#include "core/dialogs.h"
#include "core/errorreport.h"
#include "core/guard.h"
#include "core/outputfile.h"
#include "core/peoplecolumns.h"
#include "core/procedures.h"
#include "core/saveas.h"
#include "core/savefolder.h"
#include "core/settings.h"
#include "core/textoutput.h"
#include "core/workbookoutput.h"
#include "store/namebirths.h"
#include "store/nameweights.h"
#include "ui/formbuilder.h"
#include "ui/listcontrol.h"
#include "ui/programicon.h"
#include "ui/skin.h"
#include "ui/windowpointer.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QThread>

#include <atomic>
#include <optional>

namespace quillory {

namespace {

// The desktop's keys for a standard action, and the usual one where the desktop names none (some
// platforms bind no key to "Save As").
QList<QKeySequence> standardKeys(QKeySequence::StandardKey key, const QKeySequence& usual) {
    QList<QKeySequence> keys = QKeySequence::keyBindings(key);
    if (!keys.contains(usual))
        keys.append(usual);
    return keys;
}

constexpr int kClientWidthTwips = 8040;
constexpr int kClientHeightTwips = 7800;
constexpr int kNamesColumnTwips = 7000;

const QString kSaveFolderKey = QStringLiteral("Text2");
const QString kLastFolderKey = QStringLiteral("LastFolderDot");
const QString kSaveAsFolderKey = QStringLiteral("SaveAsFolder");
const QString kShowPeopleKey = QStringLiteral("ShowPeople");

using K = ControlKind;

// How the controls follow a window made larger than designed: its extra height goes to the list, its
// extra width to every control that spans it, and the "..." button stays at the right end of the
// folder box.
constexpr Follow kSpans{.growX = 1};
constexpr Follow kTheList{.growX = 1, .growY = 1};
constexpr Follow kSpansBelowTheList{.growX = 1, .moveY = 1};
constexpr Follow kAtTheRight{.moveX = 1};

// The window as designed, top to bottom; geometry in twips relative to the container.
// clang-format off
constexpr ControlDesign kForm2Controls[] = {
    {"PushButton8", K::PushButton, QT_TRANSLATE_NOOP("Form2", "< Back"), nullptr, 120, 120, 7800, 405, 0, false, kSpans},
    {"Frame2", K::Frame, QT_TRANSLATE_NOOP("Form2", "Output"), nullptr, 120, 600, 7800, 735, 8, false, kSpans},
    {"Option4", K::Option, QT_TRANSLATE_NOOP("Form2", "Text File"), "Frame2", 240, 330, 1800, 255, 1, true},
    {"Option5", K::Option, QT_TRANSLATE_NOOP("Form2", "Excel (2 cells)"), "Frame2", 2280, 330, 2400, 255, 2},
    {"Option6", K::Option, QT_TRANSLATE_NOOP("Form2", "Excel (1 cell)"), "Frame2", 4920, 330, 2400, 255, 3},
    {"ListView1", K::List, "", nullptr, 120, 1440, 7800, 4680, 4, false, kTheList},
    {"Frame4", K::Frame, QT_TRANSLATE_NOOP("Form2", "Save Results To This Folder"), nullptr, 120, 6240, 7800, 840, 9,
     false, kSpansBelowTheList},
    {"Text2", K::TextBox, "", "Frame4", 240, 330, 6840, 375, 5, false, kSpans},
    {"PushButton1", K::PushButton, QT_TRANSLATE_NOOP("Form2", "..."), "Frame4", 7170, 330, 450, 375, 6, false,
     kAtTheRight},
    {"PushButton2", K::PushButton, QT_TRANSLATE_NOOP("Form2", "Save Results"), nullptr, 120, 7230, 7800, 405, 7, false,
     kSpansBelowTheList},
};
// clang-format on

QString form2Tag(const char* procedure) {
    return ErrorLocationTag(QStringLiteral("Form2"), QString::fromUtf8(procedure));
}

} // namespace

ResultsWindow::ResultsWindow(AppContext& context, QWidget* mainWindow)
    : DesignedWindow(QStringLiteral("Form2"), kForm2Controls, kClientWidthTwips, kClientHeightTwips,
                     {.menuBar = true, .statusLine = true}),
      m_context(context), m_mainWindow(mainWindow) {

    m_listView1 = qobject_cast<ListControl*>(control(QStringLiteral("ListView1")));
    m_listView1->addCopyMenu();
    m_text2 = qobject_cast<QLineEdit*>(control(QStringLiteral("Text2")));

    m_pointer = new WindowPointer(this);
    for (const char* name : {"PushButton1", "PushButton2", "PushButton8"})
        m_pointer->addButton(control(QString::fromUtf8(name)));
    m_pointer->addBackground(this);
    m_pointer->addBackground(form());
    for (const char* name : {"Frame2", "Frame4", "ListView1", "Option4", "Option5", "Option6"})
        m_pointer->addBackground(control(QString::fromUtf8(name)));
    m_pointer->addWithoutFeedback(m_text2);

    // Any use of a control loads the window first, as a use of the window does.
    const auto loaded = [this](auto handler) {
        return [this, handler] {
            ensureLoaded();
            (this->*handler)();
        };
    };
    connect(qobject_cast<QPushButton*>(control(QStringLiteral("PushButton8"))), &QPushButton::clicked, this,
            loaded(&ResultsWindow::backClick));
    connect(qobject_cast<QPushButton*>(control(QStringLiteral("PushButton2"))), &QPushButton::clicked, this,
            loaded(&ResultsWindow::saveClick));
    connect(qobject_cast<QPushButton*>(control(QStringLiteral("PushButton1"))), &QPushButton::clicked, this,
            loaded(&ResultsWindow::browseClick));
    connect(m_text2, &QLineEdit::textChanged, this, &ResultsWindow::saveFolderChanged);

    QMenu* file = menuBar()->addMenu(QCoreApplication::translate("Form2", "&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    m_saveAs = file->addAction(QCoreApplication::translate("Form2", "Save &As…"));
    m_saveAs->setObjectName(QStringLiteral("mnuSaveAs"));
    m_saveAs->setShortcuts(standardKeys(QKeySequence::SaveAs, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)));
    QAction* copyAll = file->addAction(QCoreApplication::translate("Form2", "&Copy All Names"));
    copyAll->setObjectName(QStringLiteral("mnuCopyAll"));
    connect(m_saveAs, &QAction::triggered, this, loaded(&ResultsWindow::saveAsClick));
    QMenu* view = menuBar()->addMenu(QCoreApplication::translate("Form2", "&View"));
    view->setObjectName(QStringLiteral("mnuView"));
    m_showPeople = view->addAction(QCoreApplication::translate("Form2", "Show &People"));
    m_showPeople->setObjectName(QStringLiteral("mnuShowPeople"));
    m_showPeople->setCheckable(true);
    m_showPeople->setChecked(truthFromText(m_context.settings.ReadSetting(kShowPeopleKey, truthText(false))));
    connect(m_showPeople, &QAction::toggled, this, &ResultsWindow::showPeopleToggled);
    connect(copyAll, &QAction::triggered, this, [this] {
        ensureLoaded();
        Guard g(m_context.dialogs, form2Tag("mnuCopyAll_Click"));
        g.step(100, [&] { m_listView1->copyAll(); });
    });
    // The keys people press: Ctrl+S saves as "Save Results" does, Alt+Left and Escape go back, from
    // wherever the focus is in the window (the list included). Ctrl+Shift+S is "Save As…"'s own.
    const auto shortcut = [this](const QList<QKeySequence>& keys, const char* button) {
        auto* action = new QAction(this);
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
        connect(action, &QAction::triggered, this, [this, button] {
            if (auto* pushButton = qobject_cast<QPushButton*>(control(QString::fromLatin1(button))))
                pushButton->click();
        });
    };
    shortcut(standardKeys(QKeySequence::Save, QKeySequence(Qt::CTRL | Qt::Key_S)), "PushButton2");
    shortcut(standardKeys(QKeySequence::Back, QKeySequence(Qt::ALT | Qt::Key_Left)) << QKeySequence(Qt::Key_Escape),
             "PushButton8");
    showStatus();
    rememberSizeIn(m_context.settings);
}

/** The drawing of one run's people, shared with the thread that does it. */
struct ResultsWindow::PeopleJob {
    PeopleJob(std::shared_ptr<const NameRun> run, AppPaths paths) : run(std::move(run)), paths(std::move(paths)) {}
    std::shared_ptr<const NameRun> run;
    AppPaths paths;
    std::atomic<bool> cancelled = false;
    std::shared_ptr<const PeopleColumns> columns;
    QString error;
};

ResultsWindow::~ResultsWindow() {
    // A drawing still running stops at its next piece; the window waits for it rather than leave it.
    for (auto& [thread, job] : m_peopleThreads)
        job->cancelled = true;
    for (auto& [thread, job] : m_peopleThreads) {
        thread->wait();
        delete thread;
    }
}

QRadioButton* ResultsWindow::option(const char* name) const {
    return qobject_cast<QRadioButton*>(control(QString::fromUtf8(name)));
}

void ResultsWindow::ensureLoaded() {
    if (!m_loaded)
        load();
}

void ResultsWindow::load() {
    m_loaded = true;
    Guard g(m_context.dialogs, form2Tag("Form_Load"));
    g.step(100, [&] { m_listView1->addColumnHeader(QCoreApplication::translate("Form2", "Names")); });
    g.step(102, [&] { m_listView1->setColumnWidthTwips(kNamesColumnTwips); });
    if (g.test(104, [&] { return FileIsPresent(m_context.paths.handCursorFile()); }))
        g.step(106, [&] { m_pointer->setCustomCursor(loadCursorFile(m_context.paths.handCursorFile())); });
    g.step(108, [&] { UseFaceColour(this); });
    g.step(110, [&] { setWindowTitle(appinfo::kDisplayName); });
    g.step(110, [&] { setWindowIcon(programIcon()); });
    // The desktop default is worked out even when a folder is stored; without a desktop the whole
    // step fails and the box stays empty. A non-empty text is stored back by the change handling.
    g.step(112, [&] {
        const QString desktop = m_context.desktopPath();
        m_text2->setText(m_context.settings.ReadSetting(kSaveFolderKey, desktop));
    });
}

void ResultsWindow::clearResults() {
    ensureLoaded();
    cancelPeople();
    m_listView1->clearItems();
    m_run.reset();
    showStatus();
}

void ResultsWindow::setResults(std::shared_ptr<const ListItems> names) {
    ensureLoaded();
    cancelPeople();
    m_run = std::dynamic_pointer_cast<const NameRun>(names);
    m_listView1->setItems(std::move(names));
    showPeople();
    showStatus();
}

void ResultsWindow::showPeopleToggled(bool shown) {
    Guard g(m_context.dialogs, form2Tag("mnuShowPeople_Click"));
    g.step(100, [&] { m_context.settings.StoreSetting(kShowPeopleKey, truthText(shown)); });
    if (shown)
        showPeople();
    else
        m_listView1->items().setColumns(nullptr);
    showStatus();
}

bool ResultsWindow::drawingPeople() const {
    return m_peopleJob != nullptr;
}

void ResultsWindow::cancelPeople() {
    if (m_peopleJob)
        m_peopleJob->cancelled = true;
    m_peopleJob.reset();
    m_people.reset();
}

void ResultsWindow::showPeople() {
    if (!m_showPeople->isChecked() || !m_run || m_run->size() == 0 || m_peopleJob)
        return;
    if (m_people) {
        m_listView1->items().setColumns(m_people);
        return;
    }
    auto job = std::make_shared<PeopleJob>(m_run, m_context.paths);
    QThread* thread = QThread::create([job] {
        try {
            // The people behind the names are drawn from the births of the program's own names.
            const FirstNameBirths births = readFirstNameBirths(job->paths, nullptr, false);
            job->columns = PeopleColumns::make(
                *job->run,
                [&births](const QString& name) {
                    const NameBirthSpans* of = births.find(name);
                    return of != nullptr ? *of : NameBirthSpans{};
                },
                &job->cancelled);
        } catch (const PeopleColumns::Cancelled&) {
        } catch (...) {
            job->error = describeCurrentException();
        }
    });
    m_peopleThreads.emplace_back(thread, job);
    m_peopleJob = job;
    connect(thread, &QThread::finished, this, [this, thread, job] {
        std::erase_if(m_peopleThreads, [thread](const auto& entry) { return entry.first == thread; });
        thread->deleteLater();
        peopleDrawn(job);
    });
    thread->start(QThread::LowPriority);
}

void ResultsWindow::peopleDrawn(const std::shared_ptr<PeopleJob>& job) {
    if (job != m_peopleJob)
        return; // a run since replaced
    m_peopleJob.reset();
    if (!job->error.isEmpty()) {
        Guard g(m_context.dialogs, form2Tag("mnuShowPeople_Click"));
        g.step(102, [&] { throw AppError(job->error); });
    } else {
        m_people = job->columns;
        showPeople();
    }
    showStatus();
}

QString ResultsWindow::statusText(qsizetype count, std::optional<std::uint64_t> seed) {
    const QString names = count == 1 ? QCoreApplication::translate("Form2", "1 name")
                                     : QCoreApplication::translate("Form2", "%1 names").arg(QLocale().toString(count));
    if (!seed)
        return names;
    return names + QStringLiteral(" \u00b7 ") + QCoreApplication::translate("Form2", "seed %1").arg(*seed);
}

void ResultsWindow::showStatus() {
    QString text = statusText(m_listView1->count(), m_run ? m_run->seed() : std::nullopt);
    if (m_peopleJob && m_showPeople->isChecked())
        text += QStringLiteral(" \u00b7 ") + QCoreApplication::translate("Form2", "drawing the people…");
    statusLine()->setText(text);
}

void ResultsWindow::saveAsClick() {
    saveAs(
        [this] {
            const QString folder = m_context.settings.ReadSetting(kSaveAsFolderKey, m_text2->text());
            return QDir(folder).filePath(QStringLiteral("names.txt"));
        },
        SaveAsType::Text);
}

void ResultsWindow::saveAs(const std::function<QString()>& suggested, SaveAsType suggestedType) {
    Guard g(m_context.dialogs, form2Tag("mnuSaveAs_Click"));
    SavePick pick;
    g.step(100, [&] {
        pick = m_context.dialogs.saveFile(QCoreApplication::translate("Form2", "Save As"), suggested(), saveAsFilters(),
                                          static_cast<int>(suggestedType));
    });
    if (pick.path.isEmpty())
        return;
    const SaveAsType type = saveAsTypeOf(pick.filter, pick.path);
    const QString path = withTypeEnding(pick.path, type);
    // The dialog asks nothing: the file really written, with the ending its type adds, is the one
    // asked about, and only a Yes replaces it.
    if ((QFileInfo::exists(path) || QFileInfo(path).isSymLink()) &&
        !m_context.dialogs.confirm(
            QCoreApplication::translate("Form2", "Save As"),
            QCoreApplication::translate("Form2", "%1 already exists.\nDo you want to replace it?")
                .arg(QDir::toNativeSeparators(path))))
        return;
    g.step(102, [&] { m_context.settings.StoreSetting(kSaveAsFolderKey, QFileInfo(path).absolutePath()); });
    m_pointer->setBusy();
    const auto pointerBack = qScopeGuard([this] { m_pointer->set(WindowPointer::kDefault); });
    g.step(104, [&] {
        refuseTheNames(path);
        if (!withPeople(type)) {
            saveNamesAs(*m_listView1->items().contents(), type, path);
            return;
        }
        // The people behind the names are drawn from the births of the program's own names.
        const FirstNameBirths births = readFirstNameBirths(m_context.paths, nullptr, false);
        // Every field takes the places beside the program too.
        const std::shared_ptr<const Places> places = withEveryField(type)
                                                         ? Places::read(m_context.paths.besideProgram(kCommunesFile),
                                                                        m_context.paths.besideProgram(kDepartmentsFile))
                                                         : nullptr;
        savePeopleAs(
            *m_listView1->items().contents(), type, path,
            [&births](const QString& name) {
                const NameBirthSpans* of = births.find(name);
                return of != nullptr ? *of : NameBirthSpans{};
            },
            places);
    });
}

void ResultsWindow::refuseTheNames(const QString& path) const {
    // A name chosen, or a link of that name, may lead anywhere, the names themselves included.
    const NameDatabasePlace names = m_context.paths.nameDatabase();
    if (isSameFile(path, names.file) || (!names.madeFrom.isEmpty() && isSameFile(path, names.madeFrom)))
        throw AppError(
            QCoreApplication::translate("Form2", "%1 is the names database and is never written over").arg(path));
    if (isSqliteDatabase(path))
        throw AppError(QCoreApplication::translate("Form2", "%1 is a database and is never written over").arg(path));
}

void ResultsWindow::showResults() {
    ensureLoaded();
    if (!m_shownBefore) {
        m_shownBefore = true;
        centreOnScreen();
        showAsRemembered();
    } else {
        show();
    }
    activateWindow();
}

void ResultsWindow::backClick() {
    Guard g(m_context.dialogs, form2Tag("PushButton8_Click"));
    g.step(100, [&] {
        m_mainWindow->show();
        m_mainWindow->activateWindow();
    });
    g.step(102, [&] { hide(); });
}

void ResultsWindow::saveClick() {
    Guard g(m_context.dialogs, form2Tag("PushButton2_Click"));
    const QString folder = m_text2->text();
    if (!g.test(106, [&] { return FolderIsPresent(folder); })) {
        g.step(162, [&] {
            m_context.dialogs.message(
                applicationTitle(),
                QCoreApplication::translate("Form2", "Folder does not exist. Please select another folder."),
                MessageIcon::None);
        });
        return;
    }
    // The hourglass is up while the names are written, until the workbook is handed over, and goes
    // whatever happened.
    m_pointer->setBusy();
    const auto pointerBack = qScopeGuard([this] { m_pointer->set(WindowPointer::kDefault); });
    if (g.test(108, [&] { return option("Option4")->isChecked(); })) {
        QString path;
        QByteArray content;
        g.step(110, [&] { path = resultsFilePath(folder); });
        // Content that could not be built in full is never written: it would replace the earlier
        // file with a shorter one and then report success.
        if (!g.step(118, [&] { content = resultsText(*m_listView1->items().contents()); }))
            return;
        const bool written = g.step(122, [&] {
            refuseTheNames(path);
            replaceFile(path, content);
        });
        m_pointer->set(WindowPointer::kDefault);
        if (written)
            g.step(124, [&] { m_context.dialogs.message(applicationTitle(), doneMessage(path), MessageIcon::None); });
    } else if (g.test(126, [&] { return option("Option5")->isChecked(); })) {
        saveWorkbook(g, true);
    } else if (g.test(146, [&] { return option("Option6")->isChecked(); })) {
        saveWorkbook(g, false);
    }
}

void ResultsWindow::saveWorkbook(Guard& g, bool twoCells) {
    // "Excel (2 cells)" runs statements 128 to 144, "Excel (1 cell)" 148 to 160.
    const int first = twoCells ? 128 : 148;
    std::optional<SpreadsheetApplication> application;
    // Without a workbook the later steps have nothing to act on.
    if (!g.step(first, [&] { application = SpreadsheetApplication::lookFor(m_context.spreadsheetLookup); }))
        return;
    // No spreadsheet program is an ordinary situation, not a failure: the workbook can still be had,
    // as a file of the user's choosing.
    if (!application) {
        m_pointer->set(WindowPointer::kDefault);
        const bool save = m_context.dialogs.confirm(
            applicationTitle(), QCoreApplication::translate("Form2", "No spreadsheet program is installed to open "
                                                                     "the workbook.\nSave it as a file instead?"));
        if (save)
            saveAs([this] { return QDir(m_text2->text()).filePath(QStringLiteral("results.xlsx")); },
                   twoCells ? SaveAsType::WorkbookTwoCells : SaveAsType::WorkbookOneCell);
        return;
    }
    std::unique_ptr<NamesWorkbook> book;
    if (!g.step(first + 2, [&] {
            const QString folder = QDir(m_context.cacheFolder()).filePath(QStringLiteral("workbooks"));
            book = std::make_unique<NamesWorkbook>(newWorkbookPath(folder, m_context.now()));
        }))
        return;
    const std::shared_ptr<const ListItems> names = m_listView1->items().contents();
    const auto* run = dynamic_cast<const NameRun*>(names.get());
    const bool spacesKept = run != nullptr && run->keepsSpaces();
    // Row i of the sheet holds name i. A cell that cannot be written ends the rows with one report,
    // not one per row.
    g.step(first + 4, [&] {
        for (qsizetype i = 0; i < names->size(); ++i) {
            if (twoCells && spacesKept) {
                // Names that kept their spaces are split where they were drawn, not at a space.
                g.mark(136);
                book->write(i, 0, run->keepsFirst() ? run->firstName(i) : run->lastName(i));
                g.mark(138);
                if (run->keepsFirst() && run->keepsLast())
                    book->write(i, 1, run->lastName(i));
            } else if (twoCells) {
                g.mark(134);
                const QString name = names->text(i);
                const NamePieces pieces = splitAtSpaces(name);
                g.mark(136);
                book->write(i, 0, pieces.first);
                g.mark(138);
                book->write(i, 1, pieces.second);
            } else {
                g.mark(154);
                book->write(i, 0, names->text(i));
            }
        }
    });
    g.step(twoCells ? 142 : 158, [&] { book->fitColumns(); });
    g.step(twoCells ? 144 : 160, [&] {
        book->finish();
        application->open(m_context.dialogs, book->path());
    });
}

void ResultsWindow::browseClick() {
    Guard g(m_context.dialogs, form2Tag("PushButton1_Click"));
    QString picked;
    g.step(100, [&] {
        picked = m_context.dialogs.chooseFolder(QCoreApplication::translate("Form2", "Save To This Folder"), QString());
    });
    if (g.test(102, [&] { return picked.isEmpty(); }))
        return;
    g.step(104, [&] { m_context.settings.StoreSetting(kLastFolderKey, picked); });
    const QString folder = saveFolderFor(picked);
    g.step(folder == picked ? 108 : 106, [&] { m_text2->setText(folder); });
}

void ResultsWindow::saveFolderChanged() {
    ensureLoaded();
    Guard g(m_context.dialogs, form2Tag("Text2_Change"));
    g.step(100, [&] { m_context.settings.StoreSetting(kSaveFolderKey, m_text2->text()); });
}

void ResultsWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    Guard g(m_context.dialogs, form2Tag("Form_QueryUnload"));
    g.step(100, [&] { m_context.endProgram(); });
}

} // namespace quillory
