#!/usr/bin/env bash
# Installs the Debian packages that building, running or testing needs.
# Usage: scripts/setup.sh build|web|package|windows|arm64|release|record|test|bench|debian
# Only missing packages are installed, so a second run takes a moment.
. "$(dirname "$0")/lib/strict.sh"
root=$(cd "$(dirname "$0")/.." && pwd)

# The program; librsvg2-bin and ImageMagick draw the window's icon.
build_packages=(g++ cmake make freeglut3-dev libglu1-mesa-dev libx11-dev librsvg2-bin imagemagick)
# The web build: CMake and Emscripten, whose JS optimizer needs Debian's
# acorn, and the tools that draw the icons; Python serves the result.
web_packages=(cmake make emscripten node-acorn librsvg2-bin imagemagick python3)
# The Debian package: Debian's build flags and dpkg-shlibdeps.
package_packages=(dpkg-dev file)
# The Windows build: MinGW-w64, dpkg-source for freeglut's source, and
# the tools that draw the icon. Its tests open the zip and run the
# program under Wine.
windows_packages=(cmake make g++-mingw-w64-x86-64-win32 dpkg-dev librsvg2-bin imagemagick)
wine_packages=(wine wine64 unzip)
# The arm64 build: Debian's cross compilers and the arm64 libraries,
# installed beside the machine's own (this adds arm64 as a foreign
# architecture), and QEMU to run what is built. Its tests need
# GoogleTest for arm64 too.
arm64_packages=(cmake make crossbuild-essential-arm64 qemu-user-static freeglut3-dev:arm64
  libglu1-mesa-dev:arm64 libx11-dev:arm64 librsvg2-bin imagemagick)
arm64_test_packages=(libgtest-dev:arm64)
# A release: what its scripts need, and strip-nondeterminism and zip for
# the web zip. Its test builds it twice with reprotest, with faketime,
# and says why with diffoscope if the two differ.
release_packages=(git strip-nondeterminism zip)
release_test_packages=(reprotest faketime diffoscope-minimal)
# The end-to-end tests need an X server, key events, screenshots and
# image tools; the benchmark's frame watcher needs the X Damage headers;
# the browser tests need the three engines, Chromium, Firefox and WebKit
# (WebKitGTK's MiniBrowser under its WebDriver server); the package is checked with lintian,
# desktop-file-validate, appstreamcli (its compose drawing the SVG icon
# through librsvg2-common) and man; xprop reads
# the window's properties; stress-ng keeps the cores busy while a flaky
# test is hunted.
test_packages=(libgtest-dev clang-format xvfb xdotool x11-apps x11-utils x11-xserver-utils weston xwayland
  imagemagick ffmpeg libx11-dev libxdamage-dev chromium firefox-esr webkit2gtk-driver lintian
  desktop-file-utils appstream appstream-compose librsvg2-common man-db stress-ng)

case "${1:-build}" in
  build) wanted=("${build_packages[@]}") ;;
  web) wanted=("${web_packages[@]}") ;;
  package) wanted=("${build_packages[@]}" "${package_packages[@]}") ;;
  windows) wanted=("${windows_packages[@]}") ;;
  arm64) wanted=("${arm64_packages[@]}" "${package_packages[@]}") ;;
  release)
    wanted=("${build_packages[@]}" "${package_packages[@]}" "${web_packages[@]}"
      "${windows_packages[@]}" "${arm64_packages[@]}" "${release_packages[@]}")
    ;;
  record) wanted=("${build_packages[@]}" xvfb xdotool ffmpeg) ;;
  # A fresh root of another Debian release (scripts/debian.sh).
  debian) wanted=(mmdebstrap git) ;;
  test | bench)
    wanted=("${build_packages[@]}" "${web_packages[@]}" "${package_packages[@]}"
      "${windows_packages[@]}" "${wine_packages[@]}" "${arm64_packages[@]}"
      "${arm64_test_packages[@]}" "${release_packages[@]}" "${release_test_packages[@]}"
      "${test_packages[@]}")
    ;;
  *) echo "usage: $0 build|web|package|windows|arm64|release|record|test|bench|debian" >&2; exit 2 ;;
esac
# The benchmark draws its plots with gnuplot.
[ "${1:-build}" != bench ] || wanted+=(gnuplot-nox)
# Node.js and npm from Debian, unless a node with npm is already here.
if [[ ${1:-build} =~ ^(test|bench)$ ]] && ! command -v npm >/dev/null; then
  wanted+=(nodejs npm)
fi

# Elsewhere than Debian or a derivative there is no apt-get or dpkg to
# install with: one message says what to install and how to go on.
if ! command -v apt-get >/dev/null || ! command -v dpkg-query >/dev/null; then
  echo "This system has no apt-get or dpkg (it is not Debian or a derivative), so Kelvaro's scripts" \
    "cannot install what they need. Install these Debian packages' counterparts with your own" \
    "package manager: ${wanted[*]}; then build by hand as docs/install.md says, under" \
    "\"Building by hand\"." >&2
  exit 1
fi
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
missing=()
for pkg in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' ||
    missing+=("$pkg")
done
# Packages of another architecture need it added, once (docs/arm64.md
# says how to take it away again).
if [[ " ${missing[*]} " == *":arm64 "* ]] && ! dpkg --print-foreign-architectures | grep -qx arm64; then
  echo "Adding arm64 as a foreign architecture (dpkg --add-architecture arm64)"
  "${sudo[@]}" dpkg --add-architecture arm64
fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  "${sudo[@]}" apt-get update -qq
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
fi

# Playwright and selenium-webdriver, at the versions package.json pins
# (npm ls fails until they are there), which drive Debian's browsers and
# download none, and remark, which checks the docs' links.
if [[ ${1:-build} =~ ^(test|bench)$ ]] && ! (cd "$root" && npm ls >/dev/null 2>&1); then
  echo "Installing the npm packages in package-lock.json"
  (cd "$root" && npm ci --no-audit --no-fund --loglevel=error >/dev/null)
fi
