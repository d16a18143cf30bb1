#!/usr/bin/env python3
"""Pairs benchmark results named <name>/ours and <name>/ref (optionally with /<arg> suffixes)
and prints RATIO <name> <ours/ref>. A benchmark may also report a counter named `ratio_value`
(for figures that are not times, such as bytes per cell), printed as VALUE <name> <figure>."""
import json
import sys

times = {}
values = []
for path in sys.argv[1:]:
    with open(path) as f:
        data = json.load(f)
    for b in data.get("benchmarks", []):
        if b.get("run_type") == "aggregate":
            continue
        name = b["name"]
        if "ratio_value" in b:
            values.append((name.split("/")[0], b["ratio_value"]))
        parts = name.split("/")
        if len(parts) >= 2 and parts[1] in ("ours", "ref"):
            # Options Google Benchmark appends to names (iterations:10, manual_time) are not
            # arguments: leave them out so that the pair still matches.
            args = [a for a in parts[2:] if ":" not in a and a not in ("manual_time", "real_time")]
            key = "/".join([parts[0]] + args)
            times.setdefault(key, {})[parts[1]] = b["real_time"] * {"ns": 1, "us": 1e3, "ms": 1e6, "s": 1e9}[b["time_unit"]]

for key in sorted(times):
    t = times[key]
    if "ours" in t and "ref" in t and t["ref"] > 0:
        print(f"RATIO {key} {t['ours'] / t['ref']:.3f}")
for name, v in values:
    print(f"VALUE {name} {v:.4g}")
