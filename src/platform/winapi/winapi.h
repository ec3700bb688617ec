// The Win32 subset the library calls, declared with the real names, types
// and values for hosts without windows.h. A platform of such a host (the
// simulated Windows of the tests, or a real implementation) defines them.
#pragma once

#include "codepage.h"
#include "comdlg.h"
#include "dialogs.h"
#include "gdi.h"
#include "gdi_text.h"
#include "kernel.h"
#include "registry.h"
#include "shell.h"
#include "spooler.h"
#include "types.h"
#include "user.h"
#include "winspool.h"
