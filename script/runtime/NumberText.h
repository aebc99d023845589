// Numbers in script texts: lenient reading and the fixed written forms.
#pragma once

#include <cstdint>
#include <string>

// Leading whitespace, optional sign, decimal digits; the first other
// character ends the number; no digits give 0 (clamped to 32 bits).
int32_t ReadIntText(const std::string& text);

// Leading whitespace, optional sign, digits with an optional "." and an
// optional exponent; no digits give 0. "inf", "infinity" and "nan" are read
// too, so that every text written by FormatDoubleText reads back.
double ReadDoubleText(const std::string& text);

// "%d".
std::string FormatIntText(int32_t n);
// "%f": six decimals, so 2.5 is written 2.500000.
std::string FormatDoubleText(double d);

// Truncation toward zero into 32 bits. Values beyond the range are clamped
// and not-a-number gives 0, so no double converts with undefined behaviour.
int32_t TruncToInt32(double d);

// 32-bit integer arithmetic that wraps on overflow instead of being undefined.
int32_t WrapAdd(int32_t a, int32_t b);
// Remainder with the sign of the dividend. A divisor of 0 has no result:
// false, and the result is not written. INT32_MIN by -1 gives 0.
bool IntRemainder(int32_t a, int32_t b, int32_t& result);
