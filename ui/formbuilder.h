#pragma once

#include <QFont>
#include <QHash>
#include <QRect>
#include <QSize>
#include <QString>

#include <span>
#include <vector>

class QWidget;

namespace quillory {

enum class ControlKind { Frame, Option, TextBox, List, PushButton, ProgressBar };

/**
 * How a control follows a window made larger than its design: the shares of the window's extra
 * width and height by which the control moves (its left and top edges, within its container) and
 * grows. A control of none stays where it was designed, at its designed size.
 */
struct Follow {
    double moveX = 0;
    double growX = 0;
    double moveY = 0;
    double growY = 0;
};

/** One control of a window as designed: geometry in twips relative to its container. */
struct ControlDesign {
    const char* name;
    ControlKind kind;
    const char* caption;
    const char* container; // nullptr: the window itself
    int left, top, width, height;
    int tabIndex;
    bool on = false; // option buttons: selected at design
    Follow follow = {};
};

/** A control's place at `extra` pixels beyond the designed form, from its place at the design. */
QRect followedGeometry(const QRect& designed, const Follow& follow, QSize extra);

/**
 * Creates the controls of a window from its design table in `form`, the window's designed client area
 * (the window itself, or a part of it): each is named after its control, placed in its container by
 * its twip geometry at the window's logical DPI and given its caption; the option buttons directly
 * inside one container form one group. The window and its controls take Arial bold 9 pt, push buttons
 * Arial bold 11.25 pt. Geometry and fonts are shrunk together by `scale` where the screen is too small
 * for the design. Containers must come before what they hold; a control without one goes in `form`.
 */
QHash<QString, QWidget*> buildControls(QWidget* form, std::span<const ControlDesign> table, double scale = 1.0);

/** The window property that holds the scale its design is shown at (1 unless the screen is too small). */
inline constexpr char kDesignScaleProperty[] = "quilloryDesignScale";
/** The control property that holds its designed width in pixels (at the design's scale). */
inline constexpr char kDesignedWidthProperty[] = "quilloryDesignedWidth";

/** The dots per inch at which twips become pixels in a control's window: its logical DPI times its design's scale. */
double designDpi(const QWidget* widget);

/**
 * The keyboard focus order of a built window: Tab and Shift+Tab walk its controls by tab index,
 * skipping hidden and disabled ones; in a group of option buttons only the selected one is a stop.
 */
class TabOrder {
public:
    TabOrder(const QHash<QString, QWidget*>& controls, std::span<const ControlDesign> table);

    /** Moves the focus from the current focus widget; false when there is no stop to move to. */
    bool moveFocus(QWidget* current, bool next) const;

private:
    bool isStop(QWidget* widget) const;

    std::vector<QWidget*> m_stops;
};

/** Arial bold at the given size; the system substitutes a metric-compatible face where Arial is missing. */
QFont designFont(double pointSize);

} // namespace quillory
