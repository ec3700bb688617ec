#include "internal.h"
#include "platform/winapi/common.h"
namespace {

std::vector<simwin::MessageBoxRecord> g_boxes;
std::vector<int> g_answers;

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

namespace simwin {

void SetWindowStationVisible(bool visible) { winapi::SetWindowStationVisible(visible); }
const std::vector<MessageBoxRecord>& MessageBoxes() { return g_boxes; }
void QueueMessageBoxAnswer(int answer) { g_answers.push_back(answer); }

namespace detail {

void ResetUser() {
  g_boxes.clear();
  g_answers.clear();
  winapi::SetWindowStationVisible(true);
}

}  // namespace detail

}  // namespace simwin
