#include "tests/support/ListTestSupport.h"

#include "controls/ColorRef.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <cstdlib>

void SendKey(QWidget* pWidget, int nKey, Qt::KeyboardModifiers nModifiers, const QString& strText) {
  QKeyEvent press(QEvent::KeyPress, nKey, nModifiers, strText), release(QEvent::KeyRelease, nKey, nModifiers, strText);
  QApplication::sendEvent(pWidget, &press);
  QApplication::sendEvent(pWidget, &release);
  // The application keeps the modifiers of the last key press; a press without any, sent to a
  // widget nobody sees, lets go of them so later clicks see none held.
  if (nModifiers != Qt::NoModifier) {
    QWidget bystander;
    QKeyEvent plain(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier);
    QApplication::sendEvent(&bystander, &plain);
  }
}

sTextList::sTextList(const std::vector<std::string>& arrColumnNames, const std::vector<TextRecord>& arrRows,
                     const std::vector<int32_t>& arrNumeric)
    : arrRecords(arrRows), pList(std::make_unique<CFilterListCtrl>()), arrNames(arrColumnNames) {
  std::vector<sColumnDef> arrTable;
  for (size_t i = 0; i < arrNames.size(); ++i) {
    const bool bNumeric = std::find(arrNumeric.begin(), arrNumeric.end(), static_cast<int32_t>(i)) != arrNumeric.end();
    arrTable.push_back({arrNames[i].c_str(), bNumeric ? kAlignRight : kAlignLeft, bNumeric ? kSortDecimal : kSortText});
  }
  pList->GetLayout().LoadColumnTable("TestList", arrTable);
  pList->LoadProfile();
  pList->SetCellTextFn([this](const void* pRecord, int32_t nColumn, sCellText& cell) {
    ++nReads;
    const auto* pRow = static_cast<const TextRecord*>(pRecord);
    if (nColumn < 0 || static_cast<size_t>(nColumn) >= pRow->size()) return false;
    cell.strText = (*pRow)[static_cast<size_t>(nColumn)];
    return true;
  });
  pList->SetDataMode(true);
  for (const TextRecord& record : arrRecords) pList->InsertRow(0, &record);
  QApplication::processEvents();  // the rows reach the view, as after a delivery
  pList->resize(600, 300);
  pList->show();
  QApplication::processEvents();
}

std::vector<std::string> GetShownTexts(const CCommonListCtrl& list, int32_t nPosition) {
  std::vector<std::string> arrTexts;
  for (int32_t nRow = 0; nRow < list.GetItemCount(); ++nRow) arrTexts.push_back(list.GetCellText(nRow, nPosition));
  return arrTexts;
}

std::vector<std::string> GetHeaderTexts(const CCommonListCtrl& list) {
  std::vector<std::string> arrTexts;
  for (const sHeaderItem& item : list.GetHeaderItems()) arrTexts.push_back(item.strText);
  return arrTexts;
}

int CountPixelsNear(const QImage& image, const QRect& rcArea, uint32_t clrColour) {
  const QColor clrWanted = ToQColor(clrColour);
  int nCount = 0;
  for (int nY = rcArea.top(); nY <= rcArea.bottom(); ++nY) {
    for (int nX = rcArea.left(); nX <= rcArea.right(); ++nX) {
      const QColor clrPixel = image.pixelColor(nX, nY);
      nCount += std::abs(clrPixel.red() - clrWanted.red()) < 60 && std::abs(clrPixel.green() - clrWanted.green()) < 60 &&
                std::abs(clrPixel.blue() - clrWanted.blue()) < 60;
    }
  }
  return nCount;
}
