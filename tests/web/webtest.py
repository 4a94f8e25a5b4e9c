"""The web edition in one browser on the X display it is given: webtest.py chromium|firefox|webkit WEB_DIR WINDOW_TSV LOG_DIR.
Places, faces, fonts and captions against the desktop's record (tests/window.tsv), presses read from the X clipboard (every
button in Chromium, a sample on both tabs elsewhere), panes, keys; a refused copy in Firefox and WebKit, one never answered
everywhere, and its note leaving; in Chromium what a screen reader finds, a bevel's pixels, the folder
served (its policy, installable, slow, updated, then offline), the always-on-top window; mouse and touch screens of several
sizes, taps, the teacher's zoom."""
import base64, http.server, re, subprocess, sys, threading
from pathlib import Path
from browsers import *

engine, web, tsv, logs = sys.argv[1:5]
FIELDS = "name place tabs order font face caption heard copies text1 text2".split()
rows = [dict(zip(FIELDS, line.split("\t") + [""] * 11)) for line in Path(tsv).read_text().splitlines() if line[:1] != "#"]
row = {r["name"]: r for r in rows}
buttons = [r for r in rows if r["name"].startswith("Command")]
FAILED = "コピーできませんでした。もう一度押してください。"  # the desktop's note of a copy that failed
SAMPLE = None if engine == "chromium" else {r["name"] for r in buttons[::11]} | {"Command97", "Command192", "Command193"}
failures = []


def check(ok, what):
    if not ok:
        failures.append(what)
        print("FAIL:", what, flush=True)
    return ok


def css(bgr, canvas):  # the record's 0xBBGGRR, or the system window colour, as the browser computes it
    v = int(bgr.split()[0], 16)
    return canvas if v & 0x80000000 else f"rgb({v & 255}, {v >> 8 & 255}, {v >> 16 & 255})"


CANVAS = """(p => { p.style.background = 'Canvas'; const c = getComputedStyle(p).backgroundColor; p.remove(); return c; })
  (document.body.appendChild(document.createElement('div')))"""
GLYPHS = """const glyphs = e => { const out = [], o = e.getBoundingClientRect(), r = document.createRange(), w = document.createTreeWalker(e, 4);
  for (let t; (t = w.nextNode());) for (let i = 0; i < t.length; i++) if (t.data[i].trim()) { r.setStart(t, i); r.setEnd(t, i + 1);
    const q = [...r.getClientRects()].pop(); out.push([q.left - o.left, q.top - o.top]); } return out; };
const seen = (e, caption) => { const got = glyphs(e), ref = e.cloneNode(false); let n = 0; const starts = [];
  ref.removeAttribute('id'); ref.style.cssText = `width:${e.offsetWidth}px;height:${e.offsetHeight}px;white-space:pre`;
  ref.textContent = [...caption.trim()].map(c => c.trim() && n++ && got[n - 1]?.[1] - got[n - 2][1] > 4 ? (starts.push(n - 1), '\\n' + c) : c).join('');
  e.parentNode.append(ref); const want = glyphs(ref); ref.remove();
  return [want.length != got.length ? 99 : Math.max(0, ...want.map((p, i) => Math.max(...p.map((v, k) => Math.abs(v - got[i][k]))))), starts]; };
const breaks = e => [...e.querySelectorAll('wbr')].map(w => { const r = document.createRange(); r.setStart(e, 0); r.setEndBefore(w);
  return r.toString().replace(/\\s/g, '').length; });"""
