// The regedit export reader: both export formats, every value type the
// library may read, and what it must skip.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/linux/registry_file.h"

namespace {

using linux_platform::ParseRegistryText;
using linux_platform::RegistryFile;

// The text in UTF-16 with a byte order mark, as regedit writes version 5.
std::string Utf16(const std::u16string& text) {
  std::string bytes = "\xFF\xFE";
  for (char16_t unit : text) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
  }
  return bytes;
}

const linux_platform::RegistryValue* Value(const RegistryFile& registry, const std::string& key,
                                           const std::string& name) {
  auto values = registry.values.find(key);
  if (values == registry.values.end()) return nullptr;
  auto value = values->second.find(name);
  return value == values->second.end() ? nullptr : &value->second;
}

TEST(RegistryFile, ReadsAVersion5ExportInUtf16) {
  std::u16string text =
      u"Windows Registry Editor Version 5.00\r\n\r\n"
      u"[HKEY_CURRENT_USER\\Software\\Plenwick\\Test]\r\n"
      u"\"Greeting\"=\"Hello from the registry\"\r\n"
      u"@=\"Plenwick test key\"\r\n"
      u"\"Quoted\"=\"a \\\"b\\\" c\\\\d\"\r\n"
      u"\"Euro\"=\"\u20ac \u00e9 \u4e2d\"\r\n"
      u"\"Folder\"=hex(2):25,00,54,00,45,00,\\\r\n"
      u"  4d,00,50,00,25,00,00,00\r\n"
      u"\"Count\"=dword:0000002a\r\n"
      u"\"Blob\"=hex:01,02,ff\r\n";
  RegistryFile registry;
  ASSERT_TRUE(ParseRegistryText(Utf16(text), registry));
  const std::string key = "HKEY_CURRENT_USER\\SOFTWARE\\PLENWICK\\TEST";
  EXPECT_TRUE(registry.keys.count(key));
  EXPECT_TRUE(registry.keys.count("HKEY_CURRENT_USER\\SOFTWARE")) << "parents exist";
  struct Expected {
    const char* name;
    DWORD type;
    std::string data;
  } cases[] = {
      {"GREETING", REG_SZ, std::string("Hello from the registry\0", 24)},
      {"", REG_SZ, std::string("Plenwick test key\0", 18)},
      {"QUOTED", REG_SZ, std::string("a \"b\" c\\d\0", 10)},
      // Handed out in UTF-8, this platform's ANSI code page: nothing is lost.
      {"EURO", REG_SZ, std::string("\xE2\x82\xAC \xC3\xA9 \xE4\xB8\xAD\0", 11)},
      {"FOLDER", REG_EXPAND_SZ, std::string("%TEMP%\0", 7)},
      {"COUNT", REG_DWORD, std::string("\x2A\0\0\0", 4)},
      {"BLOB", REG_BINARY, std::string("\x01\x02\xFF", 3)},
  };
  for (const Expected& expected : cases) {
    const auto* value = Value(registry, key, expected.name);
    ASSERT_NE(value, nullptr) << expected.name;
    EXPECT_EQ(value->type, expected.type) << expected.name;
    EXPECT_EQ(value->data, expected.data) << expected.name;
  }
}

// A REGEDIT4 export is in code page 1252; its text is handed out in UTF-8.
TEST(RegistryFile, ReadsARegedit4ExportInTheAnsiCodePage) {
  std::string text =
      "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\A]\n\"Name\"=\"caf\xE9 \x80 5\"\n"
      "\"Path\"=hex(2):43,3a,5c,e9,00\n";
  RegistryFile registry;
  ASSERT_TRUE(ParseRegistryText(text, registry));
  const std::string key = "HKEY_LOCAL_MACHINE\\SOFTWARE\\A";
  EXPECT_EQ(Value(registry, key, "NAME")->data, std::string("caf\xC3\xA9 \xE2\x82\xAC 5\0", 12));
  EXPECT_EQ(Value(registry, key, "PATH")->data, std::string("C:\\\xC3\xA9\0", 6));
}

TEST(RegistryFile, SkipsWhatItCannotRead) {
  std::string text =
      "REGEDIT4\n\"Orphan\"=\"before any key\"\n[HKEY_CURRENT_USER\\K]\n; a comment\n"
      "\"Bad\"=dword:zz\n\"Odd\"=hex(2):4g\n\"Open=\"no end\n\"Good\"=\"yes\"\n"
      "[-HKEY_CURRENT_USER\\Gone]\n\"Lost\"=\"x\"\n";
  RegistryFile registry;
  ASSERT_TRUE(ParseRegistryText(text, registry));
  const std::string key = "HKEY_CURRENT_USER\\K";
  EXPECT_EQ(registry.values[key].size(), 1u);
  EXPECT_NE(Value(registry, key, "GOOD"), nullptr);
  EXPECT_FALSE(registry.keys.count("HKEY_CURRENT_USER\\GONE"));
}

