"""The three browsers the web edition's tests drive, behind one small interface:
go(url), js(expression) -> its value (promises awaited), click(id) (a pointer
press and release on the element, trusted as a user's), keys(*chords) and
quit(). Chromium and WebKitGTK through their WebDriver servers, Firefox through
the WebDriver BiDi it serves itself. The X clipboard is read with xclip, as
another program would."""
import asyncio, json, os, shutil, socket, subprocess, tempfile, time

TAB, SHIFT, ENTER, SPACE, LEFT, RIGHT = "\ue004", "\ue008", "\ue007", "\ue00d", "\ue012", "\ue014"
MINIBROWSER = "/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser"
NEEDS = {"chromium": ["chromium", "chromedriver"], "firefox": ["firefox-esr"],
         "webkit": ["WebKitWebDriver", MINIBROWSER]}


def clipboard():
    return subprocess.run(["xclip", "-selection", "clipboard", "-o", "-t", "UTF8_STRING"],
                          capture_output=True, text=True).stdout


def set_clipboard(text):
    subprocess.run(["xclip", "-selection", "clipboard", "-i"], input=text, text=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    wait(lambda: clipboard() == text)


def wait(ok, seconds=3.0):
    """Polls ok() until it is true or the time is up; returns its last value."""
    end = time.time() + seconds
    while not (value := ok()) and time.time() < end:
        time.sleep(0.02)
    return value


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class Selenium:
    def __init__(self, engine, logs):
        from selenium import webdriver
        if engine == "chromium":
            from selenium.webdriver.chrome.service import Service
            options = webdriver.ChromeOptions()
            options.binary_location = shutil.which("chromium")
            for arg in ["--no-first-run", "--password-store=basic", "--window-size=800,1000"]:
                options.add_argument(arg)
            options.add_experimental_option("excludeSwitches", ["enable-automation"])  # no bar over the page
            if os.geteuid() == 0:
                options.add_argument("--no-sandbox")
            self.d = webdriver.Chrome(options=options, service=Service(
                shutil.which("chromedriver"), log_path=f"{logs}/chromedriver.log"))
        else:
            options = webdriver.WebKitGTKOptions()
            options.binary_location = MINIBROWSER
            options.add_argument("--automation")
            self.d = webdriver.WebKitGTK(executable_path=shutil.which("WebKitWebDriver"), options=options,
                                         service_log_path=f"{logs}/webkitwebdriver.log")
            self.d.set_window_rect(0, 0, 800, 1000)  # room for the window at its designed size

    def go(self, url):
        self.d.get(url)

    def js(self, expression):
        value = self.d.execute_script(f"return (async () => JSON.stringify(await ({expression})))()")
        return None if value is None else json.loads(value)

    def click(self, id):
        self.d.find_element("id", id).click()

    def keys(self, *chords):
        from selenium.webdriver.common.action_chains import ActionChains
        actions = ActionChains(self.d)
        for chord in chords:
            for key in chord:
                actions.key_down(key)
            for key in reversed(chord):
                actions.key_up(key)
        actions.perform()

    def quit(self):
        self.d.quit()


class Firefox:
    def __init__(self, engine, logs):
        import websockets
        port, self.n = free_port(), 0
        self.profile = tempfile.mkdtemp()
        log = open(f"{logs}/firefox.log", "w")
        self.process = subprocess.Popen(["firefox-esr", "--no-remote", "--profile", self.profile,
                                         "--remote-debugging-port", str(port), "data:text/html,<title>-</title>"], stdout=log, stderr=log)
        self.loop = asyncio.new_event_loop()
        asyncio.set_event_loop(self.loop)
        for _ in range(150):
            try:
                self.ws = self.loop.run_until_complete(websockets.connect(f"ws://127.0.0.1:{port}/session", max_size=None))
                break
            except OSError:
                time.sleep(0.2)
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

    def click(self, id):
        node = self.call("browsingContext.locateNodes", context=self.context,
                         locator={"type": "css", "value": "#" + id})["nodes"][0]
        self.call("input.performActions", context=self.context, actions=[{"type": "pointer", "id": "mouse", "actions": [
            {"type": "pointerMove", "x": 0, "y": 0, "origin": {"type": "element", "element": {"sharedId": node["sharedId"]}}},
            {"type": "pointerDown", "button": 0}, {"type": "pointerUp", "button": 0}]}])

    def keys(self, *chords):
        steps = []
        for chord in chords:
            steps += [{"type": "keyDown", "value": k} for k in chord] + [{"type": "keyUp", "value": k} for k in reversed(chord)]
        self.call("input.performActions", context=self.context, actions=[{"type": "key", "id": "keyboard", "actions": steps}])

    def quit(self):
        try:
            self.call("session.end")
        finally:
            self.process.terminate()
            self.process.wait()
            shutil.rmtree(self.profile, ignore_errors=True)


def start(engine, logs):
    return (Firefox if engine == "firefox" else Selenium)(engine, logs)
