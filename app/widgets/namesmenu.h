#pragma once

#include "core/appcontext.h"
#include "store/drawchoices.h"

#include <QObject>

class QAction;
class QMenuBar;
class QRadioButton;

namespace quillory {

/**
 * The main window's menus beside its designed form. "Names" sets how names are drawn beyond the
 * designed choices (DrawChoices): common names more often, names of a generation, no repeats, spaces
 * kept, people of today, the same names each time. Each choice is stored the moment it changes and
 * restored at start-up; "Born In…" and "People Of Today…" are greyed while the User List is the source. "Help" shows
 * the designed help and what Quillory is. Every handler is guarded: a failure is reported under its own tag.
 */
class NamesMenu : public QObject {
    Q_OBJECT

public:
    /** `userList` is the option of the User List, `helpText` the designed help. */
    NamesMenu(AppContext& context, QMenuBar* bar, QRadioButton* userList, QString helpText, QObject* parent = nullptr);

    /** Restores the stored choices into the menu (start-up). */
    void restore();

    const DrawChoices& choices() const { return m_choices; }

    QAction* commonNames() const { return m_commonNames; }
    QAction* bornIn() const { return m_bornIn; }
    QAction* peopleOfToday() const { return m_peopleOfToday; }
    QAction* noRepeats() const { return m_noRepeats; }
    QAction* keepSpaces() const { return m_keepSpaces; }
    QAction* sameNames() const { return m_sameNames; }
    QAction* help() const { return m_help; }
    QAction* about() const { return m_about; }

    /** The text of the "About Quillory" box. */
    static QString aboutText();

private:
    void toggled(QAction* action, const char* procedure, const QString& key, bool DrawChoices::*member);
    void bornInClick();
    void peopleOfTodayClick();
    void sameNamesClick();
    void showChoices();

    AppContext& m_context;
    QRadioButton* m_userList;
    QString m_helpText;
    DrawChoices m_choices;
    QAction* m_commonNames = nullptr;
    QAction* m_bornIn = nullptr;
    QAction* m_peopleOfToday = nullptr;
    QAction* m_noRepeats = nullptr;
    QAction* m_keepSpaces = nullptr;
    QAction* m_sameNames = nullptr;
    QAction* m_help = nullptr;
    QAction* m_about = nullptr;
};

} // namespace quillory
