# What every end-to-end test sources, so that it reads as the steps a
# person would take; run as bash TEST.sh KELVARO WM_CLOSE. A file a job:
# checks.sh (fail), scripts/lib/displays.sh (Xvfb, Weston), program.sh
# (start, close), input.sh (keys, resizes), pictures.sh (shots, colours,
# polls). However a test ends, end_test closes the program and fails the
# test unless it exited with 0 having printed nothing.
harness=$(dirname "${BASH_SOURCE[0]}")
. "$harness/checks.sh"
. "$harness/../../scripts/lib/displays.sh"
. "$harness/program.sh"
. "$harness/input.sh"
. "$harness/pictures.sh"

KELVARO=${1:?usage: TEST.sh KELVARO WM_CLOSE}
WM_CLOSE=${2:?usage: TEST.sh KELVARO WM_CLOSE}
# The test's display is its own, never the one it was started from.
unset DISPLAY
work=$(mktemp -d "${TMPDIR:-/tmp}/kelvaro-e2e.XXXXXX")
trap end_test EXIT