TEST(RegistryFile, RefusesWhatIsNoExport) {
  for (std::string text : {"", "[HKEY_CURRENT_USER\\K]\n", "REGEDIT5\n", "\xFF\xFE"}) {
    RegistryFile registry;
    EXPECT_FALSE(ParseRegistryText(text, registry)) << text;
  }
}

// A version 5 export that an editor saved again as UTF-8 or ANSI still
// holds its hex(2) and hex(7) data as UTF-16.
TEST(RegistryFile, ReadsHexStringsOfAVersion5ExportInAnyEncoding) {
  std::string body =
      "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\K]\r\n"
      "\"Temp\"=hex(2):25,00,54,00,45,00,4d,00,50,00,25,00,5c,00,78,00,00,00\r\n"
      "\"List\"=hex(7):61,00,00,00,62,00,00,00,00,00\r\n";
  for (const std::string& text : {"\xEF\xBB\xBF" + body, body}) {
    RegistryFile registry;
    ASSERT_TRUE(ParseRegistryText(text, registry));
    const auto* temp = Value(registry, "HKEY_CURRENT_USER\\K", "TEMP");
    const auto* list = Value(registry, "HKEY_CURRENT_USER\\K", "LIST");
    ASSERT_NE(temp, nullptr);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(temp->data, std::string("%TEMP%\\x\0", 9));
    EXPECT_EQ(list->data, std::string("a\0b\0\0", 5));
  }
}

// An export saved as UTF-8 with bytes that are no UTF-8 reads them as the
// code page conversions do, one U+FFFD for each byte that starts no valid
// sequence, whatever pieces the file comes in.
TEST(RegistryFile, ReadsBrokenUtf8AsTheConversionsDo) {
  const struct {
    const char* bytes;
    const char* read;  // in UTF-8, U+FFFD as EF BF BD
  } cases[] = {
      {"caf\xC3\xA9", "caf\xC3\xA9"},
      {"a\x80z", "a\xEF\xBF\xBDz"},                                  // a stray continuation
      {"a\xC0\xAFz", "a\xEF\xBF\xBD\xEF\xBF\xBDz"},                  // an overlong '/'
      {"a\xE2\x82z", "a\xEF\xBF\xBD\xEF\xBF\xBDz"},                  // cut short
      {"a\xED\xA0\x80z", "a\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBDz"},  // a surrogate
      {"a\xF4\x90\x80\x80z", "a\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBDz"},
      {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},
  };
  for (const auto& c : cases) {
    std::string text =
        "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\K]\r\n"
        "\"Name\"=\"" +
        std::string(c.bytes) + "\"\r\n";
    for (size_t piece : {size_t{0}, size_t{1}, size_t{2}}) {
      RegistryFile registry;
      ASSERT_TRUE(ParseRegistryText(text, registry, piece));
      const auto* value = Value(registry, "HKEY_CURRENT_USER\\K", "NAME");
      ASSERT_NE(value, nullptr) << c.bytes;
      EXPECT_EQ(value->data, std::string(c.read) + '\0') << c.bytes << " in pieces of " << piece;
    }
  }
}

// Only a value's line goes on in the next one: a comment naming a folder
// ends with its backslash.
TEST(RegistryFile, ACommentEndingInABackslashEndsThere) {
  std::string text =
      "REGEDIT4\r\n\r\n; settings for C:\\Plenwick\\\r\n[HKEY_CURRENT_USER\\P]\r\n"
      "\"Name\"=\"x\"\r\n\"Wrapped\"=hex:01,\\\r\n  02\r\n";
  RegistryFile registry;
  ASSERT_TRUE(ParseRegistryText(text, registry));
  EXPECT_TRUE(registry.keys.count("HKEY_CURRENT_USER\\P"));
  ASSERT_NE(Value(registry, "HKEY_CURRENT_USER\\P", "NAME"), nullptr);
  ASSERT_NE(Value(registry, "HKEY_CURRENT_USER\\P", "WRAPPED"), nullptr);
  EXPECT_EQ(Value(registry, "HKEY_CURRENT_USER\\P", "WRAPPED")->data, "\x01\x02");
}

