# shellcheck shell=bash disable=SC2034  # the E2E_* results are read by the flows
# Helpers for the end-to-end flows: a private Xvfb, the real editor on the xcb platform, real
# input through XTEST (xdotool), screenshots (ImageMagick) and the clipboard (xclip).
#
# Sourced by run-flow.sh. Helpers that produce a value put it in a global (E2E_WINDOW, E2E_SHOT,
# E2E_PIXEL, E2E_CLIPBOARD, E2E_TEXT) rather than printing it, so that a failure inside a helper
# ends the whole flow instead of a command-substitution subshell.
#
# Globals set up by run-flow.sh before a flow runs:
#   E2E_APP        a copy of the solvena executable in E2E_WORK/bin, where it keeps its preferences
#   E2E_ARTIFACTS  folder kept after the run: screenshots, the program's and Xvfb's output
#   E2E_WORK       scratch folder removed after the run (HOME, XDG_RUNTIME_DIR of the program)
#   DISPLAY        the private Xvfb

: "${E2E_TIMEOUT:=20}"          # seconds a wait may take before the flow fails
: "${E2E_KEY_DELAY_MS:=60}"     # between keystrokes, so the program sees them as a person types

E2E_APP_PID=
E2E_XVFB_PID=
E2E_SHOT_COUNT=0

# Every X tool runs under a time limit, so no single step can hang a flow.
e2e_xdo() { timeout 10 xdotool "$@"; }

e2e_log() { printf '[e2e %s] %s\n' "$(date +%T)" "$*"; }

# Stop the flow: say why, keep a screenshot and the program's output, exit non-zero.
e2e_fail() {
    trap - ERR
    printf '[e2e] FAIL: %s\n' "$*" >&2
    if [[ -n ${DISPLAY:-} && -n $E2E_XVFB_PID ]] && kill -0 "$E2E_XVFB_PID" 2>/dev/null; then
        timeout 20 import -silent -window root "$E2E_ARTIFACTS/failure.png" 2>/dev/null &&
            printf '[e2e] screenshot at failure: %s\n' "$E2E_ARTIFACTS/failure.png" >&2
    fi
    if [[ -s $E2E_ARTIFACTS/app.log ]]; then
        printf '[e2e] last lines of the program output (%s):\n' "$E2E_ARTIFACTS/app.log" >&2
        tail -n 20 "$E2E_ARTIFACTS/app.log" | sed 's/^/    /' >&2
    fi
    exit 1
}

# ERR trap: a command in a flow failed without an explicit check.
e2e_on_error() {
    local status=$1 line=$2 cmd=$3
    e2e_fail "command failed with status $status at ${BASH_SOURCE[1]:-?}:$line: $cmd"
}

# --- the X server -------------------------------------------------------------------------------

# Start a private Xvfb on the first free display (the server picks it and reports it back).
e2e_start_xvfb() {
    local dfile=$E2E_WORK/displayfd
    : >"$dfile"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset \
        >"$E2E_ARTIFACTS/xvfb.log" 2>&1 3>"$dfile" &
    E2E_XVFB_PID=$!
    local deadline=$((SECONDS + E2E_TIMEOUT))
    local display=
    # Xvfb writes the display number once it accepts connections.
    while :; do
        display=$(<"$dfile")
        [[ $display =~ ^[0-9]+$ ]] && break
        kill -0 "$E2E_XVFB_PID" 2>/dev/null ||
            { E2E_XVFB_PID=; e2e_fail "Xvfb exited at start (see $E2E_ARTIFACTS/xvfb.log)"; }
        ((SECONDS < deadline)) || e2e_fail "Xvfb did not report a display within ${E2E_TIMEOUT}s"
        sleep 0.05
    done
    export DISPLAY=":$display"
    xdpyinfo >/dev/null 2>&1 || e2e_fail "cannot connect to Xvfb on $DISPLAY"
    e2e_log "Xvfb on $DISPLAY (pid $E2E_XVFB_PID)"
}

# --- the program --------------------------------------------------------------------------------

