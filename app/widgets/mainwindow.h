#pragma once

#include "core/appcontext.h"
#include "ui/designedwindow.h"
#include "ui/resultstarget.h"

#include <memory>

class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace quillory {

class EditMenu;
class ListControl;
class ListDraw;
class NamesMenu;
class OptionsPanel;
struct DrawChoices;
class WindowPointer;

/**
 * The main window (Form1): the generation options, the count, the two name lists with their buttons,
 * "Start Generating" and the progress bar. Construction builds the controls in their design state;
 * load() runs the window's start-up steps; closing the window ends the program.
 */
class MainWindow : public DesignedWindow {
    Q_OBJECT

public:
    /** `makeResultsWindow` makes the results window when "Start Generating" first needs it. */
    explicit MainWindow(AppContext& context, ResultsWindowFactory makeResultsWindow = {});
    ~MainWindow() override;

    /** The start-up steps of the window (Form_Load), each guarded by the error report. */
    void load();

    /** Shows the window centred on the screen, with the focus in the count box. */
    void showAtStart();

    /**
     * Refills both name lists from the name database, by the source and gender chosen now, with the
     * hourglass up while it runs. Failures are thrown to the caller, which reports them.
     */
    void FillNameLists();

    /**
     * "Start Generating": checks the count, draws the names from the two lists as shown, then shows
     * them in the results window and hides this one.
     */
    void startGenerating();

    /** The results window, made on first call. */
    ResultsTarget& resultsWindow();

    OptionsPanel& options() { return *m_options; }
    NamesMenu& namesMenu() { return *m_namesMenu; }
    EditMenu& editMenu() { return *m_editMenu; }

    WindowPointer& pointer() { return *m_pointer; }

    ListControl* listView1() const { return m_listView1; }
    ListControl* listView2() const { return m_listView2; }
    QLineEdit* text1() const { return m_text1; }
    QProgressBar* progressBar1() const { return m_progressBar1; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void wirePointerFeedback();

    void showProgress(int percent);
    /** The run from the two lists as shown, drawn as quillory-cli draws. Throws AppError. */
    std::shared_ptr<const ListDraw> listDrawFor(const DrawChoices& choices, bool userList);
    RunPeople peopleOf(const DrawChoices& choices, bool userList, std::optional<std::uint64_t> seed) const;
    /** Why such a run cannot give `count` names, or empty text. */
    QString drawProblem(const ListDraw& draw, const DrawChoices& choices, bool userList, int count) const;

    AppContext& m_context;
    ResultsWindowFactory m_makeResultsWindow;
    std::unique_ptr<ResultsTarget> m_resultsWindow;
    WindowPointer* m_pointer = nullptr;
    OptionsPanel* m_options = nullptr;
    NamesMenu* m_namesMenu = nullptr;
    EditMenu* m_editMenu = nullptr;
    ListControl* m_listView1 = nullptr;
    ListControl* m_listView2 = nullptr;
    QLineEdit* m_text1 = nullptr;
    QProgressBar* m_progressBar1 = nullptr;
    bool m_text1FocusedByMouse = false;
    bool m_generating = false; // the busy mark of "Start Generating"
    struct DrawCache;
    std::unique_ptr<DrawCache> m_drawCache;
};

} // namespace quillory
