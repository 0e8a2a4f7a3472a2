#!/usr/bin/env bash
# scripts/debian.sh leaves nothing behind: a run killed with SIGKILL once
# its command runs leaves no mount and no process of its root, and the
# cache keeps its files; the next runs, two at once, pass and clear the
# killed run's root.
. "$(dirname "$0")/../harness/checks.sh"
root=$(cd "$(dirname "$0")/../.." && pwd)
if [ -e /etc/kelvaro-debian-root ]; then
  echo "Skipped: this is a root of scripts/debian.sh, and none is made inside another"
  exit 77
fi
cache=${KELVARO_DEBIAN_CACHE:-/var/cache/kelvaro/debian}/trixie
log=$(mktemp)
# On a failure, what the runs said may tell why.
trap 'status=$?; [ "$status" -eq 0 ] || cat "$log" >&2; rm -f "$log" "$log".*; exit "$status"' EXIT
# The cache's files: none where no run has made it yet.
files() { if [ -d "$cache" ]; then find "$cache" -type f | wc -l; else echo 0; fi; }
# What of the root in $1 is still mounted, or still runs, anywhere.
left() {
  cat /proc/[0-9]*/mountinfo 2>/dev/null | awk -v dir="$1/" 'index($5, dir) == 1 { print "mounted: " $5 }'
  for pid in /proc/[0-9]*; do
    what="$(readlink "$pid/root") $({ tr '\0' ' ' <"$pid/cmdline"; } 2>/dev/null)"
    [[ $what != *"$1"* ]] || echo "running: $what"
  done 2>/dev/null
}

before=$(files)
"$root/scripts/debian.sh" trixie sleep 600 >"$log" 2>&1 &
run=$!
for ((i = 0; i < 600; i++)); do
  pgrep -fx 'sleep 600' >/dev/null && break
  kill -0 "$run" 2>/dev/null || fail "scripts/debian.sh ended before its command ran"
  sleep 0.5
done
work=$(sed -n 's/^== Making a fresh Debian trixie in \(.*\)\/root from .*/\1/p' "$log")
pgrep -fx 'sleep 600' >/dev/null && [ -n "$work" ] || fail "the command did not start within 300 s"
kill -KILL "$run"
wait "$run" 2>/dev/null || true
for ((i = 0; i < 20 && $(left "$work" | wc -l) > 0; i++)); do sleep 0.5; done
[ -z "$(left "$work")" ] || fail "10 s after SIGKILL, left of $work: $(left "$work")"
[ "$(files)" -eq "$before" ] || fail "the cache had $before files, and has $(files)"

"$root/scripts/debian.sh" trixie true >"$log.1" 2>&1 &
"$root/scripts/debian.sh" trixie true >"$log.2" 2>&1 || fail "a run at once failed: $(cat "$log.2")"
wait $! || fail "a run at once failed: $(cat "$log.1")"
[ ! -e "$work" ] || fail "the next runs left the killed run's root $work"
echo "A killed run left nothing mounted or running; the next two runs at once passed and cleared its root"
