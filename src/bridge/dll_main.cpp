// Loading the library records its module instance (for the dialog
// template) and does nothing else. Off Windows there is no resource
// section: loading hands the platform the library's dialog template.
#ifdef _WIN32
#include "platform/win32.h"
#include "render/cancel_dialog.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) plenwick::g_moduleInstance = instance;
  return TRUE;
}
#else
#include "resources/dialog_templates.h"

__attribute__((constructor)) static void AddLibraryResources() {
  winapi::AddDialogTemplate(plenwick::CancelDialogTemplate());
}
#endif
