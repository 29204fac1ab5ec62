#include "namelistmodel.h"

namespace quillory {

NameListModel::NameListModel(QObject* parent) : QAbstractListModel(parent) {}

int NameListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count();
}

QVariant NameListModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    if (role == Qt::DisplayRole)
        return m_items.at(index.row());
    return {};
}

QVariant NameListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (section == 0 && orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return m_header;
    return {};
}

void NameListModel::setHeaderText(const QString& text) {
    m_header = text;
    emit headerDataChanged(Qt::Horizontal, 0, 0);
}

void NameListModel::clear() {
    if (m_items.isEmpty())
        return;
    beginResetModel();
    m_items.clear();
    endResetModel();
}

void NameListModel::append(const QString& text) {
    const int row = count();
    beginInsertRows({}, row, row);
    m_items.append(text);
    endInsertRows();
}

void NameListModel::setItems(QStringList items) {
    beginResetModel();
    m_items = std::move(items);
    endResetModel();
}

void NameListModel::removeAt(int row) {
    beginRemoveRows({}, row, row);
    m_items.removeAt(row);
    endRemoveRows();
}

} // namespace quillory
