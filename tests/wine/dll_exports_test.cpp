// The real PLENWICKDLL.dll, loaded as the Java virtual machine loads it.
#include <gtest/gtest.h>

#include "bridge/export_names.h"
#include "platform/win32.h"

namespace {

typedef long(__stdcall* GetverFn)(void* env, void* receiver);

TEST(DllExports, GetverIsFoundByItsExportNameAndReturnsOne) {
  HMODULE dll = LoadLibraryA("PLENWICKDLL.dll");
  ASSERT_NE(dll, nullptr) << "error " << GetLastError();
  auto getver = reinterpret_cast<GetverFn>(
      reinterpret_cast<void*>(GetProcAddress(dll, PLENWICK_JNI_EXPORT_NAME("getver", 8))));
  ASSERT_NE(getver, nullptr);
  EXPECT_EQ(getver(nullptr, nullptr), 1);
  EXPECT_EQ(getver(nullptr, nullptr), 1);
  // Only the one spelling this architecture's virtual machine looks for.
#ifdef _WIN64
  EXPECT_EQ(GetProcAddress(dll, "_Java_doc_NativeWindows_getver@8"), nullptr);
#else
  EXPECT_EQ(GetProcAddress(dll, "Java_doc_NativeWindows_getver"), nullptr);
#endif
  FreeLibrary(dll);
}

}  // namespace
