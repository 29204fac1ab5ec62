#include "skin.h"

#include "core/apppaths.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>

namespace quillory {

namespace {

// `fill`: the widget paints its whole rectangle. Option buttons, check boxes and labels take the
// colour but leave the filling to what they stand on: the style draws a frame's inside a shade of
// its own, and a filled option button would show as a strip across it.
void paintBackground(QWidget* widget, const QColor& colour, bool fill) {
    // Option buttons and check boxes fill with their button role by default; they take the window's.
    widget->setBackgroundRole(QPalette::Window);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(fill);
}

void paintWindowAndPanels(QWidget* window, const QColor& colour) {
    paintBackground(window, colour, true);
    const auto children = window->findChildren<QWidget*>();
    for (QWidget* child : children) {
        if (qobject_cast<QGroupBox*>(child))
            paintBackground(child, colour, true);
        else if (qobject_cast<QRadioButton*>(child) || qobject_cast<QCheckBox*>(child) || qobject_cast<QLabel*>(child))
            paintBackground(child, colour, false);
    }
}

} // namespace

void usePlainWhite(QWidget* window) {
    paintWindowAndPanels(window, Qt::white);
}

void UseFaceColour(QWidget* window) {
    paintWindowAndPanels(window, QApplication::palette().color(QPalette::Active, QPalette::Button));
}

void ApplySkin(QWidget* window, const AppPaths& paths) {
    if (!QFileInfo(paths.skinFile()).isFile())
        return;
    UseFaceColour(window);
}

} // namespace quillory
