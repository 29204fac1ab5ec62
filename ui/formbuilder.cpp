#include "formbuilder.h"

#include "core/twips.h"
#include "listcontrol.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCoreApplication>
#include <QFont>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>

#include <algorithm>
#include <cmath>
#include <vector>

namespace quillory {

namespace {

constexpr double kWindowFontPoints = 9.0;
constexpr double kButtonFontPoints = 11.25;

QWidget* createControl(const ControlDesign& design, QWidget* parent, double scale, const QByteArray& context) {
    // Captions are in the user's language where a translation is installed, the window's name its context.
    const QString caption = QCoreApplication::translate(context.constData(), design.caption);
    switch (design.kind) {
    case ControlKind::Frame:
        return new QGroupBox(caption, parent);
    case ControlKind::Option: {
        auto* option = new QRadioButton(caption, parent);
        option->setChecked(design.on);
        return option;
    }
    case ControlKind::TextBox:
        return new QLineEdit(caption, parent);
    case ControlKind::List:
        return new ListControl(parent);
    case ControlKind::PushButton: {
        auto* button = new QPushButton(caption, parent);
        button->setFont(designFont(kButtonFontPoints * scale));
        button->setAutoDefault(false);
        return button;
    }
    case ControlKind::ProgressBar: {
        auto* bar = new QProgressBar(parent);
        bar->setRange(0, 100);
        bar->setValue(0);
        bar->setFormat(caption);
        bar->setTextVisible(true);
        bar->setAlignment(Qt::AlignCenter);
        return bar;
    }
    }
    return nullptr;
}

// The option buttons directly inside one container form one group. Qt's automatic exclusivity would
// also take in the options of frames nested in that container, so each group is made explicit.
QButtonGroup* optionGroupOf(QWidget* container) {
    auto* group = container->findChild<QButtonGroup*>(QString(), Qt::FindDirectChildrenOnly);
    if (!group) {
        group = new QButtonGroup(container);
        group->setExclusive(true);
    }
    return group;
}

} // namespace

QRect followedGeometry(const QRect& designed, const Follow& follow, QSize extra) {
    // The edges are rounded, not the moves and growths, so that neighbours that share an edge at the
    // design still share it.
    const auto at = [](int from, double share, int by) { return from + static_cast<int>(std::lround(share * by)); };
    const int left = at(designed.left(), follow.moveX, extra.width());
    const int top = at(designed.top(), follow.moveY, extra.height());
    const int right = at(designed.left() + designed.width(), follow.moveX + follow.growX, extra.width());
    const int bottom = at(designed.top() + designed.height(), follow.moveY + follow.growY, extra.height());
    return QRect(left, top, right - left, bottom - top);
}

QFont designFont(double pointSize) {
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    font.setBold(true);
    return font;
}

double designDpi(const QWidget* widget) {
    const QVariant scale = widget->window()->property(kDesignScaleProperty);
    return widget->logicalDpiX() * (scale.isValid() ? scale.toDouble() : 1.0);
}

namespace {

// How many pixels an option button's or a check box's caption lacks beside its mark; 0 for others.
int captionOverflow(QWidget* control) {
    auto* button = qobject_cast<QAbstractButton*>(control);
    const bool option = qobject_cast<QRadioButton*>(control) != nullptr;
    if (button == nullptr || (!option && qobject_cast<QCheckBox*>(control) == nullptr))
        return 0;
    QStyleOptionButton style;
    style.initFrom(button);
    style.text = button->text();
    const QRect room = button->style()->subElementRect(
        option ? QStyle::SE_RadioButtonContents : QStyle::SE_CheckBoxContents, &style, button);
    return QFontMetrics(button->font()).horizontalAdvance(QString(button->text()).remove(u'&')) - room.width();
}

// A design shrunk for a small screen shrinks its fonts with it, but a text's width does not shrink
// quite in proportion (letters are placed on whole pixels): a caption that would lose its last
// letter gets its font a little smaller still, a quarter point at a time.
void fitCaption(QWidget* control) {
    for (int step = 0; step < 8 && captionOverflow(control) > 0; ++step) {
        QFont font = control->font();
        font.setPointSizeF(font.pointSizeF() - 0.25);
        control->setFont(font);
    }
}

} // namespace

QHash<QString, QWidget*> buildControls(QWidget* form, std::span<const ControlDesign> table, double scale) {
    QWidget* window = form->window();
    window->setFont(designFont(kWindowFontPoints * scale));
    window->setProperty(kDesignScaleProperty, scale);
    const double dpi = designDpi(window);
    const QByteArray context = window->objectName().toUtf8();

    QHash<QString, QWidget*> controls;
    for (const ControlDesign& design : table) {
        QWidget* parent = design.container ? controls.value(QString::fromUtf8(design.container), form) : form;
        QWidget* control = createControl(design, parent, scale, context);
        control->setObjectName(QString::fromUtf8(design.name));
        control->setGeometry(twipsToRect(design.left, design.top, design.width, design.height, dpi));
        control->setProperty(kDesignedWidthProperty, control->width());
        if (scale < 1.0)
            fitCaption(control);
        controls.insert(control->objectName(), control);
        if (auto* option = qobject_cast<QRadioButton*>(control))
            optionGroupOf(parent)->addButton(option);
    }

    return controls;
}

TabOrder::TabOrder(const QHash<QString, QWidget*>& controls, std::span<const ControlDesign> table) {
    std::vector<const ControlDesign*> byTab;
    for (const ControlDesign& design : table) {
        if (design.kind != ControlKind::Frame && design.kind != ControlKind::ProgressBar)
            byTab.push_back(&design);
    }
    std::ranges::sort(byTab, {}, &ControlDesign::tabIndex);
    for (const ControlDesign* design : byTab)
        m_stops.push_back(controls.value(QString::fromUtf8(design->name)));
    // Qt's own chain in the same order, for anything that walks it directly.
    for (std::size_t i = 1; i < m_stops.size(); ++i)
        QWidget::setTabOrder(m_stops[i - 1], m_stops[i]);
}

bool TabOrder::isStop(QWidget* widget) const {
    if (!widget->isVisible() || !widget->isEnabled() || !(widget->focusPolicy() & Qt::TabFocus))
        return false;
    if (auto* option = qobject_cast<QRadioButton*>(widget))
        return option->isChecked();
    return true;
}

bool TabOrder::moveFocus(QWidget* current, bool next) const {
    const auto n = static_cast<std::ptrdiff_t>(m_stops.size());
    if (n == 0)
        return false;
    // From a widget inside a stop (a list's viewport, say), count from that stop.
    std::ptrdiff_t at = -1;
    for (std::ptrdiff_t i = 0; i < n && current; ++i) {
        if (m_stops[i] == current || m_stops[i]->isAncestorOf(current)) {
            at = i;
            break;
        }
    }
    for (std::ptrdiff_t step = 1; step <= n; ++step) {
        const std::ptrdiff_t i = at < 0 ? (next ? step - 1 : n - step) : ((at + (next ? step : -step)) % n + n) % n;
        if (isStop(m_stops[i])) {
            m_stops[i]->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
    return false;
}

} // namespace quillory