TEST(RegistryFile, RefusesNumbersBeyond32Bits) {
  struct Case {
    const char* data;
    bool read;
    DWORD type;
  } cases[] = {
      {"dword:-1", false, 0},
      {"dword:1ffffffff", false, 0},
      {"dword:+1", false, 0},
      {"dword:0x1", false, 0},
      {"dword:", false, 0},
      {"dword:1 2", false, 0},
      {"dword:ffffffff", true, REG_DWORD},
      {"dword:7", true, REG_DWORD},
      {"hex(100000001):41,00", false, 0},
      {"hex(-1):41,00", false, 0},
      {"hex():41,00", false, 0},
      {"hex(00000003):41", true, REG_BINARY},
      {"hex(ffffffff):41", true, 0xffffffff},
  };
  for (const Case& c : cases) {
    RegistryFile registry;
    ASSERT_TRUE(ParseRegistryText(
        std::string("REGEDIT4\n[HKEY_CURRENT_USER\\N]\n\"V\"=") + c.data + "\n", registry));
    const auto* value = Value(registry, "HKEY_CURRENT_USER\\N", "V");
    EXPECT_EQ(value != nullptr, c.read) << c.data;
    if (value && c.read) {
      EXPECT_EQ(value->type, c.type) << c.data;
    }
  }
}

// A line longer than the reader holds is skipped; the lines after it are
// read.
TEST(RegistryFile, SkipsALineLongerThanItHolds) {
  std::string text = "REGEDIT4\n[HKEY_CURRENT_USER\\L]\n\"Long\"=\"";
  text.append(linux_platform::kLongestRegistryLine, 'x');
  text += "\"\n\"After\"=\"yes\"\n";
  RegistryFile registry;
  ASSERT_TRUE(ParseRegistryText(text, registry));
  EXPECT_EQ(Value(registry, "HKEY_CURRENT_USER\\L", "LONG"), nullptr);
  ASSERT_NE(Value(registry, "HKEY_CURRENT_USER\\L", "AFTER"), nullptr);
}

// Only a regular file is read as the registry: a FIFO would hold the
// caller until a writer came, and /dev/zero would never end. Either reads
// as no file at once.
TEST(RegistryFile, OnlyARegularFileIsRead) {
  char folder[] = "/tmp/plenwick-registry-XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  std::string fifo = std::string(folder) + "/registry.reg";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string& path : {fifo, std::string("/dev/zero")}) {
    SCOPED_TRACE(path);
    setenv("PLENWICK_REGISTRY", path.c_str(), 1);
    HKEY key = nullptr;
    EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Wanted", 0, KEY_READ, &key), 0);
  }
  unsetenv("PLENWICK_REGISTRY");
  remove(fifo.c_str());
  rmdir(folder);
}

// The address sanitizer reserves more address space than any limit allows.
#ifndef PLENWICK_SANITIZED
// The process's address space so far, in bytes.
size_t AddressSpace() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmSize:", 0) == 0) return std::strtoull(line.c_str() + 7, nullptr, 10) * 1024;
  }
  return 0;
}

// A large export is read through a buffer: a process that has 64 MB to
// spare reads a 17 MB export, again and again.
TEST(RegistryFile, ReadsALargeExportInBoundedMemory) {
  char path[] = "/tmp/registry-XXXXXX";
  int fd = mkstemp(path);
  ASSERT_GE(fd, 0);
  FILE* file = fdopen(fd, "wb");
  fputs("\xFF\xFE", file);
  auto put16 = [&](const std::string& ascii) {
    for (char c : ascii) {
      fputc(c, file);
      fputc(0, file);
    }
  };
  put16("Windows Registry Editor Version 5.00\r\n\r\n");
  for (int i = 0; i < 100000; ++i) {
    put16("[HKEY_CURRENT_USER\\Filler\\K" + std::to_string(i) + "]\r\n\"Value\"=\"" +
          std::string(60, 'v') + "\"\r\n");
  }
  put16("[HKEY_CURRENT_USER\\Software\\Wanted]\r\n\"Name\"=\"found\"\r\n");
  fclose(file);
  setenv("PLENWICK_REGISTRY", path, 1);
  EXPECT_EXIT(
      {
        rlimit limit{};
        limit.rlim_cur = limit.rlim_max = AddressSpace() + (size_t{64} << 20);
        setrlimit(RLIMIT_AS, &limit);
        for (int round = 0; round < 2; ++round) {
          HKEY key = nullptr;
          if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Wanted", 0, KEY_READ, &key) != 0)
            _exit(1);
          char data[16] = {};
          DWORD size = sizeof data;
          if (RegQueryValueExA(key, "Name", nullptr, nullptr, reinterpret_cast<LPBYTE>(data),
                               &size) != 0 ||
              std::string(data) != "found") {
            _exit(2);
          }
          RegCloseKey(key);
        }
        _exit(0);
      },
      ::testing::ExitedWithCode(0), "");
  unsetenv("PLENWICK_REGISTRY");
  remove(path);
}
#endif

}  // namespace
