# The window as a desktop knows it: the class that matches it to the
# menu entry (kelvaro.desktop's StartupWMClass), its process, its icon.
. "$(dirname "$0")/../harness/e2e.sh"

start_kelvaro
expect_desktop_names "on Xvfb"
