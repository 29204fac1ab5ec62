#pragma once

#include "core/appcontext.h"
#include "generator/namegenerator.h"
#include "store/namelists.h"

#include <QHash>
#include <QObject>

#include <functional>

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace quillory {

class Guard;

/**
 * The choices of the main window: name source, gender, part of name, the count, and "Help". Each
 * choice is stored in the settings the moment it changes; a change of source or gender refills the
 * two name lists. Switching an option on, by the user or by the restore at start-up, runs its
 * behaviour; switching it off runs nothing.
 *
 * A failure in a handler started by the user is reported under that handler's own tag, and the
 * handler goes on with its next step; during the restore it goes to the load step that restores.
 */
class OptionsPanel : public QObject {
    Q_OBJECT

public:
    OptionsPanel(AppContext& context, const QHash<QString, QWidget*>& controls, std::function<void()> fillNameLists,
                 QObject* parent = nullptr);

    /** The source and gender as the options show them now: User List first, then Halvard's List. */
    ListChoice listChoice() const;
    /** The part of name chosen: None when no option of the group is on. */
    NamePart namePart() const;

    /**
     * Puts the stored value of option `name` (or `defaultText` when none is stored) into the option.
     * Switching it on from off runs its click behaviour. Throws when the stored text is no truth value
     * or the behaviour fails; the option then keeps the state it had.
     */
    void restoreOption(const QString& name, const QString& defaultText);

    /** Puts the stored count (default "100") into the count box and stores it again. Throws. */
    void restoreCount();

    /** The text of the "Help" box. */
    static QString helpText();

private:
    void optionSwitchedOn(QRadioButton* option);
    void runClick(QRadioButton* option, Guard* guard);
    void sourceClick(Guard* guard);
    void genderClick(Guard* guard);
    void partOfNameClick(Guard* guard);
    /** Stores each option's state as "True" or "False", one numbered step each from `line` on. */
    void storeOptions(Guard* guard, int line, std::initializer_list<const char*> names);
    void countChanged();
    void helpClick();

    QRadioButton* option(const char* name) const;
    QPushButton* button(const char* name) const;
    static void setOption(QRadioButton* option, bool on);

    AppContext& m_context;
    QHash<QString, QWidget*> m_controls;
    std::function<void()> m_fillNameLists;
    QLineEdit* m_text1;
    bool m_restoring = false;
};

} // namespace quillory
