// Handle lifetimes: a released handle is stale, and every call given a
// stale handle, or a handle of another kind, fails without harm.
#include <fstream>
#include <set>

#include "conformance.h"

namespace conformance {
namespace {

using HandleLifetimes = ConformanceTest;

TEST_F(HandleLifetimes, AReleasedHandleIsStaleEverywhere) {
  REQUIRE_PRINTER();
  HDC dc = CreateDCA("WINSPOOL", kPrinter, nullptr, nullptr);
  ASSERT_NE(dc, nullptr);
  ASSERT_TRUE(DeleteDC(dc));
  EXPECT_FALSE(DeleteDC(dc));
  EXPECT_EQ(GetDeviceCaps(dc, HORZRES), 0);
  DOCINFOA info{sizeof(DOCINFOA), "stale", nullptr, nullptr, 0};
  EXPECT_LE(StartDocA(dc, &info), 0);
  EXPECT_LE(StartPage(dc), 0);
  EXPECT_LE(EndPage(dc), 0);
  EXPECT_LE(EndDoc(dc), 0);
  TEXTMETRICA metrics{};
  EXPECT_FALSE(GetTextMetricsA(dc, &metrics));

  char name[] = "PDF";
  HANDLE printer = nullptr;
  ASSERT_TRUE(OpenPrinterA(name, &printer, nullptr));
  ASSERT_TRUE(ClosePrinter(printer));
  SetLastError(0xdeadbeef);
  EXPECT_FALSE(ClosePrinter(printer));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_LT(DocumentPropertiesA(nullptr, printer, name, nullptr, nullptr, 0), 0);
}

TEST_F(HandleLifetimes, StaleFontsBlocksAndKeys) {
  LOGFONTA logFont{};
  HFONT font = CreateFontIndirectA(&logFont);
  ASSERT_NE(font, nullptr);
  ASSERT_TRUE(DeleteObject(font));
  EXPECT_FALSE(DeleteObject(font));

  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 16);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(GlobalFree(block), nullptr);
  SetLastError(0xdeadbeef);
  EXPECT_EQ(GlobalFree(block), block);  // a failed free hands the handle back
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_EQ(GlobalFree(nullptr), nullptr);

  HKEY key = nullptr;
  ASSERT_TRUE(PresetRegistryValue("Software\\PlenwickConformance\\Stale", "v", REG_SZ,
                                  std::string("x\0", 2)));
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\PlenwickConformance\\Stale", 0,
                          KEY_QUERY_VALUE, &key),
            ERROR_SUCCESS);
  ASSERT_EQ(RegCloseKey(key), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
  DWORD size = 0;
  EXPECT_EQ(RegQueryValueExA(key, "v", nullptr, nullptr, nullptr, &size), ERROR_INVALID_HANDLE);
}

// A file handle is a number the system may hand out again, so only a
// closed one that nothing reopened is stale: the read and close of a bad
// descriptor both say ERROR_INVALID_HANDLE.
TEST_F(HandleLifetimes, AClosedFileNoLongerReadsOrCloses) {
  std::string path = UniqueName("handles") + ".txt";
  ASSERT_TRUE(std::ofstream(path, std::ios::binary) << "report");
  HFILE file = _lopen(path.c_str(), OF_READ);
  ASSERT_NE(file, HFILE_ERROR);
  char bytes[16];
  EXPECT_EQ(_lread(file, bytes, sizeof bytes), 6u);
  EXPECT_EQ(_lread(file, bytes, sizeof bytes), 0u);  // the end is no error
  ASSERT_EQ(_lclose(file), 0);
  SetLastError(0xdeadbeef);
  EXPECT_EQ(_lread(file, bytes, sizeof bytes), static_cast<UINT>(HFILE_ERROR));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  SetLastError(0xdeadbeef);
  EXPECT_EQ(_lclose(file), HFILE_ERROR);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_TRUE(DeleteFileA(path.c_str()));
}

// Each release call takes only its own kind of handle, so an owner that
// holds the wrong one cannot release another object by mistake.
TEST_F(HandleLifetimes, HandlesOfDifferentKindsNeverShareAValueOrARelease) {
  REQUIRE_PRINTER();
  long before = OpenHandleCount();
  HDC dc = CreateDCA("WINSPOOL", kPrinter, nullptr, nullptr);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 16);
  LOGFONTA logFont{};
  HFONT font = CreateFontIndirectA(&logFont);
  HANDLE printer = nullptr;
  char name[] = "PDF";
  ASSERT_TRUE(OpenPrinterA(name, &printer, nullptr));
  std::set<const void*> values{dc, block, font, printer};
  EXPECT_EQ(values.size(), 4u);
  EXPECT_EQ(values.count(nullptr), 0u);

  EXPECT_FALSE(DeleteDC(reinterpret_cast<HDC>(printer)));
  EXPECT_FALSE(ClosePrinter(block));
  EXPECT_FALSE(ClosePrinter(reinterpret_cast<HANDLE>(dc)));

  EXPECT_TRUE(ClosePrinter(printer));
  EXPECT_TRUE(DeleteObject(font));
  EXPECT_EQ(GlobalFree(block), nullptr);
  EXPECT_TRUE(DeleteDC(dc));
  if (before >= 0) {
    EXPECT_EQ(OpenHandleCount(), before);
  }
}

}  // namespace
}  // namespace conformance
