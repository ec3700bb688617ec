// The regedit export reader: both export formats, every value type the
// library may read, and what it must skip.
#include <gtest/gtest.h>

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

}  // namespace
