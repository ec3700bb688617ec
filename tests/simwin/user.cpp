#include <cstring>

#include "internal.h"
namespace {

std::vector<simwin::MessageBoxRecord> g_boxes;
std::vector<int> g_answers;
bool g_stationVisible = true;
// The one window station of the process, a value no other handle has.
int g_windowStation;

int FirstButton(UINT type) { return (type & 0xF) == MB_RETRYCANCEL ? IDRETRY : IDOK; }

}  // namespace

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  int answer = FirstButton(type);
  if (!g_answers.empty()) {
    answer = g_answers.front();
    g_answers.erase(g_answers.begin());
  }
  g_boxes.push_back({owner, text ? text : "(null)", caption ? caption : "(null)", type, answer});
  return answer;
}

HWINSTA GetProcessWindowStation() { return &g_windowStation; }

BOOL GetUserObjectInformationA(HANDLE object, int index, PVOID info, DWORD length, LPDWORD needed) {
  if (needed) *needed = sizeof(USEROBJECTFLAGS);
  if (object != &g_windowStation || index != UOI_FLAGS || !info ||
      length < sizeof(USEROBJECTFLAGS)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  USEROBJECTFLAGS flags{};
  flags.dwFlags = g_stationVisible ? WSF_VISIBLE : 0;
  memcpy(info, &flags, sizeof flags);
  return TRUE;
}

namespace simwin {

void SetWindowStationVisible(bool visible) { g_stationVisible = visible; }
const std::vector<MessageBoxRecord>& MessageBoxes() { return g_boxes; }
void QueueMessageBoxAnswer(int answer) { g_answers.push_back(answer); }

namespace detail {

void ResetUser() {
  g_boxes.clear();
  g_answers.clear();
  g_stationVisible = true;
}

}  // namespace detail

}  // namespace simwin
