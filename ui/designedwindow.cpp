#include "designedwindow.h"

#include "core/twips.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QStyle>

#include <algorithm>

namespace quillory {

namespace {

// The system's font for a kind of widget, every property its own, so that nothing of the window's
// designed font (Arial bold) reaches the window's chrome.
QFont systemFont(const char* className) {
    QFont font = QApplication::font(className);
    font.setResolveMask(QFont::AllPropertiesResolved);
    return font;
}

// The height of a menu bar of one row in the system's menu font; an empty bar has none yet.
int menuBarHeightFor(QWidget* window) {
    QMenuBar probe(window);
    probe.setFont(systemFont("QMenuBar"));
    probe.addMenu(QStringLiteral("&M"));
    return probe.sizeHint().height();
}

} // namespace

DesignedWindow::DesignedWindow(const QString& name, std::span<const ControlDesign> design, int widthTwips,
                               int heightTwips, WindowChrome chrome)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint) {
    setObjectName(name);
    m_form = new QWidget(this);
    m_form->setObjectName(name + QStringLiteral("_form"));
    if (chrome.menuBar) {
        m_menuBarHeight = menuBarHeightFor(this);
        m_menuBar = new QMenuBar(this);
        m_menuBar->setObjectName(name + QStringLiteral("_menu"));
        m_menuBar->setFont(systemFont("QMenuBar"));
    }
    if (chrome.statusLine) {
        m_statusLine = new QLabel(this);
        m_statusLine->setObjectName(name + QStringLiteral("_status"));
        m_statusLine->setFont(systemFont("QStatusBar"));
        m_statusLine->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        m_statusLine->setContentsMargins(6, 2, 6, 2);
        m_statusLineHeight = m_statusLine->fontMetrics().height() + 4 + 2;
    }
    // A screen too small for the design (a laptop at 150%, say) gets the whole design shrunk just
    // enough to fit, fonts included; the frame's size is not known before the window is shown, so
    // room is kept for a generous title bar and border, and for the menu bar and status line.
    const double dpi = logicalDpiX();
    const QSize designed(twipsToPixels(widthTwips, dpi), twipsToPixels(heightTwips, dpi));
    const int titleBar = std::max(style()->pixelMetric(QStyle::PM_TitleBarHeight), 30);
    double scale = 1.0;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        scale = fitScale(designed, QSize(8, titleBar + 8 + chromeHeight()), screen->availableGeometry().size());
    m_controls = buildControls(m_form, design, scale);
    m_tabOrder = std::make_unique<TabOrder>(m_controls, design);

    const QSize form(twipsToPixels(widthTwips, designDpi(this)), twipsToPixels(heightTwips, designDpi(this)));
    m_form->setGeometry(0, m_menuBarHeight, form.width(), form.height());
    if (m_menuBar)
        m_menuBar->setGeometry(0, 0, form.width(), m_menuBarHeight);
    if (m_statusLine)
        m_statusLine->setGeometry(0, m_menuBarHeight + form.height(), form.width(), m_statusLineHeight);
    setFixedSize(form.width(), form.height() + chromeHeight());
}

DesignedWindow::~DesignedWindow() = default;

int DesignedWindow::chromeHeight() const {
    return m_menuBarHeight + m_statusLineHeight;
}

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
