#include "script/runtime/NumberText.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <vector>

#include "app/Text.h"

namespace {

bool IsSpaceByte(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// True when the text at i begins with word (ASCII, any case).
bool StartsWithWord(const std::string& text, size_t i, const char* word) {
  for (; *word; ++word, ++i) {
    if (i >= text.size() || LowerAscii(text[i]) != *word) return false;
  }
  return true;
}

}  // namespace

int32_t ReadIntText(const std::string& text) { return AtoiText(text); }

double ReadDoubleText(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && IsSpaceByte(text[i])) ++i;
  size_t start = i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  if (StartsWithWord(text, i, "inf")) {
    double inf = std::numeric_limits<double>::infinity();
    return negative ? -inf : inf;
  }
  if (StartsWithWord(text, i, "nan")) return std::numeric_limits<double>::quiet_NaN();
  // Find the decimal number's extent, then let the C library convert just
  // that (it rounds correctly; hexadecimal forms are never handed to it).
  size_t digits = 0;
  int64_t whole = 0;
  while (i < text.size() && IsDigit(text[i])) {
    if (digits < 18) whole = whole * 10 + (text[i] - '0');
    ++i;
    ++digits;
  }
  bool integer = true;
  if (i < text.size() && text[i] == '.') {
    integer = false;
    ++i;
    while (i < text.size() && IsDigit(text[i])) {
      ++i;
      ++digits;
    }
  }
  if (digits == 0) return 0.0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    if (j < text.size() && IsDigit(text[j])) {
      while (j < text.size() && IsDigit(text[j])) ++j;
      i = j;
      integer = false;
    }
  }
  // Up to 15 digits are exact in a double: no need for the library.
  if (integer && digits <= 15) return negative ? -static_cast<double>(whole) : static_cast<double>(whole);
  std::string number = text.substr(start, i - start);
  return std::strtod(number.c_str(), nullptr);
}

std::string FormatIntText(int32_t n) {
  char buffer[16];
  std::snprintf(buffer, sizeof(buffer), "%d", static_cast<int>(n));
  return buffer;
}

std::string FormatDoubleText(double d) {
  char buffer[64];
  int needed = std::snprintf(buffer, sizeof(buffer), "%f", d);
  if (needed < 0) return std::string();
  if (static_cast<size_t>(needed) < sizeof(buffer)) return std::string(buffer, static_cast<size_t>(needed));
  // Large magnitudes have up to 309 integer digits.
  std::vector<char> big(static_cast<size_t>(needed) + 1);
  std::snprintf(big.data(), big.size(), "%f", d);
  return std::string(big.data(), static_cast<size_t>(needed));
}

int32_t TruncToInt32(double d) {
  if (std::isnan(d)) return 0;
  if (d >= 2147483647.0) return INT32_MAX;
  if (d <= -2147483648.0) return INT32_MIN;
  return static_cast<int32_t>(d);
}

int32_t WrapAdd(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

bool IntRemainder(int32_t a, int32_t b, int32_t& result) {
  if (b == 0) return false;
  result = (b == -1) ? 0 : a % b;
  return true;
}
