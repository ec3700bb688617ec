#!/usr/bin/env python3
"""Sums up the test presets' results for scripts/test.

  ctest_summary.py ROOT LOGS PRESET...
  ctest_summary.py --forget ROOT LOGS PRESET...   removes earlier results

For each preset, the JUnit file its test preset wrote (outputJUnitFile in
the tree that CMakePresets.json names) and the layer of each test (its
label, from `ctest --show-only=json-v1`). Prints a line per tree and layer,
then each failed test's name with the end of its output (the end of a log
is what a CI shows), and last the one line "N passed, N failed". A preset
whose workflow wrote no results (configure or build failed) counts as one
failure, shown with the end of its log. Exits 1 when anything failed.
"""
import json
import os
import subprocess
import sys
import xml.etree.ElementTree as ElementTree

TAIL = 40


def tail(text, lines=TAIL):
    return "\n".join(text.rstrip("\n").splitlines()[-lines:])


def preset_trees(root):
    with open(os.path.join(root, "CMakePresets.json")) as file:
        presets = json.load(file)["configurePresets"]
    return {p["name"]: p.get("binaryDir", "").replace("${sourceDir}", root) for p in presets}


def labels(tree):
    """Test name -> its first label (its layer)."""
    # Not through the test preset: it would write its JUnit file again,
    # listing no test.
    listing = subprocess.run(["ctest", "--test-dir", tree, "--show-only=json-v1"],
                             capture_output=True, text=True)
    found = {}
    try:
        tests = json.loads(listing.stdout).get("tests", [])
    except ValueError:
        return found
    for test in tests:
        for prop in test.get("properties", []):
            if prop.get("name") == "LABELS" and prop.get("value"):
                found[test["name"]] = prop["value"][0]
    return found


def outcome(case):
    """'passed', 'failed' or 'skipped' for one JUnit test case."""
    status = case.get("status", "")
    if case.find("failure") is not None or status == "fail":
        return "failed"
    if status == "disabled":
        return "skipped"
    if status == "notrun":
        # A test that asked to be skipped (SKIP_RETURN_CODE) is skipped; one
        # that could not run (no executable, a fixture that failed) failed.
        skipped = case.find("skipped")
        message = skipped.get("message", "") if skipped is not None else ""
        return "skipped" if "SKIP" in message.upper() else "failed"
    return "passed"


def main(argv):
    forget = len(argv) > 1 and argv[1] == "--forget"
    if forget:
        argv = argv[1:]
    root, logs, presets = argv[1], argv[2], argv[3:]
    trees = preset_trees(root)
    if forget:
        for preset in presets:
            results = os.path.join(trees.get(preset, ""), "ctest-results.xml")
            if os.path.isfile(results):
                os.remove(results)
        return 0
    lines, failures = [], []
    totals = {"passed": 0, "failed": 0, "skipped": 0}
    for preset in presets:
        results = os.path.join(trees.get(preset, ""), "ctest-results.xml")
        log = os.path.join(logs, preset + ".log")
        if not os.path.isfile(results):
            text = open(log, errors="replace").read() if os.path.isfile(log) else ""
            lines.append(f"{preset:<10} {'(configure/build)':<24} 0 passed, 1 failed")
            failures.append((f"{preset}: no test results, configure or build failed ({log})", text))
            totals["failed"] += 1
            continue
        cases = list(ElementTree.parse(results).getroot().iter("testcase"))
        layer_of = labels(trees[preset])
        layers = {}
        for case in cases:
            name = case.get("name", "?")
            result = outcome(case)
            layer = layers.setdefault(layer_of.get(name, "unlabelled"),
                                      {"passed": 0, "failed": 0, "skipped": 0})
            layer[result] += 1
            totals[result] += 1
            if result == "failed":
                out = case.findtext("system-out") or ""
                failures.append((f"{preset}: {name} ({case.get('status', '')})", out))
        for layer, count in sorted(layers.items()):
            skipped = f", {count['skipped']} skipped" if count["skipped"] else ""
            lines.append(f"{preset:<10} {layer:<24} {count['passed']:4d} passed, "
                         f"{count['failed']} failed{skipped}")
    print()
    print("\n".join(lines))
    for title, text in failures:
        print(f"\n---- FAILED {title}; its last {TAIL} lines:")
        print(tail(text))
    if totals["skipped"]:
        print(f"\n({totals['skipped']} skipped)")
    print(f"{totals['passed']} passed, {totals['failed']} failed")
    return 1 if totals["failed"] else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
