# A private X session for driving the window program: Xvfb with the openbox
# window manager, in a scratch home. Sourced by real_window_test.sh and
# scripts/screenshots.sh, which define fail MESSAGE (report and exit).
#
# x11_start_session makes the session and exports DISPLAY; x11_start_app
# starts the program in it; x11_stop_session ends them all, and is meant for
# an EXIT trap. wait_for polls a condition with a timeout. form_control
# and center_of give the places of the controls as the window's forms
# (ui/*/*.ui) lay them out.

# Seconds to wait for each step; the sanitizer build starts and exits slowly.
X11_STEP_TIMEOUT=${TALLYFERN_X11_STEP_TIMEOUT:-60}
X11_SOURCE_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

# Processes to end; x11_watched_pid is the program while it must be running.
x11_work='' x11_xvfb_pid='' x11_wm_pid='' x11_app_pid='' x11_watched_pid=''
x11_bus_pid='' x11_a11y_pid=''

x11_stop() {
    local pid=$1
    if [ -n "$pid" ] && kill "$pid" 2>/dev/null; then
        wait "$pid" 2>/dev/null || true
    fi
}

x11_stop_session() {
    # Everything here runs, whatever fails.
    set +e
    x11_stop "$x11_app_pid"
    x11_stop "$x11_a11y_pid"
    # Not a child of this shell: dbus-daemon forks itself away.
    [ -n "$x11_bus_pid" ] && kill "$x11_bus_pid" 2>/dev/null
    x11_stop "$x11_wm_pid"
    x11_stop "$x11_xvfb_pid"
    [ -n "$x11_work" ] && rm -rf "$x11_work"
    x11_app_pid='' x11_wm_pid='' x11_xvfb_pid='' x11_work='' x11_bus_pid='' x11_a11y_pid=''
}

# wait_for DESCRIPTION COMMAND...: runs COMMAND until it succeeds, for at
# most X11_STEP_TIMEOUT seconds; fails with DESCRIPTION after that, or at
# once when the watched program has ended. COMMAND may say what it saw last
# in wait_detail, for the message.
wait_for() {
    local what=$1
    shift
    local deadline=$((SECONDS + X11_STEP_TIMEOUT))
    wait_detail=''
    until "$@"; do
        if [ -n "$x11_watched_pid" ] && ! kill -0 "$x11_watched_pid" 2>/dev/null; then
            fail "the program ended while waiting for: $what"
        fi
        [ "$SECONDS" -lt "$deadline" ] ||
            fail "timed out after ${X11_STEP_TIMEOUT}s waiting for: $what${wait_detail:+ ($wait_detail)}"
        sleep 0.1
    done
}

# x11_start_session [SCREEN_SIZE]: e.g. 1024x768 (the default).
x11_start_session() {
    x11_work=$(mktemp -d "${TMPDIR:-/tmp}/tallyfern-x11.XXXXXX")
    # Nothing of the user's desktop session (its settings, its session bus)
    # leaks into the run.
    mkdir -p "$x11_work/home" "$x11_work/runtime"
    chmod 700 "$x11_work/runtime"
    export HOME=$x11_work/home XDG_RUNTIME_DIR=$x11_work/runtime
    unset XDG_CONFIG_HOME XDG_DATA_HOME XDG_STATE_HOME XDG_CACHE_HOME DBUS_SESSION_BUS_ADDRESS
    unset WAYLAND_DISPLAY

    # The server picks a free display number itself and writes it to fd 3.
    : >"$x11_work/display"
    Xvfb -displayfd 3 -screen 0 "${1:-1024x768}x24" -nolisten tcp \
        3>"$x11_work/display" 2>"$x11_work/xvfb.log" &
    x11_xvfb_pid=$!
    wait_for "Xvfb to report its display" x11_display_known
    export DISPLAY=":$(tr -d '[:space:]' <"$x11_work/display")"

    openbox --sm-disable >"$x11_work/openbox.log" 2>&1 &
    x11_wm_pid=$!
    wait_for "openbox to manage the screen" x11_wm_running
}