LOOK = "(() => { " + GLYPHS + """ return [%s, parseFloat(getComputedStyle(Form1).fontSize), Object.fromEntries(%s.map(([id, caption]) => { const e = document.getElementById(id);
  if (!e) return [id, null];
  const r = e.getBoundingClientRect(), o = (id == 'SSTab1' ? Form1 : SSTab1).getBoundingClientRect();
  const s = getComputedStyle(id == 'SSTab1' ? tab0 : e), xy = [r.left - o.left, r.top - o.top, r.width, r.height].map(Math.round);
  return [id, {shown: e.getClientRects().length > 0, font: parseFloat(s.fontSize), face: s.backgroundColor, place: `${xy[0]},${xy[1]} ${xy[2]}x${xy[3]}`,
    caption: id == 'SSTab1' ? tab0.textContent + '|' + tab1.textContent : e.tagName == 'INPUT' ? e.value : e.textContent,
    seen: e.getClientRects().length && /^Command/.test(id) ? [...seen(e, caption), breaks(e)] : [0, [], []]}]; }))]; })()"""


def look(b, tab, scale=1):
    """Places (times the scale the window is drawn at), fonts, faces and captions of every control on the tab shown, against the record."""
    canvas, window_font, seen = b.js(LOOK % (CANVAS, json.dumps([[r["name"], r["caption"]] for r in rows])))
    for r in rows:
        name, got = r["name"], seen[r["name"]]
        if not check(got, f"{name} is missing") or not check(got["shown"] == (str(tab) in r["tabs"]), f"{name} on tab {tab}") or not got["shown"]:
            continue
        drawn, want = ([int(n) for n in re.findall(r"-?\d+", place)][-2 if name == "Form1" else 0:] for place in (got["place"], r["place"]))
        check(all(abs(g - w * scale) <= (scale != 1) for g, w in zip(drawn, want)), f"{name} at {got['place']}, not {r['place']} × {scale}")  # to a pixel, scaled
        font = window_font if r["font"] == "window" else float(r["font"] or 0)
        check(not font or got["font"] == font, f"{name} font {got['font']}, designed {r['font']}")
        check(not r["face"] or got["face"] == css(r["face"], canvas), f"{name} face {got['face']}, designed {r['face']}")
        # A button's caption as seen: its characters (its text, without the spaces that set them apart) within a pixel of where
        # the record's caption, spaces and all, set in the same box and lines puts them, the lines ending exactly at the page's <wbr>.
        off, lines, breaks = got["seen"]
        check(not r["caption"] or name in ("Form1", "Text1", "Text2") or off <= 1 and lines == breaks and (got["caption"].strip() == r["caption"].strip()
              if name[:7] != "Command" else "".join(got["caption"].split()) == "".join(r["caption"].split())),
              f"{name} caption {got['caption']!r}, lines from {lines}, {off:.1f} px off, designed {r['caption']!r}")


# The panes, in the page or in the always-on-top window, wherever the window is.
PANES = """['Text1', 'Text2'].map(id => { const e = (document.getElementById('Form1') ? document
  : documentPictureInPicture.window.document).getElementById(id); %s })"""


def press(b, r, act=None):
    """One button pressed (by a click unless act says otherwise): what it copies, what each pane then shows."""
    b.js(PANES % "e.value = '='")
    clipboard("=")
    (act or (lambda: b.click(r["name"])))()
    copied = wait(lambda: (c := clipboard()) != "=" and c) or "="
    check(copied == r["copies"], f"{r['name']} copied {copied!r}, not {r['copies']!r}")
    for (value, face), want, pane in zip(b.js(PANES % "return [e.value, getComputedStyle(e).backgroundColor]"), (r["text1"], r["text2"]), "12"):
        text, _, colour = want.partition(" @")
        check(not want or value == text and (not colour or face == css(colour, b.js(CANVAS))),
              f"{r['name']}: Text{pane} shows {value!r} on {face}, not {want!r}")


def clicks(b):
    """Buttons of both tabs, each tab reached by a click on it (which blanks both panes); a credit line blanks its pane."""
    for tab in (0, 1):
        copied = clipboard()
        b.click(f"tab{tab}")
        look(b, tab)
        check(clipboard() == copied, f"a switch to tab {tab} changes the clipboard")
        check(b.js(PANES % "return e.value") == ["", ""], f"a switch to tab {tab} leaves a pane filled")
        [press(b, r) for r in buttons if str(tab) in r["tabs"] and (SAMPLE is None or r["name"] in SAMPLE)]
    b.click("Label2")
    check(b.js("Text2.value") == "", "a click on Label2 leaves Text2 filled")


