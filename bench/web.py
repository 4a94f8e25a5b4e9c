"""The measuring half of bench/web.sh, on the X display that script starts:
  web.py WEB_DIR FLOOR_HTML RUNS CLICKS"""
import json, os, shutil, socket, statistics, subprocess, sys, tempfile, time
from pathlib import Path
from selenium import webdriver
from selenium.webdriver.chrome.service import Service

web, floor, runs, clicks = Path(sys.argv[1]), Path(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
size = sum(f.stat().st_size for f in web.rglob("*") if f.is_file())
print(f"the folder: {sum(1 for f in web.rglob('*') if f.is_file())} files, {size} bytes = {size / 1024:.1f} KiB"
      f" (goal <= 64 KiB){'' if size <= 65536 else '  MISSED'}")

options = webdriver.ChromeOptions()
options.binary_location = shutil.which("chromium")
# Full screen, so that the page's CSS pixels are the screen's from its top left corner.
for arg in ["--no-first-run", "--password-store=basic", "--kiosk"] + ["--no-sandbox"] * (os.geteuid() == 0):
    options.add_argument(arg)
options.add_experimental_option("excludeSwitches", ["enable-automation"])
driver = webdriver.Chrome(options=options, service=Service(shutil.which("chromedriver")))

clip = lambda: subprocess.run(["xclip", "-selection", "clipboard", "-o", "-t", "UTF8_STRING"], capture_output=True, text=True).stdout


def measure(url, button):
    """One visit: first paint in ms, then the clicks on the button, mouse-up to the clipboard, in ms each."""
    driver.get("about:blank")
    driver.get(url)
    paint = None
    while paint is None:
        paint = driver.execute_script("const p = performance.getEntriesByName('first-paint')[0]; return p && p.startTime")
    x, y, text = driver.execute_script(f"const b = document.getElementById('{button}'), r = b.getBoundingClientRect();"
                                       " return [r.left + r.width / 2, r.top + r.height / 2, b.textContent]")
    subprocess.run(["xdotool", "mousemove", "--sync", str(round(x)), str(round(y))])
    times = []
    for k in range(clicks):
        subprocess.run(["xclip", "-selection", "clipboard", "-i"], input=f"bench {k}", text=True, stdout=subprocess.DEVNULL)
        while clip() != f"bench {k}":
            time.sleep(0.01)
        subprocess.run(["xdotool", "mousedown", "1"])
        time.sleep(0.1)
        subprocess.run(["xdotool", "mouseup", "1"])
        t0 = time.monotonic()
        while (copied := clip()) == f"bench {k}" and time.monotonic() - t0 < 5:
            pass
        times.append((time.monotonic() - t0) * 1000)
        if copied != text:
            sys.exit(f"bench: the click on {url}#{button} copied {copied!r}, not {text!r}")
        time.sleep(0.1)
    return paint, times


pages = {"Sorelin": ((web / "index.html").resolve().as_uri(), "Command101"), "floor": (floor.resolve().as_uri(), "b")}
figures = {name: ([], []) for name in pages}
for name, page in pages.items():
    measure(*page)  # warm-up, not counted
for _ in range(runs):
    for name, page in pages.items():
        paint, times = measure(*page)
        figures[name][0].append(paint)
        figures[name][1].extend(times)
driver.quit()

print(f"timed runs: {runs} of each, alternating; clicks: {clicks} per run")
print(f"{'':36} {'Sorelin':>12} {'floor':>12} {'ratio':>8} {'target':>8}")
for label, column, goal in (("navigation to first paint", 0, 1.2), ("mouse-up to clipboard", 1, 1.1)):
    page, base = (statistics.median(figures[n][column]) for n in pages)
    print(f"{label:36} {page:9.1f} ms {base:9.1f} ms {page / base:8.2f} {'<=' + str(goal):>8}"
          f"{'' if page / base <= goal else '  MISSED'}")


# Lighthouse (the web test's, tests/web/node_modules) on the folder served over http, its default mobile profile (a slowed
# CPU and network), in a headless Chromium of its own on no network but this one: medians of its performance score and
# Total Blocking Time.
lighthouse = Path(__file__).parent.parent / "tests/web/node_modules/lighthouse/cli/index.js"
if not lighthouse.exists():
    sys.exit("bench: no Lighthouse (scripts/setup.sh --test installs it)")
with socket.socket() as s:
    s.bind(("127.0.0.1", 0))
    port = s.getsockname()[1]
server = subprocess.Popen([sys.executable, "-m", "http.server", "-b", "127.0.0.1", "-d", web, str(port)],
                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
flags = "--headless=new --disable-background-networking --disable-component-update --no-first-run --disable-sync" + \
    " --no-sandbox" * (os.geteuid() == 0)
scores, blocking = [], []
try:
    time.sleep(0.5)
    with tempfile.TemporaryDirectory() as out:
        for k in range(int(os.environ.get("LIGHTHOUSE", 5))):
            subprocess.run(["node", lighthouse, f"http://127.0.0.1:{port}/", "--quiet", "--output=json", f"--output-path={out}/r.json",
                            "--only-categories=performance", f"--chrome-flags={flags}"], env=dict(os.environ, CHROME_PATH=shutil.which("chromium")),
                           check=True)
            report = json.loads(Path(out, "r.json").read_text())
            scores.append(report["categories"]["performance"]["score"] * 100)
            blocking.append(report["audits"]["total-blocking-time"]["numericValue"])
finally:
    server.terminate()
print(f"Lighthouse, mobile, {len(scores)} runs: performance {statistics.median(scores):.0f} (goal 100; {min(scores):.0f} to {max(scores):.0f}),"
      f" Total Blocking Time {statistics.median(blocking):.0f} ms (goal < 50; {min(blocking):.0f} to {max(blocking):.0f})"
      f"{'' if statistics.median(scores) == 100 and statistics.median(blocking) < 50 else '  MISSED'}")
