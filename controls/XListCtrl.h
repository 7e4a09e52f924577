// A report list (under a CXHeaderCtrl) whose cells each carry their own record: colours,
// enabled, image, item data, colour box. A colour-box cell is drawn as a solid box of its
// colour; a left click on it opens the colour chooser and, on a confirmed colour, posts the
// registered colour-box message to the parent.
#pragma once

#include <QList>
#include <QPixmap>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

#include "controls/ReportListWidget.h"

// One cell's record; the row's first cell also holds the row's item data.
struct sXListCell {
  int32_t nEnabled = 1;  // 0 draws the text in the disabled colour
  int32_t nBold = 0;
  int32_t nImage = -1;  // image list index, -1 for none
  int32_t nReserved1 = 0;
  int32_t nReserved2 = 0;
  const QStringList* pComboItems = nullptr;  // not owned
  int32_t nComboListHeight = 10;
  int32_t nComboInitialSel = 0;
  uint32_t clrText = 0;        // 0x00BBGGRR
  uint32_t clrBackground = 0;  // also the colour of a colour box
  QString strProgressText;
  int32_t nShowProgressText = 1;
  int32_t nCheckedState = -1;  // -1: no check box
  uint64_t nItemData = 0;
  uint8_t bColorBox = 0;  // 1: drawn as a solid box of clrBackground
};

// The registered messages of this list, by name; each registers on first use. Posted messages
// carry a new 64-byte text "row|column" (char*, the receiver deletes it with delete[]) as wParam.
uint32_t GetColorBoxClickedMessage();  // lParam: the new colour
uint32_t GetCheckBoxClickedMessage();
uint32_t GetComboSelectionMessage();
// Registers all three at start-up, so their numbers do not depend on which list is used first.
void RegisterXListCtrlMessages();

class CXListCtrl : public CReportListWidget {
  Q_OBJECT

 public:
  explicit CXListCtrl(QWidget* pParent = nullptr);

  // A new row with the list's default colours; the row's index, or -1 when nRow is negative.
  // A position past the end appends.
  int InsertItem(int nRow, const QString& strText);

  bool SetItemText(int nRow, int nColumn, const QString& strText);
  bool SetItemData(int nRow, uint64_t nData);
  uint64_t GetItemData(int nRow) const;  // 0 for a row out of range

  // Enables or disables every cell of the row; a row whose first cell is disabled ignores clicks.
  bool SetEnabled(int nRow, bool bEnabled);
  bool SetItemColors(int nRow, int nColumn, uint32_t clrText, uint32_t clrBackground);
  bool SetItemImage(int nRow, int nColumn, int nImage);
  void SetImageList(const QList<QPixmap>& arrImages);

  // Makes the cell a colour box of that colour; false for a row or column out of range.
  bool SetColorBox(int nRow, int nColumn, uint32_t clrColor);
  // True and the colour when the cell is a colour box; false otherwise.
  bool GetColorBox(int nRow, int nColumn, uint32_t& clrColor) const;

  // The record of a cell, null when out of range.
  const sXListCell* GetCell(int nRow, int nColumn) const;

  uint32_t GetDefaultTextColor() const { return m_clrDefaultText; }
  uint32_t GetDefaultBackgroundColor() const { return m_clrDefaultBackground; }

 protected:
  void paintEvent(QPaintEvent* pEvent) override;
  void mousePressEvent(QMouseEvent* pEvent) override;
  void changeEvent(QEvent* pEvent) override;

 private:
  sXListCell* FindCell(int nRow, int nColumn);
  sXListCell MakeDefaultCell() const;
  void LoadDefaultColors();
  void DrawCell(QPainter& painter, int nRow, int nColumn) const;
  void UpdateCell(int nRow, int nColumn);
  // The click on a colour box: chooser, new colour, notification.
  void PickCellColor(int nRow, int nColumn);
  void PostColorBoxClicked(int nRow, int nColumn, uint32_t clrColor);

  // Kept in step with the rows and columns through the model's signals, so every way of
  // adding or removing rows also creates or releases their records.
  void OnRowsInserted(int nFirst, int nLast);
  void OnRowsRemoved(int nFirst, int nLast);
  void OnColumnsInserted(int nFirst, int nLast);
  void OnColumnsRemoved(int nFirst, int nLast);

  std::vector<std::vector<sXListCell>> m_arrRows;  // [row][column]
  QList<QPixmap> m_arrImages;
  uint32_t m_clrDefaultText = 0;
  uint32_t m_clrDefaultBackground = 0;
};
