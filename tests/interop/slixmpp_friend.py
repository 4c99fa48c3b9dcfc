#!/usr/bin/env python3
"""Chat interop: a standard XMPP client (Debian's python3-slixmpp) logs in to
the sandbox as one of the account's friends (PLAIN on a plain loopback
stream) and talks with the app's own chat client and model (chatprobe):
presence, typing and messages both ways, markup and non-Latin text verbatim,
and contacts the server adds or renames during the session.
Run once with contacts sending from bare addresses and once, as standard
servers do, from full ones (--full-jids).

Usage: slixmpp_friend.py KELVO_SANDBOX CHATPROBE"""

import asyncio
import json
import re
import sys
import urllib.parse
import urllib.request

import slixmpp

SANDBOX_EXE, PROBE_EXE = sys.argv[1], sys.argv[2]
TEXTS = ['<b>&amp;</b> "quoted" \'single\' Привет, 世界',
         "a < b && c > d, <img src=x onerror=alert(1)> ☺ :-)"]
WAIT = 60  # seconds: generous, only to end a hung run
OPENER = urllib.request.build_opener(urllib.request.ProxyHandler({}))


class Failure(Exception):
    pass


def http(root, method, path):
    request = urllib.request.Request(root + path, method=method)
    with OPENER.open(request, timeout=10) as answer:
        return json.loads(answer.read().decode())


async def until(predicate, what):
    for _ in range(WAIT * 20):
        found = predicate()
        if found:
            return found
        await asyncio.sleep(0.05)
    raise Failure("no " + what)


class Friend(slixmpp.ClientXMPP):
    def __init__(self, jid):
        super().__init__(jid, "sandbox")
        self.register_plugin("xep_0085")  # chat states
        self["feature_mechanisms"].unencrypted_plain = True
        self.inbox = []
        self.ready = False
        self.add_event_handler("session_start", self.started)
        self.add_event_handler("message", self.inbox.append)

    async def started(self, _):
        self.send_presence()
        await self.get_roster()
        self.ready = True

    def chat_state(self, to, state):
        message = self.make_message(mto=to, mtype="chat")
        message["chat_state"] = state
        message.send()


class Probe:
    """The app's chat client and model in a process of their own."""

    def __init__(self, process):
        self.process = process
        self.events = []
        self.reader = asyncio.ensure_future(self.read())

    async def read(self):
        while line := await self.process.stdout.readline():
            self.events.append(json.loads(line))

    def send(self, to, text):
        line = json.dumps({"to": to, "text": text}) + "\n"
        self.process.stdin.write(line.encode())

    def of(self, kind, jid=None, since=0):
        return [e for e in self.events[since:]
                if e["event"] == kind and (jid is None or e.get("jid") == jid)]

    async def presence(self, jid, online, away, what):
        await until(lambda: any(e["online"] == online and e["away"] == away
                                for e in self.of("presence", jid)[-1:]), what)


async def start_sandbox(full_jids):
    process = await asyncio.create_subprocess_exec(
        SANDBOX_EXE, "--http-port", "0", "--xmpp-port", "0",
        *(["--full-jids"] if full_jids else []), stdout=asyncio.subprocess.PIPE)
    printed = ""
    while not re.search(r"chat on 127\.0\.0\.1:\d+ \(domain \S+\)", printed):
        line = await asyncio.wait_for(process.stdout.readline(), WAIT)
        if not line:
            raise Failure("the sandbox did not start: " + printed)
        printed += line.decode()
    root = re.search(r"on (http://127\.0\.0\.1:\d+)", printed).group(1)
    port, domain = re.search(r"chat on 127\.0\.0\.1:(\d+) \(domain (\S+)\)", printed).groups()
    return process, root, int(port), domain


async def converse(full_jids):
    sandbox, root, port, domain = await start_sandbox(full_jids)
    probe = friend = None
    try:
        token = http(root, "POST", "/_sandbox/token")
        app_jid = "-%s@%s" % (token["user"], domain)
        app_id = http(root, "GET", "/_sandbox/account")["app_id"]
        probe = Probe(await asyncio.create_subprocess_exec(
            PROBE_EXE, "127.0.0.1", str(port), domain, app_id, token["access_token"],
            stdin=asyncio.subprocess.PIPE, stdout=asyncio.subprocess.PIPE))
        roster = [c[0] for c in (await until(lambda: probe.of("roster"), "roster"))[0]["contacts"]]
        await until(lambda: probe.of("connected"), "session")
        # The last friend: not one of the demo's online or answering friends.
        contact = roster[-1]

        friend = Friend(contact)
        friend.connect(("127.0.0.1", port), force_starttls=False, disable_starttls=True)
        await until(lambda: friend.ready, "friend's session")
        await probe.presence(contact, True, False, "friend online")
        friend.send_presence(pshow="away")
        await probe.presence(contact, True, True, "friend away")

        for text in TEXTS:
            # Composing shows typing; paused shows nothing, the message follows.
            before = len(probe.events)
            friend.chat_state(app_jid, "composing")
            await until(lambda: probe.of("typing", contact, before), "typing")
            friend.chat_state(app_jid, "paused")
            friend.send_message(mto=app_jid, mbody=text, mtype="chat")
            filed = await until(lambda: probe.of("message", contact, before), "message")
            if filed[0]["text"] != text:
                raise Failure("the app filed %r for %r" % (filed[0]["text"], text))
            kinds = [e["event"] for e in probe.events[before:] if e.get("jid") == contact]
            if kinds != ["typing", "message"]:
                raise Failure("the app saw %s" % kinds)

            friend.inbox.clear()
            probe.send(contact, text)
            got = await until(lambda: [m for m in friend.inbox if m["body"]], "app's message")
            if got[0]["body"] != text or got[0]["from"].bare != app_jid:
                raise Failure("the friend got %r from %s" % (got[0]["body"], got[0]["from"]))
            await until(lambda: [e for e in probe.of("delivered") if e["id"] == got[0]["id"]],
                        "delivery of " + got[0]["id"])

        friend.send_presence()
        await probe.presence(contact, True, False, "friend back")

        # Roster pushes reach the app's roster during the session.
        added = http(root, "POST", "/_sandbox/chat/contacts?count=2")["ids"]
        http(root, "POST", "/_sandbox/chat/name?user=%s&name=%s" % (
            contact[1:].split("@")[0], urllib.parse.quote(TEXTS[0])))
        expected = {"-%s@%s" % (i, domain) for i in added}

        def pushed():
            contacts = dict(probe.of("roster")[-1]["contacts"])
            return expected <= contacts.keys() and contacts[contact] == TEXTS[0]
        await until(pushed, "roster with the new contacts and name")
        for jid in expected:
            await probe.presence(jid, True, False, "new contact online")
        await asyncio.wait_for(friend.disconnect(), WAIT)
        await probe.presence(contact, False, False, "friend off-line")
        print("ok: %s addresses" % ("full" if full_jids else "bare"), flush=True)
    except Exception:
        if probe:
            print("\n".join(json.dumps(e, ensure_ascii=False) for e in probe.events[-30:]))
        raise
    finally:
        if probe:
            probe.process.stdin.close()
            await asyncio.wait_for(probe.process.wait(), WAIT)
        sandbox.terminate()
        await sandbox.wait()


async def main():
    for full_jids in (False, True):
        await converse(full_jids)


if __name__ == "__main__":
    try:
        asyncio.run(main())
    except (Failure, asyncio.TimeoutError) as failure:
        print("FAIL: %s" % (failure or "timed out"), flush=True)
        sys.exit(1)
