#include "platform/linux/registry_file.h"

#include <cctype>
#include <fstream>
#include <sstream>
#include <vector>

namespace linux_platform {
namespace {

using Text = std::u32string;

constexpr char kVersion4[] = "REGEDIT4";
constexpr char kVersion5[] = "Windows Registry Editor Version 5.00";

Text DecodeUtf16(const std::string& bytes, size_t start) {
  Text text;
  for (size_t i = start; i + 1 < bytes.size(); i += 2) {
    uint32_t unit = static_cast<unsigned char>(bytes[i]) | static_cast<unsigned char>(bytes[i + 1]) << 8;
    if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < bytes.size()) {
      uint32_t low = static_cast<unsigned char>(bytes[i + 2]) | static_cast<unsigned char>(bytes[i + 3]) << 8;
      if (low >= 0xDC00 && low < 0xE000) {
        unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
        i += 2;
      }
    }
    text.push_back(unit);
  }
  return text;
}

Text DecodeUtf8(const std::string& bytes, size_t start) {
  Text text;
  for (size_t i = start; i < bytes.size();) {
    unsigned char c = static_cast<unsigned char>(bytes[i]);
    int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    uint32_t code = extra == 0 ? c : c & (0x3F >> extra);
    size_t end = i + 1 + extra;
    if (end > bytes.size()) break;
    for (size_t j = i + 1; j < end; ++j) code = code << 6 | (static_cast<unsigned char>(bytes[j]) & 0x3F);
    text.push_back(code);
    i = end;
  }
  return text;
}

Text DecodeAnsi(const std::string& bytes) {
  Text text;
  for (unsigned char c : bytes) text.push_back(winapi::AnsiToUnicode(c));
  return text;
}

// Text in this platform's ANSI code page, UTF-8: what the library is handed
// by the ANSI registry functions and gives on to Java as it is.
std::string ToAnsi(const Text& text) {
  std::string bytes;
  for (char32_t c : text) winapi::AppendUtf8(bytes, c);
  return bytes;
}

Text Trimmed(const Text& text) {
  size_t start = 0, end = text.size();
  while (start < end && (text[start] == ' ' || text[start] == '\t' || text[start] == '\r')) ++start;
  while (end > start && (text[end - 1] == ' ' || text[end - 1] == '\t' || text[end - 1] == '\r')) --end;
  return text.substr(start, end - start);
}

// Logical lines: a line ending in a backslash goes on in the next one, as
// regedit wraps long hex values.
std::vector<Text> LogicalLines(const Text& text) {
  std::vector<Text> lines;
  Text line;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(U'\n', start);
    if (end == Text::npos) end = text.size();
    Text part = Trimmed(text.substr(start, end - start));
    if (!part.empty() && part.back() == U'\\') {
      part.pop_back();
      line += part;
    } else {
      lines.push_back(line + part);
      line.clear();
    }
    start = end + 1;
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

// A quoted string at text[at] (the opening quote), with \\ and \" undone;
// at ends after the closing quote.
bool ReadQuoted(const Text& text, size_t& at, Text& out) {
  if (at >= text.size() || text[at] != U'"') return false;
  for (++at; at < text.size(); ++at) {
    char32_t c = text[at];
    if (c == U'\\' && at + 1 < text.size()) {
      out.push_back(text[++at]);
    } else if (c == U'"') {
      ++at;
      return true;
    } else {
      out.push_back(c);
    }
  }
  return false;
}

bool ReadHexBytes(const Text& text, std::string& bytes) {
  std::string digits;
  for (char32_t c : text) {
    if (c == U',' || c == U' ' || c == U'\t') {
      if (!digits.empty()) bytes.push_back(static_cast<char>(std::stoi(digits, nullptr, 16)));
      digits.clear();
    } else if (c < 0x80 && isxdigit(static_cast<int>(c)) && digits.size() < 2) {
      digits.push_back(static_cast<char>(c));
    } else {
      return false;
    }
  }
  if (!digits.empty()) bytes.push_back(static_cast<char>(std::stoi(digits, nullptr, 16)));
  return true;
}

// String data of a hex(2) or hex(7) value: UTF-16 in a version 5 export,
// ANSI bytes in a REGEDIT4 one; handed out in the ANSI code page.
std::string StringBytes(const std::string& raw, bool unicode) {
  return ToAnsi(unicode ? DecodeUtf16(raw, 0) : DecodeAnsi(raw));
}

bool ParseData(const Text& text, bool unicode, RegistryValue& value) {
  size_t at = 0;
  if (!text.empty() && text[0] == U'"') {
    Text string;
    if (!ReadQuoted(text, at, string)) return false;
    value.type = REG_SZ;
    value.data = ToAnsi(string) + '\0';
    return true;
  }
  std::string lower = UpperCase(ToAnsi(text.substr(0, text.find(U':') + 1)));
  Text rest = text.substr(text.find(U':') + 1);
  if (lower == "DWORD:") {
    uint32_t number = static_cast<uint32_t>(std::stoul(ToAnsi(rest), nullptr, 16));
    value.type = REG_DWORD;
    value.data.assign(reinterpret_cast<const char*>(&number), 4);
    return true;
  }
  DWORD type = REG_BINARY;
  if (lower.rfind("HEX(", 0) == 0) {
    type = static_cast<DWORD>(std::stoul(lower.substr(4), nullptr, 16));
  } else if (lower != "HEX:") {
    return false;
  }
  std::string raw;
  if (!ReadHexBytes(rest, raw)) return false;
  value.type = type;
  value.data = (type == REG_EXPAND_SZ || type == REG_MULTI_SZ || type == REG_SZ)
                   ? StringBytes(raw, unicode)
                   : raw;
  return true;
}

void AddKey(RegistryFile& registry, const std::string& path) {
  // Every key above it exists too.
  for (size_t cut = path.find('\\'); cut != std::string::npos; cut = path.find('\\', cut + 1)) {
    registry.keys.insert(path.substr(0, cut));
  }
  registry.keys.insert(path);
}

}  // namespace

std::string UpperCase(std::string text) {
  for (char& c : text) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  return text;
}

bool ParseRegistryText(const std::string& bytes, RegistryFile& registry) {
  bool unicode = bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE';
  Text text = unicode ? DecodeUtf16(bytes, 2)
              : bytes.rfind("\xEF\xBB\xBF", 0) == 0 ? DecodeUtf8(bytes, 3)
                                                    : DecodeAnsi(bytes);
  std::vector<Text> lines = LogicalLines(text);
  if (lines.empty()) return false;
  std::string header = ToAnsi(lines[0]);
  if (header != kVersion4 && header != kVersion5) return false;
  unicode = header == kVersion5 && unicode;
  std::string key;
  for (size_t i = 1; i < lines.size(); ++i) {
    const Text& line = lines[i];
    if (line.empty() || line[0] == U';') continue;
    if (line[0] == U'[') {
      size_t close = line.rfind(U']');
      // "[-KEY]" deletes a key: nothing of it is read.
      bool deletion = line.size() > 1 && line[1] == U'-';
      key = close == Text::npos || deletion ? "" : UpperCase(ToAnsi(line.substr(1, close - 1)));
      if (!key.empty()) AddKey(registry, key);
      continue;
    }
    if (key.empty()) continue;
    size_t at = 0;
    Text name;
    if (line[0] == U'@') {
      at = 1;
    } else if (!ReadQuoted(line, at, name)) {
      continue;
    }
    if (at >= line.size() || line[at] != U'=') continue;
    RegistryValue value;
    bool parsed = false;
    try {
      parsed = ParseData(line.substr(at + 1), unicode, value);
    } catch (const std::exception&) {
      parsed = false;  // a number that does not parse: the value is skipped
    }
    if (parsed) registry.values[key][UpperCase(ToAnsi(name))] = value;
  }
  return true;
}

bool ReadRegistryFile(const std::string& path, RegistryFile& registry) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return ParseRegistryText(bytes.str(), registry);
}

}  // namespace linux_platform
