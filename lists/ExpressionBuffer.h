// Working storage of one expression call: a fixed array inside the object for the usual short
// texts, one heap block for longer ones, so evaluating a cell allocates nothing.
#pragma once

#include <cstddef>
#include <new>

// Expressions shorter than this are evaluated without touching the heap.
constexpr size_t EXPRESSION_FIXED_LENGTH = 256;

template <class T, size_t N = EXPRESSION_FIXED_LENGTH>
class CExpressionBuffer {
 public:
  explicit CExpressionBuffer(size_t nCount) noexcept
      : m_pData(nCount <= N ? m_arrFixed : new (std::nothrow) T[nCount]) {}
  ~CExpressionBuffer() {
    if (m_pData != m_arrFixed) delete[] m_pData;
  }
  CExpressionBuffer(const CExpressionBuffer&) = delete;
  CExpressionBuffer& operator=(const CExpressionBuffer&) = delete;

  // Null when a heap block was needed and could not be had.
  T* GetData() const noexcept { return m_pData; }

 private:
  T m_arrFixed[N];
  T* m_pData;
};
