#!/usr/bin/env bash
# scripts/test's count, from the JUnit file a real ctest writes for every
# kind of outcome: a test that was skipped on purpose is no failure, one
# that could not run (no program, a fixture that failed) is; the failures'
# output ends near the end of the log; a tree without results fails.
ROOT="${PLENWICK_ROOT:?}"
source "$ROOT/tests/support/kit.sh"
SUMMARY="$ROOT/scripts/lib/ctest_summary.py"
work_folder

cat >CMakeLists.txt <<'CMAKE'
cmake_minimum_required(VERSION 3.20)
project(outcomes NONE)
enable_testing()
add_test(NAME passes COMMAND true)
add_test(NAME fails COMMAND sh -c "seq 100; exit 1")
add_test(NAME skips COMMAND sh -c "exit 77")
set_tests_properties(skips PROPERTIES SKIP_RETURN_CODE 77)
add_test(NAME gtest_skip COMMAND sh -c "echo '[  SKIPPED ] one'")
set_tests_properties(gtest_skip PROPERTIES SKIP_REGULAR_EXPRESSION "\\[  SKIPPED \\]")
add_test(NAME no_program COMMAND /nonexistent/program)
add_test(NAME setup_fails COMMAND false)
set_tests_properties(setup_fails PROPERTIES FIXTURES_SETUP broken LABELS fixture)
add_test(NAME needs_fixture COMMAND true)
set_tests_properties(needs_fixture PROPERTIES FIXTURES_REQUIRED broken LABELS layer_b)
add_test(NAME disabled COMMAND true)
set_tests_properties(disabled PROPERTIES DISABLED TRUE)
set_tests_properties(passes fails skips gtest_skip no_program PROPERTIES LABELS layer_a)
CMAKE
cat >CMakePresets.json <<'JSON'
{ "version": 6,
  "configurePresets": [{ "name": "outcomes", "binaryDir": "${sourceDir}/build/outcomes" },
                       { "name": "unbuilt", "binaryDir": "${sourceDir}/build/unbuilt" }],
  "testPresets": [{ "name": "outcomes", "configurePreset": "outcomes",
                    "output": { "outputJUnitFile": "ctest-results.xml" } }] }
JSON
cmake --preset outcomes >/dev/null 2>&1
ctest --preset outcomes >/dev/null 2>&1
mkdir -p logs
printf 'line %s\n' $(seq 50) >logs/unbuilt.log

python3 "$SUMMARY" "$WORK" "$WORK/logs" outcomes unbuilt >summary.out 2>&1
status=$?
cat summary.out
check "the run fails" [ $status -eq 1 ]
check "one closing line: failed counts the failures and the tree without results" \
  [ "$(tail -1 summary.out)" = "1 passed, 5 failed" ]
while IFS='|' read -r layer counts; do
  check "layer $layer: $counts" grep -q -E "^outcomes +$layer +$counts$" summary.out
done <<'ROWS'
layer_a| *1 passed, 2 failed, 2 skipped
layer_b| *0 passed, 1 failed
fixture| *0 passed, 1 failed
unlabelled| *0 passed, 0 failed, 1 skipped
ROWS
for name in fails no_program setup_fails needs_fixture; do
  check "$name is named among the failures" grep -q "FAILED outcomes: $name " summary.out
done
for name in passes skips gtest_skip disabled; do
  check "$name is not" bash -c "! grep -q 'FAILED outcomes: $name ' summary.out"
done
check "a failure's last 40 lines are shown" \
  bash -c "sed -n '/FAILED outcomes: fails /,/^----/p' summary.out | grep -qx 61"
check "and no more" bash -c "! sed -n '/FAILED outcomes: fails /,/^----/p' summary.out | grep -qx 60"
check "a tree without results shows its log's end" grep -qx 'line 50' summary.out
check "the failures come after the layer lines" \
  [ "$(grep -n 'FAILED' summary.out | head -1 | cut -d: -f1)" -gt "$(grep -n 'layer_b' summary.out | cut -d: -f1)" ]

python3 "$SUMMARY" --forget "$WORK" "$WORK/logs" outcomes
check "--forget removes the results of a run before" [ ! -e build/outcomes/ctest-results.xml ]
finish
