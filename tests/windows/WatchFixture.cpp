#include "WatchFixture.h"

#include <dlfcn.h>

#include "lists/widgets/FilterListCtrl.h"
#include "model/RmsDetails.h"
#include "platform/qt/MainFrame.h"
#include "tests/support/TestMessage.h"
#include "windows/OrvaneWatchDlgBar.h"

CFakeRxControl g_controls[2];
std::vector<const CPyxoRxControl*> g_arrReleased;

extern "C" HALVO_API CPyxoRxControl* GetPyxoRxControl(int32_t nKind, CPyxoRxNotifierBase* /*pReceiver*/) {
  return &g_controls[nKind & 1];
}

extern "C" HALVO_API void DestoryPyxoRxCOntrol(CPyxoRxControl* pControl) {
  g_arrReleased.push_back(pControl);
}

void CWatchFixture::SetUp() {
  CSettingsFixture::SetUp();
  g_pluginContext.userId = "RISK07";
  g_pluginContext.hostModule = dlopen(nullptr, RTLD_NOW);
  for (CFakeRxControl& control : g_controls) control = CFakeRxControl{};
  g_arrReleased.clear();
  g_mapRmsDetails.clear();
  SetMainFrame(&m_frame);
}

void CWatchFixture::TearDown() {
  m_dlg.DestroyWindows();
  SetMainFrame(nullptr);
  g_mapRmsDetails.clear();
  CSettingsFixture::TearDown();
}

void CWatchFixture::AddEntities(const std::vector<std::string>& arrEntities) {
  for (const std::string& strEntity : arrEntities) {
    const CTestMessage response({{64050, strEntity},
                                 {54244, "CM-NSE-NRML"},
                                 {54211, "rms prsnt value publish"},
                                 {64116, "1500.5"},
                                 {32767, "mrv_rst_show_tree_all"},
                                 {32766, "5"}});
    m_dlg.OnRmsResponse(response.Get());
  }
}

int32_t CWatchFixture::AddCustomColumns(int nWindow,
                                        const std::vector<std::pair<const char*, const char*>>& arrColumns) {
  CListLayout& layout = m_dlg.GetWatchBar(nWindow)->GetList().GetLayout();
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

std::vector<std::string> CWatchFixture::GetRequestNames() {
  std::vector<std::string> arrNames;
  for (const FieldList& arrFields : g_controls[0].m_arrRequests)
    arrNames.push_back(arrFields.empty() ? "" : arrFields.front().second);
  return arrNames;
}
