// Text helpers for 8-bit strings in the system's ANSI code page.
// Lead and trail bytes of a multi-byte character are never split or
// compared apart.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

// True when the byte begins a two-byte character in the system code page.
bool IsLeadByte(unsigned char c);

// Natively there is no system code page: tests choose one. 0 means single
// bytes only; 936, 932, 949 and 950 give the usual lead-byte ranges.
void SetTestCodePage(unsigned codePage);

// Whitespace is space, tab, line feed, vertical tab, form feed, carriage return.
std::string TrimWhitespace(const std::string& s);
std::string TrimBlanks(const std::string& s);       // the space character only
std::string TrimRightBlanks(const std::string& s);

bool EqualsNoCase(const std::string& a, const std::string& b);
int CompareNoCase(const std::string& a, const std::string& b);
std::string ToUpperText(const std::string& s);
std::string ToLowerText(const std::string& s);

// Conversions as the C library's atoi: leading whitespace, optional sign,
// digits up to the first other character; no digits give 0. Values beyond
// the 32-bit range are clamped instead of overflowing.
int32_t AtoiText(const std::string& s);

// printf-style formatting for the program's own constant formats.
std::string StrFormat(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// Fills a pattern that may come from a language file or a record: "%s" takes
// the next argument, "%d" too (the argument text as it is), "%%" gives "%".
// Any other '%' sequence stays as written, and missing arguments are empty,
// so no pattern can read beyond what it was given.
std::string FormatPattern(const std::string& pattern, std::initializer_list<std::string> args);
