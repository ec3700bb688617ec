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

file(GLOB SIMWIN_SOURCES CONFIGURE_DEPENDS src/platform/simwin/*.cpp)

add_library(plenwick_objs OBJECT ${LIBRARY_SOURCES} ${SIMWIN_SOURCES})
target_include_directories(plenwick_objs PUBLIC src ${JNI_INCLUDE_DIRS})
set_target_properties(plenwick_objs PROPERTIES POSITION_INDEPENDENT_CODE ON)

add_library(plenwick_lib STATIC $<TARGET_OBJECTS:plenwick_objs>)
target_include_directories(plenwick_lib PUBLIC src ${JNI_INCLUDE_DIRS})

# libPLENWICKDLL.so, so that System.loadLibrary("PLENWICKDLL") finds it.
add_library(PLENWICKDLL SHARED $<TARGET_OBJECTS:plenwick_objs>)

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

if(PLENWICK_BENCH)
  include(cmake/bench.cmake)
endif()
