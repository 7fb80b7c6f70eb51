#!/usr/bin/env bash
# Installs what building and testing Tallyfern needs on Debian 12: the Debian
# packages below and the locales the tests switch to.
#
# As root it installs whatever is missing (apt-get update runs only then).
# As another user it prints the commands to run as root and exits 1 when
# something is missing. Nothing is touched when all is in place.
#
# Used by start.sh and test.sh; can be run on its own: bash scripts/setup.sh
set -euo pipefail

# Every Debian package the project needs, in one place. The window needs Qt 6
# (with SVG for its icons), Xlib for the Num Lock state, a font with Chinese
# characters and a fixed-pitch font for the natural form.
PACKAGES=(
    build-essential
    cmake
    ninja-build
    pkg-config
    libgtest-dev
    libgmock-dev
    libbenchmark-dev
    libedit-dev
    locales
    qt6-base-dev
    qt6-svg-dev
    # Qt's own texts in the user's language: standard buttons, edit menus.
    qt6-translations-l10n
    # Qt Linguist's tools (lupdate, lrelease) and their CMake package, which
    # build the window's translations; gettext's for the console program's.
    qt6-tools-dev
    qt6-l10n-tools
    gettext
    libx11-dev
    # The format and naming checks of the sources.
    clang-format
    clang-tidy
    fonts-wqy-zenhei
    fonts-dejavu-core
    # The Debian package: dpkg-shlibdeps works out its dependencies, and
    # lintian checks it as Debian does.
    dpkg-dev
    lintian
    # Checkers of the installed files: desktop entry, AppStream metadata,
    # manual page, and bash's completion framework for the completion file.
    desktop-file-utils
    appstream
    man-db
    bash-completion
    # The window's test in a real X server: the server, a window manager
    # to move and stack the window, keys and clicks, the clipboard, and
    # xprop for the window manager's state of the window.
    xvfb
    openbox
    xdotool
    xclip
    x11-utils
    # A screen reader's view of the window in that test: the accessibility
    # bus and a client of it.
    at-spi2-core
    python3-pyatspi
    dbus-daemon
)

# Locales the tests need, as written in /etc/locale.gen: "NAME CHARSET".
LOCALES=(
    "de_DE.UTF-8 UTF-8"
    "zh_CN.GB18030 GB18030"
    "zh_CN.UTF-8 UTF-8"
)

say() { printf 'setup: %s\n' "$*" >&2; }

is_root() { [ "$(id -u)" -eq 0 ]; }

package_installed() {
    [ "$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null || true)" = "install ok installed" ]
}

# de_DE.UTF-8 -> de_de.utf8: the form `locale -a` lists, lower-cased, so
# that names can be compared however they are written.
normalise_locale() {
    local lower=${1,,}
    local name=${lower%%.*}
    if [ "$name" = "$lower" ]; then
        printf '%s\n' "$name"
    else
        local codeset=${lower#*.}
        printf '%s\n' "$name.${codeset//-/}"
    fi
}

locale_available() {
    local wanted have
    wanted=$(normalise_locale "$1")
    while read -r have; do
        [ "$(normalise_locale "$have")" = "$wanted" ] && return 0
    done < <(locale -a 2>/dev/null)
    return 1
}

missing_packages=()
for p in "${PACKAGES[@]}"; do
    package_installed "$p" || missing_packages+=("$p")
done

missing_locales=()
for entry in "${LOCALES[@]}"; do
    locale_available "${entry%% *}" || missing_locales+=("$entry")
done

if [ ${#missing_packages[@]} -eq 0 ] && [ ${#missing_locales[@]} -eq 0 ]; then
    exit 0
fi

if ! is_root; then
    say "some of what Tallyfern needs is missing; run as root:"
    if [ ${#missing_packages[@]} -gt 0 ]; then
        echo "sudo apt-get install ${missing_packages[*]}"
    fi
    for entry in "${missing_locales[@]}"; do
        echo "sudo sh -c 'grep -q \"^$entry\$\" /etc/locale.gen || echo \"$entry\" >> /etc/locale.gen'"
    done
    if [ ${#missing_locales[@]} -gt 0 ]; then
        echo "sudo locale-gen"
    fi
    say "then run this again."
    exit 1
fi

export DEBIAN_FRONTEND=noninteractive

if [ ${#missing_packages[@]} -gt 0 ]; then
    say "installing ${missing_packages[*]}"
    apt-get update </dev/null >&2
    apt-get install -y --no-install-recommends "${missing_packages[@]}" </dev/null >&2
fi

if [ ${#missing_locales[@]} -gt 0 ]; then
    say "generating locales: ${missing_locales[*]%% *}"
    touch /etc/locale.gen
    for entry in "${missing_locales[@]}"; do
        # Uncomment the line Debian ships ("# de_DE.UTF-8 UTF-8"), or add it.
        pattern=$(printf '%s' "$entry" | sed 's/[.]/\\./g')
        if grep -Eq "^[[:space:]]*#[[:space:]]*${pattern}[[:space:]]*$" /etc/locale.gen; then
            sed -Ei "s/^[[:space:]]*#[[:space:]]*(${pattern})[[:space:]]*$/\1/" /etc/locale.gen
        elif ! grep -Eq "^[[:space:]]*${pattern}[[:space:]]*$" /etc/locale.gen; then
            printf '%s\n' "$entry" >>/etc/locale.gen
        fi
    done
    locale-gen </dev/null >&2
    for entry in "${missing_locales[@]}"; do
        if ! locale_available "${entry%% *}"; then
            say "locale ${entry%% *} is still missing after locale-gen"
            exit 1
        fi
    done
fi
