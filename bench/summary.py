#!/usr/bin/python3
"""The summary table of `make bench`: one line per figure and baseline, from the benchmarks' JSON.

    summary.py RESULTS.json...

A benchmark reports its figure as the counter "value_<unit>" and, per baseline measured in the
same run, "<baseline>_<unit>" and the ratio "x_<baseline>" (value / baseline).
"""
import json
import os
import sys


def amount(value, unit):
    if unit == "us":
        for limit, name, scale in ((1, "ns", 1e3), (1e3, "us", 1), (1e6, "ms", 1e-3), (float("inf"), "s", 1e-6)):
            if value < limit:
                return "%.3g %s" % (value * scale, name)
    return "%.3g %s" % (value, unit)


def rows(path):
    program = os.path.basename(path).rsplit(".", 1)[0]
    with open(path) as f:
        report = json.load(f)
    for bench in report.get("benchmarks", []):
        figure = "%s %s" % (program, bench["name"].replace("/manual_time", ""))
        if bench.get("error_occurred"):
            yield figure, "skipped: " + bench.get("error_message", ""), "", ""
            continue
        values = [k for k in bench if k.startswith("value_")]
        if not values:
            continue
        value_key = values[0]
        value = amount(bench[value_key], value_key.split("_", 1)[1])
        for key in sorted(k for k in bench if k.startswith("x_")):
            name = key[2:]
            baseline_keys = [k for k in bench if k.startswith(name + "_")]
            baseline = ""
            if baseline_keys:
                unit = baseline_keys[0][len(name) + 1:]
                baseline = "%s %s" % (name, amount(bench[baseline_keys[0]], unit))
            ratio = bench[key]
            yield figure, value, baseline, "%.0f" % ratio if ratio >= 1000 else "%.3g" % ratio
            figure, value = "", ""


def main():
    table = [("figure", "value", "baseline", "ratio")]
    for path in sys.argv[1:]:
        table.extend(rows(path))
    widths = [max(len(row[i]) for row in table) for i in range(4)]
    for n, row in enumerate(table):
        print("| " + " | ".join(cell.ljust(widths[i]) for i, cell in enumerate(row)) + " |")
        if n == 0:
            print("|" + "|".join("-" * (w + 2) for w in widths) + "|")


if __name__ == "__main__":
    main()
