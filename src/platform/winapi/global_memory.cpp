// Global memory blocks: every block is movable and zero-filled, and is
// reached only through its handle and a lock, as the print dialog's blocks
// are on Windows.
#include <atomic>
#include <vector>

#include "common.h"
#include "handle_table.h"

namespace {

struct GlobalBlock {
  std::vector<unsigned char> bytes;
  int locks = 0;
};
winapi::HandleTable<GlobalBlock> g_globals(winapi::HandleKind::kGlobalBlock);
std::atomic<bool> g_failNextAlloc{false};

}  // namespace

HGLOBAL GlobalAlloc(UINT, size_t bytes) {
  if (g_failNextAlloc.exchange(false)) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  // Zeroed whatever the flags say: a block asked for without GMEM_ZEROINIT
  // may hold anything, zero included.
  auto block = std::make_unique<GlobalBlock>();
  block->bytes.resize(bytes);
  return g_globals.Add<HGLOBAL>(std::move(block));
}

LPVOID GlobalLock(HGLOBAL handle) {
  GlobalBlock* block = g_globals.Find(handle);
  if (!block) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  // A movable block of no bytes is born discarded: it has no memory to
  // lock.
  if (block->bytes.empty()) {
    SetLastError(ERROR_DISCARDED);
    return nullptr;
  }
  ++block->locks;
  return block->bytes.data();
}

// TRUE while the block stays locked. The last unlock answers FALSE with no
// error, an unlock too many FALSE with ERROR_NOT_LOCKED, so a caller can
// tell the two apart.
BOOL GlobalUnlock(HGLOBAL handle) {
  GlobalBlock* block = g_globals.Find(handle);
  if (!block) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (block->locks == 0) {
    SetLastError(ERROR_NOT_LOCKED);
    return FALSE;
  }
  if (--block->locks > 0) return TRUE;
  SetLastError(ERROR_SUCCESS);
  return FALSE;
}

// Null when the block was freed (a locked one too); the handle itself when
// it is no live block.
HGLOBAL GlobalFree(HGLOBAL handle) {
  if (!handle) return nullptr;
  if (!g_globals.Remove(handle)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return handle;
  }
  return nullptr;
}

namespace winapi {

size_t LiveGlobalBlocks() { return g_globals.Count(); }

size_t LockedGlobalBlocks() {
  size_t locked = 0;
  g_globals.ForEach<HGLOBAL>([&](HGLOBAL, const GlobalBlock& block) { locked += block.locks > 0; });
  return locked;
}

void FailNextGlobalAlloc() { g_failNextAlloc = true; }

void FreeAllGlobalBlocks() {
  g_globals.Clear();
  g_failNextAlloc = false;
}

}  // namespace winapi
