# Runs one of the native end-to-end tests (tests/e2e/NAME.sh), unchanged,
# on the arm64 program unpacked from its package, under QEMU on the
# test's own Xvfb; the X tools stay the machine's own.
# Usage: bash run.sh NAME DIR WM_CLOSE
. "$(dirname "$0")/../harness/checks.sh"
here=$(cd "$(dirname "$0")" && pwd)
name=${1:?usage: run.sh NAME DIR WM_CLOSE}
export KELVARO_ARM64=${2:?}/root/usr/bin/kelvaro
# Emulated, the program takes longer to start and to end.
export KELVARO_START_SECONDS=30 KELVARO_CLOSE_SECONDS=5
bash "$here/../e2e/$name.sh" "$here/kelvaro.sh" "${3:?}"
