# Sourced by the scripts that make what a release offers, after setting
# root: the same sources then give the same bytes wherever, whenever and
# by whomever they are built. Files are made as under umask 022, times
# are UTC and messages in C, and every time stamp is SOURCE_DATE_EPOCH:
# the last commit's time unless it is set, or in a tree without its
# history (the sources' tarball) the time of its files, which is the same.
umask 022
export TZ=UTC LC_ALL=C.UTF-8
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct 2>/dev/null) ||
    SOURCE_DATE_EPOCH=$(stat -c %Y "$root/CMakeLists.txt")
fi
export SOURCE_DATE_EPOCH

# The version, from the one place that says it: the CMake project.
kelvaro_version=$(sed -n 's/^project(kelvaro VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
