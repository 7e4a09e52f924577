// A list's stored appearance: read when the list loads its profile, applied to its colours and
// font, and the keyword colours its rows are drawn with.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontInfo>
#include <QImage>

#include "controls/ColorRef.h"
#include "tests/support/ListTestSupport.h"

namespace {

constexpr uint32_t kRed = MakeColorRef(255, 0, 0);
constexpr uint32_t kBlue = MakeColorRef(0, 0, 255);
constexpr uint32_t kGreen = MakeColorRef(0, 255, 0);

class ListAppearanceTest : public CSettingsFixture {
 protected:
  void StoreLine(const std::string& strValue) {
    WriteFile("OrvaneSetting.ini", "[CUSTOMIZE_LISTS]\nTestList-0=" + strValue + "\n");
  }

  std::unique_ptr<sTextList> MakeList() {
    return std::make_unique<sTextList>(
        std::vector<std::string>{"Id", "Side"},
        std::vector<TextRecord>{{"1", "Buy"}, {"2", "hold"}, {"3", "SELL now"}});
  }

  // Pixels of a row close to a colour.
  static int CountRowPixels(CCommonListCtrl& list, int32_t nRow, uint32_t clrColour) {
    const QImage image = list.viewport()->grab().toImage();
    return CountPixelsNear(
        image, QRect(0, list.rowViewportPosition(nRow), image.width(), list.rowHeight(nRow)), clrColour);
  }
};

TEST_F(ListAppearanceTest, StoredLinesAreLoadedWithTheProfile) {
  const struct {
    const char* szName;
    const char* szLine;  // null: no line
    bool bCustomized;
    uint32_t clrBackground;
    uint32_t clrText;
    const char* szFont;
    size_t nKeywords;
  } arrCases[] = {
      {"no line", nullptr, false, 0, kGreen, "MS Shell Dlg 2", 0},
      {"empty line", "", false, 0, kGreen, "MS Shell Dlg 2", 0},
      {"keywords", "FFFFFF,0,DejaVu Sans,10,1,sell,FF,buy,FF,", true, 0xFFFFFF, 0, "DejaVu Sans", 2},
      {"keyword without colour", "FFFFFF,0,DejaVu Sans,10,1,sell,FF,buy", true, 0xFFFFFF, 0, "DejaVu Sans",
       0},
  };
  for (const auto& test : arrCases) {
    SCOPED_TRACE(test.szName);
    if (test.szLine != nullptr) {
      StoreLine(test.szLine);
    } else {
      WriteFile("OrvaneSetting.ini", "");
    }
    const std::unique_ptr<sTextList> pText = MakeList();
    const CFilterListCtrl& list = *pText->pList;
    EXPECT_EQ(list.IsCustomized(), test.bCustomized);
    EXPECT_EQ(list.GetAppearance().clrBackground, test.clrBackground);
    EXPECT_EQ(list.GetAppearance().clrText, test.clrText);
    EXPECT_EQ(list.GetAppearance().strFontName, test.szFont);
    EXPECT_EQ(list.font().family().toStdString(), test.szFont);
    const auto& pKeywords = list.GetAppearance().pKeywords;
    EXPECT_EQ(pKeywords != nullptr ? pKeywords->size() : 0U, test.nKeywords);
    EXPECT_TRUE(list.GetAppearance().bKeywordsAvailable) << "the filter row offers keywords";
  }
}

TEST_F(ListAppearanceTest, ColoursStayWhenAppearanceDoesNotApply) {
  StoreLine("FFFFFF,0,DejaVu Serif,12");
  auto pList = std::make_unique<CFilterListCtrl>();
  pList->SetAppearanceApplies(false);
  pList->GetLayout().LoadColumnTable("TestList", std::vector<sColumnDef>{{"Id", kAlignLeft, kSortText}});
  pList->LoadProfile();
  EXPECT_EQ(pList->GetAppearance().clrBackground, 0U);
  EXPECT_EQ(pList->GetAppearance().clrText, kGreen);
  EXPECT_EQ(pList->font().family().toStdString(), "DejaVu Serif") << "the font applies all the same";
  EXPECT_EQ(QFontInfo(pList->font()).pixelSize(), 16);
  const int nDefault =
      QFontInfo(QFont(QStringLiteral("DejaVu Serif"), QApplication::font().pointSize())).pixelSize();
  pList->SetListFont("DejaVu Serif", "big");
  EXPECT_EQ(QFontInfo(pList->font()).pixelSize(), nDefault) << "a size that is not a number: default height";
}

TEST_F(ListAppearanceTest, KeywordColoursTheRowText) {
  StoreLine("0,FF00,DejaVu Sans,12,1,sell,FF,buy,FF0000,");
  const std::unique_ptr<sTextList> pText = MakeList();
  CFilterListCtrl& list = *pText->pList;
  const struct {
    int32_t nRow;
    uint32_t clrShown;
    uint32_t clrAbsent;
  } arrCases[] = {
      {0, kBlue, kGreen},  // "Buy": the whole row, the Id cell too
      {1, kGreen, kRed},   // "hold": the list's text colour
      {2, kRed, kGreen},   // "SELL now"
  };
  for (const auto& test : arrCases) {
    EXPECT_GT(CountRowPixels(list, test.nRow, test.clrShown), 0) << "row " << test.nRow;
    EXPECT_EQ(CountRowPixels(list, test.nRow, test.clrAbsent), 0) << "row " << test.nRow;
  }

  sAppearanceInfo appearance = list.GetAppearance();
  appearance.nKeywordColumn = -1;
  list.SetAppearance(appearance);
  EXPECT_EQ(CountRowPixels(list, 2, kRed), 0) << "no keyword column, no keyword colour";
}

}  // namespace
