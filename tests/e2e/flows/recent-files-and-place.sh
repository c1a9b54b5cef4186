# shellcheck shell=bash
# What outlives a run besides the view options: two charts opened one after the other through the
# Open dialog are in ファイル > 最近使ったファイル at the next start, newest first, and the first opens
# from there with keys; the window moved before Exit comes back where it was left.

CHART=$'80 0 15 0 15 1\r\nCLK\r\n0 0 0 1 0 0'

# Ctrl+O, the file's full path typed into the dialog's name field, Return.
open_through_dialog() {
    # Without a window manager nobody gives the focus back when a dialog closes.
    e2e_focus "$E2E_MAIN"
    e2e_key ctrl+o
    e2e_wait_window "開く"
    e2e_focus "$E2E_WINDOW"
    e2e_type "$1"
    e2e_key Return
    e2e_wait_window "ソルベナエディタ - $1"
}

start_editor() {
    e2e_start_app
    e2e_wait_window "ソルベナエディタ - 無題"
    E2E_MAIN=$E2E_WINDOW
    e2e_focus "$E2E_MAIN"
}

flow() {
    local first=$E2E_WORK/home/first.sbn second=$E2E_WORK/home/second.sbn
    mkdir -p "$E2E_WORK/home"
    printf '%s' "$CHART" >"$first"
    printf '%s' "$CHART" >"$second"

    start_editor
    e2e_window_geometry "$E2E_MAIN"
    local start_w=$E2E_WIN_W start_h=$E2E_WIN_H
    open_through_dialog "$first"
    open_through_dialog "$second"
    e2e_xdo windowmove --sync "$E2E_MAIN" 203 147 2>/dev/null || e2e_xdo windowmove "$E2E_MAIN" 203 147
    sleep 0.3
    e2e_focus "$E2E_MAIN"
    e2e_key alt+f x
    e2e_wait_app_exit

    start_editor
    e2e_window_geometry "$E2E_MAIN"
    e2e_expect_eq "$E2E_WIN_X,$E2E_WIN_Y,$E2E_WIN_W,$E2E_WIN_H" "203,147,$start_w,$start_h" "the window's place"
    # ファイル > 最近使ったファイル(&R): the first chart is now the second entry.
    e2e_key alt+f r
    e2e_screenshot recent-files
    e2e_key 2
    e2e_wait_window "ソルベナエディタ - $first"
}
