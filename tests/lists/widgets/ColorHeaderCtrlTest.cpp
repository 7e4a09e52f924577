// The coloured header of the filter lists: colours by the filter state.
#include "tests/lists/ListWidgetTest.h"

#include "controls/ColorHeaderCtrl.h"

namespace {

using ColorHeaderCtrlTest = CSettingsFixture;

uint32_t GetPixel(const QImage& image, int nX, int nY) { return ToColorRef(image.pixelColor(nX, nY)); }

TEST_F(ColorHeaderCtrlTest, ColoursFollowTheFilterState) {
  sTextList data({"Name", "Segment", "Amount"}, {{"Reliance", "CM", "1"}, {"Balance", "FO", "2"}});
  CFilterListCtrl& list = *data.pList;
  QObject::connect(&list, &CFilterListCtrl::FilterChanged, [&list] { list.Filter(); });
  CColorHeaderCtrl* pHeader = list.GetHeader();
  const uint32_t clrFace = ToColorRef(pHeader->palette().color(QPalette::Button));
  const uint32_t clrFiltered = MakeColorRef(218, 165, 32);
  const uint32_t clrOthers = MakeColorRef(238, 221, 130);
  ASSERT_NE(clrFace, clrOthers);

  const struct {
    const char* szName;
    int32_t nColumn;  // filtered column, -1 for none
    const char* szFilter;
    bool bHideAmount;
    std::vector<uint32_t> arrItems;
    uint32_t clrEmptyArea;
  } arrCases[] = {
      {"no filter", -1, "", false, {clrFace, clrFace, clrFace}, clrOthers},
      {"second column filtered", 1, "CM", false, {clrOthers, clrFiltered, clrOthers}, clrOthers},
      {"no row passes", 0, "zzz", false, {clrFiltered, clrOthers, clrOthers}, clrFace},
      {"hidden column filtered", 2, "1", true, {clrOthers, clrOthers, clrFace}, clrOthers},
  };
  for (const auto& test : arrCases) {
    list.ResetFilters();
    if (test.bHideAmount) {
      list.GetLayout().SetPositions(std::vector<int32_t>{0, 1, -1});
      list.BuildHeader();
    }
    if (test.nColumn >= 0) list.SetFilter(test.nColumn, test.szFilter, false);
    const QImage image = pHeader->grab().toImage();
    const int nCount = pHeader->count();
    for (int nPosition = 0; nPosition < nCount; ++nPosition)
      EXPECT_EQ(GetPixel(image, pHeader->sectionViewportPosition(nPosition) + 2, 1), test.arrItems[nPosition])
          << test.szName << ", item " << nPosition;
    EXPECT_EQ(GetPixel(image, pHeader->length() + 20, 1), test.clrEmptyArea) << test.szName;
  }

  // Without a source (a plain list) everything is button face.
  pHeader->SetFilterSource(nullptr);
  const QImage imagePlain = pHeader->grab().toImage();
  EXPECT_EQ(GetPixel(imagePlain, 2, 1), clrFace);
  EXPECT_EQ(GetPixel(imagePlain, pHeader->length() + 20, 1), clrFace);
  pHeader->SetFilterSource(&list);
}

}  // namespace
