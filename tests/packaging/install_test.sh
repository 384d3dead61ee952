#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs into a temporary prefix and checks the program, the user unit, the desktop entry and
# its launcher, the manual page and the first-run helper; then builds the Debian package twice
# and checks it (same bytes, dependencies, files, lintian, AppStream, desktop-file-validate).
# Usage: install_test.sh <cmake> <cpack> <build dir>; exits 0 pass, 1 fail, 77 skip.
set -uo pipefail

(($# == 3)) || { echo "usage: $0 <cmake> <cpack> <build dir>" >&2; exit 2; }
cmake=$1 cpack=$2 build=$(realpath "$3")
source_dir=$(realpath "$(dirname "$0")/../..")
work=$(mktemp -d "${TMPDIR:-/tmp}/kelvorn-install.XXXXXX")
trap 'rm -rf "$work"' EXIT

pass() { echo "PASS: $*"; }
fail() { echo "FAIL: $*"; exit 1; }
has_line() { grep -qxF -- "$2" "$1" || fail "${1##*/} lacks the line: $2"; }
for tool in desktop-file-validate man; do
    command -v "$tool" >/dev/null 2>&1 || { echo "SKIP: $tool is not installed"; exit 77; }
done
# The manual page without a warning, naming every file of README's Files table.
check_page() {
    local page name
    page=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -l "$1" 2>"$work/man.err") &&
        [[ ! -s $work/man.err ]] || fail "man -l ${1##*/}: $(<"$work/man.err")"
    for name in $(grep -oE '^\| `[^`]+\.(kvx|avi)`' "$source_dir/README.md" | tr -d '|` '); do
        grep -qF "$name" <<<"$page" || fail "the manual page lacks $name"
    done
}

# --- cmake --install ----------------------------------------------------------------
prefix=$work/prefix
"$cmake" --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 ||
    { cat "$work/install.log"; fail "cmake --install"; }
unit=$prefix/lib/systemd/user/kelvorn.service
desktop=$prefix/share/applications/kelvorn.desktop
prepare=$prefix/libexec/kelvorn/kelvorn-prepare
start=$prefix/libexec/kelvorn/kelvorn-start
[[ -x $prefix/bin/kelvorn && -x $prepare && -x $start ]] || fail "program, helper or launcher not installed executable"
[[ -f $unit && -f $desktop ]] || fail "unit or desktop entry not installed"

has_line "$unit" "ExecStartPre=$prepare \"%h/.local/share/kelvorn\""
has_line "$unit" "WorkingDirectory=-%h/.local/share/kelvorn"
has_line "$unit" "ExecStart=$prefix/bin/kelvorn"
has_line "$unit" "Restart=on-failure"
has_line "$unit" "WantedBy=graphical-session.target"
has_line "$desktop" "TryExec=$prefix/bin/kelvorn"
has_line "$desktop" "Exec=$start"
has_line "$desktop" "Icon=kelvorn"
has_line "$start" "exec \"$prefix/bin/kelvorn\""
pass "installed files name the installed program under $prefix"
check_page "$prefix/share/man/man1/kelvorn.1.gz"
pass "manual page"

# systemd reports unit errors as warnings with status 0: any output is a fault.
if command -v systemd-analyze >/dev/null 2>&1; then
    mkdir -m 700 "$work/run"
    out=$(XDG_RUNTIME_DIR=$work/run systemd-analyze --user verify "$unit" 2>&1)
    [[ $? == 0 && -z $out ]] || fail "systemd-analyze verify: $out"
    pass "systemd-analyze verify"
fi
out=$(desktop-file-validate "$desktop" 2>&1) && [[ -z $out ]] || fail "desktop-file-validate: $out"
pass "desktop-file-validate"

# --- the first-run helper -----------------------------------------------------------
home=$work/home
folder=$home/.local/share/kelvorn
prepare_in() { env -u XDG_CONFIG_HOME HOME="$home" "$prepare" "$1" || fail "helper failed on $1"; }
prepare_in "$folder"
first_run=$(printf 'Library.kvx\nMp3Path.kvx')
[[ $(ls -A "$folder") == "$first_run" ]] || fail "first run left: $(ls -A "$folder")"
[[ $(<"$folder/Mp3Path.kvx") == "$home/Music/"$'\r' ]] || fail "first Mp3Path.kvx: $(<"$folder/Mp3Path.kvx")"
[[ $(<"$folder/Library.kvx") == $'subfolders=1\r\nformats=mp3 flac ogg oga opus m4a aac wav\r' ]] ||
    fail "first Library.kvx: $(<"$folder/Library.kvx")"
printf '/srv/songs/\n' >"$folder/Mp3Path.kvx"
rm "$folder/Library.kvx"
prepare_in "$folder"
[[ $(<"$folder/Mp3Path.kvx") == /srv/songs/ ]] || fail "a user's Mp3Path.kvx was overwritten"
[[ $(ls -A "$folder") == Mp3Path.kvx ]] || fail "a later run left: $(ls -A "$folder")"
mkdir "$work/other" && touch "$work/other/mp3PATH.KVX"
prepare_in "$work/other"
[[ $(ls -A "$work/other") == mp3PATH.KVX ]] || fail "after the first run a later one wrote $(ls -A "$work/other")"
rm "$work/other/mp3PATH.KVX" && touch "$work/other/library.KVX"
prepare_in "$work/other"
[[ $(ls -A "$work/other") == $(printf 'Mp3Path.kvx\nlibrary.KVX') && ! -s $work/other/library.KVX ]] ||
    fail "a file the program reads in another case was not kept: $(ls -A "$work/other")"
pass "first-run Mp3Path.kvx and Library.kvx written once, a user's own kept"
if command -v xdg-user-dir >/dev/null 2>&1; then
    # shellcheck disable=SC2016 # user-dirs.dirs holds "$HOME" itself
    mkdir -p "$home/.config" && echo 'XDG_MUSIC_DIR="$HOME/Musik"' >"$home/.config/user-dirs.dirs"
    prepare_in "$work/xdg"
    [[ $(<"$work/xdg/Mp3Path.kvx") == "$home/Musik/"$'\r' ]] || fail "the XDG Music folder was not used"
    pass "first-run Mp3Path.kvx names the XDG Music folder"
fi

# --- the desktop entry's launcher ---------------------------------------------------
# With a user manager it only starts the unit; else it prepares the folder and runs the program there.
mkdir "$work/bin"
printf '#!/bin/sh\necho "$*" >>"%s/systemctl.log"\n[ "$FAKE_MANAGER" = yes ]\n' "$work" >"$work/bin/systemctl"
printf '#!/bin/sh\npwd >"%s/ran"\n' "$work" >"$prefix/bin/kelvorn"
chmod +x "$work/bin/systemctl" "$prefix/bin/kelvorn"
launch() { env -u XDG_CONFIG_HOME HOME="$work/launch" PATH="$work/bin:$PATH" FAKE_MANAGER=$1 "$start" || fail "launcher"; }
launch yes
[[ $(<"$work/systemctl.log") == $'--user show-environment\n--user start kelvorn.service' && ! -e $work/ran ]] ||
    fail "with a user manager the launcher did: $(<"$work/systemctl.log") $(cat "$work/ran" 2>/dev/null)"
launch no
[[ $(<"$work/ran") == "$work/launch/.local/share/kelvorn" && -f $work/launch/.local/share/kelvorn/Mp3Path.kvx ]] ||
    fail "without a user manager the program ran in $(<"$work/ran")"
pass "launcher: the user service where a manager answers, else the program in its working folder"

# --- the Debian package -------------------------------------------------------------
for tool in dpkg-deb dpkg-shlibdeps lintian appstreamcli; do
    command -v "$tool" >/dev/null 2>&1 || { echo "SKIP: $tool is not installed"; exit 77; }
done
# Twice, seconds apart, with no date given: the package's dates are the build's own.
for run in deb deb2; do
    [[ $run == deb ]] || sleep 1
    env -u SOURCE_DATE_EPOCH "$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work/$run" \
        >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; fail "cpack"; }
