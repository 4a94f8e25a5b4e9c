"""The three browsers behind one interface: go(url), js(expression) (its value, promises awaited), click(id) (a press and
release of the mouse, as a user's), keys(*chords), quit(). Chromium and WebKitGTK through their WebDriver servers, Firefox
through the WebDriver BiDi it serves itself. The X clipboard is read with xclip, as another program would."""
import asyncio, json, os, shutil, socket, subprocess, tempfile, time

TAB, SHIFT, ENTER, SPACE, LEFT, RIGHT = "\ue004", "\ue008", "\ue007", "\ue00d", "\ue012", "\ue014"
MINIBROWSER = "/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser"


def clipboard(text=None):
    """What another program reads from the clipboard; or, given a text, that text put there by another program."""
    if text is None:
        return subprocess.run(["xclip", "-selection", "clipboard", "-o", "-t", "UTF8_STRING"], capture_output=True, text=True).stdout
    subprocess.run(["xclip", "-selection", "clipboard", "-i"], input=text, text=True, stdout=subprocess.DEVNULL)
    wait(lambda: clipboard() == text)


def wait(ok, seconds=3.0):
    """Polls ok() until it is true or the time is up; returns its last value."""
    end = time.time() + seconds
    while not (value := ok()) and time.time() < end:
        time.sleep(0.02)
    return value


def presses(chords):  # the keys of each chord down in turn, then up the other way round
    return [{"type": kind, "value": k} for chord in chords for kind, keys in (("keyDown", chord), ("keyUp", chord[::-1])) for k in keys]


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class Selenium:
    def __init__(self, engine, logs):
        from selenium import webdriver
        from selenium.webdriver.chrome.service import Service
        if engine == "chromium":
            options = webdriver.ChromeOptions()
            options.binary_location = shutil.which("chromium")
            for arg in ["--no-first-run", "--password-store=basic"] + ["--no-sandbox"] * (os.geteuid() == 0):
                options.add_argument(arg)
            options.add_experimental_option("excludeSwitches", ["enable-automation"])  # no bar over the page
            self.d = webdriver.Chrome(options=options, service=Service(shutil.which("chromedriver"), log_path=f"{logs}/chromedriver.log"))
        else:
            options = webdriver.WebKitGTKOptions()
            options.binary_location = MINIBROWSER
            options.add_argument("--automation")
            self.d = webdriver.WebKitGTK(executable_path=shutil.which("WebKitWebDriver"), options=options,
                                         service_log_path=f"{logs}/webkitwebdriver.log")
        self.d.set_window_rect(0, 0, 800, 1000)  # room for the window at its designed size
        self.go, self.quit = self.d.get, self.d.quit

    def js(self, expression):
        value = self.d.execute_script(f"return (async () => JSON.stringify(await ({expression})))()")
        return None if value is None else json.loads(value)

    def click(self, id):
        self.d.find_element("id", id).click()

    def keys(self, *chords):
        self.d.execute("actions", {"actions": [{"type": "key", "id": "key", "actions": presses(chords)}]})


class Firefox:
    def __init__(self, engine, logs):
        import websockets
        port, self.n, self.profile = free_port(), 0, tempfile.mkdtemp()
        # Started on a page of its own, not on about:blank: the page, not the address bar, has the keyboard.
        self.process = subprocess.Popen(["firefox-esr", "--no-remote", "--profile", self.profile, "--remote-debugging-port",
                                         str(port), "data:text/html,<title>-</title>"], stdout=open(f"{logs}/firefox.log", "w"),
                                        stderr=subprocess.STDOUT)
        self.loop = asyncio.new_event_loop()
        asyncio.set_event_loop(self.loop)
        self.ws = wait(lambda: socket.socket().connect_ex(("127.0.0.1", port)) == 0, 30) and \
            self.loop.run_until_complete(websockets.connect(f"ws://127.0.0.1:{port}/session", max_size=None))
        self.call("session.new", capabilities={})
        self.context = self.call("browsingContext.getTree")["contexts"][0]["context"]

    def call(self, method, **params):
        self.n += 1
        self.loop.run_until_complete(self.ws.send(json.dumps({"id": self.n, "method": method, "params": params})))
        while (answer := json.loads(self.loop.run_until_complete(self.ws.recv()))).get("id") != self.n:
            pass
        if "error" in answer:
            raise RuntimeError(f"{method}: {answer['error']}: {answer.get('message')}")
        return answer["result"]

    def go(self, url):
        self.call("browsingContext.navigate", context=self.context, url=url, wait="complete")

    def js(self, expression):
        answer = self.call("script.callFunction", target={"context": self.context}, awaitPromise=True,
                           functionDeclaration=f"async () => JSON.stringify(await ({expression}))")
        if answer["type"] != "success":
            raise RuntimeError(answer["exceptionDetails"]["text"])
        return json.loads(answer["result"]["value"]) if "value" in answer["result"] else None

    def act(self, kind, steps):
        self.call("input.performActions", context=self.context, actions=[{"type": kind, "id": kind, "actions": steps}])

    def click(self, id):
        node = self.call("browsingContext.locateNodes", context=self.context, locator={"type": "css", "value": "#" + id})["nodes"][0]
        self.act("pointer", [{"type": "pointerMove", "x": 0, "y": 0, "origin": {"type": "element", "element": {"sharedId": node["sharedId"]}}},
                             {"type": "pointerDown", "button": 0}, {"type": "pointerUp", "button": 0}])

    def keys(self, *chords):
        self.act("key", presses(chords))

    def quit(self):
        self.process.terminate()
        self.process.wait()
        shutil.rmtree(self.profile, ignore_errors=True)


def start(engine, logs):
    return (Firefox if engine == "firefox" else Selenium)(engine, logs)
