# The zip holds what a Windows user needs and no more, and kelvaro.exe is
# a GUI program that brings its own runtime, needs only DLLs that every
# Windows has, and carries its icon, its manifest and version information.
# Usage: bash exe.sh ZIP
. "$(dirname "$0")/../harness/checks.sh"
zip=${1:?usage: exe.sh ZIP}
work=$(mktemp -d "${TMPDIR:-/tmp}/kelvaro-exe.XXXXXX")
trap 'rm -rf "$work"' EXIT

top=$(basename "$zip" .zip)
unzip -Z1 "$zip" | sort >"$work/files"
printf "$top/%s\n" LICENSE.txt README.txt freeglut-LICENSE.txt kelvaro.exe | sort |
  diff - "$work/files" >&2 || fail "the zip's files differ from the above"
unzip -q "$zip" -d "$work"
exe=$work/$top/kelvaro.exe
grep -q "MIT License" "$work/$top/LICENSE.txt" || fail "LICENSE.txt is not the MIT licence"
grep -qi "freeglut" "$work/$top/freeglut-LICENSE.txt" || fail "freeglut-LICENSE.txt is not freeglut's"

x86_64-w64-mingw32-objdump -p "$exe" >"$work/headers"
grep -q "Subsystem.*(Windows GUI)" "$work/headers" || fail "not a GUI program: a console would open"
system_dlls="ADVAPI32 GDI32 GLU32 KERNEL32 msvcrt OPENGL32 USER32 WINMM"
while read -r dll; do
  [[ " ${system_dlls,,} " == *" ${dll,,} "* ]] || fail "needs $dll.dll, which Windows does not have"
done < <(sed -n 's/^\s*DLL Name: \(.*\)\.dll$/\1/ip' "$work/headers")

# The resources, as windres reads them back out of the .exe.
x86_64-w64-mingw32-windres -J coff -O rc -i "$exe" >"$work/resources.rc"
for size in 16 20 24 32 40 48 64 128 256; do
  octal=$(printf '\\%03o' $((size % 256)))
  grep -qF "\"$octal$octal\\000\\000\", 1, 32," "$work/resources.rc" ||
    fail "no $size x $size icon"
done
grep -q '"GLUT_ICON" 14 /\* RT_GROUP_ICON \*/' "$work/resources.rc" ||
  fail "no icon named GLUT_ICON, which freeglut gives its window"
# The manifest, which makes it aware of each screen's scale.
grep -q '^1 24 /\* RT_MANIFEST \*/' "$work/resources.rc" || fail "no manifest"
for awareness in '<dpiAware[^>]*>true/pm<' '<dpiAwareness[^>]*>PerMonitorV2, PerMonitor<'; do
  grep -aq "$awareness" "$exe" || fail "the manifest does not declare $awareness"
done
for value in '"ProductName", "Kelvaro"' '"FileDescription", "Kelvaro: ' '"ProductVersion", "' \
  '"OriginalFilename", "kelvaro.exe"'; do
  grep -qF "VALUE $value" "$work/resources.rc" || fail "no version information $value"
done
