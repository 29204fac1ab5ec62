#include "designedwindow.h"

#include "core/twips.h"

#include <QGuiApplication>
#include <QScreen>

namespace quillory {

DesignedWindow::DesignedWindow(const QString& name, std::span<const ControlDesign> design, int widthTwips,
                               int heightTwips)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint) {
    setObjectName(name);
    m_controls = buildControls(this, design);
    m_tabOrder = std::make_unique<TabOrder>(m_controls, design);
    const double dpi = logicalDpiX();
    setFixedSize(twipsToPixels(widthTwips, dpi), twipsToPixels(heightTwips, dpi));
}

DesignedWindow::~DesignedWindow() = default;

void DesignedWindow::centreOnScreen() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

bool DesignedWindow::focusNextPrevChild(bool next) {
    return m_tabOrder->moveFocus(focusWidget(), next) || QWidget::focusNextPrevChild(next);
}

} // namespace quillory
