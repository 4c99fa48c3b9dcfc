#!/usr/bin/env python3
"""Start-up benchmark: from process start to the home menu shown with its
counts, with a stored token, against the sandbox; beside a bare QQuickView
showing one rectangle (time to its first frame). Reports medians.

Run on a display (e.g. xvfb-run -a) from a KELVO_SANDBOX=ON build:
    cmake --build build --target kelvo kelvo-sandbox bench_bare_view
    xvfb-run -a -s "-screen 0 1024x1024x24" bench/startup.py build/bin [runs]"""

import json
import os
import sqlite3
import statistics
import subprocess
import sys
import tempfile
import time
import urllib.request

SANDBOX = "http://127.0.0.1:8470"
OPENER = urllib.request.build_opener(urllib.request.ProxyHandler({}))


def http(method, path):
    request = urllib.request.Request(SANDBOX + path, method=method)
    with OPENER.open(request, timeout=10) as answer:
        return answer.read().decode()


def cpu_seconds(pid):
    """User and system time the process has used so far."""
    with open("/proc/%d/stat" % pid) as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


CPU = {}


def time_until(command, env, marker, timeout=60):
    """Seconds from spawning `command` until a stderr line holds `marker`; the
    process's CPU time by then is noted in CPU[command[0]] (a busy machine
    stretches the wall time far more than the CPU time)."""
    start = time.monotonic()
    process = subprocess.Popen(command, env=env, text=True, stdout=subprocess.DEVNULL,
                               stderr=subprocess.PIPE)
    try:
        for line in process.stderr:
            if marker in line:
                CPU.setdefault(command[0], []).append(cpu_seconds(process.pid))
                return time.monotonic() - start
            if time.monotonic() - start > timeout:
                break
        raise RuntimeError("%s never printed %r" % (command[0], marker))
    finally:
        process.terminate()
        process.wait(timeout=10)


def main():
    bin_dir = sys.argv[1]
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 7
    home = tempfile.mkdtemp(prefix="kelvo-bench-")
    env = dict(os.environ, XDG_DATA_HOME=os.path.join(home, "data"),
               XDG_CACHE_HOME=os.path.join(home, "cache"), QTWEBENGINE_DISABLE_SANDBOX="1",
               QT_LOGGING_RULES="kelvo.*.debug=false")
    sandbox = subprocess.Popen([os.path.join(bin_dir, "kelvo-sandbox")], env=env,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        time.sleep(1)
        kelvo = [os.path.join(bin_dir, "kelvo")]
        # A first start creates the settings; then a token is stored in them.
        time_until(kelvo, env, "login page shown")
        token = json.loads(http("POST", "/_sandbox/token"))["access_token"]
        databases = os.path.join(env["XDG_DATA_HOME"], "Kelvo", "Kelvo", "QML",
                                 "OfflineStorage", "Databases")
        database = [f for f in os.listdir(databases) if f.endswith(".sqlite")][0]
        with sqlite3.connect(os.path.join(databases, database)) as db:
            db.execute("DELETE FROM KeyValueStorage WHERE keyName IN ('accesstoken', 'chatOn')")
            db.execute("INSERT INTO KeyValueStorage(keyName, textValue) VALUES "
                       "('accesstoken', ?), ('chatOn', '0')", ("access_token=" + token,))

        app = [time_until(kelvo, env, "home menu shown") for _ in range(runs)]
        bare = [time_until([os.path.join(bin_dir, "bench_bare_view")], env, "first frame")
                for _ in range(runs)]
    finally:
        sandbox.terminate()
        sandbox.wait(timeout=10)

    def show(name, values):
        print("%-42s median %6.0f ms   (min %4.0f, max %4.0f, %d runs)" % (
            name, 1000 * statistics.median(values), 1000 * min(values), 1000 * max(values),
            len(values)))

    show("kelvo: start to home menu with counts", app)
    show("bare QQuickView: start to first frame", bare)
    show("kelvo: CPU time by then", CPU[kelvo[0]][1:])
    show("bare QQuickView: CPU time by then", CPU[os.path.join(bin_dir, "bench_bare_view")])


if __name__ == "__main__":
    main()