# Start the editor with the given arguments, as a first-time user: fresh HOME and runtime folder,
# no session bus, the xcb platform on the private display. E2E_APP_CWD (default: HOME) is the
# folder it starts in; E2E_APP_FSIZE, when set, caps the size of every file it writes (bytes),
# as a full disk would.
e2e_start_app() {
    [[ -z $E2E_APP_PID ]] || e2e_fail "e2e_start_app: the program is already running"
    mkdir -p "$E2E_WORK/home" "$E2E_WORK/runtime"
    chmod 700 "$E2E_WORK/runtime"
    local limit=()
    [[ -z ${E2E_APP_FSIZE:-} ]] || limit=(prlimit "--fsize=$E2E_APP_FSIZE")
    (
        cd "${E2E_APP_CWD:-$E2E_WORK/home}" || exit 1
        exec env -u WAYLAND_DISPLAY -u DBUS_SESSION_BUS_ADDRESS -u SESSION_MANAGER \
            -u XDG_CONFIG_HOME -u XDG_DATA_HOME -u XDG_CACHE_HOME -u XAUTHORITY \
            HOME="$E2E_WORK/home" XDG_RUNTIME_DIR="$E2E_WORK/runtime" \
            QT_QPA_PLATFORM=xcb DISPLAY="$DISPLAY" LANG=C.UTF-8 LC_ALL=C.UTF-8 \
            "${limit[@]}" "$E2E_APP" "$@"
    ) >>"$E2E_ARTIFACTS/app.log" 2>&1 &
    E2E_APP_PID=$!
    e2e_log "started $(basename "$E2E_APP")${*:+ $*} (pid $E2E_APP_PID)${E2E_APP_FSIZE:+, files capped at $E2E_APP_FSIZE bytes}"
}

# Wait for the editor's recovery copy in the state folder, then kill the editor as a crash would.
e2e_crash_after_recovery_copy() {
    local state=$E2E_WORK/home/.local/state/solvena
    e2e_wait_until 10 "a recovery file" compgen -G "$state/*.recovery"
    kill -KILL "$E2E_APP_PID"
    wait "$E2E_APP_PID" 2>/dev/null || true
    E2E_APP_PID=
}

e2e_app_running() { [[ -n $E2E_APP_PID ]] && kill -0 "$E2E_APP_PID" 2>/dev/null; }

# Fail with the program's exit status if it is no longer running.
e2e_expect_app_running() {
    e2e_app_running && return 0
    local status=0
    wait "$E2E_APP_PID" 2>/dev/null || status=$?
    E2E_APP_PID=
    e2e_fail "${1:-the program} exited unexpectedly (exit status $status)"
}

# Wait until the program exits by itself; fail after the timeout.
e2e_wait_app_exit() {
    local deadline=$((SECONDS + ${1:-$E2E_TIMEOUT}))
    while e2e_app_running; do
        ((SECONDS < deadline)) || e2e_fail "the program did not exit within ${1:-$E2E_TIMEOUT}s"
        sleep 0.1
    done
    E2E_APP_STATUS=0
    wait "$E2E_APP_PID" 2>/dev/null || E2E_APP_STATUS=$?
    E2E_APP_PID=
}

e2e_stop_app() {
    [[ -n $E2E_APP_PID ]] || return 0
    kill -TERM "$E2E_APP_PID" 2>/dev/null || true
    local i
    for i in {1..30}; do
        kill -0 "$E2E_APP_PID" 2>/dev/null || break
        sleep 0.1
    done
    kill -KILL "$E2E_APP_PID" 2>/dev/null || true
    wait "$E2E_APP_PID" 2>/dev/null || true
    E2E_APP_PID=
}

# --- windows ------------------------------------------------------------------------------------

# A POSIX extended regular expression that matches exactly the given text.
e2e_exact_regex() {
    local s=$1
    s=$(printf '%s' "$s" | sed 's/[][\.*^$+?(){}|/]/\\&/g')
    printf '^%s$' "$s"
}

