// A report-style list: rows of text cells under a header, with the list-control operations the
// extended lists share.
#pragma once

#include <QString>
#include <QTableWidget>

class CReportListWidget : public QTableWidget {
 public:
  explicit CReportListWidget(QWidget* pParent = nullptr) : QTableWidget(pParent) {}

  // Adds a column before nColumn (at the end when past it); returns its index, -1 when negative.
  int InsertColumn(int nColumn, const QString& strHeading, int nWidth, Qt::Alignment nFormat = Qt::AlignLeft);
  bool DeleteItem(int nRow);
  void DeleteAllItems() { setRowCount(0); }
  int GetItemCount() const { return rowCount(); }
  QString GetItemText(int nRow, int nColumn = 0) const;

 protected:
  // Inserts an empty row before nRow (appending when past the end); its index, or -1 when nRow
  // is negative.
  int InsertEmptyRow(int nRow);
};
