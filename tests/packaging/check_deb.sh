#!/usr/bin/env bash
# Builds the Debian package of a build tree with CPack into a scratch
# directory and checks its control fields and contents: the package's name
# and version, dependencies that dpkg-shlibdeps computed from the programs,
# the files under /usr that an install puts in place, the desktop entry and
# metadata in it as their validators see them, and lintian's verdict: no
# error and no warning (the informational notes are printed).
# Exits 77 (skipped) without dpkg-dev, which computes the dependencies, or
# without lintian.
#
#   check_deb.sh BUILD_DIR VERSION WINDOW(ON|OFF)
set -euo pipefail

build=${1:?usage: check_deb.sh BUILD_DIR VERSION WINDOW}
version=${2:?usage: check_deb.sh BUILD_DIR VERSION WINDOW}
window=${3:?usage: check_deb.sh BUILD_DIR VERSION WINDOW}

say() { printf 'check_deb: %s\n' "$*" >&2; }
for tool in dpkg-shlibdeps dpkg-deb lintian desktop-file-validate appstreamcli; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        say "SKIPPED: $tool is not installed (scripts/setup.sh installs it)"
        exit 77
    fi
done

work=$(mktemp -d "${TMPDIR:-/tmp}/tallyfern-deb.XXXXXX")
trap 'rm -rf "$work"' EXIT
if ! cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log" >&2
    say "FAILED: cpack -G DEB did not succeed"
    exit 1
fi
shopt -s nullglob
debs=("$work"/*.deb)
if [ ${#debs[@]} -ne 1 ]; then
    say "FAILED: expected one package, cpack made ${#debs[@]}"
    exit 1
fi
deb=${debs[0]}

failures=0
problem() {
    say "FAILED: $*"
    failures=$((failures + 1))
}
field() { dpkg-deb --field "$deb" "$1"; }

[ "$(field Package)" = tallyfern ] || problem "the package is named \"$(field Package)\", not tallyfern"
[ "$(field Version)" = "$version" ] || problem "the package's version is \"$(field Version)\", not $version"
[ "$(basename "$deb")" = "tallyfern_${version}_$(field Architecture).deb" ] ||
    problem "the file is named $(basename "$deb"), not after Debian's NAME_VERSION_ARCH.deb"

# Dependencies as dpkg-shlibdeps computes them: the C library for both
# programs, and Qt's widgets for the window.
depends=$(field Depends)
# has_dependency NAME: NAME stands in Depends, with or without a version.
has_dependency() { grep -qE "(^|, |\| )$1( \(|,|$| \|)" <<<"$depends"; }
has_dependency libc6 || problem "Depends lacks libc6: $depends"
if [ "$window" = ON ]; then
    for package in libqt6widgets6 libqt6svg6 qt6-qpa-plugins qt6-translations-l10n; do
        has_dependency "$package" || problem "Depends lacks $package: $depends"
    done
    grep -qE '(^|, )qt6-wayland(,|$)' <<<"$(field Recommends)" ||
        problem "Recommends lacks qt6-wayland: $(field Recommends)"
fi

# The package holds what an install puts under /usr, and nothing else.
contents=$(dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v '/$' | sed 's|^\./||' | sort)
DESTDIR=$work/stage cmake --install "$build" --prefix /usr >/dev/null
installed=$(cd "$work/stage" && find . -type f -o -type l | sed 's|^\./||' | sort)
if [ "$contents" != "$installed" ]; then
    problem "the package's files differ from an install's:"
    diff <(echo "$installed") <(echo "$contents") | sed 's/^/    /' >&2 || true
fi

if [ "$window" = ON ]; then
    unpacked=$work/unpacked
    dpkg-deb --extract "$deb" "$unpacked"
    desktop-file-validate "$unpacked/usr/share/applications/org.tallyfern.tallyfern.desktop" ||
        problem "desktop-file-validate refuses the packaged desktop entry"
    appstreamcli validate --pedantic --no-net "$unpacked/usr/share/metainfo/org.tallyfern.tallyfern.metainfo.xml" ||
        problem "appstreamcli refuses the packaged metadata"
fi

# Lintian warns that it runs as root, which CI does.
lintian --pedantic --display-info --display-experimental --fail-on error,warning "$deb" \
    2> >(grep -v 'running with root privileges' >&2) || problem "lintian reports errors or warnings (above)"

if [ "$failures" -gt 0 ]; then
    say "$failures problem(s)"
    exit 1
fi
say "passed: $(basename "$deb"), Depends: $depends"
