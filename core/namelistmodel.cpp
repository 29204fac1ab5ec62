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
        return at(index.row());
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
    endResetModel();
}

void NameListModel::setItems(std::shared_ptr<const ListItems> items) {
    beginResetModel();
    m_items.clear();
    m_run = std::move(items);
    endResetModel();
}

void NameListModel::removeAt(int row) {
    makeEditable();
    beginRemoveRows({}, row, row);
    m_items.removeAt(row);
    endRemoveRows();
}

void NameListModel::makeEditable() {
    if (!m_run)
        return;
    m_items = texts();
    m_run.reset();
}

} // namespace quillory
