// The Qt model of a list control: its row and column counts and its header's data, read from
// its source (the list). The list paints its cells itself; data() gives a cell's display text
// only to other readers (accessibility, tools).
//
// The row count is the model's own copy, changed only through the operations below, so every
// change reaches the views and the selection in the form Qt expects.
#pragma once

#include <QAbstractTableModel>

class IListTableSource;

class CListTableModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit CListTableModel(const IListTableSource& source) : m_source(source) {}

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int nRole) const override;
  QVariant headerData(int nSection, Qt::Orientation nOrientation, int nRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  void InsertRows(int nRow, int nCount);
  void RemoveRows(int nRow, int nCount);
  // Rows added or removed at the end; the selection of the remaining rows stays.
  void SetRowCount(int nCount);
  // The header was rebuilt: columns and rows are read again.
  void ResetColumns();
  void NotifyHeaderChanged();

 private:
  const IListTableSource& m_source;
  int m_nRowCount = 0;
  int m_nColumnCount = 0;
};
