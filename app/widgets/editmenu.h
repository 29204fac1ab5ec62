#pragma once

#include "core/appcontext.h"
#include "store/namehistory.h"

#include <QObject>

#include <functional>

class QAction;
class QMenuBar;

namespace quillory {

class WindowPointer;

/**
 * The main window's "Edit" menu: "Undo" and "Redo" of what the list buttons did to the stored names
 * (Add, Delete, Clear, Load From File, files dropped on a list), for as long as the program runs.
 * Each item names what it would undo or redo; both lists are refilled after each. While the count
 * box has the focus, the keys of Undo and Redo are the box's own.
 */
class EditMenu : public QObject {
    Q_OBJECT

public:
    EditMenu(AppContext& context, QMenuBar* bar, WindowPointer& pointer, std::function<void()> fillNameLists,
             QObject* parent = nullptr);

    /** Keeps what an action did, as the next to undo. */
    void record(NameChange change);

    QAction* undo() const { return m_undo; }
    QAction* redo() const { return m_redo; }

private:
    void replay(bool forward);
    void showHistory();

    AppContext& m_context;
    WindowPointer& m_pointer;
    std::function<void()> m_fillNameLists;
    NameHistory m_history;
    QAction* m_undo = nullptr;
    QAction* m_redo = nullptr;
};

} // namespace quillory
