# Sourced first by every script and shell test: strict mode, and a
# command that fails says so with its file, line and own exit status, so
# that nothing stops without a word. Only the outermost shell speaks: a
# failure in a subshell is reported where the subshell ends.
set -Eeuo pipefail
# $? is the failed command's status only as the trap's first word reads it.
trap 'strict_report $? "$BASH_COMMAND" "${BASH_SOURCE[0]:-$0}" "$LINENO"' ERR

# Prints "FAIL: FILE line LINE: COMMAND (exit STATUS)".
strict_report() {
  [ "$BASH_SUBSHELL" -gt 0 ] || echo "FAIL: ${3##*/} line $4: $2 (exit $1)" >&2
}
