# The native build: the library for a host without windows.h, the Linux
# platform it runs on in libPLENWICKDLL.so, the simulated Windows (a test
# double) and the native tests and fuzzers that run on it.
if(CMAKE_CROSSCOMPILING)
  # No GoogleTest of the target's among the packages: built from the
  # sources Debian ships, as for Windows.
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
else()
  find_package(GTest REQUIRED)
endif()
include(cmake/fixtures.cmake)

# jni.h of the installed JDK; the library needs no JVM library to link.
find_path(JNI_INCLUDE jni.h PATHS /usr/lib/jvm/java-17-openjdk-amd64/include /usr/lib/jvm/default-java/include
  NO_DEFAULT_PATH)
if(NOT JNI_INCLUDE)
  file(GLOB JNI_INCLUDE LIST_DIRECTORIES true /usr/lib/jvm/*/include)
  list(GET JNI_INCLUDE 0 JNI_INCLUDE)
endif()
set(JNI_INCLUDE_DIRS ${JNI_INCLUDE} ${JNI_INCLUDE}/linux)

# The library's own code, with no platform in it: it calls the Win32 subset
# declared in src/platform/winapi/, which a platform library defines. Every
# symbol is hidden but for the exported entry points.
# Off Windows the dialog template is data of the library (resources/).
add_library(plenwick_objs OBJECT ${LIBRARY_SOURCES} src/resources/dialog_templates.cpp)
target_include_directories(plenwick_objs PUBLIC src ${JNI_INCLUDE_DIRS})
set_target_properties(plenwick_objs PROPERTIES POSITION_INDEPENDENT_CODE ON
  CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)

add_library(plenwick_lib STATIC $<TARGET_OBJECTS:plenwick_objs>)
target_include_directories(plenwick_lib PUBLIC src ${JNI_INCLUDE_DIRS})

# What both platforms off Windows share beneath their Win32 functions: the
# code page tables and conversions, the last error and the system message
# texts, errno as a Win32 error, MulDiv, the print dialog's blocks.
file(GLOB WINAPI_COMMON_SOURCES CONFIGURE_DEPENDS src/platform/winapi/*.cpp)
add_library(winapi_common OBJECT ${WINAPI_COMMON_SOURCES})
target_include_directories(winapi_common PUBLIC src)
set_target_properties(winapi_common PROPERTIES POSITION_INDEPENDENT_CODE ON
  CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)

# The simulated Windows: a test double of the Win32 subset with a control
# API for tests (tests/simwin/control.h, included as "simwin/control.h").
# Only test programs and fuzzers link it.
file(GLOB SIMWIN_SOURCES CONFIGURE_DEPENDS tests/simwin/*.cpp)
add_library(simwin STATIC ${SIMWIN_SOURCES} $<TARGET_OBJECTS:winapi_common>)
target_include_directories(simwin PUBLIC src tests)
set_target_properties(simwin PROPERTIES POSITION_INDEPENDENT_CODE ON
  CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)

# What the tests bring to the simulated Windows: the library's resources,
# the test registry, the fresh-machine fixture, the fake JNI environment.
add_library(plenwick_test_support STATIC tests/support/machine.cpp)
target_include_directories(plenwick_test_support PUBLIC tests/support)
target_link_libraries(plenwick_test_support PUBLIC plenwick_lib simwin)
set_target_properties(plenwick_test_support PROPERTIES POSITION_INDEPENDENT_CODE ON
  CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)

# The Linux platform: the same Win32 subset on CUPS, cairo and fontconfig.
# It is what libPLENWICKDLL.so runs on: a Win32 face, file for file as
# src/platform/winapi/ declares it, over a back end of CUPS destinations,
# jobs, media, PDF pages and fonts (src/platform/linux/cups_cairo/).
find_package(PkgConfig REQUIRED)
pkg_check_modules(PRINTING REQUIRED IMPORTED_TARGET cairo cairo-pdf cairo-ps cairo-ft fontconfig freetype2)
find_path(CUPS_INCLUDE_DIR cups/cups.h REQUIRED)
find_library(CUPS_LIBRARY cups REQUIRED)
# Of its desktop part the library takes the line format and what starts the
# dialog program; the program (below) is what links GTK.
file(GLOB LINUX_PLATFORM_SOURCES CONFIGURE_DEPENDS src/platform/linux/*.cpp
  src/platform/linux/cups_cairo/*.cpp)
list(APPEND LINUX_PLATFORM_SOURCES src/platform/linux/desktop/dialog_protocol.cpp
  src/platform/linux/desktop/dialog_program.cpp)
add_library(linux_platform OBJECT ${LINUX_PLATFORM_SOURCES})
target_include_directories(linux_platform PUBLIC src ${CUPS_INCLUDE_DIR})
target_link_libraries(linux_platform PUBLIC PkgConfig::PRINTING)
set_target_properties(linux_platform PROPERTIES POSITION_INDEPENDENT_CODE ON
  CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
add_library(plenwick_platform INTERFACE)
target_sources(plenwick_platform INTERFACE $<TARGET_OBJECTS:linux_platform>
  $<TARGET_OBJECTS:winapi_common>)
target_link_libraries(plenwick_platform INTERFACE PkgConfig::PRINTING ${CUPS_LIBRARY})

# plenwick-dialogs (src/dialog_program/), the program that shows the
# library's dialogs on a desktop, beside libPLENWICKDLL.so where the library
# looks for it. GTK stays in this program: a virtual machine may run a
# toolkit of its own on other threads, and a server without a display needs
# no GTK at all.
# A cross build (arm64) makes the library's package alone: no GTK of the
# target is installed.
if(NOT CMAKE_CROSSCOMPILING)
  pkg_check_modules(GTK3 REQUIRED IMPORTED_TARGET gtk+-3.0)
  file(GLOB DIALOG_PROGRAM_SOURCES CONFIGURE_DEPENDS src/dialog_program/*.cpp)
  add_executable(plenwick-dialogs ${DIALOG_PROGRAM_SOURCES} src/platform/linux/desktop/dialog_protocol.cpp)
  target_include_directories(plenwick-dialogs PRIVATE src)
  target_link_libraries(plenwick-dialogs PRIVATE PkgConfig::GTK3)
  set_target_properties(plenwick-dialogs PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
endif()

# libPLENWICKDLL.so, so that System.loadLibrary("PLENWICKDLL") finds it. It
# exports the seven native methods and the two dialog procedures, nothing
# else: what it links in statically stays inside.
add_library(PLENWICKDLL SHARED $<TARGET_OBJECTS:plenwick_objs>)
target_link_libraries(PLENWICKDLL PRIVATE plenwick_platform)
target_link_options(PLENWICKDLL PRIVATE
  -Wl,--version-script=${CMAKE_CURRENT_SOURCE_DIR}/src/resources/PLENWICKDLL.map)
if(NOT PLENWICK_SANITIZE)
  # Every platform call is resolved inside (the sanitizer runtimes are the
  # one thing a sanitized program brings along).
  target_link_options(PLENWICKDLL PRIVATE -Wl,--no-undefined)
endif()
set_target_properties(PLENWICKDLL PROPERTIES
  LINK_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/src/resources/PLENWICKDLL.map)

add_test(NAME shared_object_exports
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/tests/native/shared_object_exports_test.sh
  $<TARGET_FILE:PLENWICKDLL>)
set_tests_properties(shared_object_exports PROPERTIES LABELS linux_library)

# The include structure: no folder includes a higher layer, the platforms
# know nothing of the library, no two files include each other.
add_test(NAME layering COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/tests/native/check_layers_test.sh)
# No comparison or number read in the sources follows the C locale that a
# virtual machine sets from its environment.
add_test(NAME locale_free COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/tests/native/locale_free_test.sh)
# The sources follow .clang-format.
add_test(NAME formatted COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/tests/checks/format_test.sh)
# docs/options.md names every option of the option table and no other.
add_test(NAME options_reference COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/tests/native/options_reference_test.sh)

file(GLOB NATIVE_TEST_SOURCES CONFIGURE_DEPENDS tests/native/*.cpp)
add_executable(native_tests ${NATIVE_TEST_SOURCES})
target_link_libraries(native_tests PRIVATE plenwick_test_support GTest::gtest GTest::gtest_main)
gtest_discover_tests(native_tests DISCOVERY_MODE PRE_TEST
  PROPERTIES ENVIRONMENT "PLENWICK_TEST_DATA=${CMAKE_CURRENT_SOURCE_DIR}/tests/data"
  LABELS simulated_windows)
# The same cases, but the soak, on a printer whose driver keeps its own part
# of the device mode and refuses what a real printer cannot do.
add_test(NAME native_tests_real_driver COMMAND native_tests --gtest_filter=-SoakTest.*)
set_tests_properties(native_tests_real_driver PROPERTIES LABELS simulated_windows ENVIRONMENT
  "PLENWICK_TEST_DATA=${CMAKE_CURRENT_SOURCE_DIR}/tests/data;PLENWICK_SIMULATED_DRIVER=real")

if(PLENWICK_FUZZ)
  file(GLOB FUZZ_SOURCES CONFIGURE_DEPENDS fuzz/*.cpp)
  foreach(source ${FUZZ_SOURCES})
    get_filename_component(name ${source} NAME_WE)
    add_executable(${name} ${source})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_libraries(${name} PRIVATE plenwick_lib simwin)
  endforeach()
  # A short run of each over its corpus.
  foreach(source ${FUZZ_SOURCES})
    get_filename_component(name ${source} NAME_WE)
    string(REGEX REPLACE "^fuzz_" "" corpus ${name})
    add_test(NAME ${name}_smoke COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/tests/checks/fuzz_smoke_test.sh
      $<TARGET_FILE:${name}> ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/corpus/${corpus})
    set_tests_properties(${name}_smoke PROPERTIES LABELS fuzz TIMEOUT 400)
  endforeach()
  # Whole requests need the library's resources on the simulated Windows.
  target_sources(fuzz_print_request PRIVATE tests/support/machine.cpp)
  target_include_directories(fuzz_print_request PRIVATE tests/support)
  target_link_options(fuzz_print_request PRIVATE -Wl,--wrap=fopen)
  # The regedit export reader is the Linux platform's; the simulated
  # Windows gives it the file and code page calls it makes.
  target_sources(fuzz_registry_file PRIVATE src/platform/linux/registry_file.cpp)
  # The simulated Windows is the fuzzers' stage, not what they test: left
  # without coverage, its lookups neither cost instrumentation on every call
  # nor draw the fuzzers toward its own branches.
  target_compile_options(simwin PRIVATE -fno-sanitize=fuzzer-no-link)
endif()

# The Java side of the Linux library's tests and of scripts/print --linux:
# the application's class and a program that runs one print request.
find_package(Java REQUIRED COMPONENTS Development)
set(JAVA_SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/java/doc/NativeWindows.java
  ${CMAKE_CURRENT_SOURCE_DIR}/java/PlenwickPrint.java)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/java/PlenwickPrint.class
  COMMAND ${Java_JAVAC_EXECUTABLE} -d ${CMAKE_BINARY_DIR}/java ${JAVA_SOURCES}
  DEPENDS ${JAVA_SOURCES})
add_custom_target(plenwick_java ALL DEPENDS ${CMAKE_BINARY_DIR}/java/PlenwickPrint.class)

# Unit tests of the Linux platform's own parsing, tables and calls, some
# through the library's services that use them.
file(GLOB LINUX_TEST_SOURCES CONFIGURE_DEPENDS tests/linux/*.cpp)
add_executable(linux_platform_tests ${LINUX_TEST_SOURCES} $<TARGET_OBJECTS:linux_platform>
  $<TARGET_OBJECTS:winapi_common>)
target_link_libraries(linux_platform_tests PRIVATE plenwick_lib linux_platform ${CUPS_LIBRARY}
  GTest::gtest GTest::gtest_main)
gtest_discover_tests(linux_platform_tests DISCOVERY_MODE PRE_TEST PROPERTIES LABELS linux_platform)

# The conformance suite (tests/platform/): the same cases, written against
# the Win32 subset alone, held against the simulated Windows and the Linux
# platform here (and against the real API under Wine in the Windows trees).
# Each program runs whole, so that its list of known differences closes
# its output; it also leaves the list in its working directory.
file(GLOB CONFORMANCE_SOURCES CONFIGURE_DEPENDS tests/platform/*_test.cpp)
add_executable(conformance_simwin ${CONFORMANCE_SOURCES} tests/platform/conformance.cpp
  tests/platform/stage_simwin.cpp)
target_link_libraries(conformance_simwin PRIVATE simwin GTest::gtest)
add_executable(conformance_linux ${CONFORMANCE_SOURCES} tests/platform/conformance.cpp
  tests/platform/stage_linux.cpp)
target_include_directories(conformance_linux PRIVATE src ${CUPS_INCLUDE_DIR})
target_link_libraries(conformance_linux PRIVATE plenwick_platform plenwick_lib GTest::gtest)
foreach(platform simwin linux)
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/conformance-${platform})
  add_test(NAME conformance_${platform}
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/tests/fixtures/run_with_fixtures.sh
      ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:conformance_${platform}>
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/conformance-${platform})
  set_tests_properties(conformance_${platform} PROPERTIES TIMEOUT 300 LABELS conformance)
endforeach()
plenwick_requires(print_server conformance_linux)
# Its documents go to the print server's queue, which other tests read back.
set_tests_properties(conformance_linux PROPERTIES RESOURCE_LOCK tree_print_queues)
if(PLENWICK_SANITIZE)
  set_tests_properties(conformance_linux PROPERTIES ENVIRONMENT
    "LSAN_OPTIONS=suppressions=${CMAKE_CURRENT_SOURCE_DIR}/tests/platform/fontconfig.supp")
endif()

# A host that runs one request through libPLENWICKDLL.so without a virtual
# machine around it: the benchmark's way in, and a host that has left
# every signal as it found it.
add_executable(print_host bench/print_host.cpp)
target_include_directories(print_host PRIVATE tools ${JNI_INCLUDE_DIRS})
target_link_libraries(print_host PRIVATE ${CMAKE_DL_LIBS})

# plenwick-print (tools/): the console printer a user runs, the library's
# print method without Java, for trying a printer with the application's
# options. It loads the library from where the Debian package puts it,
# relative to its own folder (/usr/bin and /usr/lib/MULTIARCH/jni), or
# from beside itself (this tree).
if(PLENWICK_DEB_ARCH)
  set(PLENWICK_ARCH_OPTION -a${PLENWICK_DEB_ARCH})
endif()
execute_process(COMMAND dpkg-architecture ${PLENWICK_ARCH_OPTION} -qDEB_HOST_MULTIARCH
  OUTPUT_VARIABLE PLENWICK_MULTIARCH OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
if(NOT PLENWICK_MULTIARCH)
  set(PLENWICK_MULTIARCH ${CMAKE_LIBRARY_ARCHITECTURE})
endif()
find_package(Threads REQUIRED)
add_executable(plenwick-print tools/plenwick_print.cpp)
target_include_directories(plenwick-print PRIVATE src tools ${JNI_INCLUDE_DIRS})
target_compile_definitions(plenwick-print PRIVATE
  PLENWICK_JNI_FOLDER="../lib/${PLENWICK_MULTIARCH}/jni")
target_link_libraries(plenwick-print PRIVATE ${CMAKE_DL_LIBS} Threads::Threads)
add_dependencies(plenwick-print PLENWICKDLL)

# Shell tests that print through libPLENWICKDLL.so in a real Java virtual
# machine on CUPS. One at a time on the tree's print server (a resource
# lock): they read back its queues' PDFs. A test with a server of its own
# runs beside them. A sanitizer build cannot be loaded into the virtual
# machine.
if(NOT PLENWICK_SANITIZE)
  # A slow or failing disk under one report (LD_PRELOAD).
  add_library(disk_faults SHARED tests/support/disk_faults.c)
  target_link_libraries(disk_faults PRIVATE ${CMAKE_DL_LIBS})
  # Each tests/linux/*_test.sh is one test, and so is each row of the shared
  # scenarios this host runs with nothing of its own: "SCENARIO NAME=VALUE..."
  # runs tests/support/SCENARIO_checks.sh with the host's notes set
  # (tests/support/run_scenario.sh), as test linux_SCENARIO_test.
  file(GLOB LINUX_SHELL_TESTS CONFIGURE_DEPENDS tests/linux/*_test.sh)
  set(LINUX_SCENARIOS
    pagination_property
    report_text)
  foreach(script ${LINUX_SHELL_TESTS} ${LINUX_SCENARIOS})
    plenwick_shell_test(linux ${script})
    add_test(NAME linux_${name} COMMAND ${command})
    set_tests_properties(linux_${name} PROPERTIES TIMEOUT 300 RESOURCE_LOCK tree_print_queues
      LABELS linux_printing
      ENVIRONMENT "PLENWICK_ROOT=${CMAKE_CURRENT_SOURCE_DIR};PLENWICK_BUILD=${CMAKE_BINARY_DIR}")
    plenwick_requires(print_server linux_${name})
  endforeach()
  # It waits out a stopped server of its own for most of its time.
  set_property(TEST linux_hung_server_test PROPERTY RESOURCE_LOCK "")
  # The print servers the tests start for themselves: the harness's own.
  set_property(TEST linux_print_server_test APPEND PROPERTY LABELS harness)

  # The application's class and its tests in a real JVM, on the library.
  add_test(NAME java_native_windows COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/tests/java/native_windows_test.sh)
  set_tests_properties(java_native_windows PROPERTIES TIMEOUT 600 LABELS jvm
    ENVIRONMENT "PLENWICK_ROOT=${CMAKE_CURRENT_SOURCE_DIR};PLENWICK_BUILD=${CMAKE_BINARY_DIR}")
  plenwick_requires(print_server java_native_windows)
endif()

# The dialog program on a display of the test's own, keys pressed as a user
# would. A sanitizer build would report GTK's own one-time allocations.
if(NOT PLENWICK_SANITIZE)
  add_test(NAME desktop_dialogs COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/tests/desktop/dialogs_test.sh)
  set_tests_properties(desktop_dialogs PROPERTIES LABELS desktop TIMEOUT 300
    ENVIRONMENT "PLENWICK_ROOT=${CMAKE_CURRENT_SOURCE_DIR};PLENWICK_BUILD=${CMAKE_BINARY_DIR}")
endif()

# The test command's own parts: its count of CTest's results, and the
# display each run starts for itself (once, in the plain tree).
if(NOT PLENWICK_SANITIZE)
  foreach(script tests/checks/ctest_summary_test.sh tests/fixtures/display_test.sh)
    get_filename_component(name ${script} NAME_WE)
    add_test(NAME ${name} COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/${script})
    set_tests_properties(${name} PROPERTIES LABELS "test_command;harness" TIMEOUT 120
      ENVIRONMENT "PLENWICK_ROOT=${CMAKE_CURRENT_SOURCE_DIR}")
  endforeach()
endif()

# The arm64 tree: the print scenarios through its library under qemu-user,
# page for page against the x86-64 library of the native tree.
if(CMAKE_CROSSCOMPILING)
  add_test(NAME compare_architectures COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/tests/cross_platform/compare_hosts_test.sh)
  set_tests_properties(compare_architectures PROPERTIES TIMEOUT 600 SKIP_RETURN_CODE 77
    LABELS cross_platform RESOURCE_LOCK tree_print_queues
    ENVIRONMENT "PLENWICK_ROOT=${CMAKE_CURRENT_SOURCE_DIR};PLENWICK_BUILD=${CMAKE_BINARY_DIR};PLENWICK_NATIVE=${CMAKE_CURRENT_SOURCE_DIR}/build/native;PLENWICK_ARM64=1")
  plenwick_requires(print_server compare_architectures)
endif()

if(PLENWICK_BENCH)
  include(cmake/bench.cmake)
endif()

# The Debian package of the library (and of the dialog program).
include(cmake/package.cmake)
