#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Tessarin developers
#
# SPDX-License-Identifier: MIT

# Builds the Debian package (debian/) with dpkg-buildpackage in a copy of the source tree, and
# checks it without touching the system: the package is unpacked into a folder of its own and
# never installed, so a copy of the game that the user installed stays exactly as it is. Checks
# the contents, the fields and dependencies, the stripped program and its debug symbols, the
# desktop entry and AppStream validators, lintian, and that the unpacked game answers --version.
# Argument: the game binary (not used: the package builds its own).
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
for tool in dpkg-buildpackage dh lintian desktop-file-validate appstreamcli readelf; do
    command -v "$tool" >/dev/null || { echo "$tool is not installed: skipped"; exit 77; }
done
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
passed=0
fail() { echo "FAIL: $*"; echo "$passed passed, 1 failed"; exit 1; }
pass() { passed=$((passed + 1)); echo "ok: $*"; }

# The tree as git sees it, with new files and without what .gitignore leaves out (the build
# folders): the build's output lands beside the copy, never in the working tree.
src="$work/tessarin"
mkdir "$src"
if git -C "$top" rev-parse --git-dir >/dev/null 2>&1; then
    (cd "$top" && git ls-files -co --exclude-standard -z |
        tar --null --ignore-failed-read -T - -cf -) | tar -xf - -C "$src"
else
    tar -C "$top" --exclude='./build*' --exclude=./.cache -cf - . | tar -xf - -C "$src"
fi
# The build and lintian run at the lowest priority: beside them, other tests time what the
# game shows and plays, and must not wait for a compiler.
if ! (cd "$src" && DEB_BUILD_OPTIONS="parallel=$(nproc)" nice -n 19 dpkg-buildpackage -us -uc \
    >"$work/build.log" 2>&1); then
    tail -40 "$work/build.log"
    fail "dpkg-buildpackage"
fi
version="$(cd "$src" && dpkg-parsechangelog -S Version)"
deb="$work/tessarin_${version}_$(dpkg --print-architecture).deb"
dbgsym="$work/tessarin-dbgsym_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] && [ -f "$dbgsym" ] || fail "the package or its -dbgsym package was not built"
pass "dpkg-buildpackage built $(basename "$deb") and $(basename "$dbgsym")"

# The contents: a game in /usr/games and nothing in /usr/bin, the manual page compressed.
contents="$(dpkg-deb -c "$deb" | awk '{print $6}')"
for f in ./usr/games/tessarin ./usr/share/applications/tessarin.desktop \
    ./usr/share/metainfo/org.tessarin.tessarin.metainfo.xml ./usr/share/man/man6/tessarin.6.gz \
    ./usr/share/doc/tessarin/copyright ./usr/share/doc/tessarin/changelog.gz \
    ./usr/share/icons/hicolor/16x16/apps/tessarin.png \
    ./usr/share/icons/hicolor/256x256/apps/tessarin.png \
    ./usr/share/icons/hicolor/scalable/apps/tessarin.svg; do
    grep -qx "$f" <<<"$contents" || fail "the package lacks $f"
done
! grep -q '^\./usr/bin/' <<<"$contents" || fail "the package puts a program in /usr/bin"
pass "contents"

# The fields: SDL2 is opened at run time (dlopen), so no library dependency shows it and the
# package must name it; the fonts the game asks for; Wayland's Qt plugin recommended.
[ "$(dpkg-deb -f "$deb" Section)" = games ] || fail "section: $(dpkg-deb -f "$deb" Section)"
depends="$(dpkg-deb -f "$deb" Depends | tr -d ' ' | tr ',' '\n' | sed 's/(.*//')"
for p in libqt6widgets6 libqt6printsupport6 libfreetype6 libfontconfig1 libsdl2-2.0-0 \
    fonts-liberation2; do
    grep -qx "$p" <<<"$depends" || fail "the package does not depend on $p: $depends"
done
[ "$(dpkg-deb -f "$deb" Recommends)" = qt6-wayland ] ||
    fail "recommends: $(dpkg-deb -f "$deb" Recommends)"
pass "section, dependencies and recommendations"

# Unpacked, never installed.
root="$work/root"
dpkg-deb -x "$deb" "$root"
dpkg-deb -x "$dbgsym" "$work/dbgsym"
game="$root/usr/games/tessarin"

# Stripped, with its debug symbols in the -dbgsym package under the program's build id.
! readelf -S "$game" | grep -q '\.debug_info' || fail "the program is not stripped"
build_id="$(readelf -n "$game" | awk '/Build ID/ {print $3}')"
[ -n "$build_id" ] || fail "the program has no build id"
[ -f "$work/dbgsym/usr/lib/debug/.build-id/${build_id:0:2}/${build_id:2}.debug" ] ||
    fail "the -dbgsym package has no debug symbols for build id $build_id"
pass "stripped, debug symbols under build id $build_id"

# The desktop entry is valid and its command is found on Debian's default PATH, which has
# /usr/games; the metainfo passes the strictest AppStream check.
desktop="$root/usr/share/applications/tessarin.desktop"
desktop-file-validate "$desktop" || fail "the desktop entry"
command="$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")"
found="$command"
if [ "${command#/}" = "$command" ]; then
    found=""
    for dir in /usr/local/bin /usr/bin /bin /usr/local/games /usr/games; do
        if [ -x "$root$dir/$command" ]; then found="$dir/$command" && break; fi
    done
fi
[ "$found" = /usr/games/tessarin ] && [ -x "$root$found" ] ||
    fail "the desktop entry's Exec=$command is not the game"
metainfo="$root/usr/share/metainfo/org.tessarin.tessarin.metainfo.xml"
report="$(appstreamcli validate --pedantic --no-net "$metainfo" 2>&1)" ||
    fail "AppStream metainfo: $report"
! grep -qE '^[EWIP]: ' <<<"$report" || fail "AppStream metainfo: $report"
pass "desktop entry (Exec finds $found) and AppStream metainfo"

# lintian, as strict as it goes, on the package, its -dbgsym, its source and the upload; a
# tag that is right to ignore is overridden in debian/, with its reason.
nice -n 19 lintian -EviIL +pedantic "$work"/tessarin_"${version}"_*.changes \
    >"$work/lintian.log" 2>&1 || true
if grep -qE '^[EWIPXO]: ' "$work/lintian.log"; then
    grep -E '^[EWIPXO]: ' "$work/lintian.log"
    fail "lintian"
fi
pass "lintian -EviIL +pedantic: nothing to report"

# The unpacked game starts and says the package's version.
answer="$("$game" --version)" || fail "the unpacked game's --version ended with $?"
grep -q "^Tessarin ${version} " <<<"$answer" || fail "--version says: $answer"
pass "the unpacked game answers: $answer"
echo "$passed passed, 0 failed"
