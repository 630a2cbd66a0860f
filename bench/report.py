"""report.py ROUNDS RAW_DIR: the table of scripts/bench, to bench/results.md."""
import datetime, math, os, re, statistics, subprocess, sys, textwrap
from pathlib import Path

SETUPS = {"openbox": "Xvfb with openbox", "none": "Xvfb, no window manager"}
AGAINST = {"same_screen": "Same screen, stock Qt widgets", "bare": "Bare window, its button alone"}


def median_interval(values):
    """A distribution-free 95% confidence interval for the median, from the order statistics."""
    v, n = sorted(values), len(values)
    half = 1.96 * math.sqrt(n) / 2
    return v[max(1, int(n / 2 - half + 0.5)) - 1], v[min(n, int(1 + n / 2 + half + 0.5)) - 1]


def parity(ratio, low, high):
    """First paint within noise of the same screen: at most 1.03, and 1.00 inside the interval."""
    if ratio <= 1.03 and low <= 1 <= high:
        return "met"
    return "beaten: faster" if high < 1 else "MISSED"


def rows(setup, path):
    lines = [line.split("\t") for line in path.read_text().splitlines()]
    runs = [dict(zip(lines[0], line)) for line in lines[1:]]
    rounds = sorted({run["round"] for run in runs})
    value = {(run["program"], run["round"], key): float(run[key]) for run in runs for key in run
             if key not in ("program", "round")}
    for measure, key, other, target in (
            ("First paint", "paint_ms", "same_screen", "≤ 1.03, 1.00 in interval"),
            ("Peak memory (ru_maxrss)", "maxrss_kib", "same_screen", "≤ 1.01"),
            ("CPU time to first paint", "cpu_ms", "same_screen", ""),
            ("First paint", "paint_ms", "bare", ""),
            ("Peak memory (ru_maxrss)", "maxrss_kib", "bare", "")):
        ratios = [value["fernwick", r, key] / value[other, r, key] for r in rounds]
        ratio, (low, high) = statistics.median(ratios), median_interval(ratios)

        def own(program):
            m = statistics.median(value[program, r, key] for r in rounds)
            return f"{m / 1024:.1f} MiB" if key == "maxrss_kib" else f"{m:.1f} ms"

        if target:
            met = ["MISSED", "met"][ratio <= 1.01]
            target += f" ({parity(ratio, low, high) if key == 'paint_ms' else met})"
        yield (f"| {SETUPS[setup]} | {measure} | {own('fernwick')} | {AGAINST[other]} | "
               f"{own(other)} | {ratio:.3f} ({low:.3f}–{high:.3f}) | {target} |")


def main():
    rounds, raw = sys.argv[1], Path(sys.argv[2])
    toggles = sorted(float(line) for line in (raw / "toggle_us.txt").read_text().split())
    p99 = toggles[min(len(toggles) - 1, int(0.99 * len(toggles)))]
    table = ["| Set-up | Measure | FernWick | Against | Its figure | Ratio (95% interval) "
             "| Target |",
             "| --- | --- | --- | --- | --- | --- | --- |"]
    for setup in SETUPS:
        table += rows(setup, raw / f"{setup}.tsv")
    met = ["MISSED", "met"][p99 < 2000]
    table.append(f"| Offscreen | Click to repaint, {len(toggles)} toggles: median / 99th percentile"
                 f" / max | {statistics.median(toggles) / 1000:.3f} / {p99 / 1000:.3f} / "
                 f"{toggles[-1] / 1000:.3f} ms | | | | 99th < 2 ms ({met}) |")

    load = (raw / "load-start").read_text().split()[0], os.getloadavg()[0]
    cpu = next(line.split(": ", 1)[1] for line in open("/proc/cpuinfo")
               if line.startswith("model name"))
    qt, gcc = (subprocess.run(c, capture_output=True, text=True).stdout.strip() for c in
               (["/usr/lib/qt6/bin/qtpaths", "--qt-version"], ["g++", "-dumpfullversion"]))
    debian = Path("/etc/debian_version").read_text().strip()
    shared = ", so other work shared the machine" if max(map(float, load)) > 1 else ""
    latest = textwrap.fill(
        f"Latest run: `scripts/bench {rounds}` on {datetime.date.today()}; {cpu.strip()}, "
        f"{os.cpu_count()} cores, Debian {debian}, Qt {qt}, g++ {gcc}; load "
        f"average (1 min) {load[0]} at the start and {load[1]:.2f} at the end{shared}.", 100)
    results = Path("bench/results.md")  # keeping the rows that scripts/bench --web writes there
    web = re.search(r"\n<!-- scripts/bench --web writes from here -->.*", results.read_text(), re.S)
    results.write_text("\n".join(
        ["# Benchmark results", "", latest, ""] + table +
        ["", "How it is measured, and what the ratios mean: [docs/bench.md](../docs/bench.md).", ""])
        + (web.group(0) if web else ""))
    print("\n".join(table + ["", latest, "", "Written to bench/results.md."]))


if __name__ == "__main__":
    main()
