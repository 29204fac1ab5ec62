#include "windowpointer.h"

#include "listcontrol.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

namespace quillory {

namespace {
const char* const kFeedbackProperty = "quilloryPointerFeedback";
}

WindowPointer::WindowPointer(QWidget* window) : QObject(window), m_window(window) {
    apply();
}

void WindowPointer::set(int value) {
    m_value = value;
    apply();
}

void WindowPointer::setBusy() {
    set(kHourglass);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void WindowPointer::setCustomCursor(const QCursor& cursor) {
    m_custom = cursor;
    apply();
}

void WindowPointer::addButton(QWidget* widget) {
    watch(widget, kCustom);
}

void WindowPointer::addBackground(QWidget* widget) {
    if (auto* list = qobject_cast<ListControl*>(widget)) {
        connect(list, &ListControl::pointerMoved, this, [this] { feedback(kDefault); });
        return;
    }
    watch(widget, kDefault);
}

void WindowPointer::addWithoutFeedback(QWidget* widget) {
    // Their moves must not reach the container around them, whose feedback would change the pointer.
    widget->setAttribute(Qt::WA_NoMousePropagation);
}

void WindowPointer::watch(QWidget* widget, int value) {
    widget->setProperty(kFeedbackProperty, value);
    widget->setMouseTracking(true);
    // A control that ignores a move would pass it on to its container, whose feedback would then
    // overrule its own.
    widget->setAttribute(Qt::WA_NoMousePropagation);
    widget->installEventFilter(this);
}

bool WindowPointer::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove) {
        const QVariant target = watched->property(kFeedbackProperty);
        if (target.isValid())
            feedback(target.toInt());
    }
    return QObject::eventFilter(watched, event);
}

void WindowPointer::feedback(int value) {
    if (m_value == kHourglass || m_value == value)
        return;
    set(value);
}

void WindowPointer::apply() {
    switch (m_value) {
    case kHourglass:
        m_window->setCursor(Qt::WaitCursor);
        break;
    case kCustom:
        m_window->setCursor(m_custom ? *m_custom : QCursor(Qt::ArrowCursor));
        break;
    default:
        m_window->setCursor(Qt::ArrowCursor);
        break;
    }
}

} // namespace quillory
