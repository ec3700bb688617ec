// Letter case, character classes and decimal numbers in ASCII alone. The
// C library's own (strcasecmp, toupper, isdigit, strtol, ...) follow the
// locale the host process sets: a Java virtual machine sets it from the
// environment, and under a Turkish locale "PRINT" and "print" are not the
// same word. Option values, verbs, printer and template names and the
// numbers of the platform's messages must read alike under every locale.
#pragma once

#include <climits>
#include <cstdint>

namespace plenwick {

inline bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

// The blanks the C locale skips before a number.
inline bool IsAsciiSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

inline char AsciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
}

// Equality of two texts with ASCII letters compared without regard to case.
inline bool EqualsIgnoreCase(const char* a, const char* b) {
  for (; *a && *b; ++a, ++b) {
    if (AsciiLower(*a) != AsciiLower(*b)) return false;
  }
  return *a == *b;
}

// The decimal integer at the start of text: blanks skipped, an optional
// sign, digits. *end (when given) points after the last digit, or to text
// itself when there is no digit (and 0 is returned). A value beyond
// int64_t stops at its limit, so a caller can tell it from every value its
// own field holds.
inline int64_t LeadingInt64(const char* text, const char** end = nullptr) {
  const char* at = text;
  while (IsAsciiSpace(*at)) ++at;
  bool negative = *at == '-';
  if (*at == '+' || *at == '-') ++at;
  if (!IsAsciiDigit(*at)) {
    if (end) *end = text;
    return 0;
  }
  // Accumulated below zero: the negative range is the larger one.
  int64_t value = 0;
  bool beyond = false;
  for (; IsAsciiDigit(*at); ++at) {
    int digit = *at - '0';
    if (value < (INT64_MIN + digit) / 10) beyond = true;
    if (!beyond) value = value * 10 - digit;
  }
  if (end) *end = at;
  if (beyond) return negative ? INT64_MIN : INT64_MAX;
  if (negative) return value;
  return value == INT64_MIN ? INT64_MAX : -value;
}

// The same within int, as atoi reads a number that fits: for the numbers
// of messages and attributes that hold small ones.
inline int LeadingInt(const char* text) {
  int64_t value = LeadingInt64(text);
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

}  // namespace plenwick
