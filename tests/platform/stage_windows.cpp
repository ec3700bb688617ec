// The stage on Windows (under Wine in the test command): the real registry,
// a user who presses a message box's button, the printer "PDF" that Wine
// finds on the test command's print server.
#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "conformance.h"

namespace conformance {
namespace {

// The scripted user's thread, joined before the next one starts and at the
// program's end (it ends by itself once it pressed, or gave up).
struct User {
  std::thread thread;
  void Join() {
    if (thread.joinable()) thread.join();
  }
  ~User() { Join(); }
} g_user;

}  // namespace

Platform ThisPlatform() { return sizeof(void*) == 8 ? kWine64 : kWine32; }

void FreshMachine() {}

bool PrintServerExpected() { return getenv("CUPS_SERVER") != nullptr; }

bool PresetRegistryValue(const std::string& subKey, const std::string& name, DWORD type,
                         const std::string& data) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, subKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                      &key, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  LSTATUS status =
      RegSetValueExA(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.data()),
                     static_cast<DWORD>(data.size()));
  RegCloseKey(key);
  return status == ERROR_SUCCESS;
}

// A user who waits for the box and presses the button: the box runs its
// own message loop in the calling thread, so the user is another thread.
bool ScriptMessageBoxAnswer(const char* caption, int answer) {
  std::string title = caption;
  g_user.Join();
  g_user.thread = std::thread([title, answer] {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (std::chrono::steady_clock::now() < deadline) {
      if (HWND box = FindWindowA("#32770", title.c_str())) {
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
        return;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
  });
  return true;
}

DocumentFate FateOfDocument(const std::string&) { return DocumentFate::kUnknown; }

long OpenHandleCount() { return -1; }

}  // namespace conformance
