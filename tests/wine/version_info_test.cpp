// The version resource of the real DLL, read as Windows Explorer's file
// properties read it: the fixed file version and the product strings.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32.h"
#include "plenwick_version.h"

namespace {

std::vector<char> VersionBlock(const char* file) {
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeA(file, &ignored);
  std::vector<char> block(size);
  if (size == 0 || !GetFileVersionInfoA(file, 0, size, block.data())) block.clear();
  return block;
}

std::string StringValue(std::vector<char>& block, const char* name) {
  std::string path = std::string("\\StringFileInfo\\040904B0\\") + name;
  char* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(block.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) ||
      !value)
    return "<missing>";
  return value;
}

TEST(DllVersionInfo, FileVersionAndProductStrings) {
  std::vector<char> block = VersionBlock("PLENWICKDLL.dll");
  ASSERT_FALSE(block.empty()) << "no version resource, error " << GetLastError();

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  ASSERT_EQ(length, sizeof(VS_FIXEDFILEINFO));
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(fixed->dwFileVersionMS,
            static_cast<DWORD>(MAKELONG(PLENWICK_VERSION_MINOR, PLENWICK_VERSION_MAJOR)));
  EXPECT_EQ(fixed->dwFileVersionLS, static_cast<DWORD>(MAKELONG(0, PLENWICK_VERSION_PATCH)));
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_DLL));

  EXPECT_EQ(StringValue(block, "ProductName"), "PLENWICKDLL");
  EXPECT_EQ(StringValue(block, "OriginalFilename"), "PLENWICKDLL.dll");
  EXPECT_EQ(StringValue(block, "FileVersion"), PLENWICK_VERSION_TEXT);
  EXPECT_EQ(StringValue(block, "ProductVersion"), PLENWICK_VERSION_TEXT);
  EXPECT_EQ(StringValue(block, "FileDescription"), PLENWICK_DESCRIPTION);
}

}  // namespace
