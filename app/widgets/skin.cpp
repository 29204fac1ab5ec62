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

void paintBackground(QWidget* widget, const QColor& colour) {
    // Option buttons and check boxes fill with their button role by default; they take the window's.
    widget->setBackgroundRole(QPalette::Window);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void paintWindowAndPanels(QWidget* window, const QColor& colour) {
    paintBackground(window, colour);
    const auto children = window->findChildren<QWidget*>();
    for (QWidget* child : children) {
        if (qobject_cast<QRadioButton*>(child) || qobject_cast<QCheckBox*>(child) || qobject_cast<QGroupBox*>(child) ||
            qobject_cast<QLabel*>(child))
            paintBackground(child, colour);
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
