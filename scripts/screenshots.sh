#!/usr/bin/env bash
# Takes the pictures of the window in docs/: the real program in a real X
# server (Xvfb with the openbox window manager), driven with xdotool and shot
# with xwd, converted with netpbm.
#
#   bash scripts/screenshots.sh [compact] [result] [about] [message] [full] [help]
#                                                           (all by default)
#
#   compact  docs/compact.png: the small window with a result
#   result   docs/result.png: the small window with a long result, 2^70
#   about    docs/about.png: the about box
#   message  docs/message.png: an error's message box
#   full     docs/full.png: the full size, a fraction and a power in the
#            natural form, variables in the grid, two history entries
#   help     docs/help.png: the help window, its first function chosen
#
# Builds build/ first where needed. The X tools come with scripts/setup.sh;
# xwd and netpbm, which only this script uses, it installs as root or names
# the command to install them.
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

say() { printf 'screenshots: %s\n' "$*" >&2; }
fail() {
    say "FAILED: $*"
    x11_print_app_log
    exit 1
}

shots=("$@")
[ ${#shots[@]} -gt 0 ] || shots=(compact result about message full help)
for shot in "${shots[@]}"; do
    case $shot in
        compact | result | about | message | full | help) ;;
        *)
            say "unknown picture \"$shot\"; usage: bash scripts/screenshots.sh [compact] [result] [about] [message] [full] [help]"
            exit 2
            ;;
    esac
done
wants() { [[ " ${shots[*]} " == *" $1 "* ]]; }

bash scripts/setup.sh || exit 1
if ! command -v xwd >/dev/null 2>&1 || ! command -v xwdtopnm >/dev/null 2>&1; then
    if [ "$(id -u)" -eq 0 ]; then
        say "installing x11-apps (xwd) and netpbm"
        DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends x11-apps netpbm </dev/null >&2
    else
        say "xwd and netpbm are missing; run as root: sudo apt-get install x11-apps netpbm"
        exit 1
    fi
fi

[ -f build/build.ninja ] || configure_build build
build build tallyfern

source tests/x11/x11_session.sh
trap x11_stop_session EXIT
trap 'exit 130' INT TERM
mkdir -p docs

x11_start_session 1024x768
# As a Chinese desktop runs it: Qt's own texts read Chinese too.
unset LANGUAGE
LC_ALL=zh_CN.UTF-8 x11_start_app build/ui/tallyfern
wait_for "the main window" find_window '^Tallyfern 1\.1'
main_window=$window
wait_for "the main window to have the keyboard focus" window_active

# place FORM CONTROL: the middle of a control in its window.
place() {
    local rect
    rect=$(form_control "$1" "$2") || exit 1
    center_of $rect
}
mode_button=$(place CalcDlg modeButton)
expr_box=$(place CalcDlg expressionEdit)
add_button=$(place CalcDlg addVariableButton)
help_button=$(place CalcDlg helpButton)
about_button=$(place CalcDlg aboutButton)

clipboard_is() {
    local clipboard
    clipboard=$(xclip -o -selection clipboard 2>/dev/null) || true
    wait_detail="the clipboard holds \"$clipboard\""
    [ "$clipboard" = "$1" ]
}

# compute EXPRESSION RESULT: types it into the emptied expression box and
# waits until the result, copied with the key below Escape, is RESULT.
compute() {
    window=$main_window
    click_at $expr_box
    xdotool key ctrl+a BackSpace
    xdotool type --delay 30 "$1"
    xdotool key Return grave
    wait_for "the result $2 of $1" clipboard_is "$2"
}

# shoot NAME [XWD OPTIONS]: docs/NAME.png of `window`, with the pointer
# away from it so that no button is lit and no tip shows.
shoot() {
    local name=$1
    shift
    xdotool mousemove 0 0
    sleep 0.7
    xwd -silent -id "$window" "$@" | xwdtopnm 2>/dev/null | pnmtopng >"docs/$name.png.part"
    mv "docs/$name.png.part" "docs/$name.png"
    say "docs/$name.png"
}