def keys(b):
    """From the start: the tab has the focus, arrows switch tabs, Tab walks the desktop's order, Space and Enter press."""
    active = lambda: b.js("document.activeElement.id")
    check(active() == "tab1", f"the focus starts on {active()!r}, not on the selected tab")
    for key, tab in ((LEFT, 0), (RIGHT, 1)):
        b.js(f"tab{1 - tab}.focus()")  # back on the row of tabs
        b.keys(key)
        check(active() == f"tab{tab}" and b.js(f"tab{tab}.getAttribute('aria-selected')") == "true", f"arrow to tab {tab}")
        want = [r["name"] for r in sorted(rows, key=lambda r: int(r["order"] or 0)) if r["order"] not in ("", "0") and str(tab) in r["tabs"]]
        walk = [b.keys(TAB) or active() for _ in want]
        check(walk == want, f"on tab {tab} Tab walks {walk[:5]}... {walk[-3:]}, not {want[:5]}... {want[-3:]}")
    press(b, row[want[-1]], lambda: b.keys(ENTER))
    b.keys((SHIFT, TAB), (SHIFT, TAB))
    check(active() == want[-3], f"Shift+Tab reaches {active()!r}, not {want[-3]!r}")
    press(b, row[want[-3]], lambda: b.keys(SPACE))


def refused(b):
    """A copy the browser refuses is said by the button, and the next press takes the note away: Firefox and WebKit refuse
    both ways to the clipboard to a click that is no user's (one sent by a script, on a freshly loaded page). So is one it
    never answers, with the copy command failing too; that note goes by itself after 10 s."""
    for never in [False] * (engine != "chromium") + [True]:
        b.go(b.js("location.href"))
        clipboard("=")
        never and b.js("Object.defineProperty(navigator, 'clipboard', {value: {writeText: () => new Promise(() => {})}}),"
                       " document.execCommand = () => false")
        b.js("Command102.click()")
        note = wait(lambda: b.js("(n => n.getClientRects().length > 0 && n.getAttribute('role') + ' ' + n.textContent)(note)"), 5)
        check(note == "alert " + FAILED and clipboard() == "=", f"a copy {('refused', 'never answered')[never]}: note {note!r}, clipboard {clipboard()!r}")
        if never:
            check(wait(lambda: b.js("note.hidden"), 12), "the note stays beyond 10 s")
        else:
            press(b, row["Command103"])
            check(b.js("note.hidden"), "the note stays after the next press")


def heard(b):
    """What a screen reader finds on the second tab: the tabs, every button's name and description, the pane."""
    value, keep_on_top = lambda n, key: (n.get(key) or {}).get("value", ""), b.js("keepOnTop.textContent")
    got = sorted((value(n, "role"), value(n, "name").strip(), value(n, "description") if value(n, "role") == "button" else "")
                 for n in b.d.execute_cdp_cmd("Accessibility.getFullAXTree", {})["nodes"]
                 if not n.get("ignored") and value(n, "role") in ("button", "tab", "textbox") and value(n, "name") != keep_on_top)
    want = sorted([("tab", name, "") for name in row["SSTab1"]["heard"].split("|")] + [("textbox", row["Text2"]["heard"], "")]
                  + [("button", r["heard"], r["copies"]) for r in buttons if "1" in r["tabs"]])
    check(got == want, f"the accessibility tree differs: {sorted(set(got) ^ set(want))[:6]}")


FRAMES = "new Promise(done => requestAnimationFrame(() => requestAnimationFrame(done)))"  # the page has drawn what it was told


AXE = Path(__file__).with_name("node_modules") / "axe-core" / "axe.min.js"


