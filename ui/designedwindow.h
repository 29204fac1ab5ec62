#pragma once

#include "formbuilder.h"

#include <QHash>
#include <QWidget>

#include <memory>
#include <span>

namespace quillory {

/**
 * A top-level window built from its design table: fixed client size in twips, a close box and a
 * minimise button but no maximise button, its controls named after the design, and Tab moving
 * through them in design order.
 */
class DesignedWindow : public QWidget {
    Q_OBJECT

public:
    ~DesignedWindow() override;

    /** A control by its name (PushButton1, Option4, ListView1...). */
    QWidget* control(const QString& name) const { return m_controls.value(name); }

protected:
    DesignedWindow(const QString& name, std::span<const ControlDesign> design, int widthTwips, int heightTwips);

    const QHash<QString, QWidget*>& controls() const { return m_controls; }

    /** Places the window in the middle of the primary screen. */
    void centreOnScreen();

    bool focusNextPrevChild(bool next) override;

private:
    QHash<QString, QWidget*> m_controls;
    std::unique_ptr<TabOrder> m_tabOrder;
};

} // namespace quillory
