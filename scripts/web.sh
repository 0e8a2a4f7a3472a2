#!/usr/bin/env bash
# Builds Kelvaro for the browser and serves it, with Python's own static
# file server, until Ctrl-C: to this machine alone, or on ADDRESS
# (0.0.0.0: every address, for a phone on the network; docs/web.md).
# Usage: scripts/web.sh [PORT [ADDRESS]]     (default: 8000 127.0.0.1)
. "$(dirname "$0")/lib/strict.sh"
root=$(cd "$(dirname "$0")/.." && pwd)
port=${1:-8000}
address=${2:-127.0.0.1}

"$root/scripts/build_web.sh"
echo "Kelvaro is at http://${address/0.0.0.0/this machine's address}:$port/kelvaro.html (Ctrl-C stops it)"
exec python3 -m http.server "$port" --bind "$address" --directory "$root/build-web"
