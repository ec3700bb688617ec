# The real Windows build: PLENWICKDLL.dll with its export list and dialog
# resource, and the tests that run it under Wine.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
set(CMAKE_LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

file(GLOB JDK_INCLUDE LIST_DIRECTORIES true /usr/lib/jvm/java-17-openjdk-*/include)
if(NOT JDK_INCLUDE)
  file(GLOB JDK_INCLUDE LIST_DIRECTORIES true /usr/lib/jvm/*/include)
endif()
list(GET JDK_INCLUDE 0 JDK_INCLUDE)

# Pointer truncation is an error in C++ already; the C-only warnings cover
# any C source that joins the build.
add_compile_options($<$<COMPILE_LANGUAGE:C>:-Wpointer-to-int-cast>
                    $<$<COMPILE_LANGUAGE:C>:-Wint-to-pointer-cast>)

# 32-bit Windows JNI decorates the entry points (_Name@bytes); 64-bit
# Windows has one calling convention and exports the plain names. Each
# architecture's tests run in a Wine prefix of that architecture.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(PLENWICK_ARCH x86-64)
  set(PLENWICK_JVM 64-bit)
  set(PLENWICK_PACKAGE_SYSTEM win64)
  set(PLENWICK_WINE_ARCH win64)
  set(PLENWICK_EXPORT_LIST src/resources/PLENWICKDLL64.def)
else()
  set(PLENWICK_ARCH i686)
  set(PLENWICK_JVM 32-bit)
  set(PLENWICK_PACKAGE_SYSTEM win32)
  set(PLENWICK_WINE_ARCH win32)
  set(PLENWICK_EXPORT_LIST src/resources/PLENWICKDLL.def)
endif()
include(cmake/fixtures.cmake)
set(PLENWICK_GENERATED ${CMAKE_BINARY_DIR}/generated)
configure_file(src/resources/version.h.in ${PLENWICK_GENERATED}/plenwick_version.h @ONLY)

add_library(plenwick_objs OBJECT ${LIBRARY_SOURCES})
target_include_directories(plenwick_objs PUBLIC src src/bridge/jni_md_win32 ${JDK_INCLUDE})

add_library(plenwick_lib STATIC $<TARGET_OBJECTS:plenwick_objs>)
target_include_directories(plenwick_lib PUBLIC src src/bridge/jni_md_win32 ${JDK_INCLUDE})
target_link_libraries(plenwick_lib PUBLIC comdlg32 winspool gdi32 user32 shell32 advapi32 ole32)

add_library(PLENWICKDLL SHARED $<TARGET_OBJECTS:plenwick_objs>
  src/resources/plenwick.rc ${PLENWICK_EXPORT_LIST})
set_target_properties(PLENWICKDLL PROPERTIES PREFIX "" OUTPUT_NAME PLENWICKDLL)
target_include_directories(PLENWICKDLL PRIVATE src/resources ${PLENWICK_GENERATED})
# Only system DLLs may be imported: the C and C++ runtimes go in statically.
target_link_options(PLENWICKDLL PRIVATE -static -static-libgcc -static-libstdc++)
target_link_libraries(PLENWICKDLL PRIVATE comdlg32 winspool gdi32 user32 shell32 advapi32 ole32)

# GoogleTest, cross-built from the sources Debian ships.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

file(GLOB WINE_TEST_SOURCES CONFIGURE_DEPENDS tests/wine/*.cpp)
add_executable(wine_tests ${WINE_TEST_SOURCES})
target_include_directories(wine_tests PRIVATE tests/wine tests/support tools ${PLENWICK_GENERATED})
target_link_libraries(wine_tests PRIVATE plenwick_lib gtest gtest_main version)
target_link_options(wine_tests PRIVATE -static -static-libgcc -static-libstdc++)
add_dependencies(wine_tests PLENWICKDLL)
gtest_discover_tests(wine_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
  PROPERTIES TIMEOUT 120 LABELS wine FIXTURES_REQUIRED wine
  ENVIRONMENT PLENWICK_FIXTURES=${PLENWICK_FIXTURES_DIR})

# The conformance suite (tests/platform/) against the real API, run whole
# under Wine (in the tree, where the tree's Wine prefix is): its list of
# known differences closes its output, and stays in known-differences.txt.
file(GLOB CONFORMANCE_SOURCES CONFIGURE_DEPENDS tests/platform/*_test.cpp)
add_executable(conformance_tests ${CONFORMANCE_SOURCES} tests/platform/conformance.cpp
  tests/platform/stage_windows.cpp)
target_include_directories(conformance_tests PRIVATE src)
target_link_libraries(conformance_tests PRIVATE gtest comdlg32 winspool gdi32 user32 shell32
  advapi32)
target_link_options(conformance_tests PRIVATE -static -static-libgcc -static-libstdc++)
add_test(NAME conformance COMMAND conformance_tests)
set_tests_properties(conformance PROPERTIES TIMEOUT 300 LABELS conformance)
plenwick_requires(wine conformance)

# Programs a user runs (tools/): the console host that prints a request
# through the DLL. It loads the DLL at run time and links nothing of the
# library.
add_executable(plenwick_print tools/plenwick_print.cpp)
target_include_directories(plenwick_print PRIVATE src src/bridge/jni_md_win32 ${JDK_INCLUDE} tools)
target_link_options(plenwick_print PRIVATE -static -static-libgcc -static-libstdc++)
add_dependencies(plenwick_print PLENWICKDLL)

# Small Windows programs that shell tests run under Wine: each
# tests/wine/programs/NAME.cpp becomes NAME.exe.
file(GLOB WINE_PROGRAMS CONFIGURE_DEPENDS tests/wine/programs/*.cpp)
foreach(source ${WINE_PROGRAMS})
  get_filename_component(name ${source} NAME_WE)
  add_executable(${name} ${source})
  # tools/ has the DLL loader and the JNI environment they share with the
  # console host.
  target_include_directories(${name} PRIVATE tools)
  target_link_libraries(${name} PRIVATE plenwick_lib)
  target_link_options(${name} PRIVATE -static -static-libgcc -static-libstdc++)
  add_dependencies(${name} PLENWICKDLL)
endforeach()
# The repeating host of the soak reports its memory.
target_link_libraries(repeat_print PRIVATE psapi)

# Shell tests that run those programs (or the DLL) under Wine and check what
# came out: PDFs from CUPS, screenshots, files. Each tests/wine/*_test.sh is
# one test; tests/wine/lib.sh has what they share.
# The shared scenarios this host runs with nothing of its own are rows, as
# in native.cmake.
file(GLOB WINE_SHELL_TESTS CONFIGURE_DEPENDS tests/wine/*_test.sh)
set(WINE_SCENARIOS
  pagination_property
  print_reports
  # Wine's PostScript driver takes each glyph from the selected face alone,
  # without the font fallback of Windows: CJK text prints as missing-glyph
  # boxes in its columns.
  "report_text TEXT_NOT_BACK=^日本語")
foreach(script ${WINE_SHELL_TESTS} ${WINE_SCENARIOS})
  plenwick_shell_test(wine ${script})
  add_test(NAME ${name} COMMAND ${command})
  set_tests_properties(${name} PROPERTIES TIMEOUT 300 LABELS wine
    ENVIRONMENT "PLENWICK_ROOT=${CMAKE_CURRENT_SOURCE_DIR};PLENWICK_BUILD=${CMAKE_BINARY_DIR};PLENWICK_ARCH=${PLENWICK_ARCH};WINEARCH=${PLENWICK_WINE_ARCH}")
  plenwick_requires(wine ${name})
endforeach()
# The tree's print server as the Wine prefix sees it: the harness's own.
set_property(TEST default_printer_test APPEND PROPERTY LABELS harness)

# The same reports through two libraries must print the same pages
# (tests/cross_platform/compare_hosts_test.sh): here the x86-64 DLL against
# the 32-bit one, whose tree is the sibling build/win unless told.
if(PLENWICK_ARCH STREQUAL "x86-64")
  set(PLENWICK_I686_BUILD ${CMAKE_BINARY_DIR}/../win CACHE PATH "The 32-bit Windows build tree")
  add_test(NAME compare_architectures COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/tests/cross_platform/compare_hosts_test.sh)
  set_tests_properties(compare_architectures PROPERTIES TIMEOUT 300 SKIP_RETURN_CODE 77 LABELS wine
    ENVIRONMENT "PLENWICK_ROOT=${CMAKE_CURRENT_SOURCE_DIR};PLENWICK_BUILD=${CMAKE_BINARY_DIR};PLENWICK_ARCH=${PLENWICK_ARCH};WINEARCH=${PLENWICK_WINE_ARCH};PLENWICK_I686_BUILD=${PLENWICK_I686_BUILD}")
  plenwick_requires(wine compare_architectures)

  # Clang's check for 64-bit values cut to 32 bits, on the sources as this
  # tree builds them.
  add_test(NAME x86_64_truncation COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/tests/checks/truncation_test.sh
    ${CMAKE_CURRENT_SOURCE_DIR})
  set_tests_properties(x86_64_truncation PROPERTIES LABELS build_check TIMEOUT 900)
else()
  # Here this DLL against the Linux library in a virtual machine; skipped
  # without the native tree beside this one.
  set(PLENWICK_NATIVE_BUILD ${CMAKE_BINARY_DIR}/../native CACHE PATH "The native build tree")
  add_test(NAME cross_platform_pages COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/tests/cross_platform/compare_hosts_test.sh)
  set_tests_properties(cross_platform_pages PROPERTIES TIMEOUT 600 SKIP_RETURN_CODE 77 LABELS cross_platform
    ENVIRONMENT "PLENWICK_ROOT=${CMAKE_CURRENT_SOURCE_DIR};PLENWICK_BUILD=${CMAKE_BINARY_DIR};PLENWICK_NATIVE=${PLENWICK_NATIVE_BUILD};WINEARCH=${PLENWICK_WINE_ARCH}")
  plenwick_requires(wine cross_platform_pages)
endif()

# Only system DLLs are imported, and the package holds what it should; its
# console printer, unpacked, prints under Wine.
add_test(NAME dll_imports COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/tests/checks/dll_imports_test.sh
  $<TARGET_FILE:PLENWICKDLL>)
add_test(NAME package_${PLENWICK_PACKAGE_SYSTEM} COMMAND bash
  ${CMAKE_CURRENT_SOURCE_DIR}/tests/checks/package_test.sh ${CMAKE_BINARY_DIR} ${PLENWICK_PACKAGE_SYSTEM})
set_tests_properties(dll_imports package_${PLENWICK_PACKAGE_SYSTEM} PROPERTIES LABELS package)
set_tests_properties(package_${PLENWICK_PACKAGE_SYSTEM} PROPERTIES TIMEOUT 300
  ENVIRONMENT "PLENWICK_ROOT=${CMAKE_CURRENT_SOURCE_DIR};PLENWICK_BUILD=${CMAKE_BINARY_DIR};WINEARCH=${PLENWICK_WINE_ARCH}")
plenwick_requires(wine package_${PLENWICK_PACKAGE_SYSTEM})

# A print command killed in the middle of its job, as a caller's timeout
# kills it, holds up no later one. It runs scripts/print twice, which starts
# a print server, display and Wine prefix of its own each time.
if(PLENWICK_ARCH STREQUAL "i686")
  add_test(NAME killed_print COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/tests/checks/killed_print_test.sh)
  set_tests_properties(killed_print PROPERTIES LABELS test_command TIMEOUT 600
    ENVIRONMENT "PLENWICK_ROOT=${CMAKE_CURRENT_SOURCE_DIR}")
endif()

# The package a user ships: PLENWICKDLL-<version>-win32.zip or -win64.zip
# with the DLL, the console printer beside it, the Java class it serves, the
# options reference and a note on which JVM takes it.
configure_file(cmake/package-readme.txt.in ${PLENWICK_GENERATED}/README.txt @ONLY)
install(TARGETS PLENWICKDLL RUNTIME DESTINATION . LIBRARY DESTINATION .)
install(TARGETS plenwick_print RUNTIME DESTINATION .)
install(FILES java/doc/NativeWindows.java DESTINATION java/doc)
install(FILES ${PLENWICK_GENERATED}/README.txt DESTINATION .)
install(FILES docs/options.md DESTINATION .)
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME PLENWICKDLL)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME PLENWICKDLL-${PROJECT_VERSION}-${PLENWICK_PACKAGE_SYSTEM})
set(CPACK_STRIP_FILES ON)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/package)
include(CPack)
