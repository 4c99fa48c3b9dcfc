#!/usr/bin/env bash
# The chat list benchmark: the real main window, chat client and model with
# 1,000 contacts online in the sandbox; one full rebuild of the chat lists
# and the chat connection until the list is full (bench/qml/bench_chat_list.qml).
# Prints the load before and after, since the figures move with it. Needs a
# build with the sandbox and tests (scripts/test builds one).
# Usage: bench/chat_list.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build-tests}"
echo "load before: $(uptime)"
xvfb-run -a -s "-screen 0 1024x1024x24" env KELVO_TEST_SANDBOX=1 QTWEBENGINE_DISABLE_SANDBOX=1 \
    QT_LOGGING_RULES="kelvo.*.debug=false;kelvo.*.info=false" \
    "$build/bin/kelvo_qmltests" -input bench/qml/bench_chat_list.qml 2>&1 |
    # The generated contacts have no profile pictures.
    grep -v -e "Error transferring" -e "QNetworkReplyImplPrivate::error"
echo "load after: $(uptime)"
