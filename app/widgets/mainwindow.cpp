#include "mainwindow.h"

#include "core/apperror.h"
#include "core/appinfo.h"
#include "core/dialogs.h"
#include "core/errorreport.h"
#include "core/guard.h"
#include "core/procedures.h"
#include "core/random.h"
#include "core/settings.h"
#include "editmenu.h"
#include "generator/count.h"
#include "generator/namegenerator.h"
#include "namelistactions.h"
#include "namesmenu.h"
#include "optionspanel.h"
#include "ui/formbuilder.h"
#include "ui/listcontrol.h"
#include "ui/programicon.h"
#include "ui/skin.h"
#include "ui/windowpointer.h"

#include "generator/listdraw.h"
#include "store/namedatabase.h"
#include "store/namelists.h"
#include "store/nameweights.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QFocusEvent>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

namespace quillory {

namespace {

constexpr int kClientWidthTwips = 8040;
constexpr int kClientHeightTwips = 10965;
constexpr int kNameColumnTwips = 6500;

QString progressBarText() {
    return QCoreApplication::translate("Form1", "Progress Bar");
}

QString listToolTip() {
    return QCoreApplication::translate("Form1", "Move | line to right and out of window to reveal full names.");
}

using K = ControlKind;

// How the controls follow a window made larger than designed: its extra height goes to the two lists
// in equal shares (what is below a list moves down with it), its extra width to every control that
// spans its frame; the others keep their place.
constexpr Follow kSpans{.growX = 1};
constexpr Follow kFirstList{.growX = 1, .growY = 0.5};
constexpr Follow kBelowFirstList{.moveY = 0.5};
constexpr Follow kSpansBelowFirstList{.growX = 1, .moveY = 0.5};
constexpr Follow kLastNamesFrame{.growX = 1, .moveY = 0.5, .growY = 0.5};
constexpr Follow kSpansBelowBothLists{.growX = 1, .moveY = 1};

// The window as designed, top to bottom; geometry in twips relative to the container.
// clang-format off
constexpr ControlDesign kForm1Controls[] = {
    {"PushButton8", K::PushButton, QT_TRANSLATE_NOOP("Form1", "Help"), nullptr, 120, 120, 7800, 405, 10, false, kSpans},
    {"Frame4", K::Frame, QT_TRANSLATE_NOOP("Form1", "List Options"), nullptr, 120, 570, 7800, 1850, 17, false, kSpans},
    {"Option9", K::Option, QT_TRANSLATE_NOOP("Form1", "Halvard's List - Generate random names from my list of names"),
     "Frame4", 240, 300, 6300, 255, 11, true},
    {"Frame1", K::Frame, QT_TRANSLATE_NOOP("Form1", "Gender Options (Halvard's List Only)"), "Frame4", 600, 570, 4320,
     735, 21},
    {"Option1", K::Option, QT_TRANSLATE_NOOP("Form1", "Both"), "Frame1", 240, 300, 1020, 255, 12, true},
    {"Option2", K::Option, QT_TRANSLATE_NOOP("Form1", "Male Only"), "Frame1", 1260, 300, 1335, 255, 13},
    {"Option3", K::Option, QT_TRANSLATE_NOOP("Form1", "Female Only"), "Frame1", 2610, 300, 1455, 255, 14},
    {"Option8", K::Option, QT_TRANSLATE_NOOP("Form1", "User List - Generate random names from your list of names"),
     "Frame4", 225, 1440, 6015, 255, 16},
    {"Frame2", K::Frame, QT_TRANSLATE_NOOP("Form1", "Part Of Name"), nullptr, 120, 2460, 7800, 825, 22, false, kSpans},
    {"Option4", K::Option, QT_TRANSLATE_NOOP("Form1", "First and Last Name"), "Frame2", 240, 360, 2100, 255, 23, true},
    {"Option5", K::Option, QT_TRANSLATE_NOOP("Form1", "First Name Only"), "Frame2", 2460, 360, 1695, 255, 24},
    {"Option6", K::Option, QT_TRANSLATE_NOOP("Form1", "Last Name Only"), "Frame2", 4290, 360, 1695, 255, 25},
    {"Frame3", K::Frame, QT_TRANSLATE_NOOP("Form1", "How many names would you like to generate?"), nullptr, 120, 3315,
     7800, 825, 15, false, kSpans},
    {"Text1", K::TextBox, "Text1", "Frame3", 240, 300, 7305, 375, 0, false, kSpans},
    {"Frame6", K::Frame, QT_TRANSLATE_NOOP("Form1", "First Names"), nullptr, 120, 4170, 7800, 2805, 19, false,
     kFirstList},
    {"ListView1", K::List, "", "Frame6", 240, 300, 7320, 1320, 1, false, kFirstList},
    {"PushButton2", K::PushButton, QT_TRANSLATE_NOOP("Form1", "Add First Name"), "Frame6", 240, 1710, 3600, 405, 2,
     false, kBelowFirstList},
    {"PushButton6", K::PushButton, QT_TRANSLATE_NOOP("Form1", "Load First Names From File"), "Frame6", 3940, 1710, 3600,
     405, 3, false, kBelowFirstList},
    {"PushButton4", K::PushButton, QT_TRANSLATE_NOOP("Form1", "Delete"), "Frame6", 240, 2220, 7320, 405, 4, false,
     kSpansBelowFirstList},
    {"Frame5", K::Frame, QT_TRANSLATE_NOOP("Form1", "Last Names"), nullptr, 120, 7020, 7800, 2805, 18, false,
     kLastNamesFrame},
    // Inside its frame, the last-name list grows as the first-name list does.
    {"ListView2", K::List, "", "Frame5", 240, 300, 7320, 1320, 5, false, kFirstList},
    {"PushButton5", K::PushButton, QT_TRANSLATE_NOOP("Form1", "Add Last Name"), "Frame5", 240, 1710, 3600, 400, 6,
     false, kBelowFirstList},
    {"PushButton7", K::PushButton, QT_TRANSLATE_NOOP("Form1", "Load Last Names From File"), "Frame5", 3975, 1710, 3600,
     405, 7, false, kBelowFirstList},
    {"PushButton3", K::PushButton, QT_TRANSLATE_NOOP("Form1", "Delete"), "Frame5", 240, 2220, 7320, 405, 8, false,
     kSpansBelowFirstList},
    {"PushButton1", K::PushButton, QT_TRANSLATE_NOOP("Form1", "Start Generating"), nullptr, 120, 9945, 7800, 405, 9,
     false, kSpansBelowBothLists},
    {"ProgressBar1", K::ProgressBar, QT_TRANSLATE_NOOP("Form1", "Progress Bar"), nullptr, 120, 10455, 7800, 405, 20,
     false, kSpansBelowBothLists},
};
// clang-format on

} // namespace

MainWindow::MainWindow(AppContext& context, ResultsWindowFactory makeResultsWindow)
    : DesignedWindow(QStringLiteral("Form1"), kForm1Controls, kClientWidthTwips, kClientHeightTwips, {.menuBar = true}),
      m_context(context), m_makeResultsWindow(std::move(makeResultsWindow)) {
    usePlainWhite(this);

    m_listView1 = qobject_cast<ListControl*>(control(QStringLiteral("ListView1")));
    m_listView2 = qobject_cast<ListControl*>(control(QStringLiteral("ListView2")));
    m_text1 = qobject_cast<QLineEdit*>(control(QStringLiteral("Text1")));
    m_progressBar1 = qobject_cast<QProgressBar*>(control(QStringLiteral("ProgressBar1")));
    m_listView1->setToolTip(listToolTip());
    m_listView2->setToolTip(listToolTip());
    m_text1->installEventFilter(this);

    m_pointer = new WindowPointer(this);
    wirePointerFeedback();
    m_options = new OptionsPanel(
        m_context, controls(), [this] { FillNameLists(); }, this);
    m_editMenu = new EditMenu(
        m_context, menuBar(), *m_pointer, [this] { FillNameLists(); }, this);
    new NameListActions(
        m_context, controls(), *m_options, *m_pointer, [this] { FillNameLists(); },
        [this](NameChange change) { m_editMenu->record(std::move(change)); }, this);
    auto* startButton = qobject_cast<QPushButton*>(control(QStringLiteral("PushButton1")));
    connect(startButton, &QPushButton::clicked, this, &MainWindow::startGenerating);
    // Enter in the count box starts the run, as a click on "Start Generating" would (nothing while
    // that button is disabled).
    connect(m_text1, &QLineEdit::returnPressed, startButton, &QPushButton::click);
    rememberSizeIn(m_context.settings);
    m_namesMenu = new NamesMenu(m_context, menuBar(), qobject_cast<QRadioButton*>(control(QStringLiteral("Option8"))),
                                OptionsPanel::helpText(), this);
}

MainWindow::~MainWindow() = default;

void MainWindow::wirePointerFeedback() {
    for (const char* name : {"PushButton1", "PushButton2", "PushButton3", "PushButton4", "PushButton5", "PushButton6",
                             "PushButton7", "PushButton8"})
        m_pointer->addButton(control(QString::fromUtf8(name)));
    m_pointer->addBackground(this);
    m_pointer->addBackground(form());
    for (const char* name :
         {"Frame1", "Frame2", "Frame3", "Frame4", "Frame5", "Frame6", "ListView1", "ListView2", "Option8", "Option9"})
        m_pointer->addBackground(control(QString::fromUtf8(name)));
    for (const char* name : {"Option1", "Option2", "Option3", "Option4", "Option5", "Option6", "Text1"})
        m_pointer->addWithoutFeedback(control(QString::fromUtf8(name)));
}

void MainWindow::load() {
    Guard g(m_context.dialogs, ErrorLocationTag(QStringLiteral("Form1"), QStringLiteral("Form_Load")));
    g.step(100, [&] { ApplySkin(this, m_context.paths); });
    if (g.test(104, [&] { return FileIsPresent(m_context.paths.handCursorFile()); }))
        g.step(106, [&] { m_pointer->setCustomCursor(loadCursorFile(m_context.paths.handCursorFile())); });
    g.step(108, [&] { SeedRandom(m_context.random, m_context.timeOfDay(), m_context.dialogs); });
    g.step(126, [&] { setWindowTitle(appinfo::kDisplayName); });
    g.step(126, [&] { setWindowIcon(programIcon()); });
    g.step(126, [&] { SetAppTitle(); });
    g.step(128, [&] { m_listView2->addColumnHeader(QCoreApplication::translate("Form1", "Last Names")); });
    g.step(130, [&] { m_listView2->setColumnWidthTwips(kNameColumnTwips); });
    g.step(132, [&] { m_listView1->addColumnHeader(QCoreApplication::translate("Form1", "First Names")); });
    g.step(134, [&] { m_listView1->setColumnWidthTwips(kNameColumnTwips); });
    // The first fill shows Halvard's List with both genders, the options as designed; restoring a
    // different choice below refills the lists as a click on it would.
    g.step(136, [&] { FillNameLists(); });
    int line = 138;
    for (const OptionDefault& option : kOptionDefaults) {
        g.step(line, [&] { m_options->restoreOption(QString::fromUtf8(option.key), QString::fromUtf8(option.value)); });
        line += 2;
    }
    g.step(154, [&] { m_options->restoreCount(); });
    g.step(156, [&] { m_namesMenu->restore(); });
}

void MainWindow::FillNameLists() {
    m_pointer->set(WindowPointer::kHourglass);
    try {
        fillNameLists(m_context.paths.nameDatabase(), m_options->listChoice(), m_listView1->items(),
                      m_listView2->items());
    } catch (...) {
        // A failed fill must not leave the hourglass up: it would keep the pointer feedback and
        // the list removals switched off for the rest of the run.
        m_pointer->set(WindowPointer::kDefault);
        throw;
    }
    m_pointer->set(WindowPointer::kDefault);
}

ResultsTarget& MainWindow::resultsWindow() {
    if (!m_resultsWindow) {
        if (!m_makeResultsWindow)
            throw AppError(QCoreApplication::translate("quillory", "Object variable not set"));
        m_resultsWindow = m_makeResultsWindow(*this);
    }
    return *m_resultsWindow;
}

void MainWindow::startGenerating() {
    Guard g(m_context.dialogs, ErrorLocationTag(QStringLiteral("Form1"), QStringLiteral("PushButton1_Click")));
    g.mark(104);
    if (m_generating)
        return;
    g.mark(106);
    m_generating = true;
    // A click queued behind this one arrives now and finds the busy mark set.
    g.step(108, [] { QCoreApplication::processEvents(); });

    const auto stop = [&](int line, const QString& text) {
        g.step(line, [&] { m_context.dialogs.message(applicationTitle(), text, MessageIcon::None); });
        g.mark(168);
        m_generating = false;
    };
    std::optional<double> count;
    g.step(120, [&] { count = countFromText(m_text1->text()); });
    if (!count)
        return stop(160, QCoreApplication::translate("Form1", "How many does not appear to be a number."));
    g.mark(110);
    if (countTooLarge(*count))
        return stop(166, QCoreApplication::translate("Form1", "You must select an amount less than one million."));

    // Drawn as quillory-cli draws when the Names menu asks for it; nothing is drawn (and the results
    // stay as they were) when the lists cannot give what is asked.
    const DrawChoices& choices = m_namesMenu->choices();
    const bool userList = m_options->listChoice().source == NameSource::UserList;
    std::shared_ptr<const ListDraw> draw;
    if (choices.drawsLikeTheCommandLine(userList)) {
        if (!g.step(116, [&] { draw = listDrawFor(choices, userList); })) {
            g.mark(168);
            m_generating = false;
            return;
        }
        if (const QString problem = drawProblem(*draw, choices, userList, namesToMake(*count)); !problem.isEmpty())
            return stop(118, problem);
    }

    g.step(112, [&] { m_pointer->setBusy(); });
    g.step(122, [&] { resultsWindow().clearResults(); });
    std::shared_ptr<GeneratedNames> names;
    std::optional<TodayNames::Exhausted> exhausted;
    // The whole run is drawn without yielding and handed to the results list in one piece, so
    // nothing can see the list half filled; only the progress bar is repainted as it goes.
    if (g.step(124, [&] {
            const auto progress = [this](int percent) { showProgress(percent); };
            if (draw) {
                try {
                    names =
                        draw->draw(namesToMake(*count), choices.seed ? *choices.seed : m_context.newSeed(), progress);
                } catch (const TodayNames::Exhausted& stopped) {
                    exhausted = stopped;
                }
            } else
                names = generateNames(m_listView1->items().texts(), m_listView2->items().texts(), m_options->namePart(),
                                      namesToMake(*count), m_context.random, progress, choices.keepSpaces);
        })) {
        if (exhausted) {
            g.step(152, [&] { m_pointer->set(WindowPointer::kDefault); });
            g.step(154, [&] { m_progressBar1->setValue(0); });
            return stop(118, QCoreApplication::translate("Form1", "No new name came for name %1 in %2 draws, each "
                                                                  "given already: ask for fewer names.")
                                 .arg(QLocale().toString(static_cast<qlonglong>(exhausted->record)))
                                 .arg(QLocale().toString(TodayNames::kMostTries)));
        }
        if (names)
            names->setPeople(peopleOf(choices, userList, names->seed()));
        g.step(138, [&] { resultsWindow().setResults(names); });
    }
    g.step(152, [&] { m_pointer->set(WindowPointer::kDefault); });
    g.step(154, [&] {
        m_progressBar1->setValue(0);
        m_progressBar1->setFormat(progressBarText());
    });
    g.step(156, [&] { resultsWindow().showResults(); });
    g.step(158, [&] { hide(); });
    g.step(164, [&] { m_pointer->set(WindowPointer::kDefault); });
    g.mark(168);
    m_generating = false;
}

// The last run's pools, kept while the lists, the choices and the births are the same: a second
// run of the same kind starts at once.
struct MainWindow::DrawCache {
    QStringList first;
    QStringList last;
    ListDrawRules rules;
    WeightChoice weighing;
    std::optional<AgeRange> ages;
    QDateTime birthsChanged;
    std::shared_ptr<const ListDraw> draw;

