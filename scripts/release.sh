#!/usr/bin/env bash
# Makes a release of the commit checked out: everything it offers, built
# from that commit's sources, in one folder, whose path it prints last.
#
#   kelvaro_VERSION_amd64.deb              the Debian package (scripts/package.sh)
#   kelvaro_VERSION_arm64.deb              the same for a Raspberry Pi (scripts/arm64.sh)
#   kelvaro-VERSION-windows-x86_64.zip     the Windows program (scripts/windows.sh)
#   kelvaro-VERSION-web.zip                the page, for any static host (scripts/build_web.sh)
#   kelvaro-VERSION.tar.gz                 the sources (git archive)
#   SHA256SUMS                             their sums, for sha256sum -c
#
# The same commit gives the same bytes, whoever builds it, wherever and
# whenever (scripts/lib/reproducible.sh), so anyone can rebuild a release and
# compare. Changes not committed are not in it. KELVARO_FREEGLUT is as
# for scripts/windows.sh; by default the Windows build reuses the
# freeglut of build-windows/.
# Usage: scripts/release.sh [DIR]     (default: dist)
. "$(dirname "$0")/lib/strict.sh"
root=$(cd "$(dirname "$0")/.." && pwd)
dist=$(realpath -m "${1:-$root/dist}")
. "$root/scripts/lib/reproducible.sh"
version=$kelvaro_version
"$root/scripts/setup.sh" release
export KELVARO_FREEGLUT=${KELVARO_FREEGLUT:-$root/build-windows/freeglut}

git -C "$root" diff --quiet HEAD -- ||
  echo "Changes that are not committed are left out: the release is of $(git -C "$root" rev-parse --short HEAD)." >&2
work=$(mktemp -d "${TMPDIR:-/tmp}/kelvaro-release.XXXXXX")
trap 'rm -rf "$work"' EXIT
src=$work/kelvaro-$version
git -C "$root" archive --prefix="kelvaro-$version/" HEAD | tar -x -C "$work"
rm -rf "$dist"
mkdir -p "$dist"

echo "The sources"
git -C "$root" archive --format=tar.gz --prefix="kelvaro-$version/" -o "$dist/kelvaro-$version.tar.gz" HEAD

echo "The Debian package"
deb=$("$src/scripts/package.sh" "$work/deb" | tail -n 1)
cp "$deb" "$dist/kelvaro_${version}_amd64.deb"

echo "The Debian package for arm64"
deb=$("$src/scripts/arm64.sh" "$work/arm64" | tail -n 1)
cp "$deb" "$dist/kelvaro_${version}_arm64.deb"

echo "The Windows zip"
zip=$("$src/scripts/windows.sh" "$work/windows" | tail -n 1)
cp "$zip" "$dist/kelvaro-$version-windows-x86_64.zip"

# The page's files, as cmake --install gives them, in a folder of the
# release's name; zip takes them in name order, and strip-nondeterminism
# sets every time in the zip to SOURCE_DATE_EPOCH.
echo "The web page"
"$src/scripts/build_web.sh" "$work/web"
site=kelvaro-$version-web
cmake --install "$work/web" --prefix "$work/site/$site" >/dev/null
(cd "$work/site" && find "$site" -print | sort | zip -X -q "$dist/$site.zip" -@)
strip-nondeterminism --type zip "$dist/$site.zip" >/dev/null

(cd "$dist" && sha256sum -- * >SHA256SUMS)
cat "$dist/SHA256SUMS"
echo "$dist"
