#include "app/CatalogModel.h"

#include "memtable/loxDisplay.h"
#include "platform/CodePages.h"

#include <algorithm>

using memtable::TableChange;

CatalogModel::CatalogModel(memtable::TloxMemTable& table, QObject* parent)
    : QAbstractTableModel(parent), table_(table) {
    table_.AddObserver(this);
}

CatalogModel::~CatalogModel() {
    table_.RemoveObserver(this);
}

int CatalogModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || !table_.Active()) return 0;
    return table_.RecordTotal();
}

int CatalogModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : table_.FieldCount();
}

QString CatalogModel::CellText(int position, int column) const {
    // The field's own text: a date in the short date format, integer digits, and
    // nothing at all for a field without a value.
    const std::string text = table_.ValueTextAt(position, table_.Field(column));
    return QString::fromStdU16String(platform::AnsiToUtf16(text));
}

QVariant CatalogModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.column() >= table_.FieldCount()) return {};
    const int position = index.row() + 1;
    if (!table_.HasRecordAt(position)) return {};
    if (role == Qt::DisplayRole) return CellText(position, index.column());
    if (role == Qt::TextAlignmentRole) {
        const bool right =
            memtable::CellAlignment(table_.Field(index.column())) == memtable::taRightJustify;
        return QVariant::fromValue(
            Qt::Alignment((right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop));
    }
    return {};
}

QVariant CatalogModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= table_.FieldCount()) return {};
    if (role == Qt::DisplayRole)
        return QString::fromStdString(table_.Field(section).DisplayLabel());
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    return {};
}

Qt::ItemFlags CatalogModel::flags(const QModelIndex& index) const {
    // Selectable but never editable: the list only chooses an entry.
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

void CatalogModel::MemTableChanging(const TableChange& change) {
    const bool moveOnly = change.kind == memtable::TableChangeKind::Move;
    emit TableChanging(moveOnly);
    const int row = std::max(0, change.position - 1);
    switch (change.kind) {
    case memtable::TableChangeKind::Insert:
        beginInsertRows({}, std::min(row, rowCount()), std::min(row, rowCount()));
        break;
    case memtable::TableChangeKind::Delete:
        if (row < rowCount()) {
            beginRemoveRows({}, row, row);
        } else {
            beginResetModel();
            resetting_ = true;
        }
        break;
    case memtable::TableChangeKind::Open:
    case memtable::TableChangeKind::Order:
    case memtable::TableChangeKind::Batch:
        beginResetModel();
        resetting_ = true;
        break;
    case memtable::TableChangeKind::Move:
        break;
    }
}

void CatalogModel::MemTableChanged(const TableChange& change) {
    switch (change.kind) {
    case memtable::TableChangeKind::Insert:
        endInsertRows();
        break;
    case memtable::TableChangeKind::Delete:
    case memtable::TableChangeKind::Open:
    case memtable::TableChangeKind::Order:
    case memtable::TableChangeKind::Batch:
        if (resetting_) {
            resetting_ = false;
            endResetModel();
        } else {
            endRemoveRows();
        }
        break;
    case memtable::TableChangeKind::Move:
        break;
    }
    emit TableChanged(change.kind == memtable::TableChangeKind::Move);
}
