#!/usr/bin/env bash
# Load on the sandbox's HTTP side with wrk: the home feed, the friend list and
# one FQL query at 1, 16 and 64 keep-alive connections, with latency
# percentiles and the count of connections that went unanswered (socket
# errors and timeouts). Run by hand; needs wrk (scripts/install-bench-deps).
# Usage: bench/load.sh [path/to/kelvo-sandbox] [seconds per run]
set -euo pipefail
cd "$(dirname "$0")/.."
sandbox="${1:-build-tests/bin/kelvo-sandbox}"
seconds="${2:-8}"
command -v wrk >/dev/null || { echo "load.sh: wrk is missing (scripts/install-bench-deps)" >&2; exit 1; }

work="$(mktemp -d)"
"$sandbox" --http-port 0 --xmpp-port 0 >"$work/out" 2>"$work/err" &
pid=$!
trap 'kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
for _ in $(seq 100); do
    root="$(grep -o 'http://127\.0\.0\.1:[0-9]*' "$work/out" | head -1 || true)"
    [ -n "$root" ] && break
    sleep 0.1
done
[ -n "$root" ] || { echo "load.sh: the sandbox did not start" >&2; cat "$work/err" >&2; exit 1; }
token="$(curl -s -X POST -d "" "$root/_sandbox/token" | sed 's/.*"access_token":"\([^"]*\)".*/\1/')"

fql="SELECT%20uid%2C%20name%2C%20birthday%2C%20birthday_date%20FROM%20user%20WHERE%20uid%20%3D%20me()%20OR%20uid%20IN%20(SELECT%20uid2%20FROM%20friend%20WHERE%20uid1%20%3D%20me())"
declare -A paths=(
    [home]="/me/home?access_token=$token"
    [friends]="/me/friends?access_token=$token"
    [fql]="/method/fql.query?format=json&query=$fql&access_token=$token"
)
printf '%-8s %5s %10s %9s %9s %9s %s\n' what conns req/s p50 p99 max "unanswered (errors, non-2xx)"
for what in home friends fql; do
    for conns in 1 16 64; do
        threads=$((conns < 2 ? 1 : 2))
        wrk -t"$threads" -c"$conns" -d"${seconds}s" --timeout 5s --latency "$root${paths[$what]}" >"$work/wrk"
        rps="$(awk '/Requests\/sec/ {print $2}' "$work/wrk")"
        p50="$(awk '$1 == "50%" {print $2}' "$work/wrk")"
        p99="$(awk '$1 == "99%" {print $2}' "$work/wrk")"
        max="$(awk '$1 == "Latency" {print $4}' "$work/wrk")"
        errors="$(grep -o 'Socket errors:.*' "$work/wrk" || echo 'Socket errors: none')"
        non2xx="$(awk '/Non-2xx/ {print $NF}' "$work/wrk")"
        printf '%-8s %5s %10s %9s %9s %9s %s, non-2xx %s\n' "$what" "$conns" "$rps" "$p50" "$p99" \
            "$max" "$errors" "${non2xx:-0}"
    done
done
