#include "listcontrol.h"

#include "core/twips.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QToolTip>

namespace quillory {

ListControl::ListControl(QWidget* parent) : QTreeView(parent) {
    setModel(&m_model);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(QHeaderView::Interactive);
    header()->setSectionsMovable(false);
    header()->setSectionsClickable(false);
    viewport()->setMouseTracking(true);
    header()->setMouseTracking(true);
    header()->installEventFilter(this);

    connect(&m_model, &QAbstractItemModel::modelReset, this, &ListControl::keepASelection);
    connect(&m_model, &QAbstractItemModel::rowsInserted, this, &ListControl::keepASelection);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &ListControl::keepASelection);
}

void ListControl::addColumnHeader(const QString& text) {
    m_model.setHeaderText(text);
}

void ListControl::setColumnWidthTwips(int twips) {
    setColumnWidth(0, twipsToPixels(twips, logicalDpiX()));
}

void ListControl::clearItems() {
    m_model.clear();
}

void ListControl::addItem(const QString& text) {
    m_model.append(text);
}

void ListControl::setItems(QStringList items) {
    m_model.setItems(std::move(items));
}

int ListControl::count() const {
    return m_model.count();
}

QString ListControl::item(int index) const {
    return m_model.at(index - 1);
}

int ListControl::selectedIndex() const {
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? 0 : rows.first().row() + 1;
}

QString ListControl::selectedText() const {
    const int index = selectedIndex();
    return index == 0 ? QString() : item(index);
}

void ListControl::removeItem(int index) {
    const int row = index - 1;
    m_model.removeAt(row);
    if (m_model.count() > 0)
        selectRow(std::min(row, m_model.count() - 1));
}

void ListControl::selectRow(int row) {
    const QModelIndex index = m_model.index(row, 0);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void ListControl::keepASelection() {
    if (m_model.count() == 0 || selectionModel()->hasSelection())
        return;
    const QModelIndex current = currentIndex();
    selectRow(current.isValid() ? current.row() : 0);
}

void ListControl::keyPressEvent(QKeyEvent* event) {
    emit keyDown(event->key(), event->modifiers());
    QTreeView::keyPressEvent(event);
}

void ListControl::mouseDoubleClickEvent(QMouseEvent* event) {
    QTreeView::mouseDoubleClickEvent(event);
    emit listDoubleClicked();
}

bool ListControl::viewportEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseMove:
        emit pointerMoved();
        break;
    case QEvent::ToolTip:
        // The list's own tip shows everywhere over it, not only over items that carry one.
        QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), toolTip(), viewport());
        return true;
    default:
        break;
    }
    return QTreeView::viewportEvent(event);
}

bool ListControl::eventFilter(QObject* watched, QEvent* event) {
    if (watched == header() && event->type() == QEvent::MouseMove)
        emit pointerMoved();
    return QTreeView::eventFilter(watched, event);
}

} // namespace quillory
