#!/usr/bin/env bash
# Runs COMMAND as a new user would, on a fresh Debian RELEASE (bookworm,
# trixie, forky, sid, ...): a root made with mmdebstrap from the Debian
# mirror in this machine's apt sources, with this machine's network
# set-up (its resolver, its CA certificates, how apt and npm reach their
# registries), /proc, /sys and /dev mounted, and the project's current
# commit cloned into the home of a user with sudo. It installs
# mmdebstrap and git on this machine if they are missing. Exits with
# COMMAND's status; on SIGINT with 130, on SIGTERM with 143.
# Usage: scripts/debian.sh [--keep] RELEASE COMMAND...
#   e.g. scripts/debian.sh trixie scripts/test.sh
#
# The root lives in a mount and PID namespace of its own (util-linux's
# unshare), whose first process is this script's child, and which this
# script's own death kills (a parent-death signal): so the kernel, not a
# trap, takes down every mount and every process of the root, however
# the script ends, SIGKILL included. Nothing is mounted where this
# machine can see it, so nothing of it is ever written through a mount.
# What a SIGKILL leaves is the root's folder, /var/tmp/kelvaro-debian.*:
# the next run removes it, once no live run holds its lock and nothing
# is mounted under it. SIGINT or SIGTERM removes it at once, as does the
# command's end, unless --keep is given.
#
# Downloads are kept for the next run in /var/cache/kelvaro/debian
# (KELVARO_DEBIAN_CACHE), owned by root, as the script runs as root: a
# run reads apt's cache through an overlay, so that the root's writes
# stay its own, and adds what it downloaded (and npm's cache, copied in
# and out) once it ends, if no other run is using the cache then.
. "$(dirname "$0")/lib/strict.sh"
root=$(cd "$(dirname "$0")/.." && pwd)
if [ "$(id -u)" -ne 0 ]; then exec sudo -E "$0" "$@"; fi

