# Sourced by every shell test: strict mode, and the checks that stop a
# test with a word on why.
. "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib/strict.sh"

# Stops the test with MESSAGE. What the test leaves for a look (a last
# screenshot, a log) its own EXIT trap shows.
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Stops the test unless LOW <= VALUE <= HIGH: expect_between WHAT VALUE LOW HIGH.
expect_between() {
  local what=$1 value=$2 low=$3 high=$4
  [ "$value" -ge "$low" ] && [ "$value" -le "$high" ] ||
    fail "$what is $value, expected $low..$high"
}

# Lintian has nothing to say of the package DEB, but for the warning that
# Debian 13's AppStream gives a metainfo with no homepage, which the
# project does not have (the package test validates the metainfo itself
# and allows that warning alone). Debian 12's lintian knows no such tag.
expect_lintian_clean() {
  local tag=appstream-metadata-validation-failed skip=()
  ! lintian-explain-tags "$tag" >/dev/null 2>&1 || skip=(--suppress-tags "$tag")
  lintian --fail-on error,warning "${skip[@]}" "$1" || fail "lintian: $1"
}
