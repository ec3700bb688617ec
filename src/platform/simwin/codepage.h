// Simulated character-set conversion between the ANSI code page (1252) and
// the OEM code page (437).
#pragma once

#include "types.h"
