// The real PLENWICKDLL.dll, loaded as the Java virtual machine loads it.
#include <gtest/gtest.h>

#include "platform/win32.h"

namespace {

typedef long(__stdcall* GetverFn)(void* env, void* receiver);

TEST(DllExports, GetverIsFoundByItsDecoratedNameAndReturnsOne) {
  HMODULE dll = LoadLibraryA("PLENWICKDLL.dll");
  ASSERT_NE(dll, nullptr) << "error " << GetLastError();
  auto getver = reinterpret_cast<GetverFn>(
      reinterpret_cast<void*>(GetProcAddress(dll, "_Java_doc_NativeWindows_getver@8")));
  ASSERT_NE(getver, nullptr);
  EXPECT_EQ(getver(nullptr, nullptr), 1);
  EXPECT_EQ(getver(nullptr, nullptr), 1);
  EXPECT_EQ(GetProcAddress(dll, "Java_doc_NativeWindows_getver"), nullptr);
  FreeLibrary(dll);
}

}  // namespace