def axe(b, where, window="window"):
    """axe-core's rules of WCAG 2.2 A and AA and its best practice, put into the window (through the driver, past the page's
    policy) and run on what it shows now: no violations."""
    found = b.js(f"""(window => {{ if (!window.axe) {{ {AXE.read_text()} }}
      return window.axe.run(window.document, {{runOnly: ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa', 'wcag22aa', 'best-practice'],
        rules: {{'label-content-name-mismatch': {{enabled: true}}}}}}); }})({window})
      .then(r => r.violations.map(v => v.id + ': ' + v.nodes.map(n => n.target.join(' ')).join(', ')))""")
    check(not found, f"axe {where}: {len(found)} rules broken: {'; '.join(found)[:2000]}")


def lighthouse(url):
    """Lighthouse's accessibility, best practices and SEO on the page served: each 100. Its own headless Chromium, on no
    network but this one."""
    flags = "--headless=new --disable-background-networking --disable-component-update --no-first-run --disable-sync" + \
        " --no-sandbox" * (os.geteuid() == 0)
    subprocess.run(["node", AXE.parents[1] / "lighthouse/cli/index.js", url, "--quiet", "--output=json", f"--output-path={logs}/lighthouse.json",
                    "--only-categories=accessibility,best-practices,seo", f"--chrome-flags={flags}"], env=dict(os.environ, CHROME_PATH=shutil.which("chromium")))
    report = json.loads(Path(logs, "lighthouse.json").read_text())
    for name, category in report["categories"].items():
        lost = [a["id"] for a in category["auditRefs"] if a["weight"] and report["audits"][a["id"]]["score"] not in (1, None)]
        check(category["score"] == 1, f"Lighthouse {name}: {round(100 * category['score'])}, lost on {lost}")


def audit(b):
    """axe at start, on the other tab with a pane filled, with the note of a refused copy (a click sent by a script: refused in
    Firefox and WebKit, and in Chromium where the clipboard is denied) and, in Chromium, in the always-on-top window;
    Lighthouse in Chromium."""
    axe(b, "at start")
    b.click("tab0")
    press(b, row["Command5"])
    axe(b, "on tab 0 with a pane filled")
    server = Server(web)
    url = server.url
    try:
        if engine == "chromium":
            lighthouse(url)
        b.go(url)  # a fresh page, which no user has touched
        if engine == "chromium":
            b.d.execute_cdp_cmd("Browser.setPermission", {"origin": url[:-1], "permission": {"name": "clipboard-write"}, "setting": "denied"})
        b.js("Command102.click()")
        check(wait(lambda: b.js("!note.hidden"), 5), "no note of a refused copy")
        axe(b, "with the note")
        if engine == "chromium":
            b.d.execute_cdp_cmd("Browser.resetPermissions", {})
            b.go(url)
            b.click("keepOnTop")
            if check(wait(lambda: b.js("!!documentPictureInPicture.window?.Form1"), 5), "no always-on-top window"):
                axe(b, "in the always-on-top window", "documentPictureInPicture.window")
                b.js("documentPictureInPicture.window.close()")
    finally:
        server.stop()


LOWEST = max((r for r in buttons if "1" in r["tabs"]), key=lambda r: sum(map(int, re.findall(r"\d+", r["place"])[1::2])))["name"]
SCROLL = "(e => { e.scrollIntoView({block: 'center', inline: 'center'}); const r = e.getBoundingClientRect(); return {x: r.left + r.width / 2, y: r.top + r.height / 2}; })(%s)"
# Width, height, a finger (1) or a mouse (0), the room a tablet's corners take above and below; PER_VIEW: checks(b, "touch WxH") in each.
VIEWS, PER_VIEW = ((360, 640, 0, 0, 0), (700, 400, 0, 0, 0), (1366, 650, 0, 0, 0), (820, 1180, 1, 0, 0), (1180, 820, 1, 0, 0), (1366, 650, 1, 0, 0), (820, 1180, 1, 24, 20)), [axe]


