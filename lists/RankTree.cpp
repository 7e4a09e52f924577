#include "lists/RankTree.h"

void CRankTree::Clear() {
  m_arrNodes.clear();
  m_arrFree.clear();
  m_nRoot = kNone;
}

uint32_t CRankTree::NextPriority() {
  m_nRandom ^= m_nRandom << 13;
  m_nRandom ^= m_nRandom >> 17;
  m_nRandom ^= m_nRandom << 5;
  return m_nRandom;
}

int32_t CRankTree::Allocate(int32_t nValue) {
  sNode node;
  node.nValue = nValue;
  node.nPriority = NextPriority();
  if (!m_arrFree.empty()) {
    const int32_t nHandle = m_arrFree.back();
    m_arrFree.pop_back();
    Node(nHandle) = node;
    return nHandle;
  }
  m_arrNodes.push_back(node);
  return static_cast<int32_t>(m_arrNodes.size() - 1);
}

void CRankTree::ReplaceChild(int32_t nParent, int32_t nOld, int32_t nNew) {
  if (nParent == kNone) {
    m_nRoot = nNew;
  } else if (Node(nParent).nLeft == nOld) {
    Node(nParent).nLeft = nNew;
  } else {
    Node(nParent).nRight = nNew;
  }
  if (nNew != kNone) {
    Node(nNew).nParent = nParent;
  }
}

void CRankTree::RotateUp(int32_t nHandle) {
  const int32_t nParent = Node(nHandle).nParent;
  const int32_t nGrand = Node(nParent).nParent;
  if (Node(nParent).nLeft == nHandle) {
    const int32_t nMoved = Node(nHandle).nRight;
    Node(nParent).nLeft = nMoved;
    Node(nHandle).nRight = nParent;
    if (nMoved != kNone) {
      Node(nMoved).nParent = nParent;
    }
  } else {
    const int32_t nMoved = Node(nHandle).nLeft;
    Node(nParent).nRight = nMoved;
    Node(nHandle).nLeft = nParent;
    if (nMoved != kNone) {
      Node(nMoved).nParent = nParent;
    }
  }
  Node(nParent).nParent = nHandle;
  ReplaceChild(nGrand, nParent, nHandle);
  Node(nParent).nSize = 1 + GetSize(Node(nParent).nLeft) + GetSize(Node(nParent).nRight);
  Node(nHandle).nSize = 1 + GetSize(Node(nHandle).nLeft) + GetSize(Node(nHandle).nRight);
}

void CRankTree::Assign(std::span<const int32_t> arrValues) {
  Clear();
  m_arrNodes.reserve(arrValues.size());
  // The treap of these priorities in one pass: the right spine on a stack. A node leaves the
  // stack when a later node of higher priority takes it as its left subtree, which is then
  // complete, so its size is known.
  std::vector<int32_t> arrSpine;
  const auto finish = [this](int32_t nHandle) {
    Node(nHandle).nSize = 1 + GetSize(Node(nHandle).nLeft) + GetSize(Node(nHandle).nRight);
  };
  for (const int32_t nValue : arrValues) {
    const int32_t nNew = Allocate(nValue);
    int32_t nLast = kNone;
    while (!arrSpine.empty() && Node(arrSpine.back()).nPriority < Node(nNew).nPriority) {
      nLast = arrSpine.back();
      arrSpine.pop_back();
      finish(nLast);
    }
    Node(nNew).nLeft = nLast;
    if (nLast != kNone) {
      Node(nLast).nParent = nNew;
    }
    if (!arrSpine.empty()) {
      Node(arrSpine.back()).nRight = nNew;
      Node(nNew).nParent = arrSpine.back();
    }
    arrSpine.push_back(nNew);
  }
  while (!arrSpine.empty()) {
    finish(arrSpine.back());
    m_nRoot = arrSpine.back();
    arrSpine.pop_back();
  }
}

void CRankTree::Erase(int32_t nHandle) {
  // Down until it has at most one child, lifting the child of higher priority each time.
  for (;;) {
    const int32_t nLeft = Node(nHandle).nLeft;
    const int32_t nRight = Node(nHandle).nRight;
    if (nLeft == kNone || nRight == kNone) {
      break;
    }
    RotateUp(Node(nLeft).nPriority > Node(nRight).nPriority ? nLeft : nRight);
  }
  const int32_t nChild = Node(nHandle).nLeft != kNone ? Node(nHandle).nLeft : Node(nHandle).nRight;
  const int32_t nParent = Node(nHandle).nParent;
  ReplaceChild(nParent, nHandle, nChild);
  for (int32_t nAt = nParent; nAt != kNone; nAt = Node(nAt).nParent) {
    --Node(nAt).nSize;
  }
  m_arrFree.push_back(nHandle);
}

int32_t CRankTree::GetRank(int32_t nHandle) const {
  int32_t nRank = GetSize(Node(nHandle).nLeft);
  for (int32_t nAt = nHandle; Node(nAt).nParent != kNone; nAt = Node(nAt).nParent) {
    const int32_t nParent = Node(nAt).nParent;
    if (Node(nParent).nRight == nAt) {
      nRank += GetSize(Node(nParent).nLeft) + 1;
    }
  }
  return nRank;
}

int32_t CRankTree::GetValueAt(int32_t nRank) const {
  if (nRank < 0) {
    return kNone;
  }
  int32_t nAt = m_nRoot;
  while (nAt != kNone) {
    const int32_t nLeftSize = GetSize(Node(nAt).nLeft);
    if (nRank < nLeftSize) {
      nAt = Node(nAt).nLeft;
    } else if (nRank == nLeftSize) {
      return Node(nAt).nValue;
    } else {
      nRank -= nLeftSize + 1;
      nAt = Node(nAt).nRight;
    }
  }
  return kNone;
}

std::vector<int32_t> CRankTree::GetValues() const {
  std::vector<int32_t> arrValues;
  arrValues.reserve(static_cast<size_t>(GetCount()));
  std::vector<int32_t> arrPath;
  int32_t nAt = m_nRoot;
  while (nAt != kNone || !arrPath.empty()) {
    while (nAt != kNone) {
      arrPath.push_back(nAt);
      nAt = Node(nAt).nLeft;
    }
    nAt = arrPath.back();
    arrPath.pop_back();
    arrValues.push_back(Node(nAt).nValue);
    nAt = Node(nAt).nRight;
  }
  return arrValues;
}