    bool holds(const QStringList& f, const QStringList& l, const ListDrawRules& r, const WeightChoice& w,
               const std::optional<AgeRange>& a, const QDateTime& b) const {
        const auto sameAges = [](const std::optional<AgeRange>& x, const std::optional<AgeRange>& y) {
            return x.has_value() == y.has_value() && (!x || (x->youngest == y->youngest && x->oldest == y->oldest));
        };
        const auto sameYears = [](const std::optional<BirthYears>& x, const std::optional<BirthYears>& y) {
            return x.has_value() == y.has_value() && (!x || (x->first == y->first && x->last == y->last));
        };
        return draw && f.isSharedWith(first) && l.isSharedWith(last) && r.part == rules.part &&
               r.weighted == rules.weighted && r.unique == rules.unique && r.keepSpaces == rules.keepSpaces &&
               w.commonNames == weighing.commonNames && sameYears(w.born, weighing.born) &&
               w.gender == weighing.gender && sameAges(a, ages) && r.today.has_value() == rules.today.has_value() &&
               (!r.today || (r.today->sex == rules.today->sex && r.today->firstYear == rules.today->firstYear &&
                             r.today->lastYear == rules.today->lastYear)) &&
               b == birthsChanged;
    }
};

RunPeople MainWindow::peopleOf(const DrawChoices& choices, bool userList, std::optional<std::uint64_t> seed) const {
    // The people behind the names follow what the names were drawn as: the first names of one sex,
    // of the years chosen; a run drawn again from its seed has the same people.
    const ListChoice list = m_options->listChoice();
    const std::optional<BirthYears> years = userList ? std::nullopt : choices.bornYears();
    RunPeople people;
    if (!userList)
        people.sex = list.gender == GenderChoice::MaleOnly ? 'M' : list.gender == GenderChoice::FemaleOnly ? 'F' : '\0';
    if (years) {
        people.firstYear = years->first;
        people.lastYear = years->last;
    }
    people.uniqueAddresses = choices.noRepeats;
    people.seed = seed ? *seed : m_context.newSeed();
    // The people of today come with their names; the ages are told on the day of the population.
    if (!userList && choices.todayAges()) {
        people.today = true;
        people.titledFrom18On = TodayDraw::Rules{}.on;
    }
    return people;
}

std::shared_ptr<const ListDraw> MainWindow::listDrawFor(const DrawChoices& choices, bool userList) {
    const std::optional<BirthYears> years = userList ? std::nullopt : choices.bornYears();
    const std::optional<AgeRange> ages = userList ? std::nullopt : choices.todayAges();
    const ListChoice list = m_options->listChoice();
    const GenderChoice gender = userList || list.gender == GenderChoice::None ? GenderChoice::Both : list.gender;
    // The people of today are named by the births of their own years, within the years of birth.
    std::optional<TodayDraw::Rules> today;
    if (ages) {
        today.emplace();
        today->youngest = ages->youngest;
        today->oldest = ages->oldest;
        today->sex = gender == GenderChoice::MaleOnly ? 'M' : gender == GenderChoice::FemaleOnly ? 'F' : '\0';
        if (years) {
            today->firstYear = years->first;
            today->lastYear = years->last;
        }
    }
    const WeightChoice weighing{.commonNames = choices.commonNames || today.has_value(),
                                .born = today ? std::nullopt : years,
                                .gender = gender};
    const ListDrawRules rules{.part = m_options->namePart(),
                              .weighted = weighing.weighted(),
                              .unique = choices.noRepeats,
                              .keepSpaces = choices.keepSpaces,
                              .today = today};
    const QStringList first = m_listView1->items().texts();
    const QStringList last = m_listView2->items().texts();
    const QDateTime birthsChanged =
        weighing.weighted() ? QFileInfo(m_context.paths.besideProgram(kBirthsFile)).lastModified() : QDateTime();
    if (!m_drawCache)
        m_drawCache = std::make_unique<DrawCache>();
    if (m_drawCache->holds(first, last, rules, weighing, ages, birthsChanged))
        return m_drawCache->draw;

    std::optional<NameWeights> weights;
    if (weighing.weighted()) {
        // The births by years come from the names the lists show, or from the program's own names.mdb.
        NameDatabase database(m_context.paths.nameDatabaseFile());
        if (years)
            database.openForReading();
        weights = NameWeights::read(weighing, m_context.paths, years ? &database : nullptr, false);
    }
    std::optional<FirstNameBirths> births;
    FirstNameBirthsOf birthsOf;
    if (today) {
        births = readFirstNameBirths(m_context.paths, nullptr, false);
        birthsOf = {[&births](const QString& name) { return births->find(name); }, periodsOf(births->all())};
    }
    auto draw = std::make_shared<const ListDraw>(
        first, last, rules, [&weights](const QString& name) { return weights ? weights->first(name) : 1; },
        [&weights](const QString& name) { return weights ? weights->last(name) : 1; }, birthsOf);
    *m_drawCache = {first, last, rules, weighing, ages, birthsChanged, draw};
    return draw;
}

QString MainWindow::drawProblem(const ListDraw& draw, const DrawChoices& choices, bool userList, int count) const {
    const std::optional<BirthYears> years = userList ? std::nullopt : choices.bornYears();
    if (!draw.hasFirstNames()) {
        if (years && m_listView1->count() > 0)
            return QCoreApplication::translate("Form1", "None of these first names was given in %1.")
                .arg(birthYearsText(*years));
        return QCoreApplication::translate("Form1", "There are no first names to draw from.");
    }
    if (!draw.hasLastNames())
        return QCoreApplication::translate("Form1", "There are no last names to draw from.");
    if (draw.todayProblem() && years)
        return QCoreApplication::translate("Form1", "Nobody alive today was born in %1 at those ages.")
            .arg(birthYearsText(*years));
    if (draw.todayProblem())
        return QCoreApplication::translate("Form1", "Nobody alive today is of those ages.");
    if (const std::optional<ListDraw::Unnamed> unnamed = draw.unnamed()) {
        const QString text =
            unnamed->sex == 'F'
                ? QCoreApplication::translate("Form1", "None of these first names was given to girls born in %1–%2, "
                                                       "and some of the people alive today were born then.")
                : QCoreApplication::translate("Form1", "None of these first names was given to boys born in %1–%2, "
                                                       "and some of the people alive today were born then.");
        return text.arg(unnamed->fromYear).arg(unnamed->toYear);
    }
    if (choices.noRepeats && static_cast<std::uint64_t>(std::max(count, 0)) > draw.distinctNames())
        return QCoreApplication::translate("Form1", "These lists can make %1 different names, fewer than asked for.")
            .arg(QLocale().toString(static_cast<qulonglong>(draw.distinctNames())));
    return {};
}

void MainWindow::showProgress(int percent) {
    m_progressBar1->setValue(percent);
    if (m_progressBar1->isVisible())
        m_progressBar1->repaint();
}

void MainWindow::showAtStart() {
    centreOnScreen();
    showAsRemembered();
    activateWindow();
    m_text1->setFocus(Qt::OtherFocusReason);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    m_context.endProgram();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // The count box selects its whole text whenever it receives the focus, so typing replaces it.
    // A click that brings the focus would place the caret afterwards; select again once it has.
    if (watched == m_text1) {
        if (event->type() == QEvent::FocusIn) {
            m_text1FocusedByMouse = static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason;
            m_text1->selectAll();
        } else if (event->type() == QEvent::MouseButtonRelease && m_text1FocusedByMouse) {
            m_text1FocusedByMouse = false;
            if (!m_text1->hasSelectedText())
                m_text1->selectAll();
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace quillory