# Wait for a visible window whose title is exactly TITLE; its id goes to E2E_WINDOW.
e2e_wait_window() {
    local title=$1 timeout=${2:-$E2E_TIMEOUT} re ids
    re=$(e2e_exact_regex "$title")
    local deadline=$((SECONDS + timeout))
    while :; do
        ids=$(e2e_xdo search --onlyvisible --name "$re" 2>/dev/null || true)
        if [[ -n $ids ]]; then
            E2E_WINDOW=${ids%%$'\n'*}
            return 0
        fi
        e2e_expect_app_running "the program (while waiting for the window \"$title\")"
        if ((SECONDS >= deadline)); then
            e2e_fail "no window titled \"$title\" within ${timeout}s; visible titles: $(e2e_visible_titles)"
        fi
        sleep 0.1
    done
}

# Wait until no visible window is titled exactly TITLE.
e2e_wait_window_gone() {
    local title=$1 timeout=${2:-$E2E_TIMEOUT} re
    re=$(e2e_exact_regex "$title")
    local deadline=$((SECONDS + timeout))
    while [[ -n $(e2e_xdo search --onlyvisible --name "$re" 2>/dev/null || true) ]]; do
        ((SECONDS < deadline)) || e2e_fail "the window \"$title\" is still open after ${timeout}s"
        sleep 0.1
    done
}

