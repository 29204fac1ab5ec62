#pragma once

#include "formbuilder.h"

#include <QHash>
#include <QWidget>

#include <memory>
#include <span>

class QLabel;
class QMenuBar;

namespace quillory {

/** What a window has besides its designed form. */
struct WindowChrome {
    bool menuBar = false;
    bool statusLine = false;
};

/**
 * A top-level window built from its design table: the designed form of fixed client size in twips,
 * a close box and a minimise button but no maximise button, its controls named after the design, and
 * Tab moving through them in design order. A window may also have a menu bar above the form and a
 * status line under it, which change nothing of the form: the window grows by their heights.
 */
class DesignedWindow : public QWidget {
    Q_OBJECT

public:
    ~DesignedWindow() override;

    /** A control by its name (PushButton1, Option4, ListView1...). */
    QWidget* control(const QString& name) const { return m_controls.value(name); }

    /** The designed form: what the design calls the window, and the container of its outer controls. */
    QWidget* form() const { return m_form; }
    /** The menu bar above the form; none unless the window was made with one. */
    QMenuBar* menuBar() const { return m_menuBar; }
    /** The line of text under the form; none unless the window was made with one. */
    QLabel* statusLine() const { return m_statusLine; }

protected:
    DesignedWindow(const QString& name, std::span<const ControlDesign> design, int widthTwips, int heightTwips,
                   WindowChrome chrome = {});

    const QHash<QString, QWidget*>& controls() const { return m_controls; }

    /** Places the window in the middle of the primary screen. */
    void centreOnScreen();

    bool focusNextPrevChild(bool next) override;

private:
    int chromeHeight() const;

    QWidget* m_form = nullptr;
    QMenuBar* m_menuBar = nullptr;
    QLabel* m_statusLine = nullptr;
    int m_menuBarHeight = 0;
    int m_statusLineHeight = 0;
    QHash<QString, QWidget*> m_controls;
    std::unique_ptr<TabOrder> m_tabOrder;
};

} // namespace quillory
