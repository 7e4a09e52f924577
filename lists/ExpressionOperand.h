// Conversion of one operand token of the expression engine to a double.
#pragma once

#include <cstddef>
#include <cstdint>

// Converts the token as the C library's strtod does in the C locale (decimal, hexadecimal,
// exponents, "inf", "infinity", "nan"), whatever the process locale. Returns EXPR_OK with the
// value, EXPR_BAD_OPERAND when strtod would not consume the whole token, or EXPR_FAILED when a
// long token cannot be copied for the conversion. Leaves errno as it was.
int32_t ParseOperand(const char* pToken, size_t nLength, double& dValue) noexcept;
