// Where the report line reader takes its bytes from: the open report file
// when printing, a block of memory in tests and fuzzers.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/handles.h"
#include "render/report_characters.h"

namespace plenwick {

class ByteSource {
 public:
  // What Read gives when the bytes could not be read (a failing disk, a
  // network share gone): never taken for the end of the report.
  static constexpr uint32_t kFailed = UINT32_MAX;

  // Up to capacity bytes into buffer; 0 at the end; kFailed on a read
  // error, with the platform's last error as the read left it.
  virtual uint32_t Read(unsigned char* buffer, uint32_t capacity) = 0;

 protected:
  ~ByteSource() = default;
};

// The bytes of whatever report file the owner holds at the time of a read.
class FileByteSource final : public ByteSource {
 public:
  explicit FileByteSource(const UniqueFile& file) : file_(file) {}
  uint32_t Read(unsigned char* buffer, uint32_t capacity) override;

 private:
  const UniqueFile& file_;
};

// Bytes in memory that the caller keeps, handed out once.
class MemoryByteSource final : public ByteSource {
 public:
  MemoryByteSource(const void* data, size_t size)
      : data_(static_cast<const unsigned char*>(data)), size_(size) {}
  uint32_t Read(unsigned char* buffer, uint32_t capacity) override;

 private:
  const unsigned char* data_;
  size_t size_;
  size_t at_ = 0;
};

// Bytes of the report read ahead in one block, which GetLine hands out one
// at a time: reading a file one byte per system call is slow. They belong
// to the source they were read from and go when it is closed. A UTF-16
// report's bytes are read into utf16Bytes and its characters held in
// bytes as UTF-8. A Ctrl-Z with nothing but line ends after it at the end
// of a block is held back after the block's end, until the next read tells
// whether the report ends there.
struct ReportReadAhead {
  const ByteSource* source = nullptr;  // where the bytes came from
  uint32_t next = 0;                   // index of the next byte to hand out
  uint32_t end = 0;                    // number of bytes held
  uint32_t heldBack = 0;               // bytes of a Ctrl-Z tail after end
  bool failed = false;                 // a read failed: nothing more comes
  DWORD error = 0;                     // the platform's error for that read
  ReportEncoding encoding = ReportEncoding::kUnknown;
  Utf16Decoder utf16;
  unsigned char bytes[4096];
  unsigned char utf16Bytes[1024];
};

}  // namespace plenwick
