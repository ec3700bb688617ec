// The UTF-16 functions of both platforms without windows.h. Names are UTF-8
// beneath them (the encoding of POSIX file names, CUPS names and the
// registry export), so each converts its names once, here, and calls the
// platform's ANSI function of the same name; what a text value holds comes
// back from the ANSI code page, as Windows' own registry keeps it.
#include <cstring>
#include <string>

#include "common.h"

namespace {

// A UTF-16 name as UTF-8 for the length of a call; null stays null.
class Utf8Name {
 public:
  explicit Utf8Name(LPCWSTR name) : null_(name == nullptr) {
    if (null_ || name[0] == 0) return;
    int size = winapi::WideCharToMultiByteIn(CP_UTF8, CP_UTF8, name, -1, nullptr, 0, nullptr);
    if (size <= 0) return;
    text_.resize(static_cast<size_t>(size));
    winapi::WideCharToMultiByteIn(CP_UTF8, CP_UTF8, name, -1, &text_[0], size, nullptr);
    text_.resize(static_cast<size_t>(size) - 1);
  }
  LPCSTR get() const { return null_ ? nullptr : text_.c_str(); }

 private:
  bool null_;
  std::string text_;
};

bool IsText(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

// The UTF-16 bytes of stored ANSI text.
std::string WidenedText(const std::string& bytes) {
  std::string wide;
  int count = bytes.empty() ? 0
                            : MultiByteToWideChar(CP_ACP, 0, bytes.data(),
                                                  static_cast<int>(bytes.size()), nullptr, 0);
  if (count <= 0) return wide;
  wide.resize(static_cast<size_t>(count) * sizeof(WCHAR));
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()),
                      reinterpret_cast<LPWSTR>(&wide[0]), count);
  return wide;
}

}  // namespace

HANDLE CreateFileW(LPCWSTR path, DWORD, DWORD, void*, DWORD, DWORD, HANDLE) {
  HFILE file = _lopen(Utf8Name(path).get(), OF_READ);
  return file == HFILE_ERROR ? INVALID_HANDLE_VALUE
                             : reinterpret_cast<HANDLE>(static_cast<INT_PTR>(file));
}

BOOL DeleteFileW(LPCWSTR path) { return DeleteFileA(Utf8Name(path).get()); }

int StartDocW(HDC dc, const DOCINFOW* info) {
  if (!info) return StartDocA(dc, nullptr);
  Utf8Name title(info->lpszDocName);
  Utf8Name output(info->lpszOutput);
  Utf8Name type(info->lpszDatatype);
  DOCINFOA narrow{info->cbSize, title.get(), output.get(), type.get(), info->fwType};
  return StartDocA(dc, &narrow);
}

BOOL ShellExecuteExW(SHELLEXECUTEINFOW* info) {
  if (!info) return ShellExecuteExA(nullptr);
  Utf8Name verb(info->lpVerb);
  Utf8Name file(info->lpFile);
  Utf8Name parameters(info->lpParameters);
  Utf8Name directory(info->lpDirectory);
  Utf8Name className(info->lpClass);
  SHELLEXECUTEINFOA narrow;
  memset(&narrow, 0, sizeof narrow);
  narrow.cbSize = info->cbSize == sizeof *info ? sizeof narrow : info->cbSize;
  narrow.fMask = info->fMask;
  narrow.hwnd = info->hwnd;
  narrow.lpVerb = verb.get();
  narrow.lpFile = file.get();
  narrow.lpParameters = parameters.get();
  narrow.lpDirectory = directory.get();
  narrow.nShow = info->nShow;
  narrow.lpIDList = info->lpIDList;
  narrow.lpClass = className.get();
  narrow.hkeyClass = info->hkeyClass;
  narrow.dwHotKey = info->dwHotKey;
  narrow.hIcon = info->hIcon;
  BOOL launched = ShellExecuteExA(&narrow);
  info->hInstApp = narrow.hInstApp;
  info->hProcess = narrow.hProcess;
  return launched;
}

LSTATUS RegOpenKeyExW(HKEY key, LPCWSTR subKey, DWORD options, REGSAM access, PHKEY result) {
  return RegOpenKeyExA(key, Utf8Name(subKey).get(), options, access, result);
}

// One ANSI query, into room enough for any text that fits the caller's
// buffer once it is UTF-16 (UTF-8 takes at most 3 bytes where UTF-16 takes 2).
LSTATUS RegQueryValueExW(HKEY key, LPCWSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data,
                         LPDWORD size) {
  if (data && !size) return ERROR_INVALID_PARAMETER;
  DWORD room = data ? *size : 0;
  std::string bytes(2 * static_cast<size_t>(room), '\0');
  DWORD got = static_cast<DWORD>(bytes.size());
  DWORD kind = 0;
  LSTATUS status = RegQueryValueExA(key, Utf8Name(valueName).get(), reserved, &kind,
                                    data ? reinterpret_cast<LPBYTE>(&bytes[0]) : nullptr, &got);
  if (type) *type = kind;
  if (!data) {
    // The length of text as UTF-16 is known only once it is read: twice
    // the ANSI length is always enough.
    if (size && status == ERROR_SUCCESS) *size = IsText(kind) ? 2 * got : got;
    return status;
  }
  if (status == ERROR_MORE_DATA) *size = IsText(kind) ? 2 * got : got;
  if (status != ERROR_SUCCESS) return status;
  bytes.resize(got);
  if (IsText(kind)) bytes = WidenedText(bytes);
  *size = static_cast<DWORD>(bytes.size());
  if (room < *size) return ERROR_MORE_DATA;
  memcpy(data, bytes.data(), bytes.size());
  return ERROR_SUCCESS;
}
