#include "controls/ReportListWidget.h"

#include <algorithm>

int CReportListWidget::InsertColumn(int nColumn, const QString& strHeading, int nWidth,
                                    Qt::Alignment nFormat) {
  if (nColumn < 0) return -1;
  nColumn = std::min(nColumn, columnCount());
  insertColumn(nColumn);
  auto* pHeading = new QTableWidgetItem(strHeading);
  pHeading->setTextAlignment(nFormat | Qt::AlignVCenter);
  setHorizontalHeaderItem(nColumn, pHeading);
  setColumnWidth(nColumn, nWidth);
  return nColumn;
}

bool CReportListWidget::DeleteItem(int nRow) {
  if (nRow < 0 || nRow >= rowCount()) return false;
  removeRow(nRow);
  return true;
}

QString CReportListWidget::GetItemText(int nRow, int nColumn) const {
  const QTableWidgetItem* pItem = item(nRow, nColumn);
  return pItem != nullptr ? pItem->text() : QString();
}

int CReportListWidget::InsertEmptyRow(int nRow) {
  if (nRow < 0) return -1;
  nRow = std::min(nRow, rowCount());
  insertRow(nRow);
  return nRow;
}
