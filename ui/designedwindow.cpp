#include "designedwindow.h"

#include "core/apperror.h"
#include "core/settings.h"
#include "core/twips.h"

#include <QApplication>
#include <QGuiApplication>
#include <QHideEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMoveEvent>
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
                           Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint) {
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

    for (const ControlDesign& item : design) {
        QWidget* widget = m_controls.value(QString::fromUtf8(item.name));
        m_placed.push_back({widget, item.follow, widget->geometry()});
    }
    m_formSize = QSize(twipsToPixels(widthTwips, designDpi(this)), twipsToPixels(heightTwips, designDpi(this)));
    m_designedSize = QSize(m_formSize.width(), m_formSize.height() + chromeHeight());
    setMinimumSize(m_designedSize);
    resize(m_designedSize);
    followTheSize();
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
        // Before the window is shown its frame is not known: a title bar would push it down by its
        // own height, past the bottom of a small screen.
        m_placeWhenFramed = frame.size() == size();
    }
}

void DesignedWindow::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    placeByFrame();
}

void DesignedWindow::placeByFrame() {
    const QRect frame = frameGeometry();
    if (!m_placeWhenFramed || !isVisible() || isMaximized() || frame.size() == size())
        return;
    m_placeWhenFramed = false;
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    const QRect free = screen->availableGeometry();
    QRect placed = frame;
    placed.moveCenter(free.center());
    placed.moveTop(std::max(placed.top(), free.top()));
    placed.moveLeft(std::max(placed.left(), free.left()));
    if (placed.topLeft() != frame.topLeft())
        move(placed.topLeft());
}

void DesignedWindow::followTheSize() {
    const QSize form(width(), height() - chromeHeight());
    m_form->setGeometry(0, m_menuBarHeight, form.width(), form.height());
    if (m_menuBar)
        m_menuBar->setGeometry(0, 0, form.width(), m_menuBarHeight);
    if (m_statusLine)
        m_statusLine->setGeometry(0, m_menuBarHeight + form.height(), form.width(), m_statusLineHeight);
    const QSize extra(std::max(form.width() - m_formSize.width(), 0), std::max(form.height() - m_formSize.height(), 0));
    for (const Placed& placed : m_placed)
        placed.control->setGeometry(followedGeometry(placed.designed, placed.follow, extra));
}

void DesignedWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    followTheSize();
}

void DesignedWindow::rememberSizeIn(SettingsStore& settings) {
    m_settings = &settings;
    const QString name = objectName();
    const QStringList kept = settings.ReadSetting(name + QStringLiteral("Size"), QString()).split(u'x');
    bool wide = false;
    bool tall = false;
    QSize size(kept.value(0).toInt(&wide), kept.value(1).toInt(&tall));
    if (wide && tall && kept.size() == 2) {
        // Within the screen's free area, with room for the frame, and never below the design.
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const int titleBar = std::max(style()->pixelMetric(QStyle::PM_TitleBarHeight), 30);
            size = size.boundedTo(screen->availableGeometry().size() - QSize(8, titleBar + 8));
        }
        resize(size.expandedTo(m_designedSize));
    }
    try {
        m_maximizedAtStart = truthFromText(settings.ReadSetting(name + QStringLiteral("Maximized"), truthText(false)));
    } catch (const AppError&) {
        m_maximizedAtStart = false;
    }
}

void DesignedWindow::showAsRemembered() {
    if (m_maximizedAtStart)
        showMaximized();
    else
        show();
}

void DesignedWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (m_settings == nullptr || event->spontaneous())
        return;
    const bool maximized = isMaximized();
    m_maximizedAtStart = maximized;
    const QSize size = maximized ? normalGeometry().size() : this->size();
    // The size is a convenience: a store that cannot be written loses it, and is reported where it matters.
    try {
        m_settings->StoreSetting(objectName() + QStringLiteral("Size"),
                                 QStringLiteral("%1x%2").arg(size.width()).arg(size.height()));
        m_settings->StoreSetting(objectName() + QStringLiteral("Maximized"), truthText(maximized));
    } catch (const AppError&) {
    }
}

bool DesignedWindow::focusNextPrevChild(bool next) {
    return m_tabOrder->moveFocus(focusWidget(), next) || QWidget::focusNextPrevChild(next);
}

} // namespace quillory
