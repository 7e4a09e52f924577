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

  // The colour of each header item, then of the area right of the last one.
  const auto readColours = [pHeader] {
    const QImage image = pHeader->grab().toImage();
    std::vector<uint32_t> arrColours;
    for (int nPosition = 0; nPosition < pHeader->count(); ++nPosition)
      arrColours.push_back(GetPixel(image, pHeader->sectionViewportPosition(nPosition) + 2, 1));
    arrColours.push_back(GetPixel(image, pHeader->length() + 20, 1));
    return arrColours;
  };
  const struct {
    const char* szName;
    int32_t nColumn;  // filtered column, -1 for none
    const char* szFilter;
    bool bHideAmount;
    std::vector<uint32_t> arrColours;
  } arrCases[] = {
      {"no filter", -1, "", false, {clrFace, clrFace, clrFace, clrOthers}},
      {"second column filtered", 1, "CM", false, {clrOthers, clrFiltered, clrOthers, clrOthers}},
      {"no row passes", 0, "zzz", false, {clrFiltered, clrOthers, clrOthers, clrFace}},
      {"hidden column filtered", 2, "1", true, {clrOthers, clrOthers, clrOthers}},
  };
  for (const auto& test : arrCases) {
    list.ResetFilters();
    if (test.bHideAmount) {
      list.GetLayout().SetPositions(std::vector<int32_t>{0, 1, -1});
      list.BuildHeader();
    }
    if (test.nColumn >= 0) list.SetFilter(test.nColumn, test.szFilter, false);
    EXPECT_EQ(readColours(), test.arrColours) << test.szName;
  }
  // Without a source (a plain list) everything is button face.
  pHeader->SetFilterSource(nullptr);
  EXPECT_EQ(readColours(), std::vector<uint32_t>(3, clrFace));
  pHeader->SetFilterSource(&list);
}

}  // namespace
