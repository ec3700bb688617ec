// Reading one registry value as text, for the Java side.
#pragma once

#include <cstddef>

#include "platform/win32.h"

namespace plenwick {

// The query may fill all 256 bytes with a value that has no terminator;
// the extra byte keeps room for one, so the whole value comes back.
constexpr size_t kRegistryDataSize = 256;

// Text values are read as the UTF-16 that Windows holds and kept as UTF-8,
// up to three bytes a character.
struct RegistryText {
  char text[3 * kRegistryDataSize + 1];
};

// Fills result with the text of the value valueName of the key subKey below
// root, or with an error message that begins "**ERROR** ". Messages that do
// not fit in 256 bytes are cut to 255 characters. A 64-bit process looks
// for a key or value its own registry view lacks in the 32-bit view.
void ReadRegistryString(HKEY root, const char* subKey, const char* valueName, RegistryText& result);

// The text that a value's data gives: its bytes up to the first zero byte,
// never more than the query returned. Terminates it in the buffer.
void TerminateRegistryData(RegistryText& result, DWORD returned);

}  // namespace plenwick
