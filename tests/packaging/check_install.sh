#!/usr/bin/env bash
# Installs a build tree into a staging directory, as the Debian package does
# (prefix /usr under DESTDIR), and checks what lands there: exactly the
# expected files, runnable programs, and files that refer to each other
# correctly (the desktop entry's program and icon, the metadata's desktop
# entry, programs and version, the manual pages' options), and the window's
# command line answered without a display.
#
#   check_install.sh BUILD_DIR VERSION WINDOW(ON|OFF)
set -euo pipefail

build=${1:?usage: check_install.sh BUILD_DIR VERSION WINDOW}
version=${2:?usage: check_install.sh BUILD_DIR VERSION WINDOW}
window=${3:?usage: check_install.sh BUILD_DIR VERSION WINDOW}

failures=0
say() { printf 'check_install: %s\n' "$*" >&2; }
problem() {
    say "FAILED: $*"
    failures=$((failures + 1))
}

stage=$(mktemp -d "${TMPDIR:-/tmp}/tallyfern-stage.XXXXXX")
trap 'rm -rf "$stage"' EXIT
if ! DESTDIR=$stage cmake --install "$build" --prefix /usr >"$stage.log" 2>&1; then
    cat "$stage.log" >&2
    rm -f "$stage.log"
    say "FAILED: cmake --install did not succeed"
    exit 1
fi
rm -f "$stage.log"
root=$stage/usr

readonly desktop_entry=share/applications/org.tallyfern.tallyfern.desktop
readonly metainfo=share/metainfo/org.tallyfern.tallyfern.metainfo.xml
readonly man_page=share/man/man1/tallyfern-cli.1.gz
readonly window_man_page=share/man/man1/tallyfern.1.gz
expected=(bin/tallyfern-cli "$man_page" share/doc/tallyfern/copyright share/doc/tallyfern/changelog.gz
    share/bash-completion/completions/tallyfern-cli share/lintian/overrides/tallyfern
    share/locale/en/LC_MESSAGES/tallyfern-cli.mo)
if [ "$window" = ON ]; then
    expected+=(bin/tallyfern "$window_man_page" "$desktop_entry" "$metainfo"
        share/icons/hicolor/scalable/apps/tallyfern.svg
        share/icons/hicolor/48x48/apps/tallyfern.png)
fi

# Exactly these files: a missing one fails, and so does one installed by
# mistake (a build-time tool, a library).
actual=$(cd "$root" && find . -type f -o -type l | sed 's|^\./||' | sort)
wanted=$(printf '%s\n' "${expected[@]}" | sort)
if [ "$actual" != "$wanted" ]; then
    problem "installed files differ from the expected ones:"
    diff <(echo "$wanted") <(echo "$actual") | sed 's/^/    /' >&2 || true
fi

