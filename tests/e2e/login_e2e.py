#!/usr/bin/env python3
"""End to end: the real kelvo binary of a sandbox build signs in through the
sandbox's login dialog and shows the home menu with the sandbox's counts;
then opens the news feed, a story, and sends a comment that the story shows.

Usage (under a display, e.g. xvfb-run): login_e2e.py BIN_DIR [HTTP_PORT]
BIN_DIR holds kelvo and kelvo-sandbox. The sandbox is started on the ports
the app was built for (HTTP_PORT, 8470 by default); the app keeps its
settings in a temporary folder."""

import json
import os
import sqlite3
import subprocess
import sys
import tempfile
import threading
import time
import urllib.request

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

    def find(self, text):
        return next((line for line in self.lines if text in line), None)


# Where the full-screen window (the 1024 x 1024 screen the test runs on) has
# the home menu's News Feed entry, the first story (below where a
# notification banner may show), and the story's comment field.
NEWS_FEED_ENTRY = (92, 170)
FIRST_STORY = (500, 122)
COMMENT_FIELD = (460, 902)


def click(window, point):
    subprocess.run(["xdotool", "mousemove", "--window", window, str(point[0]), str(point[1]),
                    "click", "1"], check=True, timeout=30)


def type_text(text):
    subprocess.run(["xdotool", "type", "--delay", "30", text], check=True, timeout=60)
    subprocess.run(["xdotool", "key", "Return"], check=True, timeout=30)


def comments_on(story):
    token = json.loads(http("POST", "/_sandbox/token"))["access_token"]
    answer = json.loads(http("GET", "/%s/comments?limit=500&access_token=%s" % (story, token)))
    return len(answer.get("data", []))


def comment_on_a_story(window, log):
    """From the home menu: News Feed, the first story, a comment sent and shown."""
    click(window, NEWS_FEED_ENTRY)
    wait_for(lambda: log.find("home feed shown"), 60, "the news feed")
    click(window, FIRST_STORY)
    wait_for(lambda: log.find("story opened: "), 30, "a story opened")
    story = log.find("story opened: ").split("story opened: ", 1)[1].strip()
    wait_for(lambda: log.find("story %s shows" % story), 30, "the story's comments")

    text = "Sent from the end-to-end test"
    click(window, COMMENT_FIELD)
    time.sleep(0.3)
    type_text(text)

    def sent():
        posted = json.loads(http("GET", "/_sandbox/posted?path=/%s/comments" % story))["data"]
        return any(p.get("params", {}).get("message") == text for p in posted)
    wait_for(sent, 30, "the comment at the service")
    # The story reloads after the posting and shows every comment, the new one too.
    expected = "story %s shows %d comments" % (story, comments_on(story))
    wait_for(lambda: log.find(expected), 30, "'%s'" % expected)
    return story


def main():
    bin_dir = sys.argv[1]
    if sandbox_up():
        fail("something already answers on " + SANDBOX + "; stop it first")
    home = tempfile.mkdtemp(prefix="kelvo-e2e-")
    env = dict(os.environ, XDG_DATA_HOME=os.path.join(home, "data"),
               XDG_CONFIG_HOME=os.path.join(home, "config"),
               XDG_CACHE_HOME=os.path.join(home, "cache"),
               QTWEBENGINE_DISABLE_SANDBOX="1", QT_LOGGING_RULES="kelvo.*.debug=false")

    sandbox = subprocess.Popen([os.path.join(bin_dir, "kelvo-sandbox")], env=env,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    app = None
    try:
        wait_for(sandbox_up, 20, "the sandbox")
        account = json.loads(http("GET", "/_sandbox/account"))

        app = subprocess.Popen([os.path.join(bin_dir, "kelvo")], env=env, text=True,
                               stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        log = Output(app.stderr)
        LOGS.append(log)
        wait_for(lambda: log.find("login page shown"), 60, "the login dialog")

        # The password field has the focus: type the password and submit.
        window = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--pid",
                                 str(app.pid)], capture_output=True, text=True,
                                timeout=30).stdout.split()
        if not window:
            fail("no window of kelvo found")
        subprocess.run(["xdotool", "windowfocus", "--sync", window[0]], check=True, timeout=30)
        time.sleep(0.5)
        subprocess.run(["xdotool", "type", "--delay", "30", account["password"]], check=True,
                       timeout=30)
        subprocess.run(["xdotool", "key", "Return"], check=True, timeout=30)

        wait_for(lambda: log.find("update counts read"), 60, "the home menu's counts")
        shown = log.find("update counts read")
        if "home menu shown" not in shown:
            fail("counts arrived without the home menu: " + shown)

        # The badges carry the sandbox's own counts for the account.
        token = json.loads(http("POST", "/_sandbox/token"))["access_token"]
        counts = json.loads(http("GET", "/method/notifications.get?format=json&access_token="
                                 + token))
        expected = "notifications %s, friend requests %s, events %d" % (
            counts["notification_counts"]["unseen"], counts["friend_requests_counts"]["unread"],
            len(counts["event_invites"]))
        if expected not in shown:
            fail("expected '%s' in '%s'" % (expected, shown))

        # The token was stored for the next start.
        databases = os.path.join(env["XDG_DATA_HOME"], "Kelvo", "Kelvo", "QML",
                                 "OfflineStorage", "Databases")
        files = [f for f in os.listdir(databases) if f.endswith(".sqlite")]
        stored = dict(sqlite3.connect(os.path.join(databases, files[0])).execute(
            "SELECT keyName, textValue FROM KeyValueStorage").fetchall())
        if not stored.get("accesstoken", "").startswith("access_token="):
            fail("no token stored: %r" % stored.get("accesstoken"))
        if stored.get("sessionkey") != stored["accesstoken"][len("access_token="):]:
            fail("session key and token disagree")
        # ... where no other user of the machine can read it.
        for path, mode in [(databases, 0o700), (os.path.join(databases, files[0]), 0o600)]:
            if os.stat(path).st_mode & 0o777 != mode:
                fail("%s is %o, not %o" % (path, os.stat(path).st_mode & 0o777, mode))
        story = comment_on_a_story(window[0], log)
        print("PASS: signed in through the dialog; " + shown.split(": ", 1)[-1]
              + "; commented on story " + story, flush=True)
    finally:
        for process in (app, sandbox):
            if process and process.poll() is None:
                process.terminate()
                try:
                    process.wait(timeout=10)
                except subprocess.TimeoutExpired:
                    process.kill()


if __name__ == "__main__":
    main()
