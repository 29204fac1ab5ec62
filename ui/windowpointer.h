#pragma once

#include <QCursor>
#include <QObject>

#include <optional>

class QWidget;

namespace quillory {

/**
 * The pointer setting of one window: 0 the arrow, 11 the hourglass while a long operation runs, 99 the
 * custom hand (the arrow when no hand image was loaded). The value belongs to the window, whatever
 * control is under the pointer, and handlers read it to know whether a long operation is running.
 *
 * Pointer feedback: moving over a wired button sets 99, over a wired background area 0; both leave
 * the hourglass alone. Controls that are not wired keep whatever the window last showed.
 */
class WindowPointer : public QObject {
    Q_OBJECT

public:
    static constexpr int kDefault = 0;
    static constexpr int kHourglass = 11;
    static constexpr int kCustom = 99;

    explicit WindowPointer(QWidget* window);

    int value() const { return m_value; }
    void set(int value);
    bool isBusy() const { return m_value == kHourglass; }
    /**
     * Sets the hourglass and lets the window system show it before a long operation starts: without
     * that, the change waits in the queue until the operation is over. User input stays queued.
     */
    void setBusy();

    void setCustomCursor(const QCursor& cursor);
    bool hasCustomCursor() const { return m_custom.has_value(); }

    /** Wires pointer feedback: over these the pointer becomes the hand. */
    void addButton(QWidget* widget);
    /** Wires pointer feedback: over these the pointer becomes the arrow. */
    void addBackground(QWidget* widget);
    /** Controls without feedback: the pointer keeps its last setting over them. */
    void addWithoutFeedback(QWidget* widget);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void watch(QWidget* widget, int value);
    void feedback(int value);
    void apply();

    QWidget* m_window;
    int m_value = kDefault;
    std::optional<QCursor> m_custom;
};

} // namespace quillory
