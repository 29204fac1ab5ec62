#include "listcontrol.h"

#include "core/twips.h"
#include "formbuilder.h"

#include <QAction>
#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QResizeEvent>
#include <QToolTip>

#include <algorithm>

namespace quillory {

ListControl::ListControl(QWidget* parent) : QTableView(parent) {
    setModel(&m_model);
    setShowGrid(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setTabKeyNavigation(false);
    setVerticalHeader(newRowHeader());
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(QHeaderView::Interactive);
    header()->setSectionsMovable(false);
    header()->setSectionsClickable(false);
    header()->setHighlightSections(false);
    header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    viewport()->setMouseTracking(true);
    header()->setMouseTracking(true);
    header()->installEventFilter(this);

    connect(&m_model, &QAbstractItemModel::modelAboutToBeReset, this, [this] { m_rowsBeforeReset = m_model.count(); });
    connect(&m_model, &QAbstractItemModel::modelReset, this, &ListControl::releaseRowRecords);
    connect(&m_model, &QAbstractItemModel::modelReset, this, &ListControl::keepASelection);
    connect(&m_model, &QAbstractItemModel::rowsInserted, this, &ListControl::keepASelection);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &ListControl::keepASelection);
    connect(&m_model, &QAbstractItemModel::columnsInserted, this, &ListControl::columnsChanged);
    connect(&m_model, &QAbstractItemModel::columnsRemoved, this, &ListControl::columnsChanged);
    connect(&m_model, &QAbstractItemModel::modelReset, this, &ListControl::columnsChanged);
}

void ListControl::columnsChanged() {
    // Columns beside the texts: the texts keep their column, each other is as wide as what it shows
    // near the top, and the last one takes what is left of the list's width.
    const int columns = m_model.columnCount();
    const bool several = columns > 1;
    if (header()->stretchLastSection() == several)
        return;
    header()->setStretchLastSection(several);
    if (several) {
        setColumnWidth(0, m_designedColumn > 0 ? m_designedColumn : columnWidth(0));
        for (int column = 1; column < columns; ++column)
            resizeColumnToContents(column);
    } else {
        fillWidth();
    }
}

QHeaderView* ListControl::newRowHeader() {
    auto* rows = new QHeaderView(Qt::Vertical, this);
    rows->hide();
    // Every row has the height of one line of the list's font; nothing is measured per row.
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(fontMetrics().height() + 4);
    return rows;
}

void ListControl::releaseRowRecords() {
    // The row header keeps a small record per row, and keeps the room for them when the list gets
    // shorter: a million rows replaced by ten would hold 8 MB for nothing. A new header starts empty.
    constexpr int kManyRows = 100'000;
    if (m_rowsBeforeReset > kManyRows && m_model.count() < m_rowsBeforeReset / 2)
        setVerticalHeader(newRowHeader());
}

void ListControl::addColumnHeader(const QString& text) {
    m_model.setHeaderText(text);
}

void ListControl::setColumnWidthTwips(int twips) {
    m_designedColumn = twipsToPixels(twips, designDpi(this));
    const QVariant designed = property(kDesignedWidthProperty);
    m_designedWidth = designed.isValid() ? designed.toInt() : width();
    fillWidth();
}

void ListControl::fillWidth() {
    // The designed width at the designed size; every pixel the list has beyond its design goes to the
    // column, whatever sizes came before, so that it always reaches as far as it did when designed.
    if (m_designedColumn > 0 && m_model.columnCount() == 1)
        setColumnWidth(0, std::max(m_designedColumn + width() - m_designedWidth, 1));
}

void ListControl::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    if (event->size().width() != event->oldSize().width())
        fillWidth();
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

void ListControl::setItems(std::shared_ptr<const ListItems> items) {
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

QModelIndex ListControl::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    // A table moves Home and End along the row; in a list they go to the first and last item.
    if (action == MoveHome || action == MoveEnd)
        modifiers |= Qt::ControlModifier;
    return QTableView::moveCursor(action, modifiers);
}

void ListControl::keyPressEvent(QKeyEvent* event) {
    emit keyDown(event->key(), event->modifiers());
    if (event->matches(QKeySequence::Copy)) {
        copySelected();
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void ListControl::copySelected() const {
    if (count() > 0)
        QGuiApplication::clipboard()->setText(selectedText());
}

void ListControl::copyAll() const {
    QGuiApplication::clipboard()->setText(m_model.contents()->lines(u"\n"));
}

void ListControl::addCopyMenu() {
    auto* copy = new QAction(tr("Copy"), this);
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetShortcut); // shown in the menu; the key itself is handled above
    connect(copy, &QAction::triggered, this, &ListControl::copySelected);
    auto* copyAll = new QAction(tr("Copy All Names"), this);
    connect(copyAll, &QAction::triggered, this, &ListControl::copyAll);
    const auto updateActions = [this, copy, copyAll] {
        copy->setEnabled(count() > 0);
        copyAll->setEnabled(count() > 0);
    };
    connect(&m_model, &QAbstractItemModel::modelReset, this, updateActions);
    connect(&m_model, &QAbstractItemModel::rowsInserted, this, updateActions);
    connect(&m_model, &QAbstractItemModel::rowsRemoved, this, updateActions);
    updateActions();
    addAction(copy);
    addAction(copyAll);
    setContextMenuPolicy(Qt::ActionsContextMenu);
}

void ListControl::acceptFileDrops(std::function<bool()> enabled) {
    m_dropsEnabled = std::move(enabled);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DropOnly);
}

QStringList ListControl::droppedFiles(const QMimeData* data) const {
    if (!m_dropsEnabled || !m_dropsEnabled() || data == nullptr || !data->hasUrls())
        return {};
    QStringList paths;
    for (const QUrl& url : data->urls()) {
        const QFileInfo file(url.toLocalFile());
        if (!url.isLocalFile() || !file.isFile())
            return {};
        paths << file.filePath();
    }
    return paths;
}

QStringList ListControl::takeFiles(QDropEvent* event) const {
    const QStringList paths = droppedFiles(event->mimeData());
    if (paths.isEmpty()) {
        event->ignore();
        return {};
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    return paths;
}

void ListControl::dragEnterEvent(QDragEnterEvent* event) {
    takeFiles(event);
}

void ListControl::dragMoveEvent(QDragMoveEvent* event) {
    takeFiles(event);
}

void ListControl::dropEvent(QDropEvent* event) {
    if (const QStringList paths = takeFiles(event); !paths.isEmpty())
        emit filesDropped(paths);
}

void ListControl::mouseDoubleClickEvent(QMouseEvent* event) {
    QTableView::mouseDoubleClickEvent(event);
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
    return QTableView::viewportEvent(event);
}

bool ListControl::eventFilter(QObject* watched, QEvent* event) {
    if (watched == header() && event->type() == QEvent::MouseMove)
        emit pointerMoved();
    return QTableView::eventFilter(watched, event);
}

} // namespace quillory