# dark_rows LEFT TOP WIDTH HEIGHT: the runs of pixel rows, within that part
# of `window`, that hold text (dark pixels) or a selection (blue ones), as
# "FIRST LAST" lines in window coordinates.
dark_rows() {
    xwd -silent -id "$window" | xwdtopnm 2>/dev/null |
        pamcut -left "$1" -top "$2" -width "$3" -height "$4" | pnmtoplainpnm |
        awk -v top="$2" '
            # Plain PPM: "P3", width, height, maximum, then r g b per pixel.
            { for (i = 1; i <= NF; ++i) v[n++] = $i }
            END {
                w = v[1]; h = v[2]; max = v[3]; k = 4
                for (y = 0; y < h; ++y) {
                    marked = 0
                    for (x = 0; x < w; ++x) {
                        r = v[k] * 255 / max; g = v[k + 1] * 255 / max; b = v[k + 2] * 255 / max
                        k += 3
                        if ((r + g + b) / 3 < 100 || b - r > 60) marked = 1
                    }
                    if (marked && !open) { start = y; open = 1 }
                    if (!marked && open) { print top + start, top + y - 1; open = 0 }
                }
                if (open) print top + start, top + h - 1
            }'
}

if wants compact; then
    compute '1/4+2^3' 8.25
    window=$main_window
    shoot compact
fi

if wants result; then
    compute '2^70' 1.18059162071741e+021
    window=$main_window
    shoot result
fi

if wants about; then
    window=$main_window
    click_at $about_button
    wait_for "the about box" find_window '^关于'
    shoot about -frame
    xdotool key Return
fi

if wants message; then
    window=$main_window
    click_at $expr_box
    xdotool key ctrl+a BackSpace
    xdotool type --delay 30 '2*(1+'
    xdotool key Return
    wait_for "the message box" find_window '^发生错误'
    shoot message -frame
    xdotool key Return
fi

if wants full || wants help; then
    window=$main_window
    read -r _ _ _ compact_height < <(geometry)
    click_at $mode_button
    full_size() { read -r _ _ _ h < <(geometry) && [ "$h" -gt "$compact_height" ]; }
    wait_for "the window's full size" full_size
fi

if wants full; then
    read -r grid_left grid_top _ grid_height < <(form_control CalcDlg variableGrid)
    # The value column begins 100 px into the grid (its name column's width);
    # its text begins at its left.
    value_left=$((grid_left + 1 + 100))
    rows=0
    # add_variable NAME VALUE: a new row of the grid, named and given a value
    # as a user does it: the add button opens the new row's name for editing,
    # all of it selected; a click on its value cell does the same there.
    add_variable() {
        window=$main_window
        click_at $add_button
        sleep 0.5
        xdotool type --delay 30 "$1"
        xdotool key Return
        rows=$((rows + 1))
        sleep 0.5
        # The column's header and then each row show a text; the new row is
        # the last.
        local runs
        runs=$(dark_rows "$value_left" "$grid_top" 30 "$grid_height")
        [ "$(wc -l <<<"$runs")" -eq $((rows + 1)) ] ||
            fail "expected the header and $rows row(s) in the grid's value column, found text at rows: $(echo $runs)"
        local first last
        read -r first last < <(tail -n 1 <<<"$runs")
        click_at $((value_left + 20)) $(((first + last) / 2))
        # Longer than a double click lasts, in case the editor waits for one.
        sleep 0.8
        xdotool type --delay 30 "$2"
        xdotool key Return
        sleep 0.3
    }
    add_variable a 3
    add_variable b 4
    add_variable k 0.5
    compute '(a^2+b^2)/(2*a*b)+k*b^(1/2)' 2.04166666666667
    window=$main_window
    shoot full
fi

if wants help; then
    window=$main_window
    click_at $help_button
    wait_for "the help window" find_window '^使用帮助'
    # Its list of functions is sorted; the first entry is at its top.
    read -r list_left list_top _ _ < <(form_control HelpDlg functionList)
    click_at $((list_left + 20)) $((list_top + 8))
    shoot help -frame
fi
