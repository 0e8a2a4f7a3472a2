#!/usr/bin/env bash
# Builds Kelvaro for the browser and serves it on this machine, with
# Python's own static file server, until Ctrl-C.
# Usage: scripts/web.sh [PORT]     (default: 8000)
. "$(dirname "$0")/lib/strict.sh"
root=$(cd "$(dirname "$0")/.." && pwd)
port=${1:-8000}

"$root/scripts/build_web.sh"
echo "Kelvaro is at http://127.0.0.1:$port/kelvaro.html (Ctrl-C stops it)"
exec python3 -m http.server "$port" --bind 127.0.0.1 --directory "$root/build-web"
