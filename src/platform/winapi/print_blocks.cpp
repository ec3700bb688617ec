// The global blocks that the print dialog hands back: a device mode and the
// printer's names.
#include <cstring>

#include "common.h"

namespace winapi {
namespace {

// A new movable block holding a copy of size bytes, or null.
HGLOBAL CopyToBlock(const void* bytes, size_t size) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
  if (!block) return nullptr;
  void* data = GlobalLock(block);
  if (!data) return GlobalFree(block);
  memcpy(data, bytes, size);
  GlobalUnlock(block);
  return block;
}

}  // namespace

HGLOBAL NewDevNamesBlock(const std::string& driver, const std::string& device,
                         const std::string& port) {
  std::string bytes(sizeof(DEVNAMES), '\0');
  DEVNAMES header{};
  WORD* offsets[] = {&header.wDriverOffset, &header.wDeviceOffset, &header.wOutputOffset};
  const std::string* parts[] = {&driver, &device, &port};
  for (int i = 0; i < 3; ++i) {
    // The offsets are 16 bits: names past them give no block.
    if (bytes.size() + parts[i]->size() >= 0xFFFF) return nullptr;
    *offsets[i] = static_cast<WORD>(bytes.size());
    bytes.append(parts[i]->c_str(), parts[i]->size() + 1);
  }
  header.wDefault = 1;
  memcpy(&bytes[0], &header, sizeof header);
  return CopyToBlock(bytes.data(), bytes.size());
}

HGLOBAL NewDevModeBlock(const DEVMODEA& mode) {
  return CopyToBlock(&mode, static_cast<size_t>(mode.dmSize) + mode.dmDriverExtra);
}

}  // namespace winapi
