#pragma once

#include "core/appcontext.h"
#include "store/nameentry.h"

#include <QHash>
#include <QObject>

#include <functional>
#include <optional>

namespace quillory {

class ListControl;
struct NameChange;
class OptionsPanel;
class WindowPointer;

/**
 * What the user does to the two name lists of the main window: add a typed name, delete the
 * selected name from Halvard's List or clear the User List, import text files, and take a name out
 * of the shown list only (double-click, Delete key). Every action that touches the database ends
 * with both lists refilled, and hands the rows it added and removed to `record`, to be undone.
 */
class NameListActions : public QObject {
    Q_OBJECT

public:
    NameListActions(AppContext& context, const QHash<QString, QWidget*>& controls, const OptionsPanel& options,
                    WindowPointer& pointer, std::function<void()> fillNameLists, std::function<void(NameChange)> record,
                    QObject* parent = nullptr);

    /** "Add First Name" / "Add Last Name": asks for a name and stores it in the chosen source. */
    void addClick(NameKind kind);
    /** "Delete" / "Clear": the selected name from Halvard's List, or the whole User List of that kind. */
    void deleteClick(NameKind kind);
    /** "Load First Names From File" / "Load Last Names From File": imports the files the user picks. */
    void loadClick(NameKind kind);
    /** Files dropped on a list: imported as its Load button would import them, had the user picked them. */
    void dropFiles(NameKind kind, const QStringList& paths);
    /** A double-click or the Delete key: the selected item leaves the shown list, not the database. */
    void removeShownItem(NameKind kind);

private:
    ListControl* list(NameKind kind) const;
    void importFiles(NameKind kind, const std::optional<QStringList>& dropped);

    AppContext& m_context;
    const QHash<QString, QWidget*>& m_controls;
    const OptionsPanel& m_options;
    WindowPointer& m_pointer;
    std::function<void()> m_fillNameLists;
    std::function<void(NameChange)> m_record;
};

} // namespace quillory
