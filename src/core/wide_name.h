// Names (files, printers, documents, registry keys, shell commands) travel
// inside the library as UTF-8, the form the bridge makes of Java's UTF-16,
// so that every fixed field, option and log line keeps working on bytes.
// They become UTF-16 once, here, for Windows' W functions, which take any
// name whatever the ANSI code page; Windows' A functions would turn each
// character that code page lacks into '?'.
#pragma once

#include <string>

#include "platform/win32.h"

namespace plenwick {

using WideString = std::basic_string<WCHAR>;

// The UTF-16 of a name. A name that is no UTF-8 (a configuration file
// written in the ANSI code page) is read in the ANSI code page.
WideString WideOf(const char* name);

// The UTF-8 of length UTF-16 units.
std::string Utf8Of(LPCWSTR units, int length);

// A name in the ANSI code page, for what still takes ANSI text (the printer
// selection's device names and device modes, dialog texts): what that code
// page lacks becomes '?', never a look-alike that means something to a
// name ('\\', '"', '/').
std::string AnsiOf(const char* name);

// A name held as UTF-16 for the length of a W call; null stays null.
class WideName {
 public:
  explicit WideName(const char* name)
      : null_(name == nullptr), units_(name ? WideOf(name) : WideString()) {}
  LPCWSTR get() const { return null_ ? nullptr : units_.c_str(); }

 private:
  bool null_;
  WideString units_;
};

}  // namespace plenwick
