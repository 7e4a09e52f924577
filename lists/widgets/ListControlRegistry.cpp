#include "lists/widgets/ListControlRegistry.h"

#include <algorithm>

namespace {

std::vector<CCommonListCtrl*>& GetRegistry() {
  static std::vector<CCommonListCtrl*> s_arrControls;
  return s_arrControls;
}

}  // namespace

void CListControlRegistry::Add(CCommonListCtrl* pList) {
  if (pList != nullptr && !Contains(pList)) {
    GetRegistry().push_back(pList);
  }
}

void CListControlRegistry::Remove(CCommonListCtrl* pList) { std::erase(GetRegistry(), pList); }

const std::vector<CCommonListCtrl*>& CListControlRegistry::GetControls() { return GetRegistry(); }

bool CListControlRegistry::Contains(const CCommonListCtrl* pList) {
  const std::vector<CCommonListCtrl*>& arrControls = GetRegistry();
  return std::find(arrControls.begin(), arrControls.end(), pList) != arrControls.end();
}