# Inside the namespace: makes the root in WORK and runs the command in it.
inside() {
  local work=$1 cache=$2 release=$3
  shift 3
  local target=$work/root
  . "$root/scripts/lib/mirror.sh"
  local mirror security
  mirror=$(debian_mirror debian) || { echo "No Debian mirror in this machine's apt sources" >&2; exit 1; }
  security=$(debian_mirror debian-security) || security=
  # Whether SUITE is on MIRROR: not every release has updates and security.
  # apt-helper fetches into a file of its own (it cannot write /dev/null).
  has_suite() {
    /usr/lib/apt/apt-helper download-file "$1/dists/$2/Release" "$work/Release" >/dev/null 2>&1 &&
      rm -f "$work/Release"
  }

  # Its apt sources, from the same mirrors, and the site's own apt
  # settings that say how it fetches (not those of Debian's packages,
  # which the root's packages bring anew).
  local sources=("deb $mirror $release main") settings=() conf
  if has_suite "$mirror" "$release-updates"; then sources+=("deb $mirror $release-updates main"); fi
  if [ -n "$security" ] && has_suite "$security" "$release-security"; then
    sources+=("deb $security $release-security main")
  fi
  for conf in /etc/apt/apt.conf /etc/apt/apt.conf.d/*; do
    if [ -f "$conf" ] && grep -q '^ *Acquire' "$conf" && ! dpkg -S "$conf" >/dev/null 2>&1; then
      settings+=(--aptopt="$conf")
    fi
  done
  # apt's downloads: the cache below, this run's writes above it.
  mkdir -p "$work/debs" "$work/debs.new" "$work/debs.work"
  mount -t overlay overlay -o "lowerdir=$cache/debs,upperdir=$work/debs.new,workdir=$work/debs.work" "$work/debs"
  echo "== Making a fresh Debian $release in $target from $mirror"
  # dpkg does not sync each file: a root that a crash would lose anyway.
  mmdebstrap --mode=root --variant=minbase --include=ca-certificates,sudo --dpkgopt=force-unsafe-io \
    --skip=cleanup/apt/cache "${settings[@]}" \
    --setup-hook='mkdir -p "$1/var/cache/apt/archives" && mount --bind "$DEBS" "$1/var/cache/apt/archives"' \
    "$release" "$target" "${sources[@]}" >"$work/mmdebstrap.log" 2>&1 ||
    { cat "$work/mmdebstrap.log" >&2; exit 1; }
  touch "$target/etc/kelvaro-debian-root"

  # How this machine reaches the network: its resolver, its own CA
  # certificates, and npm's settings for its registry.
  cp /etc/resolv.conf /etc/hosts "$target/etc/"
  if [ -d /usr/local/share/ca-certificates ]; then
    cp -r /usr/local/share/ca-certificates/. "$target/usr/local/share/ca-certificates/"
  fi
  local user_npmrc=
  if command -v npm >/dev/null; then
    local global
    global=$(npm config get globalconfig)
    [ -f "$global" ] && cp "$global" "$target/etc/npmrc"
    user_npmrc=$(npm config get userconfig)
  fi

  # /proc is this namespace's own: the root sees only its processes.
  mount -t proc proc "$target/proc"
  mount -t sysfs sys "$target/sys"
  mount --bind /dev "$target/dev"
  mount --bind /dev/pts "$target/dev/pts"
  mount -t tmpfs shm "$target/dev/shm"

  # A new user with sudo, its copy of npm's cache, and the project's
  # current commit in its home.
  chroot "$target" update-ca-certificates >/dev/null 2>&1
  chroot "$target" useradd --create-home --shell /bin/bash kelvaro
  echo 'kelvaro ALL=(ALL) NOPASSWD: ALL' >"$target/etc/sudoers.d/kelvaro"
  local home=$target/home/kelvaro
  [ -n "$user_npmrc" ] && [ -f "$user_npmrc" ] && cp "$user_npmrc" "$home/.npmrc"
  cp -r "$cache/npm" "$home/.npm"
  local branch
  branch=$(git -C "$root" symbolic-ref --short -q HEAD || echo main)
  git -C "$root" bundle create "$work/kelvaro.bundle" HEAD 2>/dev/null
  git -c advice.detachedHead=false -c init.defaultBranch=main clone --quiet "$work/kelvaro.bundle" "$home/kelvaro"
  git -C "$home/kelvaro" switch --quiet -c "$branch"
  chroot "$target" chown -R kelvaro: /home/kelvaro

  echo "== Running in Debian $release: $*"
  # In a UTF-8 locale, as an installed Debian's user is.
  chroot "$target" runuser -l kelvaro -c "export LANG=C.UTF-8; cd kelvaro && $(printf '%q ' "$@")"
}
if [ "${1:-}" = --inside ]; then
  shift
  inside "$@"
  exit
fi

keep=0
if [ "${1:-}" = --keep ]; then
  keep=1
  shift
fi
[ $# -ge 2 ] || { echo "usage: $0 [--keep] RELEASE COMMAND..." >&2; exit 2; }
release=$1
shift

"$root/scripts/setup.sh" debian

cache=${KELVARO_DEBIAN_CACHE:-/var/cache/kelvaro/debian}/$release
mkdir -p "$cache/debs" "$cache/npm"

# Removes the folder DIR of a root, unless something is mounted under it.
remove() {
  if awk -v dir="$1" '$5 == dir || index($5, dir "/") == 1 { found = 1 } END { exit !found }' \
    /proc/self/mountinfo; then
    echo "Not removing $1: something is mounted under it" >&2
    return 1
  fi
  rm -rf --one-file-system "$1"
}

# Each run holds a lock on its root's folder for as long as anything of
# it lives. Under one lock for them all, a run removes the roots that
# killed runs left (but not those kept), and makes its own.
exec {all}>/var/tmp/kelvaro-debian.lock
flock "$all"
for old in /var/tmp/kelvaro-debian.*/; do
  old=${old%/}
  [ -d "$old" ] && [ ! -e "$old/kept" ] || continue
  { exec {held}<"$old"; } 2>/dev/null || continue
  if flock -n "$held"; then echo "Removing $old, left by a run that was killed"; remove "$old" || true; fi
  exec {held}<&-
done
work=$(mktemp -d /var/tmp/kelvaro-debian.XXXXXX)
exec {held}<"$work"
flock "$held"
exec {all}>&-
# The cache is shared while the run lives, and written only by a run
# that has it alone.
exec {shared}<"$cache"
flock -s "$shared"

# Once the namespace is gone: keeps what the run downloaded, unless it
# was cut short, and removes the root.
finish() {
  local status=$?
  set +e
  trap - ERR
  trap '' INT TERM
  if [ -n "${child:-}" ]; then
    kill -KILL "$child" 2>/dev/null
    wait "$child" 2>/dev/null
  fi
  flock -u "$shared"
  if [ "$status" -lt 128 ] && [ -d "$work/root/home/kelvaro/.npm" ]; then
    if flock -n "$shared"; then
      find "$work/debs.new" -maxdepth 1 -type f -name '*.deb' -exec cp -n -t "$cache/debs" {} +
      cp -rTu "$work/root/home/kelvaro/.npm" "$cache/npm"
    else
      echo "Another run is using $cache: this run's downloads are not kept"
    fi
  fi
  if [ "$keep" = 1 ]; then
    touch "$work/kept"
    echo "The root is kept in $work/root"
  else
    remove "$work"
  fi
  exit "$status"
}
trap finish EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

DEBS=$work/debs setpriv --pdeathsig KILL unshare --mount --propagation private --pid --fork --kill-child --mount-proc \
  "$0" --inside "$work" "$cache" "$release" "$@" <&0 &
child=$!
wait "$child"
