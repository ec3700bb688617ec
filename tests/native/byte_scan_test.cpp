// The first wanted byte is found wherever it stands against the blocks the
// search compares at once, in runs of any length, and nothing past the
// run's end is read as part of it.
#include <gtest/gtest.h>

#include <string>

#include "render/byte_scan.h"

namespace {

using plenwick::FindFirstOf;

size_t Find(const std::string& bytes, size_t size) {
  return FindFirstOf(reinterpret_cast<const unsigned char*>(bytes.data()), size, '\n', '\f', '\r');
}

TEST(FindFirstOf, FindsTheFirstWantedByteAtEveryPosition) {
  for (size_t length : {0u, 1u, 7u, 8u, 15u, 16u, 17u, 31u, 32u, 33u, 70u}) {
    std::string plain(length, 'x');
    EXPECT_EQ(Find(plain, length), length) << "none in " << length;
    for (size_t at = 0; at < length; ++at) {
      for (char wanted : {'\n', '\f', '\r'}) {
        std::string bytes = plain;
        bytes[at] = wanted;
        if (at + 3 < length) bytes[at + 3] = '\n';  // a later one does not count
        ASSERT_EQ(Find(bytes, length), at) << length << " bytes, at " << at;
      }
    }
  }
}

TEST(FindFirstOf, StopsAtTheEndOfTheRun) {
  std::string bytes = std::string(40, 'x') + "\n";
  for (size_t size = 0; size <= 40; ++size) EXPECT_EQ(Find(bytes, size), size) << size;
}

TEST(FindFirstOf, HighAndLowBytesAreOrdinary) {
  // Bytes that differ from the wanted ones only in their high bit, and
  // every other byte below them.
  std::string bytes;
  for (int byte = 0; byte < 256; ++byte) {
    if (byte != '\n' && byte != '\f' && byte != '\r') bytes += static_cast<char>(byte);
  }
  EXPECT_EQ(Find(bytes, bytes.size()), bytes.size());
  // Tabs and backspaces in a block do not hide a line end after them.
  std::string tabbed = "ab\tcd\be" + std::string(30, 'x') + "\r\n";
  EXPECT_EQ(Find(tabbed, tabbed.size()), tabbed.size() - 2);
  tabbed[12] = '\f';
  EXPECT_EQ(Find(tabbed, tabbed.size()), 12u);
  EXPECT_EQ(FindFirstOf(reinterpret_cast<const unsigned char*>("ab\0c\b"), 5, '\b', 0, '\b'), 2u);
}

TEST(FindFirstOf, NotesAHighByteOnlyBeforeTheOneFound) {
  // A byte above 127 before, at and after the backspace, wherever both
  // stand against the blocks.
  for (size_t length : {1u, 15u, 16u, 17u, 33u, 70u}) {
    for (size_t backspace = 0; backspace <= length; ++backspace) {
      for (size_t at = 0; at < length; ++at) {
        std::string bytes(length, 'x');
        if (backspace < length) bytes[backspace] = '\b';
        if (at == backspace) continue;
        bytes[at] = '\xE9';
        bool high = false;
        size_t found = FindFirstOf(reinterpret_cast<const unsigned char*>(bytes.data()), length,
                                   '\b', 0, '\b', high);
        ASSERT_EQ(found, backspace);
        ASSERT_EQ(high, at < backspace)
            << length << " bytes, backspace " << backspace << ", high " << at;
      }
    }
  }
}

}  // namespace
