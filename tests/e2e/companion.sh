# "a" and F2 each show the cyan companion; Home hides it again. The
# companion rises and falls twice as far as the ball and leaves the view
# when the ball is high or low, so the tests poll a whole cycle for it.
. "$(dirname "$0")/../harness/e2e.sh"

# Home hides the companion: no frame for a second shows any of it.
expect_hidden_after_home() {
  press Home
  if poll_shots 1 companion_shown; then fail "companion still shown after Home"; fi
}

start_kelvaro
shot
[ "$(count_colour companion)" -eq 0 ] || fail "companion shown at start"

for key in a F2; do
  press "$key"
  poll_shots 6 companion_shown || fail "\"$key\" did not bring the companion into view"
  expect_hidden_after_home
done
