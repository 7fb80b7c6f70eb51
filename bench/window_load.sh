#!/usr/bin/env bash
# How the window program copes with big input, driven as a user drives it in
# a real X server (the session of tests/x11/x11_session.sh: Xvfb, openbox,
# keys by xdotool, the clipboard by xclip).
#
#   window_load.sh PATH/TO/tallyfern [GEN_BENCH]
#
# GEN_BENCH is the generator of the benchmark inputs (default
# ../shared/bench/gen_bench.py beside the source tree). Prints:
#  - a 10^5-term sum (582 KB) pasted into the expression box and computed
#    ten times: the time from the paste key to the result key's answer in
#    the clipboard, the time from Enter (the paste already done) to that
#    answer, and the window's resident set after each computation;
#  - 10 MB of text pasted into the box: the window's processor time for
#    the paste, and over 10 s sitting idle, and the time from a key to the
#    result key's answer;
#  - that text computed in the compact window, then the switch to the full
#    window, then computed in the full window: each time how long the
#    result key waits for its answer, the time until the window is idle
#    again (its natural form drawn), and the window's peak resident set.
# A measurement, not a test: nothing here fails on slow figures.
set -euo pipefail

say() { printf '%s\n' "$*"; }
fail() {
    printf 'window_load: FAILED: %s\n' "$*" >&2
    x11_print_app_log
    exit 1
}

app=${1:?usage: window_load.sh PATH/TO/tallyfern [GEN_BENCH]}
source "$(dirname "${BASH_SOURCE[0]}")/../tests/x11/x11_session.sh"
gen=${2:-$X11_SOURCE_DIR/../shared/bench/gen_bench.py}
[ -x "$app" ] || fail "no program at $app"
[ -f "$gen" ] || fail "no generator at $gen"
for tool in Xvfb openbox xdotool xclip xprop; do
    command -v "$tool" >/dev/null 2>&1 || fail "$tool is not installed"
done
trap x11_stop_session EXIT
trap 'exit 130' INT TERM

x11_start_session
inputs=$x11_work/inputs
python3 "$gen" --sizes 100000 --depths 10 --short-count 1 "$inputs" >/dev/null
tr -d '\n' <"$inputs/sum_100000.txt" >"$x11_work/sum.txt"
# 10 MB: "1+1+...+1".
python3 -c 'import sys; sys.stdout.write("1+" * 5_000_000 + "1")' >"$x11_work/big.txt"

x11_start_app "$app"
wait_for "the window" find_window '^Tallyfern'
wait_for "the window to have the keyboard focus" window_active
pid=$x11_app_pid

now_ms() { echo $(($(date +%s%N) / 1000000)); }
# The window's processor time so far, in clock ticks (user + system).
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$pid/stat"; }
rss_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status"; }
# settle: waits until the window has used no processor time for 0.3 s.
settle() {
    local last now
    last=$(cpu_ticks)
    while sleep 0.3; now=$(cpu_ticks); [ "$now" != "$last" ]; do
        last=$now
    done
}
# The clipboard's owner: the program offers more targets than xclip does.
program_owns_clipboard() {
    xclip -o -selection clipboard -t TARGETS 2>/dev/null | grep -q 'text/plain'
}
# clipboard_from FILE: xclip holds FILE's text on the clipboard.
clipboard_from() {
    xclip -i -selection clipboard <"$1"
    wait_for "xclip to own the clipboard" xclip_owns_clipboard
}
xclip_owns_clipboard() { ! program_owns_clipboard; }
# answer_ms START_MS: waits for the result key's answer, prints the time
# since START_MS.
answer_ms() {
    local start=$1
    until program_owns_clipboard; do
        kill -0 "$pid" 2>/dev/null || fail "the program ended"
        sleep 0.002
    done
    echo $(($(now_ms) - start))
}

# One small computation first, so the result key has a result to copy.
xdotool type --delay 20 '2*3'
xdotool key Return grave
wait_for "the first result" program_owns_clipboard
settle
say "window: RSS at start $(rss_kb) kB"
# What the harness itself takes: Enter and the result key on "2*3".
floor=''
for _ in 1 2 3 4 5; do
    echo x | xclip -i -selection clipboard
    wait_for "xclip to own the clipboard" xclip_owns_clipboard
    settle
    start=$(now_ms)
    xdotool key --delay 1 Return grave
    floor="$floor $(answer_ms "$start")"
