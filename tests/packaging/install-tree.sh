#!/usr/bin/env bash
# Installs a build into a scratch DESTDIR and checks that every file is in its place (and no
# other is), that the links lead to the programs, that the desktop entry validates and that the
# installed converter runs from its link.
# Usage: install-tree.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1 source=$2
root=$(mktemp -d /tmp/quillary-install-tree.XXXXXX)
trap 'rm -rf "$root"' EXIT
fail() { echo "install-tree: $*" >&2; exit 1; }
# A check whose tool is missing fails: it must never pass unchecked.
need() { for tool; do command -v "$tool" >/dev/null || fail "$tool is missing (scripts/install-deps installs it)"; done; }
need cmake file desktop-file-validate man

DESTDIR="$root" cmake --install "$build" --prefix /opt/quillary-test >/dev/null

expected="bin/quillary -> ../lib/quillary/quillary
bin/quillary-convert -> ../lib/quillary/quillary-convert
lib/quillary/manual.html
lib/quillary/manual-furniture.png
lib/quillary/quillary
lib/quillary/quillary-convert
lib/quillary/tips.txt
share/applications/quillary.desktop"
for size in 128 16 24 256 32 48 64; do
    expected+=$'\n'"share/icons/hicolor/${size}x${size}/apps/quillary.png"
done
expected+=$'\n'"share/man/man1/quillary-convert.1"
actual=$(cd "$root/opt/quillary-test" && find . -type f -printf '%P\n' -o -type l -printf '%P -> %l\n' | LC_ALL=C sort)
[[ "$actual" == "$(LC_ALL=C sort <<<"$expected")" ]] || fail "install tree differs:"$'\n'"$(diff <(LC_ALL=C sort <<<"$expected") <(echo "$actual"))"

prefix="$root/opt/quillary-test"
cmp -s "$prefix/lib/quillary/manual.html" "$source/resources/manual.html" || fail "manual.html is not the manual"
for size in 16 48 256; do
    file "$prefix/share/icons/hicolor/${size}x${size}/apps/quillary.png" | grep -q "PNG image data, $size x $size" \
        || fail "the ${size}x${size} icon is not ${size} pixels square"
done
desktop-file-validate "$prefix/share/applications/quillary.desktop" || fail "the desktop entry does not validate"
man_warnings=$(man -l "$prefix/share/man/man1/quillary-convert.1" 2>&1 >/dev/null) || fail "man cannot format the man page"
[[ -z $man_warnings ]] || fail "the man page has mistakes: $man_warnings"

# The installed converter, called through its link, finds its folder and converts.
"$prefix/bin/quillary-convert" --version | grep -qx 'quillary-convert (Quillary) 2.1' || fail "--version"
printf 'Hello from the installed converter.\n' >"$root/sample.txt"
"$prefix/bin/quillary-convert" -q "$root/sample.txt" || fail "the installed converter failed"
head -c 5 "$root/sample.pdf" | grep -q '%PDF-' || fail "no PDF from the installed converter"
"$prefix/bin/quillary-convert" --help | grep -qx "Settings.ini here: $prefix/lib/quillary/Settings.ini" \
    || fail "the converter does not keep its settings in its own writable folder"
# Where the program's folder is not writable for the user, as for a packaged install, the
# settings move to the user's configuration folder; without one there is a message instead.
if [[ $(id -u) == 0 ]]; then
    need setpriv
    chmod 755 "$root"
    as_nobody=(setpriv --reuid=nobody --regid=nogroup --clear-groups env -i PATH=/usr/bin:/bin)
    help=$("${as_nobody[@]}" XDG_CONFIG_HOME=/nonexistent/config HOME=/h "$prefix/bin/quillary-convert" --help)
    grep -qx "Settings.ini here: /nonexistent/config/quillary/Settings.ini" <<<"$help" \
        || fail "an unwritable program folder does not move the settings to XDG_CONFIG_HOME"
    help=$("${as_nobody[@]}" "$prefix/bin/quillary-convert" --help 2>&1)
    grep -q "^Settings.ini here: neither HOME nor XDG_CONFIG_HOME is set" <<<"$help" \
        || fail "a missing HOME is not reported"
fi
echo "install-tree: ok"
