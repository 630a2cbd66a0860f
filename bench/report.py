"""report.py [--web] ROUNDS RAW_DIR: the bench table from its raw figures, into bench/results.md."""
import csv, datetime, json, math, os, re, statistics, sys, textwrap
from pathlib import Path

SETUPS = {"openbox": "Xvfb with openbox", "none": "Xvfb, no window manager"}
AGAINST = {"same_screen": "Same screen, stock Qt widgets", "bare": "Bare window, its button alone",
           "plain": "Same screen, plain HTML"}
UNITS = {"maxrss_kib": (1024, "MiB"), "bytes": (1024, "KiB")}  # the others': (1, "ms")
MET = ["MISSED", "met"]
row = lambda *cells: "| " + " | ".join(cells) + " |"  # noqa: E731
sh = lambda command: os.popen(command).read().strip()  # noqa: E731
HEADER = [row("Set-up", "Measure", "FernWick", "Against", "Its figure", "Ratio (95% interval)",
              "Target"), row(*["---"] * 7)]


def compare(setup, measure, key, pairs, other, limit):
    """A measure's row from its (FernWick, other) figures per round: each one's median, the median
    ratio with a distribution-free 95% confidence interval (order statistics), the target."""
    v, n = sorted(ours / theirs for ours, theirs in pairs), len(pairs)
    half = 1.96 * math.sqrt(n) / 2
    low, high = v[max(1, int(n / 2 - half + 0.5)) - 1], v[min(n, int(1 + n / 2 + half + 0.5)) - 1]
    ratio, (scale, unit) = statistics.median(v), UNITS.get(key, (1, "ms"))
    own = [f"{statistics.median(side) / scale:.1f} {unit}" for side in zip(*pairs)]
    target = f"≤ {limit} ({MET[ratio <= limit]})" if limit else ""
    if limit and measure == "First paint":  # as fast as the other within the noise, or faster
        met = "met" if ratio <= limit and low <= 1 <= high else (
            "beaten: faster" if high < 1 else "MISSED")
        target = f"≤ {limit}, 1.00 in interval ({met})"
    cell = f"{ratio:.3f} ({low:.3f}–{high:.3f})"
    return row(setup, measure, own[0], AGAINST[other], own[1], cell, target)


def spread(times, scale=1, digits=2):
    """Median, 99th percentile and maximum (and how many are -1: unchanged), and the 99th."""
    times = sorted(times)
    p99 = times[min(len(times) - 1, int(0.99 * len(times)))]
    figures = (statistics.median(times), p99, times[-1])
    return " / ".join(f"{t / scale:.{digits}f}" for t in figures) + " ms" + (
        f", {times.count(-1)} unchanged" if -1 in times else ""), p99


def desktop(raw):
    table = []
    for setup in SETUPS:
        runs = {(run["program"], run["round"]): run
                for run in csv.DictReader((raw / f"{setup}.tsv").open(), delimiter="\t")}
        for measure, key, other, limit in (
                ("First paint", "paint_ms", "same_screen", 1.03),
                ("Peak memory (ru_maxrss)", "maxrss_kib", "same_screen", 1.01),
                ("CPU time to first paint", "cpu_ms", "same_screen", None),
                ("First paint", "paint_ms", "bare", None),
                ("Peak memory (ru_maxrss)", "maxrss_kib", "bare", None)):
            pairs = [(float(run[key]), float(runs[other, r][key]))
                     for (program, r), run in runs.items() if program == "fernwick"]
            table.append(compare(SETUPS[setup], measure, key, pairs, other, limit))
    toggles = (raw / "toggle_us.txt").read_text().split()
    figures, p99 = spread(map(float, toggles), 1000, 3)
    table.append(row("Offscreen", f"Click to repaint, {len(toggles)} toggles: median / 99th "
                     "percentile / max", figures, "", "", "", f"99th < 2 ms ({MET[p99 < 2000]})"))
    cpu = re.search(r"model name\s*: (.*)", Path("/proc/cpuinfo").read_text())[1].strip()
    debian = Path("/etc/debian_version").read_text().strip()
    qt, gcc = sh("/usr/lib/qt6/bin/qtpaths --qt-version"), sh("g++ -dumpfullversion")
    return table, f"{cpu}, {os.cpu_count()} cores, Debian {debian}, Qt {qt}, g++ {gcc}"


def web(raw):
    data = json.loads((raw / "results.json").read_text())
    table, setup = [], "Headless Chromium, 127.0.0.1"
    for measure, key, limit in (("Page weight, gzip -9 but images", "bytes", 1.5),
                                ("First complete paint", "paint_ms", 1.25)):
        pairs = [(g[key], p[key]) for g, p in zip(data["game"]["loads"], data["plain"]["loads"])]
        table.append(compare(setup, measure, key, pairs, "plain", limit))
    (game, p99), (plain, _) = (spread(data[p]["press_ms"]) for p in ("game", "plain"))
    press = data["game"]["press_ms"]  # -1: a press that changed nothing
    table.append(row(setup, f"Press to repaint, {len(press)} presses: median / 99th percentile / "
                     "max", game, AGAINST["plain"], plain, "",
                     f"99th < 16 ms ({MET[p99 < 16 and -1 not in press]})"))
    return table, f"{os.cpu_count()} cores, {sh('/usr/bin/chromium --version 2>/dev/null')}"


is_web = sys.argv[1] == "--web"
raw = Path(sys.argv[-1])
table, about = (web if is_web else desktop)(raw)
load = (raw / "load-start").read_text().split()[0], os.getloadavg()[0]
shared = ", so other work shared the machine" if max(map(float, load)) > 1 else ""
latest = textwrap.fill(
    f"Latest run: `scripts/bench {' '.join(sys.argv[1:-1])}` on {datetime.date.today()}; {about}; "
    f"load average (1 min) {load[0]} at the start and {load[1]:.2f} at the end{shared}.", 100)
begin = f"<!-- scripts/bench{' --web' * is_web} writes from here -->"
end = f"<!-- to here{', web' * is_web} -->"
block = "\n".join([begin] + HEADER + table + ["", latest, end])
results = Path("bench/results.md")
results.write_text(re.sub(f"{re.escape(begin)}.*?{re.escape(end)}", lambda _: block,
                          results.read_text(), flags=re.S))
print(block + "\n\nWritten to bench/results.md.")
