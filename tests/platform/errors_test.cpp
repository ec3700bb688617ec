// Last-error values of the calls whose failures the library reports, and
// the system texts it reports them with. The last error is primed with a
// value no call sets, so that one left by an earlier call cannot pass.
#include <fstream>
#include <cstring>
#include <string>

#include "conformance.h"

namespace conformance {
namespace {

constexpr DWORD kPrimed = 0xdeadbeef;

using LastErrors = ConformanceTest;

TEST_F(LastErrors, AnUnknownPrinterDoesNotOpen) {
  REQUIRE_PRINTER();
  char name[] = "No Such Printer";
  HANDLE printer = reinterpret_cast<HANDLE>(1);
  SetLastError(kPrimed);
  EXPECT_FALSE(OpenPrinterA(name, &printer, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PRINTER_NAME));
}

TEST_F(LastErrors, AReportFileThatDoesNotOpenSaysWhy) {
  std::string file = UniqueName("errors") + ".txt";
  ASSERT_TRUE(std::ofstream(file, std::ios::binary));
  const struct {
    std::string path;
    DWORD error;
  } cases[] = {
      {"no such report.txt", ERROR_FILE_NOT_FOUND},         // ENOENT
      {"no such folder/report.txt", ERROR_PATH_NOT_FOUND},  // ENOENT of a folder
      {file + "/report.txt", ERROR_PATH_NOT_FOUND},         // ENOTDIR
      {".", ERROR_ACCESS_DENIED},                           // EISDIR: a folder is no file
      {"./", ERROR_ACCESS_DENIED},                          // named with its slash too
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    SetLastError(kPrimed);
    HFILE opened = _lopen(c.path.c_str(), OF_READ);
    EXPECT_EQ(opened, HFILE_ERROR);
    if (opened != HFILE_ERROR) _lclose(opened);
    EXPECT_EQ(GetLastError(), c.error);
  }
  EXPECT_TRUE(DeleteFileA(file.c_str()));
}

TEST_F(LastErrors, AMissingFileIsNotDeleted) {
  SetLastError(kPrimed);
  EXPECT_FALSE(DeleteFileA("no such report.txt"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST_F(LastErrors, AMissingRegistryKeyDoesNotOpen) {
  HKEY key = nullptr;
  EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\No Such Key", 0, KEY_QUERY_VALUE, &key),
            ERROR_FILE_NOT_FOUND);
}

std::string SystemText(DWORD code) {
  char text[512] = "";
  DWORD length =
      FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                     MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), text, sizeof text, nullptr);
  return std::string(text, length);
}

// A name longer than a path may be is refused as too long
// (ERROR_FILENAME_EXCED_RANGE), and that error has its text.
TEST_F(LastErrors, AnOverlongNameIsRefused) {
  constexpr DWORD kNameTooLong = 206;
  std::string name(300, 'r');
  SetLastError(kPrimed);
  EXPECT_EQ(_lopen(name.c_str(), OF_READ), HFILE_ERROR);
  EXPECT_EQ(GetLastError(), kNameTooLong);
  EXPECT_GT(SystemText(kNameTooLong).size(), 2u);
}

// Every error the library's calls set has a text, one line ending in CRLF
// as the system's texts do.
TEST_F(LastErrors, EveryErrorTheCallsSetHasASystemText) {
  const DWORD codes[] = {ERROR_SUCCESS,           ERROR_FILE_NOT_FOUND,
                         ERROR_PATH_NOT_FOUND,    ERROR_ACCESS_DENIED,
                         ERROR_INVALID_HANDLE,    ERROR_NOT_ENOUGH_MEMORY,
                         ERROR_INVALID_PARAMETER, ERROR_INVALID_PRINTER_NAME};
  for (DWORD code : codes) {
    SCOPED_TRACE(code);
    std::string text = SystemText(code);
    ASSERT_GT(text.size(), 2u);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    EXPECT_EQ(text.find('\n'), text.size() - 1);
  }
}

TEST_F(LastErrors, FormatMessageRefusesWhatItCannotGive) {
  char small[4];
  SetLastError(kPrimed);
  EXPECT_EQ(FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                           ERROR_FILE_NOT_FOUND, 0, small, sizeof small, nullptr),
            0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));

  char text[64];
  SetLastError(kPrimed);
  EXPECT_EQ(FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                           0x2FFFFFFF, 0, text, sizeof text, nullptr),
            0u);
  EXPECT_EQ(GetLastError(), 317u);  // ERROR_MR_MID_NOT_FOUND

  // A text of its own, handed back with LocalFree.
  LPSTR allocated = nullptr;
  DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, ERROR_ACCESS_DENIED, 0, reinterpret_cast<LPSTR>(&allocated), 0, nullptr);
  ASSERT_GT(length, 0u);
  ASSERT_NE(allocated, nullptr);
  EXPECT_EQ(strlen(allocated), length);
  EXPECT_EQ(LocalFree(allocated), nullptr);
}

}  // namespace
}  // namespace conformance
