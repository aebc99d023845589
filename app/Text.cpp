#include "app/Text.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

unsigned g_testCodePage = 0;

bool IsSpaceByte(unsigned char c) { return c == ' ' || (c >= 0x09 && c <= 0x0D); }

unsigned char FoldUpper(unsigned char c) {
  // Plain ASCII needs no call into the system (names are compared often).
  if (c < 0x80) return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 'a' + 'A') : c;
#ifdef _WIN32
  // Single bytes fold by the system code page's own rules (accented letters too).
  char buf[2] = {static_cast<char>(c), 0};
  CharUpperBuffA(buf, 1);
  return static_cast<unsigned char>(buf[0]);
#else
  return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 'a' + 'A') : c;
#endif
}

unsigned char FoldLower(unsigned char c) {
  if (c < 0x80) return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
#ifdef _WIN32
  char buf[2] = {static_cast<char>(c), 0};
  CharLowerBuffA(buf, 1);
  return static_cast<unsigned char>(buf[0]);
#else
  return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
#endif
}

// Length in bytes of the character that starts at i (1 or 2).
size_t CharLength(const std::string& s, size_t i) {
  if (IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) return 2;
  return 1;
}

std::string TrimBy(const std::string& s, bool (*isTrimmed)(unsigned char)) {
  size_t begin = 0;
  while (begin < s.size() && isTrimmed(static_cast<unsigned char>(s[begin]))) ++begin;
  // A last byte that is kept ends the last character, whatever its length.
  if (begin < s.size() && !isTrimmed(static_cast<unsigned char>(s.back()))) return s.substr(begin);
  // Walk forward so that a trail byte is never mistaken for a character.
  size_t end = begin;
  for (size_t i = begin; i < s.size();) {
    size_t len = CharLength(s, i);
    if (len == 2 || !isTrimmed(static_cast<unsigned char>(s[i]))) end = i + len;
    i += len;
  }
  return s.substr(begin, end - begin);
}

bool IsBlank(unsigned char c) { return c == ' '; }

std::string MapCase(const std::string& s, unsigned char (*fold)(unsigned char)) {
  std::string out = s;
  for (size_t i = 0; i < out.size();) {
    size_t len = CharLength(out, i);
    if (len == 1) out[i] = static_cast<char>(fold(static_cast<unsigned char>(out[i])));
    i += len;
  }
  return out;
}

}  // namespace

bool IsLeadByte(unsigned char c) {
#ifdef _WIN32
  if (g_testCodePage == 0) return IsDBCSLeadByte(c) != 0;
#endif
  switch (g_testCodePage) {
    case 936:
    case 949:
    case 950:
      return c >= 0x81 && c <= 0xFE;
    case 932:
      return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
    default:
      return false;
  }
}

void SetTestCodePage(unsigned codePage) { g_testCodePage = codePage; }

std::string TrimWhitespace(const std::string& s) { return TrimBy(s, IsSpaceByte); }
std::string TrimBlanks(const std::string& s) { return TrimBy(s, IsBlank); }

std::string TrimRightBlanks(const std::string& s) {
  if (s.empty() || s.back() != ' ') return s;
  size_t end = 0;
  for (size_t i = 0; i < s.size();) {
    size_t len = CharLength(s, i);
    if (len == 2 || s[i] != ' ') end = i + len;
    i += len;
  }
  return s.substr(0, end);
}

int CompareNoCase(const std::string& a, const std::string& b) {
  size_t i = 0;
  for (; i < a.size() && i < b.size();) {
    size_t la = CharLength(a, i);
    size_t lb = CharLength(b, i);
    unsigned char ca = static_cast<unsigned char>(a[i]);
    unsigned char cb = static_cast<unsigned char>(b[i]);
    if (la == 1 && lb == 1) {
      ca = FoldUpper(ca);
      cb = FoldUpper(cb);
      if (ca != cb) return ca < cb ? -1 : 1;
      ++i;
      continue;
    }
    // A two-byte character only equals the same two bytes.
    if (la != lb || ca != cb) return ca < cb ? -1 : (ca > cb ? 1 : (la < lb ? -1 : 1));
    unsigned char ta = static_cast<unsigned char>(a[i + 1]);
    unsigned char tb = static_cast<unsigned char>(b[i + 1]);
    if (ta != tb) return ta < tb ? -1 : 1;
    i += 2;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool EqualsNoCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && CompareNoCase(a, b) == 0;
}

std::string ToUpperText(const std::string& s) { return MapCase(s, FoldUpper); }
std::string ToLowerText(const std::string& s) { return MapCase(s, FoldLower); }

int32_t AtoiText(const std::string& s) {
  size_t i = 0;
  while (i < s.size() && IsSpaceByte(static_cast<unsigned char>(s[i]))) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
    negative = s[i] == '-';
    ++i;
  }
  int64_t value = 0;
  for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
    value = value * 10 + (s[i] - '0');
    if (value > INT64_C(2147483648)) value = INT64_C(2147483648);
  }
  if (negative) value = -value;
  if (value > INT32_MAX) value = INT32_MAX;
  if (value < INT32_MIN) value = INT32_MIN;
  return static_cast<int32_t>(value);
}

std::string StrFormat(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  int needed = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::string out;
  if (needed > 0) {
    std::vector<char> buf(static_cast<size_t>(needed) + 1);
    std::vsnprintf(buf.data(), buf.size(), format, args);
    out.assign(buf.data(), static_cast<size_t>(needed));
  }
  va_end(args);
  return out;
}

std::string FormatPattern(const std::string& pattern, std::initializer_list<std::string> args) {
  std::string out;
  auto next = args.begin();
  for (size_t i = 0; i < pattern.size(); ++i) {
    char c = pattern[i];
    if (c == '%' && i + 1 < pattern.size()) {
      char spec = pattern[i + 1];
      if (spec == '%') {
        out += '%';
        ++i;
        continue;
      }
      if (spec == 's' || spec == 'd') {
        if (next != args.end()) out += *next++;
        ++i;
        continue;
      }
    }
    out += c;
  }
  return out;
}
