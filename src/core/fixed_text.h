// Helpers for the library's fixed-capacity 8-bit texts.
#pragma once

#include <cstddef>
#include <cstring>

#include "platform/ascii.h"  // EqualsIgnoreCase, alongside the texts it compares

namespace plenwick {

// Copies text into a field of capacity bytes, cutting it so that the field
// always ends with a terminator. Returns false when the text was cut.
inline bool CopyText(char* field, size_t capacity, const char* text) {
  if (capacity == 0) return false;
  size_t length = strlen(text);
  bool fits = length < capacity;
  if (!fits) length = capacity - 1;
  memmove(field, text, length);
  field[length] = '\0';
  return fits;
}

template <size_t N>
bool CopyText(char (&field)[N], const char* text) {
  return CopyText(field, N, text);
}

// Length of a text held in a field that may lack a terminator.
inline size_t FieldLength(const void* field, size_t capacity) {
  const char* text = static_cast<const char*>(field);
  size_t length = 0;
  while (length < capacity && text[length] != '\0') ++length;
  return length;
}

}  // namespace plenwick