for file in "${expected[@]}"; do
    case $file in
        bin/*) [ ! -e "$root/$file" ] || [ -x "$root/$file" ] || problem "$file is not executable" ;;
    esac
done

# The installed console program runs and is the version being packaged.
if out=$("$root/bin/tallyfern-cli" --version 2>&1); then
    [ "$out" = "tallyfern-cli $version" ] || problem "tallyfern-cli --version says \"$out\", not \"tallyfern-cli $version\""
else
    problem "the installed tallyfern-cli --version failed: $out"
fi

# check_man_page PAGE TH_NAME PROGRAM: the manual page is compressed whole,
# is for section 1 of this version, and names every option the program's own
# help names.
check_man_page() {
    local file=$root/$1 page option
    if ! gzip -t "$file" 2>/dev/null; then
        problem "$1 is not a valid gzip file"
        return
    fi
    page=$(gzip -dc "$file" | sed 's/\\-/-/g')
    head -n 1 <<<"$page" | grep -q "^\.TH $2 1 [0-9-]* \"Tallyfern $version\"" ||
        problem "the .TH line of $1 is not for $2(1) of Tallyfern $version"
    for option in $("$root/bin/$3" --help | grep -oE '(^|[ ,])--?[a-z][a-z-]*' | tr -d ' ,' | sort -u); do
        grep -qe "$option" <<<"$page" || problem "$1 does not describe $option"
    done
}
check_man_page "$man_page" TALLYFERN-CLI tallyfern-cli

# The changelog's newest entry is this version's.
changelog_head=$(gzip -dc "$root/share/doc/tallyfern/changelog.gz" | head -n 1)
[[ $changelog_head == "tallyfern ($version) "* ]] || problem "the changelog begins \"$changelog_head\", not with $version"

if [ "$window" = ON ]; then
    check_man_page "$window_man_page" TALLYFERN tallyfern

    # The window answers these without a display; anything else it does not
    # know is a usage error.
    while IFS='|' read -r status stream text arguments; do
        # shellcheck disable=SC2086 # the arguments are words
        env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$root/bin/tallyfern" $arguments \
            >"$stage.out" 2>"$stage.err" </dev/null && actual=0 || actual=$?
        [ "$actual" = "$status" ] || problem "tallyfern $arguments exited with $actual, not $status"
        head -n 1 "$stage.$stream" | grep -qF -- "$text" ||
            problem "tallyfern $arguments did not print \"$text\" on standard $stream: $(cat "$stage.out" "$stage.err")"
    done <<EOF
0|out|tallyfern $version|--version
0|out|usage: tallyfern|--help
0|out|usage: tallyfern|-platform offscreen -h
2|err|tallyfern: unknown option '--frobnicate'|--frobnicate
2|err|tallyfern: unexpected argument 'extra'|-style fusion extra
EOF
    rm -f "$stage.out" "$stage.err"

    # key KEY FILE: the value of KEY in the desktop entry's main group.
    key() { sed -n "s/^$1=//p" "$2" | head -n 1; }
    exec_line=$(key Exec "$root/$desktop_entry")
    [ -x "$root/bin/${exec_line%% *}" ] || problem "the desktop entry starts \"$exec_line\", which is not an installed program"
    icon=$(key Icon "$root/$desktop_entry")
    [ -f "$root/share/icons/hicolor/scalable/apps/$icon.svg" ] || problem "no scalable icon named \"$icon\", as the desktop entry's Icon= says"
    png=$root/share/icons/hicolor/48x48/apps/$icon.png
    if [ -f "$png" ]; then
        # A PNG's signature, then the header chunk with width and height.
        signature=$(od -An -tx1 -N8 "$png" | tr -d ' \n')
        size=$(od -An -tu1 -j16 -N8 "$png" | awk '{print $1*16777216+$2*65536+$3*256+$4 "x" $5*16777216+$6*65536+$7*256+$8}')
        [ "$signature" = 89504e470d0a1a0a ] || problem "$icon.png is not a PNG image"
        [ "$size" = 48x48 ] || problem "$icon.png is $size pixels, not 48x48"
    else
        problem "no 48x48 icon named \"$icon\", as the desktop entry's Icon= says"
    fi

    meta=$root/$metainfo
    launchable=$(sed -n 's|.*<launchable type="desktop-id">\(.*\)</launchable>.*|\1|p' "$meta")
    [ "share/applications/$launchable" = "$desktop_entry" ] || problem "the metadata launches \"$launchable\", not the installed desktop entry"
    for binary in $(sed -n 's|.*<binary>\(.*\)</binary>.*|\1|p' "$meta"); do
        [ -x "$root/bin/$binary" ] || problem "the metadata provides \"$binary\", which is not installed"
    done
    grep -q "<release version=\"$version\"" "$meta" || problem "the metadata has no release $version"
fi

if [ "$failures" -gt 0 ]; then
    say "$failures problem(s)"
    exit 1
fi
say "passed: ${#expected[@]} files in place"
