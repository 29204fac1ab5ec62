#pragma once

#include "core/appcontext.h"
#include "core/listitems.h"
#include "ui/designedwindow.h"
#include "ui/resultstarget.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class QAction;
class QLineEdit;
class QRadioButton;
class QThread;

namespace quillory {

enum class SaveAsType;

class Guard;
class ListControl;
class PeopleColumns;
class WindowPointer;

/**
 * The results window (Form2): the names of the last run, the output choice, the save folder with
 * its "..." browser, "Save Results" and "< Back". It takes turns with the main window: one is shown,
 * the other hidden. Its first use loads it; closing it ends the program.
 */
class ResultsWindow : public DesignedWindow, public ResultsTarget {
    Q_OBJECT

public:
    /** `mainWindow` is the window "< Back" returns to. */
    ResultsWindow(AppContext& context, QWidget* mainWindow);
    ~ResultsWindow() override;

    /** The load steps (Form_Load), each guarded by the error report. Runs once, on first use. */
    void load();
    bool isLoaded() const { return m_loaded; }

    void clearResults() override;
    void setResults(std::shared_ptr<const ListItems> names) override;
    void showResults() override;

    /** "< Back": the main window comes back, this one hides; everything in it stays. */
    void backClick();
    /**
     * "Save Results": writes the results in the chosen output form, results.txt in the save folder
     * or a new workbook shown in the user's spreadsheet application.
     */
    void saveClick();
    /** "...": picks the save folder in the folder browser. */
    void browseClick();
    /** File, "Save As…": the results in a file and a form of the user's choosing. */
    void saveAsClick();

    /**
     * View, "Show People": the people that "Save As…" would save for this run, in columns beside the
     * names (sex, birth date, title, e-mail). They are drawn once per run, the first time they are
     * shown, on a thread of their own while the window goes on, and kept with the run. The choice is
     * remembered.
     */
    void showPeopleToggled(bool shown);
    QAction* showPeopleAction() const { return m_showPeople; }
    /** Whether the people of the run are being drawn. */
    bool drawingPeople() const;

    /** The status line's text: how many names, and the seed that draws them again. */
    static QString statusText(qsizetype count, std::optional<std::uint64_t> seed);

    ListControl* listView1() const { return m_listView1; }
    QLineEdit* text2() const { return m_text2; }
    WindowPointer& pointer() { return *m_pointer; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void ensureLoaded();
    void saveFolderChanged();
    void saveWorkbook(Guard& g, bool twoCells);
    /** "Save As…" starting at `suggested`, with the filter of `suggestedType` chosen. */
    void saveAs(const std::function<QString()>& suggested, SaveAsType suggestedType);
    void showStatus();
    void showPeople();
    void cancelPeople();
    struct PeopleJob;
    void peopleDrawn(const std::shared_ptr<PeopleJob>& job);
    /** Throws when `path` leads to the names database. */
    void refuseTheNames(const QString& path) const;
    QRadioButton* option(const char* name) const;

    AppContext& m_context;
    QWidget* m_mainWindow;
    WindowPointer* m_pointer = nullptr;
    ListControl* m_listView1 = nullptr;
    QLineEdit* m_text2 = nullptr;
    QAction* m_saveAs = nullptr;
    QAction* m_showPeople = nullptr;
    std::shared_ptr<const NameRun> m_run;
    std::shared_ptr<const PeopleColumns> m_people; // the people of m_run, once drawn
    std::shared_ptr<PeopleJob> m_peopleJob;        // the drawing of m_run's people, while it runs
    std::vector<std::pair<QThread*, std::shared_ptr<PeopleJob>>> m_peopleThreads;
    bool m_loaded = false;
    bool m_shownBefore = false;
};

} // namespace quillory
