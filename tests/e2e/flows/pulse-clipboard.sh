# shellcheck shell=bash
# Levels copied with Ctrl+C and pasted with Ctrl+V, a pulse train filled through the dialog the
# Tools menu opens by its access keys (after the warning a single cell gets), a timing line
# toggled, and the chart saved with Ctrl+S through the Save As dialog: the file holds exactly
# those levels and that line.
flow() {
    local chart=$E2E_WORK/charts/pulse.sbn
    mkdir -p "$E2E_WORK/charts"

    e2e_start_app
    e2e_wait_window "ソルベナエディタ - 無題"
    local main=$E2E_WINDOW
    e2e_focus "$main"

    # One cell is no range for a pulse train: the real warning box says so, and no dialog opens.
    e2e_click_cell "$main" 2 2
    e2e_key alt+t p
    e2e_message_box_text "警告"
    e2e_expect_contains "$E2E_TEXT" "2マス以上の範囲を選択してください" "the warning"
    e2e_key Return
    e2e_wait_window_gone "警告"
    e2e_wait_window_gone "パルス波形作成" 1
    e2e_focus "$main"

    # Signal 1: high at step 1, undefined at step 3; copied and pasted at step 5 of signal 2.
    e2e_click_cell "$main" 1 1
    e2e_key 1
    e2e_click_cell "$main" 3 1
    e2e_key 2
    e2e_drag_cells "$main" 1 1 3 1
    e2e_key ctrl+c
    e2e_click_cell "$main" 5 2
    e2e_key ctrl+v

    # Signal 3, steps 1 to 8: runs of three highs and one low, starting high.
    e2e_drag_cells "$main" 1 3 8 3
    e2e_key alt+t p
    e2e_wait_window "パルス波形作成"
    local dialog=$E2E_WINDOW
    e2e_focus "$dialog"
    e2e_screenshot pulse-dialog
    e2e_type 1
    e2e_key Tab
    e2e_type 3
    e2e_key Tab Down
    e2e_screenshot pulse-filled-in
    e2e_key Return
    e2e_wait_window_gone "パルス波形作成"

    # A timing line at step 4.
    e2e_focus "$main"
    e2e_click_cell "$main" 4 1
    e2e_key alt+t l
    e2e_screenshot edited "$main"

    e2e_key ctrl+s
    e2e_wait_window "名前を付けて保存"
    e2e_focus "$E2E_WINDOW"
    e2e_type "$chart"
    e2e_key Return
    e2e_wait_window "ソルベナエディタ - $chart"

    # The default grid: a name column 80 wide, 29 steps 15 wide, 4 signals.
    local expected header="80 0" col row level line
    for ((col = 1; col < 30; col++)); do header+=" 15 $((col == 4))"; done
    local -A levels=([1, 1]=1 [3, 1]=2 [5, 2]=1 [7, 2]=2
        [1, 3]=1 [2, 3]=1 [3, 3]=1 [5, 3]=1 [6, 3]=1 [7, 3]=1)
    expected=$header$'\r\n'
    for ((row = 1; row < 5; row++)); do
        line=
        for ((col = 1; col < 30; col++)); do
            level=${levels[$col, $row]:-0}
            line+="${line:+ }$level 0 0"
        done
        expected+=$'\r\n'$line
        ((row < 4)) && expected+=$'\r\n'
    done
    local saved
    saved=$(od -An -c "$chart")
    e2e_expect_eq "$saved" "$(printf '%s' "$expected" | od -An -c)" "the saved chart's bytes"
}
