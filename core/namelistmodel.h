#pragma once

#include "listitems.h"

#include <QAbstractTableModel>
#include <QStringList>

#include <memory>

namespace quillory {

/**
 * The items of one list: texts only, in the order given, under one column header. Filling is one
 * model reset, so a million items arrive at once rather than row by row.
 *
 * The items are either a string list, which the list's own operations edit, or a read-only run
 * handed over whole (a generation's names), whose texts are made as the view asks for them. A run
 * may have columns beside it (ListColumns), shown after the texts' own until the items change.
 */
class NameListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit NameListModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    void setHeaderText(const QString& text);
    const QString& headerText() const { return m_header; }

    /** The item at a 0-based row. */
    QString at(int row) const { return m_run ? m_run->text(row) : m_items.at(row); }
    int count() const { return static_cast<int>(m_run ? m_run->size() : m_items.size()); }

    /** Every item's text, in order. */
    QStringList texts() const;
    /** Every item as one shared, read-only run; later edits of the list do not change it. */
    std::shared_ptr<const ListItems> contents() const;

    void clear();
    void append(const QString& text);
    void setItems(QStringList items);
    /** Replaces every item with a read-only run, in one reset. */
    void setItems(std::shared_ptr<const ListItems> items);
    void removeAt(int row);

    /** Shows `columns` beside the items, or none; every later change of the items removes them. */
    void setColumns(std::shared_ptr<const ListColumns> columns);
    const std::shared_ptr<const ListColumns>& columns() const { return m_columns; }

private:
    // An edit of a handed-over run turns it into a string list first.
    void makeEditable();

    QStringList m_items;
    std::shared_ptr<const ListItems> m_run;
    std::shared_ptr<const ListColumns> m_columns;
    QString m_header;
};

} // namespace quillory
