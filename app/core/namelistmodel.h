#pragma once

#include <QAbstractListModel>
#include <QStringList>

namespace quillory {

/**
 * The items of one list: texts only, in the order given, under one column header. Filling is one
 * model reset, so a million items arrive at once rather than row by row.
 */
class NameListModel : public QAbstractListModel {
    Q_OBJECT

public:
    explicit NameListModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    void setHeaderText(const QString& text);
    const QString& headerText() const { return m_header; }

    /** The item at a 0-based row. */
    const QString& at(int row) const { return m_items.at(row); }
    int count() const { return static_cast<int>(m_items.size()); }

    void clear();
    void append(const QString& text);
    void setItems(QStringList items);
    void removeAt(int row);

private:
    QStringList m_items;
    QString m_header;
};

} // namespace quillory
