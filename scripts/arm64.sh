#!/usr/bin/env bash
# Builds the Debian package of Kelvaro for arm64, a Raspberry Pi's (with
# a 64-bit Raspberry Pi OS, which is Debian 12), on this machine, and
# prints its path last. It installs what cross-building needs, adding
# arm64 to the machine's architectures (docs/arm64.md says how to undo it),
# then packages as scripts/package.sh does for amd64: the same flags,
# the same contents.
# Usage: scripts/arm64.sh [DIR]     (default: build-arm64)
. "$(dirname "$0")/lib/strict.sh"
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/scripts/setup.sh" arm64
exec "$root/scripts/package.sh" "${1:-$root/build-arm64}" arm64