done
debs=("$work/deb/kelvorn_"*"_$(dpkg --print-architecture).deb")
deb=${debs[0]}
[[ ${#debs[@]} == 1 && -f $deb ]] || fail "no one kelvorn_<version>_<arch>.deb: $(ls "$work/deb")"
cmp "$deb" "$work/deb2/${deb##*/}" || fail "two packages from one build differ"
pass "package ${deb##*/} built twice, byte for byte the same"
depends=$(dpkg-deb -f "$deb" Depends)
for package in libmpv2 fonts-liberation libqt6core6 libqt6gui6 libqt6widgets6 libqt6network6 \
    libqt6openglwidgets6 libqt6dbus6; do
    [[ ", $depends," == *", $package"[\ ,]* ]] || fail "Depends lacks $package: $depends"
done
twice=$(tr ',' '\n' <<<"$depends" | awk '{print $1}' | sort | uniq -d)
[[ -z $twice ]] || fail "Depends names twice: $twice"
[[ $(dpkg-deb -f "$deb" Recommends) == *qt6-wayland* && $(dpkg-deb -f "$deb" Suggests) == *lirc* ]] ||
    fail "qt6-wayland not recommended or lirc not suggested"
files=$(dpkg-deb -c "$deb" | awk '{print $NF}')
for file in bin/kelvorn libexec/kelvorn/kelvorn-prepare libexec/kelvorn/kelvorn-start \
    lib/systemd/user/kelvorn.service share/applications/kelvorn.desktop share/man/man1/kelvorn.1.gz \
    share/doc/kelvorn/copyright share/doc/kelvorn/changelog.Debian.gz 'share/metainfo/.*\.metainfo\.xml' \
    share/icons/hicolor/{16x16,32x32,48x48,64x64,128x128,256x256}/apps/kelvorn.png \
    share/icons/hicolor/scalable/apps/kelvorn.svg; do
    grep -qx "\./usr/$file" <<<"$files" || fail "package lacks /usr/$file"
done
root=$work/root
dpkg-deb -x "$deb" "$root"
has_line "$root/usr/lib/systemd/user/kelvorn.service" "ExecStart=/usr/bin/kelvorn"
has_line "$root/usr/share/applications/kelvorn.desktop" "Exec=/usr/libexec/kelvorn/kelvorn-start"
[[ $(zcat "$root/usr/share/doc/kelvorn/changelog.Debian.gz" | head -n 1) == \
    "kelvorn ($(dpkg-deb -f "$deb" Version)) unstable; urgency=medium" ]] || fail "changelog not of this version"
pass "package: dependencies, files and /usr paths"

out=$(desktop-file-validate "$root/usr/share/applications/kelvorn.desktop" 2>&1) && [[ -z $out ]] ||
    fail "desktop-file-validate: $out"
# The reverse-DNS id's top-level domain, the reserved ".example", is not in AppStream's list.
out=$(appstreamcli validate-tree --no-net --strict --override=cid-maybe-not-rdns=pedantic "$root" 2>&1) ||
    fail "appstreamcli validate-tree: $out"
check_page "$root/usr/share/man/man1/kelvorn.1.gz"
# The metainfo's screenshot is the one in the source tree.
shot=$(grep -o '<image[^>]*>[^<]*' "$root"/usr/share/metainfo/*.metainfo.xml) &&
    [[ -f $source_dir/packaging/screenshots/${shot##*/} ]] || fail "no packaging/screenshots/${shot##*/}"
pass "desktop-file-validate, appstreamcli validate-tree and man on the package's files"
# Any lintian tag fails, infos too; the package's own overrides explain the expected ones.
out=$(lintian --display-info "$deb" 2>&1 | grep -v '^running with root privileges')
! grep -qE '^[EWI]: ' <<<"$out" || fail "lintian: $out"
pass "lintian: no error, warning or info"
