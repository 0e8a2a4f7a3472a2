# Once its window exists, the Windows build asks WGL, once, for swaps
# that do not wait for the display's refresh: Wine's wgl debug channel
# shows the call. That channel's lines are Wine's, not the program's.
. "$(dirname "$0")/../harness/e2e.sh"

export WINEDEBUG=-all,+wgl
cat "$KELVARO_HARMLESS" - >"$work/harmless" <<<'^[0-9a-f]+:(trace|warn):wgl:'
KELVARO_HARMLESS=$work/harmless

start_kelvaro
asked=$(grep -E 'wglSwapIntervalEXT' "$work/stderr" | grep -oE '\([0-9-]+\)$' || true)
[ "$asked" = "(0)" ] || fail "wglSwapIntervalEXT was asked for: ${asked:-nothing}"
expect_start_view "start"