done
say "2*3: enter->answer$floor ms (the harness's own share)"

say ""
say "10^5-term sum ($(wc -c <"$x11_work/sum.txt") bytes), pasted and computed:"
say "run  paste->answer  enter->answer  cpu(ticks)  RSS(kB)"
for run in 1 2 3 4 5 6 7 8 9 10; do
    xdotool key Escape
    clipboard_from "$x11_work/sum.txt"
    settle
    ticks=$(cpu_ticks)
    start=$(now_ms)
    xdotool key --delay 1 ctrl+v Return grave
    whole=$(answer_ms "$start")
    used=$(($(cpu_ticks) - ticks))
    settle
    # Again without the paste: the same text is still in the box.
    echo x | xclip -i -selection clipboard
    wait_for "xclip to own the clipboard" xclip_owns_clipboard
    start=$(now_ms)
    xdotool key --delay 1 Return grave
    computed=$(answer_ms "$start")
    settle
    answer=$(xclip -o -selection clipboard)
    printf '%3d  %10s ms  %10s ms  %10s  %7s  (result %s)\n' \
        "$run" "$whole" "$computed" "$used" "$(rss_kb)" "$answer"
done

say ""
say "10 MB of text in the expression box:"
xdotool key Escape
clipboard_from "$x11_work/big.txt"
settle
ticks=$(cpu_ticks)
# The paste is measured by the processor time it takes until the window is
# idle again: a result key right after it can leave the X transfer hanging.
xdotool key ctrl+v
settle_or_timeout() {
    local last now end=$((SECONDS + 30))
    last=$(cpu_ticks)
    while sleep 0.5; now=$(cpu_ticks); [ "$now" != "$last" ] && [ "$SECONDS" -lt "$end" ]; do
        last=$now
    done
}
settle_or_timeout
hz=$(getconf CLK_TCK)
say "  paste: $((($(cpu_ticks) - ticks) * 1000 / hz)) ms of the window's processor time"
ticks=$(cpu_ticks)
sleep 10
idle=$(($(cpu_ticks) - ticks))
say "  idle: $idle ticks in 10 s ($(awk -v t="$idle" -v hz="$hz" 'BEGIN { printf "%.1f", 100 * t / hz / 10 }') % of a core), RSS $(rss_kb) kB"
for keys in grave 'Left grave' 'End grave' '1 grave' 'BackSpace grave'; do
    echo x | xclip -i -selection clipboard
    wait_for "xclip to own the clipboard" xclip_owns_clipboard
    settle_or_timeout
    start=$(now_ms)
    # shellcheck disable=SC2086
    xdotool key --delay 1 $keys
    say "  key ${keys% grave} then the result key: answered in $(answer_ms "$start") ms"
done

say ""
say "10 MB computed, the switch to the full window, computed there:"
peak_kb() { awk '/^VmHWM:/ { print $2 }' "/proc/$pid/status"; }
# idle_ms START_MS: waits until the window is idle, prints the time since
# START_MS (the last 0.5 s of quiet included).
idle_ms() {
    settle_or_timeout
    echo $(($(now_ms) - $1))
}
read -r mode_x mode_y < <(center_of $(form_control CalcDlg modeButton))
# The keys above may have left the sum cut short: it is pasted again.
xdotool key Escape
clipboard_from "$x11_work/big.txt"
settle_or_timeout
xdotool key ctrl+v
settle_or_timeout
for step in compact switch full; do
    echo x | xclip -i -selection clipboard
    wait_for "xclip to own the clipboard" xclip_owns_clipboard
    settle_or_timeout
    start=$(now_ms)
    if [ "$step" = switch ]; then
        click_at "$mode_x" "$mode_y"
        xdotool key --delay 1 grave
    else
        xdotool key --delay 1 Return grave
    fi
    answered=$(answer_ms "$start")
    say "  $step: the result key answered in $answered ms, idle after $(idle_ms "$start") ms, peak RSS $(peak_kb) kB"
done
