// The Win32 subset that the library calls, declared for hosts without the
// Windows headers: the same names, types and field names as on Windows.
// The Linux platform implements it; so does the test double.
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
