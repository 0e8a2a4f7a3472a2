# Sourced first by every shell test: strict mode, and a command that
# fails says where, so that no test ends without a word. Only the test's
# own shell speaks: a failure in a subshell is reported where it ends.
set -Eeuo pipefail
trap '[ "$BASH_SUBSHELL" -gt 0 ] || echo "FAIL: ${BASH_SOURCE[0]##*/} line $LINENO: $BASH_COMMAND (exit $?)" >&2' ERR
