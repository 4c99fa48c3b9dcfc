#!/usr/bin/env bash
# The feed view benchmark: a 500-story home feed parsed and shown against
# JSON.parse of the same answer, first frames at 25 and 500 rows, a scroll to
# the end. Needs a build with the sandbox and tests (scripts/test builds one).
# Usage: bench/feed_view.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build-tests}"
exec xvfb-run -a -s "-screen 0 1024x1024x24" env KELVO_TEST_SANDBOX=1 QTWEBENGINE_DISABLE_SANDBOX=1 \
    QT_LOGGING_RULES="kelvo.*.debug=false;kelvo.*.info=false" \
    "$build/bin/kelvo_qmltests" -input bench/qml/bench_feed_view.qml
