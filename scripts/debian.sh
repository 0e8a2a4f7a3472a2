#!/usr/bin/env bash
# Runs COMMAND as a new user would, on a fresh Debian RELEASE (bookworm,
# trixie, forky, sid, ...): a root made with debootstrap from the Debian
# mirror in this machine's apt sources, with this machine's network
# set-up (its resolver, its CA certificates, how apt and npm reach their
# registries), /proc, /sys and /dev mounted, and the project's current
# commit cloned into the home of a user with sudo. Everything is
# unmounted when it ends, however it ends, and the root removed unless
# --keep is given. Downloads are kept for the next run in
# ~/.cache/kelvaro/debian (KELVARO_DEBIAN_CACHE); the root starts fresh.
# Exits with COMMAND's status.
# Usage: scripts/debian.sh [--keep] RELEASE COMMAND...
#   e.g. scripts/debian.sh trixie scripts/test.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if [ "$(id -u)" -ne 0 ]; then exec sudo -E "$0" "$@"; fi
keep=0
if [ "${1:-}" = --keep ]; then
  keep=1
  shift
fi
[ $# -ge 2 ] || { echo "usage: $0 [--keep] RELEASE COMMAND..." >&2; exit 2; }
release=$1
shift

"$root/scripts/setup.sh" debian

. "$root/scripts/mirror.sh"
mirror=$(debian_mirror debian) || { echo "No Debian mirror in this machine's apt sources" >&2; exit 1; }
security=$(debian_mirror debian-security) || security=
# Whether SUITE is on MIRROR: not every release has updates and security.
has_suite() {
  /usr/lib/apt/apt-helper download-file "$1/dists/$2/Release" /dev/null >/dev/null 2>&1
}

cache=${KELVARO_DEBIAN_CACHE:-$HOME/.cache/kelvaro/debian}/$release
mkdir -p "$cache/debs" "$cache/npm"
work=$(mktemp -d /var/tmp/kelvaro-debian.XXXXXX)
target=$work/root
mounts=()

# Ends whatever still runs in the root, unmounts it, removes it.
cleanup() {
  local status=$? pid
  for pid in /proc/[0-9]*; do
    [ "$(readlink "$pid/root" 2>/dev/null)" = "$target" ] && kill -9 "${pid#/proc/}" 2>/dev/null
  done
  for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do
    umount "${mounts[i]}" 2>/dev/null || umount -l "${mounts[i]}"
  done
  if [ "$keep" = 1 ]; then
    echo "The root is kept in $target"
  else
    rm -rf --one-file-system "$work"
  fi
  exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# debootstrap knows a release by its script; one it does not know yet is
# made as unstable is.
script=/usr/share/debootstrap/scripts/$release
[ -e "$script" ] || script=/usr/share/debootstrap/scripts/sid
echo "== Making a fresh Debian $release from $mirror"
debootstrap --variant=minbase --include=ca-certificates,git,sudo --cache-dir="$cache/debs" \
  "$release" "$target" "$mirror" "$script" >"$work/debootstrap.log" 2>&1 ||
  { cat "$work/debootstrap.log" >&2; exit 1; }

# Its apt sources, from the same mirrors.
{
  echo "deb $mirror $release main"
  if has_suite "$mirror" "$release-updates"; then echo "deb $mirror $release-updates main"; fi
  if [ -n "$security" ] && has_suite "$security" "$release-security"; then
    echo "deb $security $release-security main"
  fi
} >"$target/etc/apt/sources.list"
# How this machine reaches the network: its resolver, its own CA
# certificates, and apt's and npm's settings for their registries.
cp /etc/resolv.conf /etc/hosts "$target/etc/"
if [ -d /usr/local/share/ca-certificates ]; then
  cp -r /usr/local/share/ca-certificates/. "$target/usr/local/share/ca-certificates/"
fi
# apt's are the site's own snippets that say how it fetches, not those
# that Debian's packages bring, which the root's own packages bring anew.
for conf in /etc/apt/apt.conf /etc/apt/apt.conf.d/*; do
  if [ -f "$conf" ] && grep -q '^ *Acquire' "$conf" && ! dpkg -S "$conf" >/dev/null 2>&1; then
    cp "$conf" "$target/etc/apt/apt.conf.d/"
  fi
done
user_npmrc=
if command -v npm >/dev/null; then
  global=$(npm config get globalconfig)
  [ -f "$global" ] && cp "$global" "$target/etc/npmrc"
  user_npmrc=$(npm config get userconfig)
fi

for dir in proc sys dev dev/pts dev/shm var/cache/apt/archives; do mkdir -p "$target/$dir"; done
mount -t proc proc "$target/proc" && mounts+=("$target/proc")
mount -t sysfs sys "$target/sys" && mounts+=("$target/sys")
mount --bind /dev "$target/dev" && mounts+=("$target/dev")
mount --bind /dev/pts "$target/dev/pts" && mounts+=("$target/dev/pts")
mount -t tmpfs shm "$target/dev/shm" && mounts+=("$target/dev/shm")
mount --bind "$cache/debs" "$target/var/cache/apt/archives" && mounts+=("$target/var/cache/apt/archives")

# A new user with sudo, and the project's current commit in its home.
chroot "$target" update-ca-certificates >/dev/null 2>&1
chroot "$target" useradd --create-home --shell /bin/bash kelvaro
echo 'kelvaro ALL=(ALL) NOPASSWD: ALL' >"$target/etc/sudoers.d/kelvaro"
home=$target/home/kelvaro
[ -n "$user_npmrc" ] && [ -f "$user_npmrc" ] && cp "$user_npmrc" "$home/.npmrc"
mkdir -p "$home/.npm"
mount --bind "$cache/npm" "$home/.npm" && mounts+=("$home/.npm")
branch=$(git -C "$root" symbolic-ref --short -q HEAD || echo main)
git -C "$root" bundle create "$target/tmp/kelvaro.bundle" HEAD 2>/dev/null
chroot "$target" chown -R kelvaro: /home/kelvaro /tmp/kelvaro.bundle
chroot "$target" runuser -u kelvaro -- git -c advice.detachedHead=false -c init.defaultBranch=main clone --quiet \
  /tmp/kelvaro.bundle /home/kelvaro/kelvaro
chroot "$target" runuser -u kelvaro -- git -C /home/kelvaro/kelvaro switch --quiet -c "$branch"

echo "== Running in Debian $release: $*"
# In a UTF-8 locale, as an installed Debian's user is.
chroot "$target" runuser -l kelvaro -c "export LANG=C.UTF-8; cd kelvaro && $(printf '%q ' "$@")"