# The titles of all visible named windows, for failure messages.
e2e_visible_titles() {
    local id name out=()
    for id in $(e2e_xdo search --onlyvisible --name '.' 2>/dev/null || true); do
        name=$(e2e_xdo getwindowname "$id" 2>/dev/null || true)
        [[ -n $name ]] && out+=("\"$name\"")
    done
    ((${#out[@]})) && printf '%s ' "${out[@]}" || printf '(none)'
}

# The title of window WID goes to E2E_TEXT.
e2e_window_title() { E2E_TEXT=$(e2e_xdo getwindowname "$1"); }

# Position and size of window WID (screen pixels) go to E2E_WIN_X, E2E_WIN_Y, E2E_WIN_W, E2E_WIN_H.
e2e_window_geometry() {
    local X Y WIDTH HEIGHT
    eval "$(e2e_xdo getwindowgeometry --shell "$1" | grep -E '^(X|Y|WIDTH|HEIGHT)=[0-9-]+$')"
    E2E_WIN_X=$X E2E_WIN_Y=$Y E2E_WIN_W=$WIDTH E2E_WIN_H=$HEIGHT
}

# Give window WID the keyboard focus (there is no window manager to do it).
e2e_focus() {
    e2e_xdo windowfocus --sync "$1" 2>/dev/null || e2e_xdo windowfocus "$1"
    sleep 0.2
}

# Resize window WID to W x H (the window's own size, without decorations: there are none).
e2e_resize() {
    e2e_xdo windowsize --sync "$1" "$2" "$3" 2>/dev/null || e2e_xdo windowsize "$1" "$2" "$3"
    sleep 0.3
}

# --- input --------------------------------------------------------------------------------------

# Press keys as xdotool names them, one after another: e2e_key alt+h a, e2e_key ctrl+p, Escape.
e2e_key() {
    e2e_expect_app_running "the program (before keys $*)"
    e2e_xdo key --delay "$E2E_KEY_DELAY_MS" "$@"
    sleep 0.2
}

# Type text (ASCII) into the focused widget.
e2e_type() {
    e2e_expect_app_running "the program (before typing)"
    e2e_xdo type --delay "$E2E_KEY_DELAY_MS" -- "$1"
    sleep 0.2
}

# Click at X,Y relative to window WID's top-left; BUTTON 1 (left) by default, 3 for the right.
e2e_click() {
    local wid=$1 x=$2 y=$3 button=${4:-1}
    e2e_expect_app_running "the program (before a click)"
    e2e_xdo mousemove --window "$wid" --sync "$x" "$y" click "$button"
    sleep 0.2
}

e2e_double_click() {
    local wid=$1 x=$2 y=$3
    e2e_expect_app_running "the program (before a double click)"
    e2e_xdo mousemove --window "$wid" --sync "$x" "$y" click --repeat 2 --delay 80 1
    sleep 0.2
}

# Press the left button at X1,Y1, move in steps to X2,Y2, release (window-relative).
e2e_drag() {
    local wid=$1 x1=$2 y1=$3 x2=$4 y2=$5 steps=${6:-8} i
    e2e_expect_app_running "the program (before a drag)"
    e2e_xdo mousemove --window "$wid" --sync "$x1" "$y1" mousedown 1
    for ((i = 1; i <= steps; i++)); do
        e2e_xdo mousemove --window "$wid" "$((x1 + (x2 - x1) * i / steps))" "$((y1 + (y2 - y1) * i / steps))"
        sleep 0.03
    done
    e2e_xdo mouseup 1
    sleep 0.2
}

# --- the chart grid -----------------------------------------------------------------------------
# Cell geometry: every column and row is followed by a one-pixel grid line. E2E_GRID_X/E2E_GRID_Y
# are the top-left of the grid's client area within the main window (below the menu bar and the
# tool strip, inside the grid's 2-pixel frame), measured on a start-up screenshot. Flows change
# E2E_COL_WIDTHS / E2E_ROW_HEIGHTS when the chart's layout differs from the start-up one.
: "${E2E_GRID_X:=6}"
: "${E2E_GRID_Y:=56}"
E2E_COL_WIDTHS=(80)
E2E_ROW_HEIGHTS=()
for _ in {1..100}; do E2E_COL_WIDTHS+=(15) E2E_ROW_HEIGHTS+=(25); done
E2E_COL_WIDTHS=("${E2E_COL_WIDTHS[@]:0:100}")

# Centre of cell (COL, ROW) within the main window goes to E2E_CELL_X, E2E_CELL_Y (unscrolled grid).
e2e_cell_center() {
    local col=$1 row=$2 x=$E2E_GRID_X y=$E2E_GRID_Y i
    for ((i = 0; i < col; i++)); do x=$((x + E2E_COL_WIDTHS[i] + 1)); done
    for ((i = 0; i < row; i++)); do y=$((y + E2E_ROW_HEIGHTS[i] + 1)); done
    E2E_CELL_X=$((x + E2E_COL_WIDTHS[col] / 2))
    E2E_CELL_Y=$((y + E2E_ROW_HEIGHTS[row] / 2))
}

e2e_click_cell() {
    local wid=$1
    e2e_cell_center "$2" "$3"
    e2e_click "$wid" "$E2E_CELL_X" "$E2E_CELL_Y"
}

# Drag from the centre of cell (C1, R1) to the centre of cell (C2, R2).
e2e_drag_cells() {
    local wid=$1 x1 y1
    e2e_cell_center "$2" "$3"
    x1=$E2E_CELL_X y1=$E2E_CELL_Y
    e2e_cell_center "$4" "$5"
    e2e_drag "$wid" "$x1" "$y1" "$E2E_CELL_X" "$E2E_CELL_Y"
}

# --- screenshots and pixels ---------------------------------------------------------------------

# Screenshot of the whole screen, or of window WID when given; the file goes to E2E_SHOT.
# Screenshots are numbered in the order taken and kept in the artifacts folder.
e2e_screenshot() {
    local name=$1 wid=${2:-root}
    E2E_SHOT_COUNT=$((E2E_SHOT_COUNT + 1))
    E2E_SHOT=$E2E_ARTIFACTS/$(printf '%02d' "$E2E_SHOT_COUNT")-$name.png
    timeout 20 import -silent -window "$wid" "$E2E_SHOT" || e2e_fail "screenshot \"$name\" failed"
}

# Colour of pixel X,Y of an image as RRGGBB (upper case) goes to E2E_PIXEL.
e2e_pixel() {
    E2E_PIXEL=$(convert "$1" -format "%[hex:p{$2,$3}]" info:) || e2e_fail "cannot read pixel $2,$3 of $1"
    E2E_PIXEL=${E2E_PIXEL^^}
    E2E_PIXEL=${E2E_PIXEL:0:6}
}

# Fail unless pixel X,Y of IMAGE has colour RRGGBB.
e2e_expect_pixel() {
    local image=$1 x=$2 y=$3 want=${4^^} what=${5:-pixel}
    e2e_pixel "$image" "$x" "$y"
    [[ $E2E_PIXEL == "$want" ]] ||
        e2e_fail "$what at $x,$y of $(basename "$image"): expected #$want, found #$E2E_PIXEL"
}

# Fail if pixel X,Y of IMAGE has colour RRGGBB.
e2e_expect_pixel_not() {
    local image=$1 x=$2 y=$3 unwanted=${4^^} what=${5:-pixel}
    e2e_pixel "$image" "$x" "$y"
    [[ $E2E_PIXEL != "$unwanted" ]] ||
        e2e_fail "$what at $x,$y of $(basename "$image"): expected anything but #$unwanted"
}

# Number of pixels of colour RRGGBB inside the rectangle X,Y,W,H of IMAGE goes to E2E_COUNT.
e2e_count_colour() {
    local image=$1 x=$2 y=$3 w=$4 h=$5 colour=${6^^}
    E2E_COUNT=$(convert "$image" -crop "${w}x${h}+${x}+${y}" +repage -fill black +opaque "#$colour" \
        -fill white -opaque "#$colour" -format '%[fx:round(mean*w*h)]' info:) ||
        e2e_fail "cannot count colours in $(basename "$image")"
}

# --- clipboard and message boxes ----------------------------------------------------------------

# The clipboard's text goes to E2E_CLIPBOARD (empty when nobody owns the clipboard).
e2e_clipboard() {
    E2E_CLIPBOARD=$(timeout 5 xclip -o -selection clipboard 2>/dev/null || true)
}

# Wait for a message box captioned CAPTION, copy its text with Ctrl+C and put that in E2E_TEXT;
# E2E_WINDOW is the box. The box copies caption, text and buttons between rules of dashes, as
#   ---------------------------
#   CAPTION
#   ---------------------------
#   TEXT
#   ---------------------------
#   BUTTONS
#   ---------------------------
e2e_message_box_text() {
    local caption=$1 attempt holder
    e2e_wait_window "$caption"
    local box=$E2E_WINDOW
    e2e_focus "$box"
    for attempt in 1 2 3; do
        # Hold the clipboard ourselves first, so text left by an earlier box cannot pass for this
        # one's; the holder quits when the box takes the clipboard over.
        timeout 30 xclip -quiet -selection clipboard -i </dev/null >/dev/null 2>&1 &
        holder=$!
        sleep 0.2
        e2e_key ctrl+c
        kill "$holder" 2>/dev/null || true
        wait "$holder" 2>/dev/null || true
        e2e_clipboard
        [[ -n $E2E_CLIPBOARD ]] && break
        sleep 0.3
    done
    [[ -n $E2E_CLIPBOARD ]] ||
        e2e_fail "Ctrl+C in the message box \"$caption\" put no text on the clipboard" \
            "(QMessageBox copies itself only on Windows: the program's boxes must handle Ctrl+C)"
    E2E_TEXT=$E2E_CLIPBOARD
    E2E_WINDOW=$box
}

# The caption line of text copied from a message box goes to E2E_CAPTION.
e2e_message_box_caption() {
    E2E_CAPTION=$(printf '%s\n' "$1" | grep -v -E '^-+$' | head -n 1 || true)
}

# --- checks -------------------------------------------------------------------------------------

e2e_expect_eq() {
    local got=$1 want=$2 what=${3:-value}
    [[ $got == "$want" ]] || e2e_fail "$what: expected \"$want\", got \"$got\""
}

e2e_expect_contains() {
    local text=$1 needle=$2 what=${3:-text}
    [[ $text == *"$needle"* ]] || e2e_fail "$what: expected to contain \"$needle\", got:"$'\n'"$text"
}

# Poll COMMAND... until it succeeds; fail with DESCRIPTION after TIMEOUT seconds.
e2e_wait_until() {
    local timeout=$1 what=$2
    shift 2
    local deadline=$((SECONDS + timeout))
    until "$@"; do
        ((SECONDS < deadline)) || e2e_fail "timed out after ${timeout}s waiting for: $what"
        sleep 0.1
    done
}