def fits(b):
    """With a mouse smaller where it must be, never larger, never scrolled; with a finger as large as it goes, across the middle, never
    smaller: the scale, the place, every control's place scaled, taps copy. Neither a long press, a double tap nor a pinch forbidden."""
    cdp = b.d.execute_cdp_cmd
    check(b.js("(e => { for (; e && !['manipulation', 'none'].includes(getComputedStyle(e).touchAction); e = e.parentElement); return !!e && getComputedStyle"
               "(Command1).userSelect == 'none' && !/user-scalable|maximum-scale/.test(document.querySelector('meta[name=viewport]').content); })(Command1)"),
          "a long press selects, a double tap zooms, or a pinch is forbidden")
    for width, height, finger, above, below in VIEWS:
        cdp("Emulation.setTouchEmulationEnabled", {"enabled": bool(finger), "maxTouchPoints": 5})
        cdp("Emulation.setSafeAreaInsetsOverride", {"insets": {"top": above, "bottom": below}})  # before the resize that fits again
        cdp("Emulation.setDeviceMetricsOverride", {"width": width, "height": height, "deviceScaleFactor": 1 + finger, "mobile": bool(finger)})
        scale, where = (max if finger else min)(1, min(width / 424, (height - above - below) / 784)), f"{'touch' if finger else 'mouse'} {width}x{height}"
        coarse, x, y, w, sw, sh = b.js(f"{FRAMES}.then(() => (r => [matchMedia('(pointer: coarse)').matches, r.left, r.top, r.width, "
                                       "document.documentElement.scrollWidth, document.documentElement.scrollHeight])(Form1.getBoundingClientRect()))")
        print(f"{where}: scale {w / 424:.3f}", flush=True)
        check(coarse == finger and abs(w - 424 * scale) < 0.5 and abs(x - finger * (width - w) / 2) < 1 and abs(y - above) < 0.5 and (finger or sw <= width and sh <= height),
              f"{where}: drawn {w:.1f} px wide at {x:.1f},{y:.1f} in {sw}x{sh}, not {424 * scale:.1f} (scale {scale:.3f})")
        tap = lambda id: lambda: [cdp("Input.dispatchTouchEvent", {"type": t, "touchPoints": p}) for t, p in (("touchStart", [b.js(SCROLL % id)]), ("touchEnd", []))]
        for tab in (0, 1):
            (tap(f"tab{tab}") if finger else lambda: b.click(f"tab{tab}"))()
            look(b, tab, b.js("scrollTo(0, 0), Form1.getBoundingClientRect().width / 424"))
        [press(b, row[name], tap(name)) for name in ("Command101", LOWEST)[:2 * finger]]
        [more(b, where) for more in PER_VIEW if finger]
    cdp("Emulation.setTouchEmulationEnabled", {"enabled": False})
    cdp("Emulation.setSafeAreaInsetsOverride", {"insets": {}})
    cdp("Emulation.clearDeviceMetricsOverride", {})


def zoomed(b):
    """The teacher's zoom (Ctrl+0, Ctrl++, Ctrl+- pressed in the maximized window) is kept: at zoom z the window is drawn z times as large,
    the page scrolls to all of it, a click copies."""
    b.d.maximize_window()
    for keys, z in (("ctrl+0", 1), ("ctrl+plus " * 3, 1.5), ("ctrl+plus " * 2, 2), ("ctrl+minus " * 5, 1)):
        subprocess.run(["xdotool", "key", "--clearmodifiers", *keys.split()])
        wait(lambda: b.js("devicePixelRatio") == z)
        drawn, w, h, reached = b.js(f"(scrollTo(1e6, 1e6), {FRAMES}).then(() => (r => [r.width * devicePixelRatio, innerWidth, innerHeight, r.right < "
                                    "document.documentElement.clientWidth + 1 && r.bottom < document.documentElement.clientHeight + 1])(Form1.getBoundingClientRect()))")
        print(f"zoom {z}: inner {w}x{h}, drawn {drawn:.0f} device px wide", flush=True)
        check(abs(drawn - 424 * z) < 1 and reached, f"at zoom {z} drawn {drawn:.0f} px wide, not {424 * z:.0f}, or its end out of reach")
        look(b, 1)
        press(b, row[LOWEST])


