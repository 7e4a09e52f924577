// Shared pieces of the list control tests: the application, key presses and lists over simple
// text records.
#pragma once

#include <QPoint>
#include <QRect>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "lists/widgets/FilterListCtrl.h"
#include "tests/support/QtTestApp.h"
#include "tests/support/SettingsFixture.h"

class QImage;
class QWidget;

// A row of a test list: one text per column.
using TextRecord = std::vector<std::string>;

void SendKey(QWidget* pWidget, int nKey, Qt::KeyboardModifiers nModifiers = Qt::NoModifier,
             const QString& strText = QString());

// A filter list in data mode over text records, the columns named by arrNames (all text
// columns but those in arrNumeric), shown at 600 x 300 and counting its cell reads.
struct sTextList {
  sTextList(const std::vector<std::string>& arrNames, const std::vector<TextRecord>& arrRows,
            const std::vector<int32_t>& arrNumeric = {});
  sTextList(const sTextList&) = delete;
  sTextList& operator=(const sTextList&) = delete;

  std::vector<TextRecord> arrRecords;
  std::unique_ptr<CFilterListCtrl> pList;
  int nReads = 0;
  std::vector<std::string> arrNames;
};

// The texts of a column over the rows the list shows, in order.
std::vector<std::string> GetShownTexts(const CCommonListCtrl& list, int32_t nPosition);
// The header item texts, in header order.
std::vector<std::string> GetHeaderTexts(const CCommonListCtrl& list);
// Pixels of the area close to a colour: smoothed text reaches its colour only mid-stroke.
int CountPixelsNear(const QImage& image, const QRect& rcArea, uint32_t clrColour);
