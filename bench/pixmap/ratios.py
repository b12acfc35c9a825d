#!/usr/bin/env python3
"""Table of decoding speeds from bench_pixmap's JSON output.

Run the benchmark with repetitions, interleaved so that a noisy machine slows every
decoder alike, then give this script the file (or several runs' files):

    bench_pixmap --benchmark_repetitions=9 --benchmark_enable_random_interleaving=true \\
        --benchmark_out=run.json --benchmark_out_format=json
    python3 bench/pixmap/ratios.py run.json

Each cell is the median MP/s of the repetitions; the ratios are our loader's median
over the library's and over stb_image's.
"""
import json
import statistics
import sys
from collections import defaultdict


def Medians(paths):
    rates = defaultdict(list)
    for path in paths:
        with open(path) as f:
            for b in json.load(f)["benchmarks"]:
                if b.get("run_type", "iteration") == "iteration" and "MP/s" in b and not b.get("error_occurred"):
                    rates[b["run_name"]].append(b["MP/s"])
    return {name: statistics.median(values) for name, values in rates.items()}


def main(paths):
    medians = Medians(paths)
    # format/size -> decoder -> MP/s.
    rows = {}
    for name, rate in medians.items():
        fmt, size, decoder = name.split("/")
        rows.setdefault((fmt, size), {})[decoder] = rate
    # Rows in the order the benchmarks were registered, whatever order they ran in.
    first = {}
    with open(paths[0]) as f:
        for b in json.load(f)["benchmarks"]:
            fmt, size, _ = b["run_name"].split("/")
            first[(fmt, size)] = min(first.get((fmt, size), b["family_index"]), b["family_index"])
    order = sorted(first, key=first.get)
    header = ["format", "size", "ours", "library", "lib MP/s", "stb MP/s", "ours/lib", "ours/stb"]
    print("| " + " | ".join(header) + " |")
    print("|" + "---|" * len(header))
    for key in order:
        decoders = rows.get(key, {})
        ours = decoders.get("ours")
        stb = decoders.get("stb")
        library = next((d for d in decoders if d not in ("ours", "stb")), None)
        lib = decoders.get(library) if library else None

        def Cell(v):
            return f"{v:.1f}" if v is not None else "-"

        def Ratio(a, b):
            return f"{a / b:.2f}" if a is not None and b else "-"

        print(f"| {key[0]} | {key[1]} | {Cell(ours)} | {library or '-'} | {Cell(lib)} | {Cell(stb)} | "
              f"{Ratio(ours, lib)} | {Ratio(ours, stb)} |")


if __name__ == "__main__":
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    main(sys.argv[1:])
