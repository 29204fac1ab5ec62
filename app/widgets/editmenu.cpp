#include "editmenu.h"

#include "core/dialogs.h"
#include "core/errorreport.h"
#include "core/guard.h"
#include "core/procedures.h"
#include "store/namedatabase.h"
#include "ui/windowpointer.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>

namespace quillory {

EditMenu::EditMenu(AppContext& context, QMenuBar* bar, WindowPointer& pointer, std::function<void()> fillNameLists,
                   QObject* parent)
    : QObject(parent), m_context(context), m_pointer(pointer), m_fillNameLists(std::move(fillNameLists)) {
    QMenu* edit = bar->addMenu(QCoreApplication::translate("Form1", "&Edit"));
    edit->setObjectName(QStringLiteral("mnuEdit"));
    m_undo = edit->addAction(QString());
    m_redo = edit->addAction(QString());
    m_undo->setObjectName(QStringLiteral("mnuUndo"));
    m_redo->setObjectName(QStringLiteral("mnuRedo"));
    m_undo->setShortcuts(QKeySequence::Undo);
    // Ctrl+Shift+Z first, as menus show it, whatever else the platform binds to Redo (Ctrl+Y).
    QList<QKeySequence> redoKeys = QKeySequence::keyBindings(QKeySequence::Redo);
    const QKeySequence ctrlShiftZ(Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
    redoKeys.removeAll(ctrlShiftZ);
    redoKeys.prepend(ctrlShiftZ);
    m_redo->setShortcuts(redoKeys);
    connect(m_undo, &QAction::triggered, this, [this] { replay(false); });
    connect(m_redo, &QAction::triggered, this, [this] { replay(true); });
    showHistory();
}

void EditMenu::record(NameChange change) {
    m_history.record(std::move(change));
    showHistory();
}

void EditMenu::showHistory() {
    m_undo->setEnabled(m_history.canUndo());
    m_redo->setEnabled(m_history.canRedo());
    m_undo->setText(m_history.canUndo() ? QCoreApplication::translate("Form1", "&Undo %1").arg(m_history.undoWhat())
                                        : QCoreApplication::translate("Form1", "&Undo"));
    m_redo->setText(m_history.canRedo() ? QCoreApplication::translate("Form1", "&Redo %1").arg(m_history.redoWhat())
                                        : QCoreApplication::translate("Form1", "&Redo"));
}

void EditMenu::replay(bool forward) {
    // While a long operation holds the hourglass the lists are not to be touched.
    if (m_pointer.isBusy() || !(forward ? m_history.canRedo() : m_history.canUndo()))
        return;
    Guard g(m_context.dialogs, ErrorLocationTag(QStringLiteral("Form1"), forward ? QStringLiteral("mnuRedo_Click")
                                                                                 : QStringLiteral("mnuUndo_Click")));
    const QString what = forward ? m_history.redoWhat() : m_history.undoWhat();
    m_pointer.setBusy();
    NameDatabase database(m_context.paths.nameDatabase());
    NameHistory::Outcome outcome = NameHistory::Outcome::Done;
    if (g.step(100, [&] { database.open(); }))
        g.step(102, [&] { outcome = forward ? m_history.redo(database) : m_history.undo(database); });
    g.step(104, [&] { database.close(); });
    m_pointer.set(WindowPointer::kDefault);
    showHistory();
    if (outcome == NameHistory::Outcome::ChangedSince)
        g.step(106, [&] {
            m_context.dialogs.message(
                applicationTitle(),
                (forward ? QCoreApplication::translate("Form1", "“%1” cannot be redone: the names it changed have "
                                                                "been changed since, by another copy of Quillory.")
                         : QCoreApplication::translate("Form1", "“%1” cannot be undone: the names it changed have "
                                                                "been changed since, by another copy of Quillory."))
                    .arg(what),
                MessageIcon::Information);
        });
    g.step(108, [&] { m_fillNameLists(); });
}

} // namespace quillory
