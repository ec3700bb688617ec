# The benchmark programs of scripts/bench, built in a Release tree of their
# own: the report generator, reading and decoding in memory, a whole
# request on the simulated Windows, and a host that runs one request
# through libPLENWICKDLL.so.
find_package(benchmark REQUIRED)

add_executable(make_report bench/make_report.cpp)

add_executable(read_decode_bench bench/read_decode_bench.cpp)
target_link_libraries(read_decode_bench PRIVATE plenwick_lib simwin benchmark::benchmark)

add_executable(request_bench bench/request_bench.cpp)
target_link_libraries(request_bench PRIVATE plenwick_test_support)

add_executable(print_host bench/print_host.cpp)
target_include_directories(print_host PRIVATE tools ${JNI_INCLUDE_DIRS})
target_link_libraries(print_host PRIVATE ${CMAKE_DL_LIBS})
