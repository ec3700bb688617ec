#include "platform/linux/registry_file.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

#include "platform/handles.h"

namespace linux_platform {
namespace {

using Text = std::u32string;

constexpr char kVersion4[] = "REGEDIT4";
constexpr char kVersion5[] = "Windows Registry Editor Version 5.00";

// Text in this platform's ANSI code page, UTF-8: what the library is handed
// by the ANSI registry functions and gives on to Java as it is.
std::string ToAnsi(const Text& text) {
  std::string bytes;
  for (char32_t c : text) winapi::AppendUtf8(bytes, c);
  return bytes;
}

bool IsBlank(char32_t c) { return c == U' ' || c == U'\t' || c == U'\r'; }

int HexDigit(char32_t c) {
  if (c >= U'0' && c <= U'9') return static_cast<int>(c - U'0');
  if (c >= U'a' && c <= U'f') return static_cast<int>(c - U'a' + 10);
  if (c >= U'A' && c <= U'F') return static_cast<int>(c - U'A' + 10);
  return -1;
}

// One to eight hex digits and nothing else, as regedit takes a dword and a
// value type: a sign, a ninth digit or anything after the digits is no
// number of 32 bits.
bool ReadHex32(const Text& text, uint32_t& number) {
  if (text.empty() || text.size() > 8) return false;
  number = 0;
  for (char32_t c : text) {
    int digit = HexDigit(c);
    if (digit < 0) return false;
    number = number << 4 | static_cast<uint32_t>(digit);
  }
  return true;
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

// Bytes written as hex pairs separated by commas.
bool ReadHexBytes(const Text& text, std::string& bytes) {
  int digits = 0, byte = 0;
  for (char32_t c : text) {
    if (c == U',' || c == U' ' || c == U'\t') {
      if (digits > 0) bytes.push_back(static_cast<char>(byte));
      digits = byte = 0;
    } else if (HexDigit(c) >= 0 && digits < 2) {
      byte = byte << 4 | HexDigit(c);
      ++digits;
    } else {
      return false;
    }
  }
  if (digits > 0) bytes.push_back(static_cast<char>(byte));
  return true;
}

// String data of a hex(2) or hex(7) value: UTF-16LE in a version 5 export,
// whatever encoding the file itself was saved in; code page 1252 bytes in a
// REGEDIT4 one. Handed out in the ANSI code page.
std::string StringBytes(const std::string& raw, bool utf16) {
  Text text;
  if (!utf16) {
    for (unsigned char c : raw) text.push_back(winapi::AnsiToUnicode(c));
    return ToAnsi(text);
  }
  for (size_t i = 0; i + 1 < raw.size(); i += 2) {
    char32_t unit = static_cast<unsigned char>(raw[i]) | static_cast<unsigned char>(raw[i + 1])
                                                             << 8;
    if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < raw.size()) {
      char32_t low = static_cast<unsigned char>(raw[i + 2]) | static_cast<unsigned char>(raw[i + 3])
                                                                  << 8;
      if (low >= 0xDC00 && low < 0xE000) {
        unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
        i += 2;
      }
    }
    text.push_back(unit);
  }
  return ToAnsi(text);
}

bool ParseData(const Text& text, bool utf16Strings, RegistryValue& value) {
  if (!text.empty() && text[0] == U'"') {
    size_t at = 0;
    Text string;
    if (!ReadQuoted(text, at, string)) return false;
    value.type = REG_SZ;
    value.data = ToAnsi(string) + '\0';
    return true;
  }
  size_t colon = text.find(U':');
  if (colon == Text::npos) return false;
  std::string kind = UpperCase(ToAnsi(text.substr(0, colon)));
  Text rest = text.substr(colon + 1);
  if (kind == "DWORD") {
    uint32_t number = 0;
    if (!ReadHex32(rest, number)) return false;
    value.type = REG_DWORD;
    value.data.assign(reinterpret_cast<const char*>(&number), 4);
    return true;
  }
  uint32_t type = REG_BINARY;
  if (kind.size() > 5 && kind.compare(0, 4, "HEX(") == 0 && kind.back() == ')') {
    if (!ReadHex32(text.substr(4, colon - 5), type)) return false;
  } else if (kind != "HEX") {
    return false;
  }
  std::string raw;
  if (!ReadHexBytes(rest, raw)) return false;
  value.type = type;
  value.data = (type == REG_EXPAND_SZ || type == REG_MULTI_SZ || type == REG_SZ)
                   ? StringBytes(raw, utf16Strings)
                   : raw;
  return true;
}

// Where the keys and values an export names go.
class RegistrySink {
 public:
  virtual ~RegistrySink() = default;
  virtual void Key(const std::string& path) = 0;
  virtual void Value(const std::string& key, const std::string& name, RegistryValue value) = 0;
};

// Reads an export handed over in pieces of any size: decodes the file's
// encoding, joins the logical lines and parses each as it ends, so that no
// more than one logical line is held at a time.
class RegistryScanner {
 public:
  explicit RegistryScanner(RegistrySink& sink) : sink_(sink) {}

