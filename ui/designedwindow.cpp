#include "designedwindow.h"

#include "core/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyle>

#include <algorithm>

namespace quillory {

DesignedWindow::DesignedWindow(const QString& name, std::span<const ControlDesign> design, int widthTwips,
                               int heightTwips)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint) {
    setObjectName(name);
    // A screen too small for the design (a laptop at 150%, say) gets the whole design shrunk just
    // enough to fit, fonts included; the frame's size is not known before the window is shown, so
    // room is kept for a generous title bar and border.
    const double dpi = logicalDpiX();
    const QSize designed(twipsToPixels(widthTwips, dpi), twipsToPixels(heightTwips, dpi));
    const int titleBar = std::max(style()->pixelMetric(QStyle::PM_TitleBarHeight), 30);
    double scale = 1.0;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        scale = fitScale(designed, QSize(8, titleBar + 8), screen->availableGeometry().size());
    m_controls = buildControls(this, design, scale);
    m_tabOrder = std::make_unique<TabOrder>(m_controls, design);
    setFixedSize(twipsToPixels(widthTwips, designDpi(this)), twipsToPixels(heightTwips, designDpi(this)));
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
