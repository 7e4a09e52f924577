// An ordered sequence of int32 values that answers "which value stands at place k" and "at which
// place stands this node" in O(log n), and takes a value in or out in O(log n): a treap (a
// binary search tree kept balanced by random heap priorities) whose nodes count their subtree.
//
// The order is the caller's: Insert walks down by fnBefore(value, node's value) and keeps equal
// values in the order inserted. The tree never compares values otherwise, so a comparison that
// is not a strict order (the date texts of ListCompare.h) leaves the shape sound, only the
// order as such a comparison makes it. A node is addressed by its handle, which stays valid
// until the node is erased; Erase and GetRank need no comparison.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

class CRankTree {
 public:
  static constexpr int32_t kNone = -1;

  int32_t GetCount() const { return m_nRoot == kNone ? 0 : m_arrNodes[static_cast<size_t>(m_nRoot)].nSize; }
  void Clear();

  // Places a value after every value it does not go before; returns its node's handle and,
  // when pnRank is given, its place (counted on the way down: rotations keep the order).
  template <class TBefore>
  int32_t Insert(int32_t nValue, const TBefore& fnBefore, int32_t* pnRank = nullptr);
  // Replaces the contents with values already in order; the i-th value's handle is i.
  void Assign(std::span<const int32_t> arrValues);
  void Erase(int32_t nHandle);

  // The place of a node, from 0.
  int32_t GetRank(int32_t nHandle) const;
  // The value at a place, or kNone past the end.
  int32_t GetValueAt(int32_t nRank) const;
  int32_t GetValue(int32_t nHandle) const { return m_arrNodes[static_cast<size_t>(nHandle)].nValue; }
  // Every value in order.
  std::vector<int32_t> GetValues() const;

 private:
  struct sNode {
    int32_t nLeft = kNone;
    int32_t nRight = kNone;
    int32_t nParent = kNone;
    int32_t nSize = 1;
    int32_t nValue = 0;
    uint32_t nPriority = 0;
  };

  sNode& Node(int32_t nHandle) { return m_arrNodes[static_cast<size_t>(nHandle)]; }
  const sNode& Node(int32_t nHandle) const { return m_arrNodes[static_cast<size_t>(nHandle)]; }
  int32_t GetSize(int32_t nHandle) const { return nHandle == kNone ? 0 : Node(nHandle).nSize; }
  int32_t Allocate(int32_t nValue);
  uint32_t NextPriority();
  // Lifts a node above its parent, keeping the in-order sequence and the subtree sizes.
  void RotateUp(int32_t nHandle);
  void ReplaceChild(int32_t nParent, int32_t nOld, int32_t nNew);

  std::vector<sNode> m_arrNodes;
  std::vector<int32_t> m_arrFree;  // handles of erased nodes, reused first
  int32_t m_nRoot = kNone;
  uint32_t m_nRandom = 2463534242u;  // xorshift state: the shape need not differ between runs
};

template <class TBefore>
int32_t CRankTree::Insert(int32_t nValue, const TBefore& fnBefore, int32_t* pnRank) {
  const int32_t nNew = Allocate(nValue);
  int32_t nRank = 0;
  if (pnRank != nullptr) *pnRank = 0;
  if (m_nRoot == kNone) {
    m_nRoot = nNew;
    return nNew;
  }
  int32_t nAt = m_nRoot;
  for (;;) {
    sNode& node = Node(nAt);
    ++node.nSize;
    const bool bLeft = fnBefore(nValue, node.nValue);
    if (!bLeft) nRank += GetSize(node.nLeft) + 1;
    int32_t& nChild = bLeft ? node.nLeft : node.nRight;
    if (nChild == kNone) {
      nChild = nNew;
      Node(nNew).nParent = nAt;
      break;
    }
    nAt = nChild;
  }
  while (Node(nNew).nParent != kNone && Node(Node(nNew).nParent).nPriority < Node(nNew).nPriority) {
    RotateUp(nNew);
  }
  if (pnRank != nullptr) *pnRank = nRank;
  return nNew;
}
