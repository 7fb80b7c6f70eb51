#!/usr/bin/env bash
# Installs a build tree into a staging directory, as the Debian package does
# (prefix /usr under DESTDIR), and checks what lands there: exactly the
# expected files, runnable programs, and files that refer to each other
# correctly (the desktop entry's program and icon, the metadata's desktop
# entry, programs and version, the manual page's options).
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

readonly desktop_entry=share/applications/tallyfern.desktop
readonly metainfo=share/metainfo/org.tallyfern.tallyfern.metainfo.xml
readonly man_page=share/man/man1/tallyfern-cli.1.gz
expected=(bin/tallyfern-cli "$man_page")
if [ "$window" = ON ]; then
    expected+=(bin/tallyfern "$desktop_entry" "$metainfo"
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

# The manual page: compressed whole, for section 1, and naming every option
# the program's own help names.
if gzip -t "$root/$man_page" 2>/dev/null; then
    page=$(gzip -dc "$root/$man_page" | sed 's/\\-/-/g')
    head -n 1 <<<"$page" | grep -q '^\.TH TALLYFERN-CLI 1 ' || problem "the manual page's .TH line is not for tallyfern-cli(1)"
    for option in $("$root/bin/tallyfern-cli" --help | grep -oE '(^|[ ,])--?[a-z][a-z-]*' | tr -d ' ,' | sort -u); do
        grep -qe "$option" <<<"$page" || problem "the manual page does not describe $option"
    done
else
    problem "$man_page is not a valid gzip file"
fi

if [ "$window" = ON ]; then
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
