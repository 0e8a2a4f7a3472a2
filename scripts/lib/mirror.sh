# Sourced: debian_mirror NAME prints the address of this machine's mirror
# of the Debian archive NAME ("debian", or "debian-security"), as its apt
# sources name it, or fails if they name none. Nothing here writes a
# host name down: every download goes where the machine's apt goes.
debian_mirror() {
  local sources=(/etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources)
  { cat "${sources[@]}" 2>/dev/null || true; } |
    awk -v name="$1" '{ for (i = 1; i <= NF; i++) if ($i ~ "^(https?|file)://.*/" name "/?$") {
      sub("/$", "", $i); print $i; found = 1; exit } } END { exit !found }'
}
