#pragma once
// DataSrc: shows the memory table to the list, one row per record of the active
// order, read by position so the table's cursor stays where the user put it.

#include "memtable/loxMemTable.h"

#include <QAbstractTableModel>

class CatalogModel : public QAbstractTableModel, private memtable::TableObserver {
    Q_OBJECT
  public:
    CatalogModel(memtable::TloxMemTable& table, QObject* parent);
    ~CatalogModel() override;

    memtable::TloxMemTable& Table() const { return table_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The cell text of a record at a 1-based position, as the list shows it.
    QString CellText(int position, int column) const;

  signals:
    // Before the table's content, order or cursor changes, and after it, with
    // the cursor settled; `moveOnly` tells a cursor move from everything else.
    void TableChanging(bool moveOnly);
    void TableChanged(bool moveOnly);

  private:
    void MemTableChanging(const memtable::TableChange& change) override;
    void MemTableChanged(const memtable::TableChange& change) override;

    memtable::TloxMemTable& table_;
    bool resetting_ = false;
};