  void Feed(const char* data, size_t size) {
    size_t at = 0;
    while (encoding_ == Encoding::kUnknown && at < size) {
      head_.push_back(data[at++]);
      if (head_.size() == 3) Decide();
    }
    if (encoding_ != Encoding::kUnknown) Decode(data + at, size - at);
  }

  // True when the text was a registry export.
  bool Finish() {
    if (encoding_ == Encoding::kUnknown) Decide();
    if (encoding_ == Encoding::kUtf8) utf8_.Finish([this](uint32_t c) { Put(c); });
    if (encoding_ == Encoding::kUtf16 && high_ != 0) Put(std::exchange(high_, 0));
    EndPhysicalLine();
    if (!logical_.empty() || overlong_) EndLogicalLine();
    return state_ == State::kBody;
  }

 private:
  enum class Encoding { kUnknown, kAnsi, kUtf8, kUtf16 };
  enum class State { kHeader, kBody, kRefused };

  // The first bytes say how the file is encoded: UTF-16 little-endian and
  // UTF-8 start with their byte order marks, anything else is ANSI.
  void Decide() {
    std::string head = std::move(head_);
    size_t skip = 0;
    if (head.size() >= 2 && head[0] == '\xFF' && head[1] == '\xFE') {
      encoding_ = Encoding::kUtf16;
      skip = 2;
    } else if (head.compare(0, 3, "\xEF\xBB\xBF") == 0) {
      encoding_ = Encoding::kUtf8;
      skip = 3;
    } else {
      encoding_ = Encoding::kAnsi;
    }
    Decode(head.data() + skip, head.size() - skip);
  }

  void Decode(const char* data, size_t size) {
    // What follows a text that is no export is not read.
    if (state_ == State::kRefused) return;
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(data);
    switch (encoding_) {
      case Encoding::kAnsi:
        for (size_t i = 0; i < size; ++i) Put(winapi::AnsiToUnicode(bytes[i]));
        break;
      case Encoding::kUtf8:
        for (size_t i = 0; i < size; ++i) DecodeUtf8(bytes[i]);
        break;
      default:
        for (size_t i = 0; i < size; ++i) DecodeUtf16(bytes[i]);
        break;
    }
  }

  void DecodeUtf8(unsigned char byte) {
    utf8_.Put(byte, [this](uint32_t c) { Put(c); });
  }

  void DecodeUtf16(unsigned char byte) {
    if (!haveLowByte_) {
      lowByte_ = byte;
      haveLowByte_ = true;
      return;
    }
    haveLowByte_ = false;
    char32_t unit = lowByte_ | static_cast<char32_t>(byte) << 8;
    if (high_ != 0) {
      char32_t high = std::exchange(high_, 0);
      if (unit >= 0xDC00 && unit < 0xE000) {
        Put(0x10000 + ((high - 0xD800) << 10) + (unit - 0xDC00));
        return;
      }
      Put(high);
    }
    if (unit >= 0xD800 && unit < 0xDC00) {
      high_ = unit;
    } else {
      Put(unit);
    }
  }

  void Put(char32_t c) {
    if (c == U'\n') {
      EndPhysicalLine();
      return;
    }
    if (physical_.size() + logical_.size() >= kLongestRegistryLine) {
      overlong_ = true;
      return;
    }
    physical_.push_back(c);
  }

  // A physical line ending in a backslash goes on in the next one, as
  // regedit wraps long hex data. Only a value's line goes on: a comment or
  // a key header that happens to end in a backslash (a folder name) ends
  // where it ends.
  void EndPhysicalLine() {
    size_t start = 0, end = physical_.size();
    while (start < end && IsBlank(physical_[start])) ++start;
    while (end > start && IsBlank(physical_[end - 1])) --end;
    bool continues = end > start && physical_[end - 1] == U'\\';
    if (continues) --end;
    bool startsLine = logical_.empty() && !overlong_;
    logical_.append(physical_, start, end - start);
    physical_.clear();
    if (startsLine && state_ == State::kBody && !logical_.empty() && logical_[0] != U'"' &&
        logical_[0] != U'@') {
      continues = false;
    }
    if (!continues) EndLogicalLine();
  }

  void EndLogicalLine() {
    bool overlong = std::exchange(overlong_, false);
    if (state_ == State::kHeader) {
      std::string header = overlong ? std::string() : ToAnsi(logical_);
      bool version5 = header == kVersion5;
      state_ = version5 || header == kVersion4 ? State::kBody : State::kRefused;
      // String data in hex is UTF-16 in a version 5 export even when an
      // editor saved the file again as UTF-8 or ANSI.
      utf16Strings_ = version5;
    } else if (state_ == State::kBody && !overlong) {
      ParseLine(logical_);
    }
    logical_.clear();  // its room is kept for the next line
  }

