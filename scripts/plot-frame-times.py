#!/usr/bin/env python3
"""Plots the frame intervals that bench_flip_pacing writes with "--intervals FILE".

Usage: plot-frame-times.py INTERVALS PNG

Draws each run's intervals over the frame number, with the 16.67 ms of 60 frames a second,
and names in the legend each run's total and its shortest and longest interval. Needs
matplotlib: on Debian `apt-get install python3-matplotlib`, run with the system's python3.
"""
import sys

try:
    import matplotlib

    matplotlib.use("Agg")  # only writes a file; needs no display
    import matplotlib.pyplot as plt
except ImportError:
    sys.exit("plot-frame-times.py needs matplotlib: apt-get install python3-matplotlib "
             "(then run it with /usr/bin/python3)")

FRAME_MS = 1000 / 60


def read_runs(path):
    """The runs of the file in order, as (name, [interval in ms, ...])."""
    runs = []
    with open(path, encoding="utf-8") as lines:
        for number, line in enumerate(lines, 1):
            line = line.strip()
            if line.startswith("run "):
                runs.append((line[4:], []))
            elif line:
                if not runs:
                    sys.exit(f"{path}:{number}: an interval before the first 'run' line")
                runs[-1][1].append(float(line))
    if not runs:
        sys.exit(f"{path}: no runs")
    return runs


def plot(runs, png):
    figure, axes = plt.subplots(figsize=(8, 5), dpi=100)  # 800 x 500 pixels
    for name, intervals in runs:
        label = f"{name}: total {sum(intervals):.1f} ms, {min(intervals):.2f} to {max(intervals):.2f} ms"
        axes.plot(range(1, len(intervals) + 1), intervals, linewidth=1, label=label)
    axes.axhline(FRAME_MS, color="black", linestyle="--", linewidth=1, label="16.67 ms (60 frames a second)")
    axes.set_xlabel("frame")
    axes.set_ylabel("interval since the frame before (ms)")
    axes.set_title(f"Frame intervals, {len(runs[0][1])} frames per run")
    axes.grid(alpha=0.3)
    axes.legend(loc="upper center", bbox_to_anchor=(0.5, -0.13), fontsize=9)  # below the plot
    figure.tight_layout()
    figure.savefig(png)


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: plot-frame-times.py INTERVALS PNG")
    plot(read_runs(sys.argv[1]), sys.argv[2])


if __name__ == "__main__":
    main()
