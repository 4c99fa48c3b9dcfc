"""What the end-to-end scripts share: the sandbox over HTTP, the app's log
lines, xdotool input, and starting, signing in and stopping.

Every script is called as SCRIPT BIN_DIR [HTTP_PORT]: BIN_DIR holds kelvo and
kelvo-sandbox, HTTP_PORT is the sandbox port the app was built for (8470 by
default)."""

import json
import os
import subprocess
import sys
import tempfile
import threading
import time
import urllib.request

BIN_DIR = sys.argv[1] if len(sys.argv) > 1 else "."
SANDBOX = "http://127.0.0.1:" + (sys.argv[2] if len(sys.argv) > 2 else "8470")

LOGS = []


def fail(message):
    for log in LOGS:
        print("\n".join(log.lines[-40:]), flush=True)
    print("FAIL: " + message, flush=True)
    sys.exit(1)


def wait_for(predicate, seconds, what):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if predicate():
            return
        time.sleep(0.1)
    fail("timed out waiting for " + what)


# Loopback only: no proxy from the environment.
OPENER = urllib.request.build_opener(urllib.request.ProxyHandler({}))


def http(method, path):
    request = urllib.request.Request(SANDBOX + path, method=method)
    with OPENER.open(request, timeout=10) as answer:
        return answer.read().decode()


def http_json(method, path):
    return json.loads(http(method, path))


def sandbox_up():
    try:
        http("GET", "/_sandbox/account")
        return True
    except OSError:
        return False


class Output:
    """Collects a process's stderr lines in the background."""

    def __init__(self, stream):
        self.lines = []
        self.thread = threading.Thread(target=self._read, args=(stream,), daemon=True)
        self.thread.start()

    def _read(self, stream):
        for line in iter(stream.readline, ""):
            self.lines.append(line.rstrip("\n"))

    def find(self, text, start=0):
        return next((line for line in self.lines[start:] if text in line), None)


def click(window, point):
    subprocess.run(["xdotool", "mousemove", "--window", window, str(point[0]), str(point[1]),
                    "click", "1"], check=True, timeout=30)


def tap(window, point, log, line, what, seconds=30):
    """Clicks `point` and waits for a log line holding `line`."""
    click(window, point)
    wait_for(lambda: log.find(line), seconds, "%s ('%s')" % (what, line))


def type_text(text, enter=True):
    subprocess.run(["xdotool", "type", "--delay", "30", text], check=True, timeout=60)
    if enter:
        subprocess.run(["xdotool", "key", "Return"], check=True, timeout=30)


def app_env(logging_rules="kelvo.*.debug=false"):
    """Temporary XDG folders for the app and the sandbox; kept across starts."""
    home = tempfile.mkdtemp(prefix="kelvo-e2e-")
    return dict(os.environ, XDG_DATA_HOME=os.path.join(home, "data"),
                XDG_CONFIG_HOME=os.path.join(home, "config"),
                XDG_CACHE_HOME=os.path.join(home, "cache"),
                QTWEBENGINE_DISABLE_SANDBOX="1", QT_LOGGING_RULES=logging_rules)


def start_sandbox(env):
    if sandbox_up():
        fail("something already answers on " + SANDBOX + "; stop it first")
    sandbox = subprocess.Popen([os.path.join(BIN_DIR, "kelvo-sandbox")], env=env,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        wait_for(sandbox_up, 20, "the sandbox")
    except SystemExit:
        stop(sandbox)
        raise
    return sandbox


def start_app(env):
    """The app with its log collected (and shown on failure)."""
    app = subprocess.Popen([os.path.join(BIN_DIR, "kelvo")], env=env, text=True,
                           stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    log = Output(app.stderr)
    LOGS.append(log)
    return app, log


def app_window(app):
    """The app's visible window, focused."""
    window = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--pid",
                             str(app.pid)], capture_output=True, text=True,
                            timeout=30).stdout.split()
    if not window:
        fail("no window of kelvo found")
    subprocess.run(["xdotool", "windowfocus", "--sync", window[0]], check=True, timeout=30)
    time.sleep(0.5)
    return window[0]


def sign_in(app, log, password):
    """Signs in through the login dialog; returns the window once the home
    menu's counts are read."""
    wait_for(lambda: log.find("login page shown"), 60, "the login dialog")
    # The password field has the focus: type the password and submit.
    window = app_window(app)
    type_text(password)
    wait_for(lambda: log.find("update counts read"), 60, "the home menu's counts")
    return window


def stop(*processes):
    """Terminates the processes still running, in order."""
    for process in processes:
        if process and process.poll() is None:
            process.terminate()
            try:
                process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                process.kill()
