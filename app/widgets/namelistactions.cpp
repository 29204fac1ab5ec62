#include "namelistactions.h"

#include "core/dialogs.h"
#include "core/errorreport.h"
#include "core/guard.h"
#include "core/procedures.h"
#include "optionspanel.h"
#include "ui/listcontrol.h"
#include "ui/windowpointer.h"

#include "store/namedatabase.h"
#include "store/namehistory.h"
#include "store/nameimport.h"
#include "store/namestatements.h"

#include <QCoreApplication>
#include <QPushButton>

namespace quillory {

namespace {

QString loadTitle() {
    return QCoreApplication::translate("Form1", "Load List(s) - Hold Ctrl to select multiple list files");
}

QStringList loadFilters() {
    return {QCoreApplication::translate("Form1", "Text Files (*.txt)"),
            QCoreApplication::translate("Form1", "All Files (*.*)")};
}

QString form1Tag(const char* procedure) {
    return ErrorLocationTag(QStringLiteral("Form1"), QString::fromUtf8(procedure));
}

bool isFirst(NameKind kind) {
    return kind == NameKind::First;
}

// The actions as the Edit menu names them ("Undo Clear First Names"), for first names then last names.
enum class Action { Add, Delete, Clear, Load, Drop };
constexpr const char* kActionNames[][2] = {
    {QT_TRANSLATE_NOOP("Form1", "Add First Name"), QT_TRANSLATE_NOOP("Form1", "Add Last Name")},
    {QT_TRANSLATE_NOOP("Form1", "Delete First Name"), QT_TRANSLATE_NOOP("Form1", "Delete Last Name")},
    {QT_TRANSLATE_NOOP("Form1", "Clear First Names"), QT_TRANSLATE_NOOP("Form1", "Clear Last Names")},
    {QT_TRANSLATE_NOOP("Form1", "Load First Names From File"), QT_TRANSLATE_NOOP("Form1", "Load Last Names From File")},
    {QT_TRANSLATE_NOOP("Form1", "Drop Files on First Names"), QT_TRANSLATE_NOOP("Form1", "Drop Files on Last Names")},
};

QString actionName(Action action, NameKind kind) {
    return QCoreApplication::translate("Form1", kActionNames[static_cast<int>(action)][isFirst(kind) ? 0 : 1]);
}

} // namespace

NameListActions::NameListActions(AppContext& context, const QHash<QString, QWidget*>& controls,
                                 const OptionsPanel& options, WindowPointer& pointer,
                                 std::function<void()> fillNameLists, std::function<void(NameChange)> record,
                                 QObject* parent)
    : QObject(parent), m_context(context), m_controls(controls), m_options(options), m_pointer(pointer),
      m_fillNameLists(std::move(fillNameLists)), m_record(std::move(record)) {
    const auto onClick = [this](const char* button, auto handler, NameKind kind) {
        auto* pushButton = qobject_cast<QPushButton*>(m_controls.value(QString::fromUtf8(button)));
        connect(pushButton, &QPushButton::clicked, this, [this, handler, kind] { (this->*handler)(kind); });
    };
    onClick("PushButton2", &NameListActions::addClick, NameKind::First);
    onClick("PushButton5", &NameListActions::addClick, NameKind::Last);
    onClick("PushButton4", &NameListActions::deleteClick, NameKind::First);
    onClick("PushButton3", &NameListActions::deleteClick, NameKind::Last);
    onClick("PushButton6", &NameListActions::loadClick, NameKind::First);
    onClick("PushButton7", &NameListActions::loadClick, NameKind::Last);

    for (const NameKind kind : {NameKind::First, NameKind::Last}) {
        ListControl* shown = list(kind);
        connect(shown, &ListControl::listDoubleClicked, this, [this, kind] { removeShownItem(kind); });
        connect(shown, &ListControl::keyDown, this, [this, kind](int key) {
            if (key == Qt::Key_Delete)
                removeShownItem(kind);
        });
        // A list takes files where its Load button would: only while that button is enabled.
        const auto* load =
            m_controls.value(isFirst(kind) ? QStringLiteral("PushButton6") : QStringLiteral("PushButton7"));
        shown->acceptFileDrops([load] { return load->isEnabled(); });
        connect(shown, &ListControl::filesDropped, this,
                [this, kind](const QStringList& paths) { dropFiles(kind, paths); });
    }
}

ListControl* NameListActions::list(NameKind kind) const {
    return qobject_cast<ListControl*>(
        m_controls.value(isFirst(kind) ? QStringLiteral("ListView1") : QStringLiteral("ListView2")));
}

void NameListActions::addClick(NameKind kind) {
    Guard g(m_context.dialogs, form1Tag(isFirst(kind) ? "PushButton2_Click" : "PushButton5_Click"));
    // The connection is open while the prompt waits, as it is for the whole click.
    NameDatabase database(m_context.paths.nameDatabase());
    g.step(100, [&] { database.open(); });
    QString typed;
    g.step(102, [&] {
        typed = m_context.dialogs.prompt(applicationTitle(),
                                         isFirst(kind) ? QCoreApplication::translate("Form1", "Input first name: ")
                                                       : QCoreApplication::translate("Form1", "Input last name: "));
    });
    std::optional<QString> name;
    g.step(104, [&] { name = nameFromEntry(typed); });
    g.mark(106);
    NameChange change{actionName(Action::Add, kind)};
    if (name) {
        const NameSource source = m_options.listChoice().source;
        if (const char* statement = insertStatementFor(source, kind))
            g.step(source == NameSource::HalvardsList ? 112 : 116, [&] { change.insert(database, statement, *name); });
    }
    m_record(std::move(change));
    g.step(120, [&] { database.close(); });
    g.step(122, [&] { m_fillNameLists(); });
    // A refill that failed part-way may have left the hourglass up.
    if (!isFirst(kind))
        g.step(124, [&] { m_pointer.set(WindowPointer::kDefault); });
}

void NameListActions::deleteClick(NameKind kind) {
    const bool first = isFirst(kind);
    Guard g(m_context.dialogs, form1Tag(first ? "PushButton4_Click" : "PushButton3_Click"));
    ListControl* shown = list(kind);
    if (g.test(100, [&] { return shown->count() == 0 || shown->selectedIndex() == 0; }))
        return;
    const QString name = shown->selectedText();
    NameDatabase database(m_context.paths.nameDatabase());
    g.step(102, [&] { database.open(); });
    const ListChoice choice = m_options.listChoice();
    const bool clear = choice.source == NameSource::UserList;
    NameChange change{actionName(clear ? Action::Clear : Action::Delete, kind)};
    const auto run = [&](int line, NameTable table, const char* statement, const QStringList& values = {}) {
        g.step(line, [&] { change.remove(database, table, statement, values); });
    };
    if (choice.source == NameSource::HalvardsList) {
        // Every stored copy goes, in any letter case: the shown text is in proper case.
        if (!first) {
            run(106, NameTable::SystemLast, statements::kDeleteSystemLastName, {name});
        } else if (choice.gender == GenderChoice::Both) {
            run(108, NameTable::MaleFirst, statements::kDeleteMaleFirstName, {name});
            run(110, NameTable::FemaleFirst, statements::kDeleteFemaleFirstName, {name});
        } else if (choice.gender == GenderChoice::MaleOnly) {
            run(114, NameTable::MaleFirst, statements::kDeleteMaleFirstName, {name});
        } else if (choice.gender == GenderChoice::FemaleOnly) {
            run(118, NameTable::FemaleFirst, statements::kDeleteFemaleFirstName, {name});
        }
    } else if (clear) {
        if (first)
            run(124, NameTable::UserFirst, statements::kClearUserFirstNames);
        else
            run(110, NameTable::UserLast, statements::kClearUserLastNames);
    }
    m_record(std::move(change));
    g.step(first ? 128 : 114, [&] { database.close(); });
    g.step(first ? 130 : 116, [&] { m_fillNameLists(); });
}

void NameListActions::loadClick(NameKind kind) {
    importFiles(kind, std::nullopt);
}

void NameListActions::dropFiles(NameKind kind, const QStringList& paths) {
    importFiles(kind, paths);
}

void NameListActions::importFiles(NameKind kind, const std::optional<QStringList>& dropped) {
    Guard g(m_context.dialogs, form1Tag(isFirst(kind) ? "PushButton6_Click" : "PushButton7_Click"));
    QStringList paths;
    g.step(108, [&] { paths = dropped ? *dropped : m_context.dialogs.openFiles(loadTitle(), loadFilters()); });
    if (g.test(110, [&] { return paths.isEmpty(); }))
        return;
    g.step(116, [&] { m_pointer.setBusy(); });
    NameChange change{actionName(dropped ? Action::Drop : Action::Load, kind)};
    const ImportTarget target{m_context.dialogs, m_context.paths.nameDatabase(),
                              [this] { return m_options.listChoice().source; }, &change};
    for (const QString& path : paths)
        g.step(paths.size() == 1 ? 120 : 130, [&] { FileToListview(path, kind, target); });
    m_record(std::move(change));
    g.step(138, [&] { m_pointer.set(WindowPointer::kDefault); });
    g.step(140, [&] { m_fillNameLists(); });
    if (!isFirst(kind))
        g.step(142, [&] { m_pointer.set(WindowPointer::kDefault); });
}

void NameListActions::removeShownItem(NameKind kind) {
    // While a long operation holds the hourglass the lists are not to be touched.
    if (m_pointer.isBusy())
        return;
    ListControl* shown = list(kind);
    if (shown->count() == 0 || shown->selectedIndex() == 0)
        return;
    shown->removeItem(shown->selectedIndex());
}

} // namespace quillory
