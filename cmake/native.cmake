# The native build: the library on the simulated Windows, its shared object
# for the Java test, and the native tests.
find_package(GTest REQUIRED)

# jni.h of the installed JDK; the library needs no JVM library to link.
find_path(JNI_INCLUDE jni.h PATHS /usr/lib/jvm/java-17-openjdk-amd64/include /usr/lib/jvm/default-java/include
  NO_DEFAULT_PATH)
if(NOT JNI_INCLUDE)
  file(GLOB JNI_INCLUDE LIST_DIRECTORIES true /usr/lib/jvm/*/include)
  list(GET JNI_INCLUDE 0 JNI_INCLUDE)
endif()
set(JNI_INCLUDE_DIRS ${JNI_INCLUDE} ${JNI_INCLUDE}/linux)

# The product code, built once and linked with either platform.
add_library(plenwick_objs OBJECT ${LIBRARY_SOURCES})
target_include_directories(plenwick_objs PUBLIC src ${JNI_INCLUDE_DIRS})
set_target_properties(plenwick_objs PROPERTIES POSITION_INDEPENDENT_CODE ON)

# What both platforms off Windows share: the code-page tables.
file(GLOB WINAPI_SOURCES CONFIGURE_DEPENDS src/platform/winapi/*.cpp)
add_library(winapi_common OBJECT ${WINAPI_SOURCES})
target_include_directories(winapi_common PUBLIC src)
set_target_properties(winapi_common PROPERTIES POSITION_INDEPENDENT_CODE ON)

# The simulated Windows, a test double: linked into tests and fuzzers only.
file(GLOB SIMWIN_SOURCES CONFIGURE_DEPENDS src/platform/simwin/*.cpp)
add_library(simwin STATIC ${SIMWIN_SOURCES} $<TARGET_OBJECTS:winapi_common>)
target_include_directories(simwin PUBLIC src)

add_library(plenwick_lib STATIC $<TARGET_OBJECTS:plenwick_objs>)
target_include_directories(plenwick_lib PUBLIC src ${JNI_INCLUDE_DIRS})
target_link_libraries(plenwick_lib PUBLIC simwin)

# The Linux platform: the same Win32 subset on CUPS, cairo and fontconfig.
find_package(PkgConfig REQUIRED)
pkg_check_modules(PRINTING REQUIRED IMPORTED_TARGET cairo cairo-pdf cairo-ft fontconfig freetype2)
find_path(CUPS_INCLUDE_DIR cups/cups.h REQUIRED)
find_library(CUPS_LIBRARY cups REQUIRED)
file(GLOB LINUX_PLATFORM_SOURCES CONFIGURE_DEPENDS src/platform/linux/*.cpp)
add_library(linux_platform OBJECT ${LINUX_PLATFORM_SOURCES})
target_include_directories(linux_platform PUBLIC src ${CUPS_INCLUDE_DIR})
target_link_libraries(linux_platform PUBLIC PkgConfig::PRINTING)
set_target_properties(linux_platform PROPERTIES POSITION_INDEPENDENT_CODE ON)

# libPLENWICKDLL.so, so that System.loadLibrary("PLENWICKDLL") finds it: the
# product on the Linux platform, exporting the native methods and the two
# window procedures only.
set(EXPORT_MAP ${CMAKE_CURRENT_SOURCE_DIR}/src/platform/linux/exports.map)
add_library(PLENWICKDLL SHARED $<TARGET_OBJECTS:plenwick_objs> $<TARGET_OBJECTS:linux_platform>
  $<TARGET_OBJECTS:winapi_common>)
target_link_libraries(PLENWICKDLL PRIVATE PkgConfig::PRINTING ${CUPS_LIBRARY})
target_link_options(PLENWICKDLL PRIVATE -Wl,--version-script=${EXPORT_MAP})
# Every platform call the product makes must be there; a sanitizer runtime
# comes with the program that loads the library, so it is left open there.
if(NOT PLENWICK_SANITIZE)
  target_link_options(PLENWICKDLL PRIVATE -Wl,--no-undefined)
endif()
set_target_properties(PLENWICKDLL PROPERTIES LINK_DEPENDS ${EXPORT_MAP})

file(GLOB NATIVE_TEST_SOURCES CONFIGURE_DEPENDS tests/native/*.cpp)
add_executable(native_tests ${NATIVE_TEST_SOURCES})
target_link_libraries(native_tests PRIVATE plenwick_lib GTest::gtest GTest::gtest_main)
gtest_discover_tests(native_tests DISCOVERY_MODE PRE_TEST
  PROPERTIES ENVIRONMENT "PLENWICK_TEST_DATA=${CMAKE_CURRENT_SOURCE_DIR}/tests/data")

if(PLENWICK_FUZZ)
  file(GLOB FUZZ_SOURCES CONFIGURE_DEPENDS fuzz/*.cpp)
  foreach(source ${FUZZ_SOURCES})
    get_filename_component(name ${source} NAME_WE)
    add_executable(${name} ${source})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_libraries(${name} PRIVATE plenwick_lib)
  endforeach()
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

# Unit tests of the Linux platform's own parsing and tables.
file(GLOB LINUX_TEST_SOURCES CONFIGURE_DEPENDS tests/linux/*.cpp)
add_executable(linux_platform_tests ${LINUX_TEST_SOURCES} $<TARGET_OBJECTS:linux_platform>
  $<TARGET_OBJECTS:winapi_common>)
target_link_libraries(linux_platform_tests PRIVATE linux_platform ${CUPS_LIBRARY} GTest::gtest
  GTest::gtest_main)
gtest_discover_tests(linux_platform_tests DISCOVERY_MODE PRE_TEST)

# Shell tests that print through libPLENWICKDLL.so in a real Java virtual
# machine on CUPS. One at a time: they read back the queue's PDFs. A
# sanitizer build cannot be loaded into the virtual machine.
if(NOT PLENWICK_SANITIZE)
  file(GLOB LINUX_SHELL_TESTS CONFIGURE_DEPENDS tests/linux/*_test.sh)
  foreach(script ${LINUX_SHELL_TESTS})
    get_filename_component(name ${script} NAME_WE)
    add_test(NAME linux_${name} COMMAND bash ${script})
    set_tests_properties(linux_${name} PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE
      ENVIRONMENT "PLENWICK_ROOT=${CMAKE_CURRENT_SOURCE_DIR};PLENWICK_BUILD=${CMAKE_BINARY_DIR}")
  endforeach()
endif()
