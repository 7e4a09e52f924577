// The value fields a full entity record carries, taken from the data model's wire table (one
// entry per wire field, in table order), each with the kind of value the server makes up for it.
#pragma once

#include <cstdint>
#include <span>

enum class eSimShape : uint8_t {
  kAmount,      // rupees, never negative: margins, exposures, turnover
  kSigned,      // rupees that can go negative: MToM, realised and unrealised results
  kLimit,       // rupee limits in lakhs and crores
  kPercent,     // fractions such as 0.1234: percentages, factors
  kMultiplier,  // 1 to 10 in steps of 0.5
  kCount,       // integer limits and quantities
  kText,        // filled from the entity and its level text
};

struct sSimField {
  uint32_t nField;
  eSimShape eShape;
};

std::span<const sSimField> GetSimFields();

// Whether the random walk moves the field's value.
constexpr bool IsMovingShape(eSimShape eShape) {
  return eShape == eSimShape::kAmount || eShape == eSimShape::kSigned;
}
