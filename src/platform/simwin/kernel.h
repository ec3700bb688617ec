// Simulated kernel services: report files, global memory, last error and
// system message texts.
#pragma once

#include <string>
#include <vector>

#include "../winapi/kernel.h"

namespace simwin {

// Files deleted through DeleteFileA, in order, successful or not.
struct DeleteRecord {
  std::string path;
  bool deleted;
};
const std::vector<DeleteRecord>& DeletedFiles();
void ClearDeletedFiles();

size_t OpenFileCount();
size_t LiveGlobalBlocks();
size_t LockedGlobalBlocks();
size_t LiveLocalBlocks();

// The next GlobalAlloc fails (returns null) when set.
void FailNextGlobalAlloc();
// _lread fails with this error after the given number of bytes of the next
// opened file; a negative count turns it off.
void FailReadsAfter(long bytes, DWORD error);

void ResetKernel();

}  // namespace simwin
