# What a tree's tests need running, as ctest fixtures: setup and cleanup
# tests that start and stop it (tests/fixtures/fixtures.sh), so that a bare
# `ctest` needs nothing started beforehand and two trees, or two clones,
# never share a print server, display or Wine prefix.
#
#   system_printing  records the machine's own printing before the print
#                    server starts; its cleanup test compares it at the end
#   print_server     the tree's print server with the "PDF" queue (and the
#                    machine's DNS-SD service, which is left running)
#   wine             (Windows trees) a display of its own and the tree's Wine
#                    prefix with its Wine server
#
# A test that needs one calls plenwick_requires(FIXTURE TEST...): it gets
# PLENWICK_FIXTURES, the folder whose *.env files say where they are
# (scripts/lib/fixture_env.sh loads them).
set(PLENWICK_FIXTURES_SH ${CMAKE_CURRENT_SOURCE_DIR}/tests/fixtures/fixtures.sh)
set(PLENWICK_FIXTURES_DIR ${CMAKE_BINARY_DIR}/fixtures)

function(plenwick_fixture name start_name stop_name)
  string(REPLACE "_" "-" kind ${name})
  add_test(NAME ${start_name} COMMAND bash ${PLENWICK_FIXTURES_SH} start ${kind} ${CMAKE_BINARY_DIR} ${ARGN})
  add_test(NAME ${stop_name} COMMAND bash ${PLENWICK_FIXTURES_SH} stop ${kind} ${CMAKE_BINARY_DIR} ${ARGN})
  set_tests_properties(${start_name} PROPERTIES FIXTURES_SETUP ${name} LABELS fixture TIMEOUT 300)
  set_tests_properties(${stop_name} PROPERTIES FIXTURES_CLEANUP ${name} LABELS fixture TIMEOUT 120)
endfunction()

# The name and command of a shell test of HOST (linux or wine): a script
# tests/HOST/NAME_test.sh, or a row "SCENARIO NAME=VALUE..." of a shared
# scenario (tests/support/run_scenario.sh), whose name is SCENARIO_test.
function(plenwick_shell_test host script)
  if(script MATCHES "_test\\.sh$")
    get_filename_component(name ${script} NAME_WE)
    set(command bash ${script} PARENT_SCOPE)
  else()
    separate_arguments(row UNIX_COMMAND "${script}")
    list(GET row 0 name)
    set(name ${name}_test)
    set(command bash ${CMAKE_CURRENT_SOURCE_DIR}/tests/support/run_scenario.sh ${host} ${row}
      PARENT_SCOPE)
  endif()
  set(name ${name} PARENT_SCOPE)
endfunction()

function(plenwick_requires fixture)
  set_property(TEST ${ARGN} APPEND PROPERTY FIXTURES_REQUIRED ${fixture})
  set_property(TEST ${ARGN} APPEND PROPERTY ENVIRONMENT PLENWICK_FIXTURES=${PLENWICK_FIXTURES_DIR})
endfunction()

# The comparison of the machine's printing is a check of its own (label
# system), run last: after the print server has stopped.
plenwick_fixture(system_printing system_printing_record machine_printing_unchanged)
set_tests_properties(machine_printing_unchanged PROPERTIES LABELS system DEPENDS print_server_stop)
plenwick_fixture(print_server print_server_start print_server_stop)
plenwick_requires(system_printing print_server_start print_server_stop)

if(WIN32)
  plenwick_fixture(wine wine_start wine_stop ${PLENWICK_WINE_ARCH})
  plenwick_requires(print_server wine_start wine_stop)
  # The print server outlives every Wine program that prints to it.
  set_property(TEST print_server_stop APPEND PROPERTY DEPENDS wine_stop)
endif()