x11_display_known() {
    kill -0 "$x11_xvfb_pid" 2>/dev/null || fail "Xvfb did not start: $(cat "$x11_work/xvfb.log")"
    [ -n "$(tr -d '[:space:]' <"$x11_work/display")" ]
}

x11_wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }

# x11_start_accessibility: a session bus of the run's own with the
# accessibility bus on it, as a desktop with a screen reader running has.
# Programs started after it show their controls there.
x11_start_accessibility() {
    local started
    started=$(dbus-daemon --session --fork --print-address=1 --print-pid=1) ||
        fail "the session bus did not start"
    export DBUS_SESSION_BUS_ADDRESS=${started%%$'\n'*}
    x11_bus_pid=${started##*$'\n'}
    /usr/libexec/at-spi-bus-launcher --launch-immediately >"$x11_work/a11y.log" 2>&1 &
    x11_a11y_pid=$!
    # Qt asks the desktop's settings whether a screen reader runs; there
    # are none here.
    export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
}

# x11_start_app PROGRAM [ARGUMENT...]: starts it on the real window system
# (not the offscreen one of the widget tests), its output in x11_app_log.
x11_start_app() {
    x11_app_log=$x11_work/app.log
    QT_QPA_PLATFORM=xcb "$@" >>"$x11_app_log" 2>&1 &
    x11_app_pid=$!
    x11_watched_pid=$x11_app_pid
}

# x11_print_app_log: the program's output so far, indented, on stderr.
x11_print_app_log() {
    if [ -n "${x11_app_log:-}" ] && [ -s "$x11_app_log" ]; then
        echo "the program's output:" >&2
        sed 's/^/    /' "$x11_app_log" >&2
    fi
}

# find_window TITLE_REGEX: sets `window` to the first visible window whose
# title matches.
find_window() {
    window=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1)
    [ -n "$window" ]
}

window_active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$window" ]; }

# geometry: "X Y WIDTH HEIGHT" of `window`.
geometry() {
    local X Y WIDTH HEIGHT WINDOW SCREEN
    eval "$(xdotool getwindowgeometry --shell "$window")"
    echo "$X $Y $WIDTH $HEIGHT"
}

# form_control FORM NAME: "LEFT TOP WIDTH HEIGHT" in window pixels of the
# control NAME, as the form FORM.ui in its room of ui/ places it: its
# rectangle moved by those of the widgets that hold it.
form_control() {
    local source found
    source=$(find "$X11_SOURCE_DIR/ui" -name "$1.ui" -print -quit)
    [ -f "$source" ] || fail "no form $1.ui under $X11_SOURCE_DIR/ui"
    found=$(awk -v name="$2" '
        /<widget / {
            depth++; x[depth] = 0; y[depth] = 0; placed[depth] = 0
            if (index($0, "name=\"" name "\"")) target = depth
            next
        }
        /<\/widget>/ { depth--; next }
        /<rect>/ && !placed[depth] { placed[depth] = 1; reading = 1; next }
        reading && /<x>/ { gsub(/[^0-9]/, ""); x[depth] = $0 }
        reading && /<y>/ { gsub(/[^0-9]/, ""); y[depth] = $0 }
        reading && /<width>/ { gsub(/[^0-9]/, ""); w = $0 }
        reading && /<height>/ { gsub(/[^0-9]/, ""); h = $0 }
        reading && /<\/rect>/ {
            reading = 0
            if (target && target == depth) {
                for (d = 1; d < depth; d++) { x[depth] += x[d]; y[depth] += y[d] }
                print x[depth], y[depth], w, h
                exit
            }
        }' "$source")
    [ -n "$found" ] || fail "no control $2 in the form $source"
    echo "$found"
}

# center_of LEFT TOP WIDTH HEIGHT: the middle of a control, in window pixels.
center_of() { echo "$(($1 + $3 / 2)) $(($2 + $4 / 2))"; }

click_at() { xdotool mousemove --window "$window" "$1" "$2" click 1; }
