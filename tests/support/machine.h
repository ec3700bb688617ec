// What the library brings to the simulated Windows, set up the way its
// tests need it: the library's dialog template, the registry values the
// tests read, and a user who presses Cancel in the cancel dialog.
#pragma once

namespace plenwick_test {

// The cancel dialog template of the library's resource script ("AbrtDlg"),
// laid out as the script lays it out.
void AddLibraryResources();

// HKEY_CURRENT_USER\Software\Plenwick\Test, which the Java test and the
// bridge tests read:
//   "Greeting"  REG_SZ         "Hello from the registry"
//   (default)   REG_SZ         "Plenwick test key"
//   "Folder"    REG_EXPAND_SZ  "%TEMP%\plenwick"
void PresetTestRegistry();

// A fresh machine with the library's resources and the test registry, and
// the library's own process state (printer selection, diagnostic log) as
// in a new process.
void FreshMachine();

// Just before the nth call of an abort procedure from now (1: the next
// one), the user presses Cancel in the newest cancel dialog; without such a
// dialog nothing is pressed.
void PressCancelAtAbortCall(int nth = 1);
// The same just before the nth call of the named spooler call ("StartPage",
// "EndPage", ...), on a spooler that may never call the abort procedure.
void PressCancelBeforeSpoolerCall(const char* call, int nth);

}  // namespace plenwick_test
