// The session a process runs in, as the two platforms without windows.h
// answer for it: its window station, and COM on each thread.
#include <cstring>

#include "common.h"

namespace {

// The process's one window station, a value no other handle has.
bool g_stationVisible = true;

// COM on each thread: how often it was initialised, and in which model.
struct ThreadCom {
  int count = 0;
  DWORD model = 0;
};
thread_local ThreadCom t_com;

}  // namespace

HWINSTA GetProcessWindowStation() { return &g_stationVisible; }

BOOL GetUserObjectInformationA(HANDLE object, int index, PVOID info, DWORD length, LPDWORD needed) {
  if (needed) *needed = sizeof(USEROBJECTFLAGS);
  if (object != &g_stationVisible || index != UOI_FLAGS || !info ||
      length < sizeof(USEROBJECTFLAGS)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  USEROBJECTFLAGS flags{};
  flags.dwFlags = g_stationVisible ? WSF_VISIBLE : 0;
  memcpy(info, &flags, sizeof flags);
  return TRUE;
}

// As on Windows: the first call of a thread initialises (S_OK), each later
// one in the same model counts again (S_FALSE), one in the other model is
// refused (RPC_E_CHANGED_MODE) and needs no CoUninitialize.
HRESULT CoInitializeEx(LPVOID, DWORD coInit) {
  DWORD model = coInit & COINIT_APARTMENTTHREADED;
  if (t_com.count > 0 && t_com.model != model) return RPC_E_CHANGED_MODE;
  t_com.model = model;
  return t_com.count++ == 0 ? S_OK : S_FALSE;
}

void CoUninitialize() {
  if (t_com.count > 0) --t_com.count;
}

namespace winapi {

void SetWindowStationVisible(bool visible) { g_stationVisible = visible; }

}  // namespace winapi
