#include "namelistmodel.h"

namespace quillory {

NameListModel::NameListModel(QObject* parent) : QAbstractTableModel(parent) {}

int NameListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count();
}

int NameListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 1 + (m_columns ? m_columns->count() : 0);
}

QVariant NameListModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    if (role != Qt::DisplayRole)
        return {};
    if (index.column() == 0)
        return at(index.row());
    return m_columns->text(index.row(), index.column() - 1);
}

QVariant NameListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    if (section == 0)
        return m_header;
    if (m_columns && section <= m_columns->count())
        return m_columns->header(section - 1);
    return {};
}

void NameListModel::setColumns(std::shared_ptr<const ListColumns> columns) {
    if (m_columns) {
        beginRemoveColumns({}, 1, m_columns->count());
        m_columns.reset();
        endRemoveColumns();
    }
    if (columns && columns->count() > 0) {
        beginInsertColumns({}, 1, columns->count());
        m_columns = std::move(columns);
        endInsertColumns();
    }
}

void NameListModel::setHeaderText(const QString& text) {
    m_header = text;
    emit headerDataChanged(Qt::Horizontal, 0, 0);
}

QStringList NameListModel::texts() const {
    if (!m_run)
        return m_items;
    QStringList items;
    items.reserve(m_run->size());
    for (qsizetype i = 0; i < m_run->size(); ++i)
        items.append(m_run->text(i));
    return items;
}

std::shared_ptr<const ListItems> NameListModel::contents() const {
    if (m_run)
        return m_run;
    return std::make_shared<StringListItems>(m_items);
}

void NameListModel::clear() {
    if (count() == 0)
        return;
    beginResetModel();
    m_items.clear();
    m_run.reset();
    m_columns.reset();
    endResetModel();
}

void NameListModel::append(const QString& text) {
    makeEditable();
    const int row = count();
    beginInsertRows({}, row, row);
    m_items.append(text);
    endInsertRows();
}

void NameListModel::setItems(QStringList items) {
    beginResetModel();
    m_items = std::move(items);
    m_run.reset();
    m_columns.reset();
    endResetModel();
}

void NameListModel::setItems(std::shared_ptr<const ListItems> items) {
    beginResetModel();
    m_items.clear();
    m_run = std::move(items);
    m_columns.reset();
    endResetModel();
}

void NameListModel::removeAt(int row) {
    makeEditable();
    beginRemoveRows({}, row, row);
    m_items.removeAt(row);
    endRemoveRows();
}

void NameListModel::makeEditable() {
    setColumns(nullptr);
    if (!m_run)
        return;
    m_items = texts();
    m_run.reset();
}

} // namespace quillory
