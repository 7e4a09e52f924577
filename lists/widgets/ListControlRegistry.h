// The module-wide list of list controls. Every list control joins it when it is created and
// leaves it when it is destroyed; appearance changes reach every list through it.
#pragma once

#include <cstddef>
#include <vector>

class CCommonListCtrl;

class CListControlRegistry {
 public:
  static void Add(CCommonListCtrl* pList);
  static void Remove(CCommonListCtrl* pList);
  // The controls in the order they joined.
  static const std::vector<CCommonListCtrl*>& GetControls();
  static bool Contains(const CCommonListCtrl* pList);
};
