#!/usr/bin/env python3
"""End to end: the real kelvo binary of a sandbox build signs in through the
sandbox's login dialog and shows the home menu with the sandbox's counts;
then opens the news feed, a story, and sends a comment that the story shows.

Usage (under a display, e.g. xvfb-run): login_e2e.py BIN_DIR [HTTP_PORT]
BIN_DIR holds kelvo and kelvo-sandbox. The sandbox is started on the ports
the app was built for (HTTP_PORT, 8470 by default); the app keeps its
settings in a temporary folder."""

import os
import sqlite3
import time

from e2esupport import (app_env, click, fail, http_json, sign_in, start_app, start_sandbox,
                        stop, tap, type_text, wait_for)


# Where the full-screen window (the 1024 x 1024 screen the test runs on) has
# the home menu's News Feed entry, the first story (below where a
# notification banner may show), and the story's comment field.
NEWS_FEED_ENTRY = (92, 170)
FIRST_STORY = (500, 122)
COMMENT_FIELD = (460, 902)


def comments_on(story):
    token = http_json("POST", "/_sandbox/token")["access_token"]
    answer = http_json("GET", "/%s/comments?limit=500&access_token=%s" % (story, token))
    return len(answer.get("data", []))


def comment_on_a_story(window, log):
    """From the home menu: News Feed, the first story, a comment sent and shown."""
    tap(window, NEWS_FEED_ENTRY, log, "home feed shown", "the news feed", 60)
    tap(window, FIRST_STORY, log, "story opened: ", "a story opened")
    story = log.find("story opened: ").split("story opened: ", 1)[1].strip()
    wait_for(lambda: log.find("story %s shows" % story), 30, "the story's comments")

    text = "Sent from the end-to-end test"
    click(window, COMMENT_FIELD)
    time.sleep(0.3)
    type_text(text)

    def sent():
        posted = http_json("GET", "/_sandbox/posted?path=/%s/comments" % story)["data"]
        return any(p.get("params", {}).get("message") == text for p in posted)
    wait_for(sent, 30, "the comment at the service")
    # The story reloads after the posting and shows every comment, the new one too.
    expected = "story %s shows %d comments" % (story, comments_on(story))
    wait_for(lambda: log.find(expected), 30, "'%s'" % expected)
    return story


def main():
    env = app_env()
    sandbox = start_sandbox(env)
    app = None
    try:
        account = http_json("GET", "/_sandbox/account")
        app, log = start_app(env)
        window = sign_in(app, log, account["password"])
        shown = log.find("update counts read")
        if "home menu shown" not in shown:
            fail("counts arrived without the home menu: " + shown)
        # The badges carry the sandbox's own counts for the account.
        token = http_json("POST", "/_sandbox/token")["access_token"]
        counts = http_json("GET", "/method/notifications.get?format=json&access_token="
                           + token)
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
        story = comment_on_a_story(window, log)
        print("PASS: signed in through the dialog; " + shown.split(": ", 1)[-1]
              + "; commented on story " + story, flush=True)
    finally:
        stop(app, sandbox)


if __name__ == "__main__":
    main()