  void ParseLine(const Text& line) {
    if (line.empty() || line[0] == U';') return;
    if (line[0] == U'[') {
      size_t close = line.rfind(U']');
      // "[-KEY]" deletes a key: nothing of it is read.
      bool deletion = line.size() > 1 && line[1] == U'-';
      key_ = close == Text::npos || deletion ? "" : UpperCase(ToAnsi(line.substr(1, close - 1)));
      if (!key_.empty()) sink_.Key(key_);
      return;
    }
    if (key_.empty()) return;
    size_t at = 0;
    Text name;
    if (line[0] == U'@') {
      at = 1;
    } else if (!ReadQuoted(line, at, name)) {
      return;
    }
    if (at >= line.size() || line[at] != U'=') return;
    RegistryValue value;
    // A value that does not parse is skipped.
    if (ParseData(line.substr(at + 1), utf16Strings_, value)) {
      sink_.Value(key_, UpperCase(ToAnsi(name)), std::move(value));
    }
  }

  RegistrySink& sink_;
  Encoding encoding_ = Encoding::kUnknown;
  State state_ = State::kHeader;
  std::string head_;
  bool utf16Strings_ = false;
  // Decoding state between pieces.
  winapi::Utf8Decoder utf8_;
  bool haveLowByte_ = false;
  unsigned char lowByte_ = 0;
  char32_t high_ = 0;
  Text physical_, logical_;
  bool overlong_ = false;
  std::string key_;
};

// Keeps everything: a whole export in memory.
class WholeFile : public RegistrySink {
 public:
  explicit WholeFile(RegistryFile& registry) : registry_(registry) {}
  void Key(const std::string& path) override {
    // Every key above it exists too; once one of them is known, so are
    // those above it.
    if (!registry_.keys.insert(path).second) return;
    for (size_t cut = path.rfind('\\'); cut != std::string::npos && cut > 0;
         cut = path.rfind('\\', cut - 1)) {
      if (!registry_.keys.insert(path.substr(0, cut)).second) return;
    }
  }
  void Value(const std::string& key, const std::string& name, RegistryValue value) override {
    registry_.values[key][name] = std::move(value);
  }

 private:
  RegistryFile& registry_;
};

// Keeps what the export says of one key.
class OneKey : public RegistrySink {
 public:
  OneKey(const std::string& path, RegistryKey& key) : path_(path), key_(key) {}
  void Key(const std::string& path) override {
    // A deeper key implies this one.
    if (path.compare(0, path_.size(), path_) == 0 &&
        (path.size() == path_.size() || path[path_.size()] == '\\')) {
      key_.exists = true;
    }
  }
  void Value(const std::string& key, const std::string& name, RegistryValue value) override {
    if (key == path_) key_.values[name] = std::move(value);
  }

 private:
  const std::string& path_;
  RegistryKey& key_;
};

bool Scan(const std::string& bytes, RegistrySink& sink, size_t pieceSize) {
  RegistryScanner scanner(sink);
  if (pieceSize == 0) pieceSize = bytes.size();
  for (size_t at = 0; at < bytes.size(); at += pieceSize) {
    scanner.Feed(bytes.data() + at, std::min(pieceSize, bytes.size() - at));
  }
  return scanner.Finish();
}

}  // namespace

std::string UpperCase(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

bool ParseRegistryText(const std::string& bytes, RegistryFile& registry, size_t pieceSize) {
  WholeFile sink(registry);
  return Scan(bytes, sink, pieceSize);
}

bool ParseRegistryKey(const std::string& bytes, const std::string& keyPath, RegistryKey& key,
                      size_t pieceSize) {
  key = RegistryKey();
  OneKey sink(keyPath, key);
  return Scan(bytes, sink, pieceSize);
}

bool ReadRegistryKey(const char* file, const std::string& keyPath, RegistryKey& key) {
  key = RegistryKey();
  try {
    plenwick::UniqueFile input(_lopen(file, OF_READ));
    // A FIFO or a device named as the file (/dev/zero) would never end.
    if (!input || GetFileType(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(input.get()))) !=
                      FILE_TYPE_DISK) {
      return false;
    }
    OneKey sink(keyPath, key);
    RegistryScanner scanner(sink);
    char buffer[32 * 1024];
    for (;;) {
      UINT got = _lread(input.get(), buffer, sizeof buffer);
      if (got == static_cast<UINT>(HFILE_ERROR)) return false;
      if (got == 0) break;
      scanner.Feed(buffer, got);
    }
    return scanner.Finish();
  } catch (const std::bad_alloc&) {
    // The one key's values did not fit in memory: as if the file could not
    // be read.
    key = RegistryKey();
    return false;
  }
}

}  // namespace linux_platform
