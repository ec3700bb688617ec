// What the two platforms without windows.h (the Linux platform and the
// simulated Windows) share beneath their Win32 functions: the thread's last
// error and the system message texts, errno as a Win32 error, global
// memory (GlobalAlloc and its family) and the blocks the print dialog
// hands out, and the table of handles (handle_table.h). One copy, so the
// two cannot answer the same call differently by accident.
#pragma once

#include <string>

#include "winapi.h"

namespace winapi {

// The Win32 error that stands for an errno value.
DWORD ErrorFromErrno(int error);
// The Win32 error for a file at path that did not open with errno error:
// a missing folder on the way is ERROR_PATH_NOT_FOUND, as on Windows.
DWORD OpenFileError(const char* path, int error);
// _lopen's rule on both platforms: the file at path opened with an OF_
// mode, or -1 with the last error set (a folder is no file).
int LowLevelOpen(const char* path, int mode);

// Sets the thread's last error with a text of its own, which
// FormatMessageA gives for that code in place of the system's until the
// last error is set again: a reason only the platform's back end knows
// (what a print server said when it refused a job).
void SetLastErrorText(DWORD code, const std::string& text);

// FormatMessageA for system messages (FORMAT_MESSAGE_FROM_SYSTEM), with
// or without FORMAT_MESSAGE_ALLOCATE_BUFFER. keep copies an allocated
// text into memory that LocalFree gives back on that platform.
DWORD FormatSystemMessage(DWORD flags, DWORD messageId, LPSTR buffer, DWORD size,
                          LPSTR (*keep)(const std::string& text));

// Whether the process's window station is visible (session.cpp): a
// desktop session's is, and so is the Linux platform's, which has none and
// leaves the question to each dialog's display; the simulated Windows
// turns it off as a service's.
void SetWindowStationVisible(bool visible);

// The global blocks of GlobalAlloc and its family (global_memory.cpp), as
// a platform's test controls see and steer them: how many are live and
// locked, the next allocation refused for want of memory, all of them
// dropped at once for a fresh machine.
size_t LiveGlobalBlocks();
size_t LockedGlobalBlocks();
void FailNextGlobalAlloc();
void FreeAllGlobalBlocks();

// GetTextFaceA's answer once the platform knows the face's name: without a
// buffer the room the name needs, terminator counted; else the name cut
// to count - 1 characters and terminated, and the characters copied.
int CopyFaceName(const std::string& name, int count, LPSTR face);

// SetBkMode on a platform's device context whose background mode is at
// current (null: no device context): the mode before, or 0 with the last
// error set.
int ChangeBackgroundMode(int* current, int mode);

// A DEVNAMES block (driver, device, output port, each terminated, after the
// offsets; the default printer's), or null when no block could be had.
HGLOBAL NewDevNamesBlock(const std::string& driver, const std::string& device,
                         const std::string& port);
// A block holding a copy of a device mode and the driver's extra bytes
// that follow it (dmSize + dmDriverExtra bytes from mode), or null.
HGLOBAL NewDevModeBlock(const DEVMODEA& mode);

}  // namespace winapi
