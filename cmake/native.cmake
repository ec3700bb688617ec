# The native build: the library for a host without windows.h, its shared
# object for the Java test, the simulated Windows (a test double) and the
# native tests and fuzzers that run on it.
find_package(GTest REQUIRED)

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
add_library(plenwick_objs OBJECT ${LIBRARY_SOURCES})
target_include_directories(plenwick_objs PUBLIC src ${JNI_INCLUDE_DIRS})
set_target_properties(plenwick_objs PROPERTIES POSITION_INDEPENDENT_CODE ON
  CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)

add_library(plenwick_lib STATIC $<TARGET_OBJECTS:plenwick_objs>)
target_include_directories(plenwick_lib PUBLIC src ${JNI_INCLUDE_DIRS})

# The simulated Windows: a test double of the Win32 subset with a control
# API for tests (src/platform/simwin/control.h). Only test programs and
# fuzzers link it.
file(GLOB SIMWIN_SOURCES CONFIGURE_DEPENDS src/platform/simwin/*.cpp)
add_library(simwin STATIC ${SIMWIN_SOURCES})
target_include_directories(simwin PUBLIC src)
set_target_properties(simwin PROPERTIES POSITION_INDEPENDENT_CODE ON
  CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)

# What the tests bring to the simulated Windows: the library's resources,
# the test registry, the fresh-machine fixture, the fake JNI environment.
add_library(plenwick_test_support STATIC tests/support/machine.cpp)
target_include_directories(plenwick_test_support PUBLIC tests/support)
target_link_libraries(plenwick_test_support PUBLIC plenwick_lib simwin)
set_target_properties(plenwick_test_support PROPERTIES POSITION_INDEPENDENT_CODE ON
  CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)

# The platform that libPLENWICKDLL.so runs on. This host has no platform of
# its own yet, so the library runs on the simulated Windows, set up as the
# machine the Java test expects; a real platform replaces these two.
add_library(plenwick_jvm_machine OBJECT tests/support/jvm_machine.cpp)
target_link_libraries(plenwick_jvm_machine PRIVATE plenwick_test_support)
set_target_properties(plenwick_jvm_machine PROPERTIES POSITION_INDEPENDENT_CODE ON
  CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
add_library(plenwick_platform INTERFACE)
# The objects themselves: a static initializer in an archive would be left out.
target_sources(plenwick_platform INTERFACE $<TARGET_OBJECTS:plenwick_jvm_machine>)
target_link_libraries(plenwick_platform INTERFACE plenwick_test_support simwin)

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

file(GLOB NATIVE_TEST_SOURCES CONFIGURE_DEPENDS tests/native/*.cpp)
add_executable(native_tests ${NATIVE_TEST_SOURCES})
target_link_libraries(native_tests PRIVATE plenwick_test_support GTest::gtest GTest::gtest_main)
gtest_discover_tests(native_tests DISCOVERY_MODE PRE_TEST
  PROPERTIES ENVIRONMENT "PLENWICK_TEST_DATA=${CMAKE_CURRENT_SOURCE_DIR}/tests/data")

if(PLENWICK_FUZZ)
  file(GLOB FUZZ_SOURCES CONFIGURE_DEPENDS fuzz/*.cpp)
  foreach(source ${FUZZ_SOURCES})
    get_filename_component(name ${source} NAME_WE)
    add_executable(${name} ${source})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_libraries(${name} PRIVATE plenwick_lib simwin)
  endforeach()
endif()
