#include "WatchFixture.h"

#include <QCoreApplication>
#include <dlfcn.h>

#include "tests/support/TestMessage.h"

CFakeRxControl g_controls[2];

extern "C" HALVO_API CPyxoRxControl* GetPyxoRxControl(int32_t nKind, CPyxoRxNotifierBase* /*pReceiver*/) {
  return &g_controls[nKind & 1];
}

extern "C" HALVO_API void DestoryPyxoRxCOntrol(CPyxoRxControl* /*pControl*/) {}

void CWatchFixture::SetUp() {
  CSettingsFixture::SetUp();
  g_pluginContext.userId = "RISK07";
  g_pluginContext.hostModule = dlopen(nullptr, RTLD_NOW);
  for (CFakeRxControl& control : g_controls) control = CFakeRxControl{};
  g_mapRmsDetails.clear();
  SetMainFrame(&m_frame);
}

void CWatchFixture::TearDown() {
  m_dlg.DestroyWindows();
  SetMainFrame(nullptr);
  g_mapRmsDetails.clear();
  SetFixedClock(std::nullopt);
  CSettingsFixture::TearDown();
}

void CWatchFixture::SendTreeValue(const std::string& strEntity, const char* szValue) {
  const CTestMessage response({{64050, strEntity},
                               {54244, "CM-NSE-NRML"},
                               {54211, "rms prsnt value publish"},
                               {64116, szValue},
                               {32767, "mrv_rst_show_tree_all"},
                               {32766, "5"}});
  m_dlg.OnRmsResponse(response.Get());
  // As after each delivery of the terminal: rows appended this turn reach the view.
  QCoreApplication::processEvents();
}

int32_t CWatchFixture::AddCustomColumns(int nWindow,
                                        const std::vector<std::pair<const char*, const char*>>& arrColumns) {
  CListLayout& layout = GetList(nWindow).GetLayout();
  const auto nFirst = static_cast<int32_t>(layout.m_arrColumns.size());
  for (const auto& [szName, szFormula] : arrColumns) {
    sHalvoColInfo column{};
    SetColumnName(column, szName);
    column.nFormat = kAlignRight;
    column.nDataType = kSortDecimal;
    column.nKind = kColumnCustom;
    column.strFormula = std::string(" ") + szFormula;
    column.strFormulaText = szFormula;
    layout.m_arrColumns.push_back(column);
  }
  return nFirst;
}

Rows CWatchFixture::ReadRows(const CFilterListCtrl& list) {
  Rows arrRows(static_cast<size_t>(list.GetItemCount()));
  for (int32_t nRow = 0; nRow < list.GetItemCount(); ++nRow)
    for (int32_t nPosition = 0; nPosition < static_cast<int32_t>(list.GetHeaderItems().size()); ++nPosition)
      arrRows[static_cast<size_t>(nRow)].push_back(list.GetCellText(nRow, nPosition));
  return arrRows;
}
