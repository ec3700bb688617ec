# The benchmark programs of scripts/bench, built in a Release tree of their
# own: the report generator, reading and decoding in memory, and a whole
# request on the simulated Windows (the host that runs one request through
# libPLENWICKDLL.so, print_host, is in every native tree).
find_package(benchmark REQUIRED)

add_executable(make_report bench/make_report.cpp)

add_executable(read_decode_bench bench/read_decode_bench.cpp)
target_link_libraries(read_decode_bench PRIVATE plenwick_lib simwin benchmark::benchmark)

add_executable(request_bench bench/request_bench.cpp)
target_link_libraries(request_bench PRIVATE plenwick_test_support)

# The benchmark harness with small reports: it builds, every row measures
# something and the plot is written. Its figures are no claim. It starts
# its own print server, display and Wine, and needs the 32-bit Windows
# tree beside this one.
get_filename_component(PLENWICK_BUILD_FOLDER ${CMAKE_BINARY_DIR} DIRECTORY)
add_test(NAME bench_quick COMMAND ${CMAKE_COMMAND} -E env BUILD=${PLENWICK_BUILD_FOLDER}
  ${CMAKE_CURRENT_SOURCE_DIR}/scripts/bench --quick)
set_tests_properties(bench_quick PROPERTIES LABELS bench TIMEOUT 1800)
