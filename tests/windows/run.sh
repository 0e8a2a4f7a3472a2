# Runs an end-to-end test on the Windows build, under Wine on the test's
# own Xvfb: one of the native tests (tests/e2e/NAME.sh) or one of this
# folder's. The program is tested as natively, except that it may print
# the two lines about screen size that freeglut prints under Wine
# (harmless.txt), since Wine hands it the X display's name as DISPLAY.
# Usage: bash run.sh NAME BUILD_DIR WM_CLOSE
. "$(dirname "$0")/../harness/checks.sh"
here=$(cd "$(dirname "$0")" && pwd)
name=${1:?usage: run.sh NAME BUILD_DIR WM_CLOSE}
build=${2:?}
wm_close=${3:?}

# One Wine prefix for all the tests, made once (it takes some seconds);
# no Mono or Gecko is wanted, nor asked for.
export WINEPREFIX=$build/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export KELVARO_EXE=$build/kelvaro.exe KELVARO_HARMLESS=$here/harmless.txt
# Wine takes longer than a native program to start and to end.
export KELVARO_START_SECONDS=30 KELVARO_CLOSE_SECONDS=5
(
  flock 9
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    env -u DISPLAY wine wineboot --init >/dev/null 2>&1
    wineserver -w
  fi
) 9>"$build/wineprefix.lock"

# The Wine server outlives the program by a few seconds, with the test's
# display gone; each test ends it, and waits until it is gone, so that
# the next test's program never meets a server still going down.
trap '{ wineserver -k; wineserver -w; } 2>/dev/null || true' EXIT
script=$here/$name.sh
[ -f "$script" ] || script=$here/../e2e/$name.sh
bash "$script" "$here/kelvaro.sh" "$wm_close"