def bevel(b):
    """A coloured face's bevel, by the pixels of its middles: light left and above, dark right and below; inverted while pressed."""
    from selenium.webdriver import ActionChains
    button = b.d.find_element("css selector", "[role=tabpanel]:not([hidden]) .f")
    b.d.execute_script("arguments[0].style.zIndex = 1", button)  # above the next button, whose light edge covers its dark one
    for pressed in (False, True):
        pressed and ActionChains(b.d).click_and_hold(button).perform()
        shot = base64.b64decode(b.d.execute_cdp_cmd("Page.captureScreenshot", {"captureBeyondViewport": False})["data"])  # a clip ends the press
        grey = subprocess.run(["convert", "png:-", "-crop", "{width}x{height}+{x}+{y}".format(**button.rect), "pgm:-"], input=shot, capture_output=True).stdout
        w, h = map(int, grey.split()[1:3])
        left, top, right, bottom = (grey[-w * h:][i] for i in (h // 2 * w, w // 2, h // 2 * w + w - 1, (h - 1) * w + w // 2))
        check((min(left, top) > max(right, bottom)) != pressed, f"{'pressed ' * pressed}bevel: left {left}, top {top}, right {right}, bottom {bottom}")
    ActionChains(b.d).release().perform()


class Server(http.server.ThreadingHTTPServer):
    """A folder served on 127.0.0.1 (which may change at the same address), each answer after `slow` seconds."""
    def __init__(self, folder):
        self.folder, self.slow, server = folder, 0, self

        class Answer(http.server.SimpleHTTPRequestHandler):
            def __init__(self, *args):
                super().__init__(*args, directory=server.folder)

            def do_GET(self):
                time.sleep(server.slow)
                super().do_GET()

            log_message = lambda *_: None
        super().__init__(("127.0.0.1", 0), Answer)
        self.url, self.stop = f"http://127.0.0.1:{self.server_port}/", lambda: self.shutdown() or self.server_close()
        threading.Thread(target=self.serve_forever, daemon=True).start()


POLICY = {"default-src": ["'self'"], "object-src": ["'none'"], "base-uri": ["'none'"], "form-action": ["'none'"]}
FOREIGN = """new Promise(done => { addEventListener('securitypolicyviolation', e => done(e.blockedURI));
  document.head.append(Object.assign(document.createElement('script'), {src: '%s', onload: () => done(`ran: ${window.foreign}`)})); })"""


def on_top(b):
    """keepOnTop moves the window into an always-on-top one, where a real click copies; closing it brings the window back."""
    windows = lambda: set(subprocess.run(["xdotool", "search", "--onlyvisible", "--class", "chromium"], capture_output=True, text=True).stdout.split())
    before = windows()
    b.click("keepOnTop")
    pip = wait(lambda: windows() - before, 5)
    if not check(pip and b.js("!document.getElementById('Form1') && !!documentPictureInPicture.window.Form1"), "no always-on-top window"):
        return
    pip = pip.pop()
    at = dict(line.split("=") for line in subprocess.run(["xdotool", "getwindowgeometry", "--shell", pip], capture_output=True, text=True).stdout.split())
    x, y, w, h = (int(at[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))
    iw, ih, cx, cy, right, bottom = b.js("(w => ((r, f) => [w.innerWidth, w.innerHeight, r.left + r.width / 2, r.top + r.height / 2, f.right, f.bottom])"
                                         "(w.Command101.getBoundingClientRect(), w.Form1.getBoundingClientRect()))(documentPictureInPicture.window)")
    check(right <= iw and bottom <= ih, f"the window, {right}x{bottom}, does not fit the always-on-top one, {iw}x{ih}")
    border = (w - iw) // 2  # the page sits at the bottom of the window, below its title bar, with a border on three sides
    press(b, row["Command101"], lambda: subprocess.run(["xdotool", "mousemove", "--sync", str(round(x + border + cx)),
                                                        str(round(y + h - border - ih + cy)), "click", "1"]))
    subprocess.run(["wmctrl", "-i", "-c", pip])
    check(wait(lambda: b.js("!!document.getElementById('Form1')"), 5), "closing the always-on-top window loses the window")
    press(b, row["Command102"])


def served(b):
    """The folder on a web server: only its own files (a script from another origin refused), installable, kept by its
    service worker, opened at once from it when the server is slow, an update dropping only the page's own old cache, the
    window on top; then with the server gone."""
    server, other, cdp = Server(web), Server(logs), b.d.execute_cdp_cmd
    url = server.url
    try:
        b.go(url)
        policy = b.js("document.querySelector('meta[http-equiv=Content-Security-Policy]')?.content ?? ''")
        check({d.split()[0]: d.split()[1:] for d in policy.split(";") if d.strip()} == POLICY, f"the page's policy is {policy!r}")
        Path(logs, "foreign.js").write_text("window.foreign = 'run'")
        check((got := b.js(FOREIGN % (other.url + "foreign.js"))) == other.url + "foreign.js", f"a script from another origin: {got}")
        check(b.js("navigator.serviceWorker.ready.then(r => !!r.active)"), "no service worker")
        kept = lambda: b.js("caches.keys().then(n => Promise.all(n.map(k => caches.open(k).then(c => c.keys()))))"
                            ".then(k => k.flat().map(r => r.url.split('/').pop()).sort())")
        folder = sorted(p.name for p in Path(web).iterdir() if p.is_file())
        check(wait(lambda: kept() == folder, 10), f"the service worker keeps {kept()}, not every file of {folder}")
        names = b.js("caches.open('other-app').then(() => caches.keys())")
        server.folder = Path(logs, "update")  # the page updated: a changed copy at the same address
        shutil.copytree(web, server.folder)
        (server.folder / "sw.js").write_text(Path(web, "sw.js").read_text().replace(names[0], names[0] + "0"))
        b.js("navigator.serviceWorker.getRegistration().then(r => r.update())")
        want = sorted(["other-app", names[0] + "0"])
        check(wait(lambda: sorted(b.js("caches.keys()")) == want, 10), f"after an update the caches are {b.js('caches.keys()')}, not {want}")
        server.slow = 6  # a slow school network: each answer takes seconds, and the browser's own cache is empty
        cdp("Network.clearBrowserCache", {})
        begun = time.time()
        b.go(url)
        check(time.time() - begun < 3 and b.js("!!navigator.serviceWorker.controller"), f"with a slow server the page takes {time.time() - begun:.1f} s")
        server.slow = 0
        errors = cdp("Page.getInstallabilityErrors", {})["installabilityErrors"]
        check(not errors, f"not installable: {errors}")
        # With the clipboard's permission denied, a click copies all the same, through the copy command.
        cdp("Browser.setPermission", {"origin": url[:-1], "permission": {"name": "clipboard-write"}, "setting": "denied"})
        press(b, row["Command101"])
        cdp("Browser.resetPermissions", {})
        b.go(url)
        on_top(b)
    finally:
        server.stop()
        other.stop()
    cdp("Network.clearBrowserCache", {})  # what comes now comes from the service worker
    b.go(url)
    check(b.js("!!navigator.serviceWorker.controller && Image1.naturalWidth > 0"), "offline, the page is not from the service worker")
    look(b, 1)
    press(b, row["Command101"])


b = start(engine, logs)
try:
    for part in [keys, clicks, refused, audit] + ([heard, fits, zoomed, bevel, served] if engine == "chromium" else []):
        b.go(Path(web, "index.html").resolve().as_uri())  # opened as a file
        part(b)
finally:
    b.quit()
print(f"{engine}: {len(failures)} failures")
sys.exit(1 if failures else 0)
