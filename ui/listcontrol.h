#pragma once

#include "core/namelistmodel.h"

#include <QHeaderView>
#include <QTableView>

#include <functional>
#include <memory>

class QHeaderView;
class QDropEvent;
class QMimeData;

namespace quillory {

/**
 * A list of texts in one column with a header the user can drag wider. Indexes are 1-based, as every
 * caller counts them. Whenever the list holds items one of them is selected: the first until the user
 * picks another, and after a removal the item that now stands at that place.
 *
 * The view keeps no record per row, so a list of a million names costs the view next to nothing.
 */
class ListControl : public QTableView {
    Q_OBJECT

public:
    explicit ListControl(QWidget* parent = nullptr);

    /** Titles the single column. */
    void addColumnHeader(const QString& text);
    /** Sets the column's designed width, given in twips; the user may still drag it wider. */
    void setColumnWidthTwips(int twips);

    void clearItems();
    void addItem(const QString& text);
    /** Replaces every item at once: the way to fill a long list. */
    void setItems(QStringList items);
    /** Replaces every item with a read-only run of texts, made as they come into view. */
    void setItems(std::shared_ptr<const ListItems> items);
    int count() const;
    /** The text of item `index` (1 to count), exactly as it was added. */
    QString item(int index) const;
    /** The 1-based index of the selected item; 0 when the list is empty. */
    int selectedIndex() const;
    QString selectedText() const;
    /** Removes item `index`; the later items move up by one. */
    void removeItem(int index);

    NameListModel& items() { return m_model; }
    const NameListModel& items() const { return m_model; }

    /** The column header. */
    QHeaderView* header() const { return horizontalHeader(); }

    /** Puts the selected item's text on the clipboard, as plain text (Ctrl+C, or the platform's Copy key). */
    void copySelected() const;
    /** Puts every item's text on the clipboard, one per line, in list order. */
    void copyAll() const;
    /** Offers "Copy" and "Copy All Names" on the list's context menu. */
    void addCopyMenu();
    /**
     * Takes drops of local files while `enabled` answers yes, and emits filesDropped with their paths.
     * Anything else (a folder, an address that is no local file) is refused, as is every drop while
     * `enabled` answers no.
     */
    void acceptFileDrops(std::function<bool()> enabled);

signals:
    /** The user double-clicked the list. */
    void listDoubleClicked();
    /** A key was pressed while the list had the focus. */
    void keyDown(int key, Qt::KeyboardModifiers modifiers);
    /** The pointer moved over the list or its header. */
    void pointerMoved();
    /** Local files were dropped on the list (see acceptFileDrops). */
    void filesDropped(const QStringList& paths);

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    /**
     * The column is as wide as designed at the designed size and takes every pixel the list has
     * beyond it; a width the user drags stays until the list is resized.
     */
    void resizeEvent(QResizeEvent* event) override;

private:
    void fillWidth();
    void columnsChanged();
    void selectRow(int row);
    void keepASelection();
    void releaseRowRecords();
    QHeaderView* newRowHeader();

    QStringList droppedFiles(const QMimeData* data) const;
    // Takes a drag or a drop of files as a copy, or refuses it; the files taken (none when refused).
    QStringList takeFiles(QDropEvent* event) const;

    NameListModel m_model;
    int m_rowsBeforeReset = 0;
    int m_designedColumn = 0; // pixels; 0 until a width is set
    int m_designedWidth = 0;  // the list's own designed width
    std::function<bool()> m_dropsEnabled;
};

} // namespace quillory
