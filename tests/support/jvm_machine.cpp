// Linked into the library that the Java test loads while that library runs
// on the simulated Windows: the machine a new process starts on has the
// library's dialog template and the registry values the Java test reads.
#include "machine.h"

namespace {

struct JvmMachine {
  JvmMachine() {
    plenwick_test::AddLibraryResources();
    plenwick_test::PresetTestRegistry();
  }
} g_jvmMachine;

}  // namespace
