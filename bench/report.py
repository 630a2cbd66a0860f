"""report.py [--web] ROUNDS RAW_DIR: the table of scripts/bench (with --web, of scripts/bench
--web) from its raw figures, written into bench/results.md between its markers, and printed."""
import datetime, json, math, os, re, statistics, sys, textwrap
from pathlib import Path

SETUPS = {"openbox": "Xvfb with openbox", "none": "Xvfb, no window manager"}
AGAINST = {"same_screen": "Same screen, stock Qt widgets", "bare": "Bare window, its button alone",
           "plain": "Same screen, plain HTML"}
MET = ["MISSED", "met"]
MARKERS = {False: ("<!-- scripts/bench writes from here -->", "<!-- to here -->"),
           True: ("<!-- scripts/bench --web writes from here -->", "<!-- to here, web -->")}
row = lambda *cells: "| " + " | ".join(cells) + " |"  # noqa: E731
HEADER = [row("Set-up", "Measure", "FernWick", "Against", "Its figure", "Ratio (95% interval)",
              "Target"), row(*["---"] * 7)]


def median_interval(values):
    """A distribution-free 95% confidence interval for the median, from the order statistics."""
    v, n = sorted(values), len(values)
    half = 1.96 * math.sqrt(n) / 2
    return v[max(1, int(n / 2 - half + 0.5)) - 1], v[min(n, int(1 + n / 2 + half + 0.5)) - 1]


def ratio_cell(ratios):
    """The median ratio, its interval and the cell that shows them."""
    ratio, (low, high) = statistics.median(ratios), median_interval(ratios)
    return ratio, low, high, f"{ratio:.3f} ({low:.3f}–{high:.3f})"


def spread(times, scale=1, digits=2):
    """Median, 99th percentile and maximum of sorted times, and the 99th percentile itself."""
    p99 = times[min(len(times) - 1, int(0.99 * len(times)))]
    figures = (statistics.median(times), p99, times[-1])
    return " / ".join(f"{t / scale:.{digits}f}" for t in figures) + " ms", p99


def desktop_rows(setup, path):
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
        ratio, low, high, cell = ratio_cell(
            [value["fernwick", r, key] / value[other, r, key] for r in rounds])

        def own(program):
            m = statistics.median(value[program, r, key] for r in rounds)
            return f"{m / 1024:.1f} MiB" if key == "maxrss_kib" else f"{m:.1f} ms"

        if target and key == "paint_ms":  # within noise of the same screen, or faster
            met = "met" if ratio <= 1.03 and low <= 1 <= high else (
                "beaten: faster" if high < 1 else "MISSED")
            target += f" ({met})"
        elif target:
            target += f" ({MET[ratio <= 1.01]})"
        yield row(SETUPS[setup], measure, own("fernwick"), AGAINST[other], own(other), cell, target)


def desktop(rounds, raw):
    table = HEADER.copy()
    for setup in SETUPS:
        table += desktop_rows(setup, raw / f"{setup}.tsv")
    toggles = sorted(float(line) for line in (raw / "toggle_us.txt").read_text().split())
    figures, p99 = spread(toggles, 1000, 3)
    table.append(row("Offscreen", f"Click to repaint, {len(toggles)} toggles: median / 99th "
                     "percentile / max", figures, "", "", "", f"99th < 2 ms ({MET[p99 < 2000]})"))
    cpu = next(line.split(": ", 1)[1].strip() for line in open("/proc/cpuinfo")
               if line.startswith("model name"))
    qt, gcc = (os.popen(c).read().strip() for c in
               ("/usr/lib/qt6/bin/qtpaths --qt-version", "g++ -dumpfullversion"))
    debian = Path("/etc/debian_version").read_text().strip()
    return table, f"scripts/bench {rounds}", (
        f"{cpu}, {os.cpu_count()} cores, Debian {debian}, Qt {qt}, g++ {gcc}")


def web(rounds, raw):
    data = json.loads((raw / "results.json").read_text())
    table, setup = HEADER.copy(), "Headless Chromium, 127.0.0.1"
    for measure, key, unit, limit in (("Page weight, gzip -9 but images", "bytes", 1024, 1.5),
                                      ("First complete paint", "paint_ms", 1, 1.25)):
        own = {p: f"{statistics.median(l[key] for l in data[p]['loads']) / unit:.1f} "
               + ("KiB" if unit > 1 else "ms") for p in data}
        ratio, _, _, cell = ratio_cell(
            [g[key] / p[key] for g, p in zip(data["game"]["loads"], data["plain"]["loads"])])
        table.append(row(setup, measure, own["game"], AGAINST["plain"], own["plain"], cell,
                         f"≤ {limit} ({MET[ratio <= limit]})"))
    press = {p: sorted(data[p]["press_ms"]) for p in data}  # -1: a press that changed nothing
    fig = {p: spread(t)[0] + (f", {t.count(-1)} unchanged" if -1 in t else "")
           for p, t in press.items()}
    ok = spread(press["game"])[1] < 16 and -1 not in press["game"]
    table.append(row(setup, f"Press to repaint, {len(press['game'])} presses: median / 99th "
                     "percentile / max", fig["game"], AGAINST["plain"], fig["plain"], "",
                     f"99th < 16 ms ({MET[ok]})"))
    chromium = os.popen("/usr/bin/chromium --version 2>/dev/null").read().strip()
    return table, f"scripts/bench --web {rounds}", f"{os.cpu_count()} cores, {chromium}"


def main():
    web_rows = sys.argv[1] == "--web"
    rounds, raw = sys.argv[1 + web_rows], Path(sys.argv[2 + web_rows])
    table, command, about = (web if web_rows else desktop)(rounds, raw)
    load = (raw / "load-start").read_text().split()[0], os.getloadavg()[0]
    shared = ", so other work shared the machine" if max(map(float, load)) > 1 else ""
    latest = textwrap.fill(
        f"Latest run: `{command}` on {datetime.date.today()}; {about}; load average (1 min) "
        f"{load[0]} at the start and {load[1]:.2f} at the end{shared}.", 100)
    begin, end = MARKERS[web_rows]
    block = "\n".join([begin] + table + ["", latest, end])
    readme = Path("bench/results.md")
    text = readme.read_text()
    if begin not in text:
        text = text.rstrip("\n") + "\n\n" + begin + end + "\n"
    readme.write_text(re.sub(f"{re.escape(begin)}.*?{re.escape(end)}", lambda _: block, text,
                             flags=re.S))
    print(block + "\n\nWritten to bench/results.md.")


if __name__ == "__main__":
    main()
