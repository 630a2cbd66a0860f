"""report.py ROUNDS RAW_DIR: the web rows of scripts/bench --web, to bench/results.md."""
import datetime, json, os, re, statistics, sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent))
from report import median_interval  # noqa: E402

SETUP, AGAINST = "Headless Chromium, 127.0.0.1", "Same screen, plain HTML"


def main():
    rounds, raw = sys.argv[1], Path(sys.argv[2])
    data = json.loads((raw / "results.json").read_text())
    table = ["| Set-up | Measure | FernWick | Against | Its figure | Ratio (95% interval) | Target |",
             "| --- | --- | --- | --- | --- | --- | --- |"]
    for measure, key, unit, limit in (("Page weight, gzip -9 but images", "bytes", 1024, 1.5),
                                      ("First complete paint", "paint_ms", 1, 1.25)):
        own = {p: statistics.median(l[key] for l in data[p]["loads"]) / unit for p in data}
        ratios = [g[key] / p[key] for g, p in zip(data["game"]["loads"], data["plain"]["loads"])]
        ratio, (low, high) = statistics.median(ratios), median_interval(ratios)
        fig = "KiB" if unit > 1 else "ms"
        table.append(f"| {SETUP} | {measure} | {own['game']:.1f} {fig} | {AGAINST} | "
                     f"{own['plain']:.1f} {fig} | {ratio:.3f} ({low:.3f}–{high:.3f}) | "
                     f"≤ {limit} ({['MISSED', 'met'][ratio <= limit]}) |")
    press = {p: sorted(data[p]["press_ms"]) for p in data}  # -1: a press that changed nothing
    fig = {p: f"{statistics.median(t):.2f} / {t[int(0.99 * len(t))]:.2f} / {t[-1]:.2f} ms"
           + (f", {t.count(-1)} unchanged" if -1 in t else "") for p, t in press.items()}
    t = press["game"]
    ok = t[int(0.99 * len(t))] < 16 and -1 not in t
    table.append(f"| {SETUP} | Press to repaint, {len(data['game']['press_ms'])} presses: median / "
                 f"99th percentile / max | {fig['game']} | {AGAINST} | {fig['plain']} | | "
                 f"99th < 16 ms ({['MISSED', 'met'][ok]}) |")
    load = (raw / "load-start").read_text().split()[0], os.getloadavg()[0]
    latest = (f"Latest run: `scripts/bench --web {rounds}` on {datetime.date.today()}; "
              f"{os.cpu_count()} cores, {os.popen('/usr/bin/chromium --version 2>/dev/null').read().strip()}; "
              f"load average (1 min) {load[0]} at the start and {load[1]:.2f} at the end.")
    begin, end = "<!-- scripts/bench --web writes from here -->", "<!-- to here, web -->"
    block = "\n".join([begin] + table + ["", latest, end])
    path = Path("bench/results.md")
    text = path.read_text()
    if begin not in text:
        text = text.rstrip("\n") + "\n\n" + begin + end + "\n"
    path.write_text(re.sub(f"{re.escape(begin)}.*?{re.escape(end)}", lambda _: block, text,
                           flags=re.S))
    print(block)


if __name__ == "__main__":
    main()
