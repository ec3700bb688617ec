// Reading files the request names (reports, configuration files): only
// regular files are read. A FIFO would hold the caller until some writer
// comes, /dev/zero or a console never ends, and a serial port or printer
// device is no report; each is refused at once, as a file that cannot be
// opened.
#pragma once

#include "platform/handles.h"

namespace plenwick {

// Paths are the library's UTF-8 names (core/wide_name.h); over MAX_PATH
// characters a full path still opens.
//
// path opened for reading when it names a regular file. Otherwise no file,
// with the last error ERROR_ACCESS_DENIED for something that is not a file
// (or the open's own error when nothing could be opened).
UniqueFile OpenRegularFile(const char* path);

// True for a path whose last part is a device name wherever a name is
// looked up on Windows (CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to LPT9,
// with or without an extension) or a path into the device namespace
// (\\.\ or \\?\).
bool NamesReservedDevice(const char* path);

// Which file an open handle reads, whatever name reached it.
struct FileIdentity {
  bool known = false;
  DWORD volume = 0;
  DWORD indexHigh = 0;
  DWORD indexLow = 0;
  bool operator==(const FileIdentity& other) const {
    return known && other.known && volume == other.volume && indexHigh == other.indexHigh &&
           indexLow == other.indexLow;
  }
};
FileIdentity IdentityOf(HFILE file);

// True when path still names the file whose identity was taken: a report
// replaced at the same path while it printed is another file.
bool StillNames(const char* path, const FileIdentity& identity);

// DeleteFileW of path.
BOOL DeleteNamedFile(const char* path);

}  // namespace plenwick
