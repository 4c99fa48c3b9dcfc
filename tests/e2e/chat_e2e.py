#!/usr/bin/env python3
"""End to end, the chat: the real kelvo binary of a sandbox build signs in,
shows a friend's message, answers it once; started again with the chat
server stopped, it shows the last conversation under "Connecting" before any
server answer; a message typed meanwhile reaches the friend once when the
server is back.

Usage (under a display, e.g. xvfb-run): chat_e2e.py BIN_DIR [HTTP_PORT]
BIN_DIR holds kelvo and kelvo-sandbox; the sandbox runs on the ports the app
was built for (HTTP_PORT, 8470 by default)."""

import time
import urllib.parse

from e2esupport import (app_env, app_window, click, fail, http, http_json, sign_in, start_app,
                        start_sandbox, stop, tap, type_text, wait_for)

# Where the full-screen window (the 1024 x 1024 screen the test runs on) has
# the home menu's Chat entry, the chat list's first row (below the search
# field), the same row below the "Connecting" strip, and a conversation's
# text field and Send button above the bottom bar.
CHAT_ENTRY = (428, 170)
FIRST_ROW = (500, 147)
ROW_UNDER_CONNECTING = (500, 203)
MESSAGE_FIELD = (400, 880)
SEND_BUTTON = (991, 900)


def send(window, log, jid, text, shown):
    """Types `text` and sends it; the conversation then shows `shown` messages."""
    click(window, MESSAGE_FIELD)
    time.sleep(0.3)
    type_text(text, enter=False)
    tap(window, SEND_BUTTON, log, "conversation %s shows %d messages" % (jid, shown),
        "the message in the conversation")


def bodies_to(friend, own_id):
    """What the account sent the friend, in the order the server routed it."""
    messages = http_json("GET", "/_sandbox/chat/messages?user=" + friend)["data"]
    return [m["body"] for m in messages if m["from"] == own_id]


def main():
    # "chat session started" is a debug line of kelvo.ui.
    env = app_env("kelvo.*.debug=false;kelvo.ui.debug=true")
    sandbox = start_sandbox(env)
    app = None
    try:
        account = http_json("GET", "/_sandbox/account")
        own_id = account["id"]
        token = http_json("POST", "/_sandbox/token")["access_token"]
        # The last friend: offline and silent in the sandbox's demo life.
        friend = http_json("GET", "/me/friends?access_token=" + token)["data"][-1]["id"]
        jid = "-%s@chat.sandbox.test" % friend

        app, log = start_app(env)
        window = sign_in(app, log, account["password"])
        wait_for(lambda: log.find("chat session started"), 30, "the chat session")
        tap(window, CHAT_ENTRY, log, "chat list shown: 0 conversations", "the chat list")

        http("POST", "/_sandbox/chat/message?from=%s&to=%s&body=%s"
             % (friend, own_id, urllib.parse.quote("Are you there?")))
        wait_for(lambda: log.find("chat list shown: 1 conversations with 1 messages"), 30,
                 "the friend's conversation in the list")
        tap(window, FIRST_ROW, log, "conversation %s shows 1 messages" % jid,
            "the conversation opened")

        reply = "Here, answering from the end-to-end test"
        send(window, log, jid, reply, 2)
        wait_for(lambda: reply in bodies_to(friend, own_id), 30, "the reply at the friend")
        if bodies_to(friend, own_id) != [reply]:
            fail("the friend got %r" % bodies_to(friend, own_id))

        # The next start: the chat server does not answer, the kept
        # conversation shows all the same. A terminated app ends as a quit
        # does, saving what it keeps.
        stop(app)
        if app.returncode != 0:
            fail("the app ended with %d on SIGTERM" % app.returncode)
        http("POST", "/_sandbox/chat/stop")
        app, log = start_app(env)
        wait_for(lambda: log.find("update counts read"), 60, "the home menu after the restart")
        window = app_window(app)
        restored = "chat list shown: 1 conversations with 2 messages, 0 online, connecting"
        tap(window, CHAT_ENTRY, log, restored, "the kept conversation")
        if log.find("chat session started"):
            fail("the chat server answered while stopped")

        tap(window, ROW_UNDER_CONNECTING, log, "conversation %s shows 2 messages" % jid,
            "the kept conversation opened")
        meanwhile = "Typed while connecting"
        send(window, log, jid, meanwhile, 3)

        http("POST", "/_sandbox/chat/start")
        # The client tries again at growing intervals, up to a minute.
        wait_for(lambda: log.find("chat session started"), 90, "the chat session again")
        wait_for(lambda: meanwhile in bodies_to(friend, own_id), 30,
                 "the pending message at the friend")
        stop(app)
        sent = bodies_to(friend, own_id)
        if sent != [reply, meanwhile]:
            fail("the friend got %r, not each message once in order" % sent)
        print("PASS: chatted with %s, restored the conversation while connecting, delivered "
              "what was typed meanwhile once" % friend, flush=True)
    finally:
        stop(app, sandbox)


if __name__ == "__main__":
    main()
