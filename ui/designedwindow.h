#pragma once

#include "formbuilder.h"

#include <QHash>
#include <QWidget>

#include <memory>
#include <span>
#include <vector>

class QLabel;
class QMenuBar;

namespace quillory {

class SettingsStore;

/** What a window has besides its designed form. */
struct WindowChrome {
    bool menuBar = false;
    bool statusLine = false;
};

/**
 * A top-level window built from its design table: the designed form of its client size in twips, its
 * controls named after the design, and Tab moving through them in design order. A window may also have
 * a menu bar above the form and a status line under it, which change nothing of the form: the window
 * grows by their heights.
 *
 * The designed size is the least the window may have; made larger, or maximised, each control follows
 * as its design says (Follow: which edges go with the window's extra width and height), so that the
 * design stays the one source of the layout. With a settings store, the window's size and whether it
 * is maximised are kept at every hiding and come back at the next start, within the screen.
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

    /** The window's size at its design (with its menu bar and status line): the least it may have. */
    QSize designedSize() const { return m_designedSize; }

    /**
     * Keeps the window's size in `settings` ("<window>Size" as "WIDTHxHEIGHT", "<window>Maximized" as
     * "True" or "False") each time it hides, and gives it the size kept there now, within the screen's
     * free area and never below the design.
     */
    void rememberSizeIn(SettingsStore& settings);
    /** Shows the window as it was last: maximised, or at its own size. */
    void showAsRemembered();

protected:
    DesignedWindow(const QString& name, std::span<const ControlDesign> design, int widthTwips, int heightTwips,
                   WindowChrome chrome = {});

    const QHash<QString, QWidget*>& controls() const { return m_controls; }

    /**
     * Places the window in the middle of the primary screen's free area, its frame included: once
     * the window manager has framed the window, it is placed again by its real frame.
     */
    void centreOnScreen();

    bool focusNextPrevChild(bool next) override;
    void resizeEvent(QResizeEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void placeByFrame();

    int chromeHeight() const;
    void followTheSize();

    QWidget* m_form = nullptr;
    QMenuBar* m_menuBar = nullptr;
    QLabel* m_statusLine = nullptr;
    int m_menuBarHeight = 0;
    int m_statusLineHeight = 0;
    QHash<QString, QWidget*> m_controls;
    std::unique_ptr<TabOrder> m_tabOrder;
    // Each control with its rule and its place at the design.
    struct Placed {
        QWidget* control;
        Follow follow;
        QRect designed;
    };
    std::vector<Placed> m_placed;
    QSize m_formSize;
    QSize m_designedSize;
    SettingsStore* m_settings = nullptr;
    bool m_maximizedAtStart = false;
    bool m_placeWhenFramed = false;
};

} // namespace quillory
