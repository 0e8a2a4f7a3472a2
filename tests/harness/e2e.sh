# The one file every end-to-end test sources: a test reads as the few
# steps a person would take. A test is run as: bash TEST.sh KELVARO
# WM_CLOSE. Each job has its file here:
#   checks.sh    fail, and the checks every shell test shares
#   displays.sh  (scripts/lib/) the test's own Xvfb, and Weston on it
#   program.sh   the program started, closed and heard from
#   input.sh     keys and resizes, as a person gives them
#   pictures.sh  screenshots, colours, polls of the moving picture, and
#                the checks on what the window shows
# However a test ends, end_test (program.sh) closes the program and
# fails the test unless it exited with 0 having printed nothing: so
# every test also checks that, and a sanitizer's report.
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
