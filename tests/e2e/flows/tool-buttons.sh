# shellcheck shell=bash
# Every tool button, clicked once where it stands on the screen at the window's start size: the
# level buttons, the clipboard, undo and redo and the timing line leave their marks in the chart
# that the save button writes; the other buttons open their dialogs, the print dialog or the save
# question.
# Button centres in window pixels at the start size, as the tool bars lay them out: four bands,
# buttons 25 px apart, a separator after New/Open/Save, Undo/Redo, the pulse button and Invert.
declare -A E2E_BUTTON=(
    [new]=17 [open]=42 [save]=67 [print]=101
    [undo]=147 [redo]=172 [cut]=206 [copy]=231 [paste]=256 [delete]=281
    [pulse]=317 [set0]=351 [set1]=376 [undefined]=401 [invert]=426 [delay]=460 [timing]=485
    [number]=519 [edge]=544 [repaint]=572
)

click_button() {
    e2e_focus "$1"
    e2e_click "$1" "${E2E_BUTTON[$2]}" $((E2E_GRID_Y - 22))
}

# A button that opens a window: the window shows, and Escape closes it again.
expect_window_from() {
    local main=$1 button=$2 title=$3
    click_button "$main" "$button"
    e2e_wait_window "$title"
    e2e_focus "$E2E_WINDOW"
    e2e_key Escape
    e2e_wait_window_gone "$title"
}

flow() {
    local chart=$E2E_WORK/buttons.sbn
    e2e_start_app
    e2e_wait_window "ソルベナエディタ - 無題"
    local main=$E2E_WINDOW
    e2e_focus "$main"
    e2e_screenshot start "$main"

    # Signal 1: 1, undefined, inverted low, high turned low again, and the copy of step 1.
    e2e_click_cell "$main" 1 1; click_button "$main" set1
    e2e_click_cell "$main" 2 1; click_button "$main" undefined
    e2e_click_cell "$main" 3 1; click_button "$main" invert
    e2e_click_cell "$main" 4 1; e2e_key 1; click_button "$main" set0
    e2e_click_cell "$main" 1 1; click_button "$main" copy
    e2e_click_cell "$main" 5 1; click_button "$main" paste
    # Signal 2: a high cut from step 1 and pasted at step 2; a high deleted at step 3; at step 4
    # two changes, undone, redone and undone again.
    e2e_click_cell "$main" 1 2; e2e_key 1; click_button "$main" cut
    e2e_click_cell "$main" 2 2; click_button "$main" paste
    e2e_click_cell "$main" 3 2; e2e_key 1; click_button "$main" delete
    e2e_click_cell "$main" 4 2; e2e_key 1; e2e_key 2
    click_button "$main" undo; click_button "$main" redo; click_button "$main" undo
    # A timing line at step 6, and a pulse train over steps 1 to 4 of signal 3.
    e2e_click_cell "$main" 6 1; click_button "$main" timing
    e2e_drag_cells "$main" 1 3 4 3
    click_button "$main" pulse
    e2e_wait_window "パルス波形作成"
    e2e_focus "$E2E_WINDOW"
    e2e_key Return
    e2e_wait_window_gone "パルス波形作成"

    expect_window_from "$main" delay "遅延設定"
    expect_window_from "$main" number "数値を表示"
    expect_window_from "$main" edge "エッジ動作の矢印"
    expect_window_from "$main" print "印刷"
    expect_window_from "$main" new "確認"
    expect_window_from "$main" open "確認"
    click_button "$main" repaint
    e2e_screenshot edited "$main"

    click_button "$main" save
    e2e_wait_window "名前を付けて保存"
    e2e_focus "$E2E_WINDOW"
    e2e_type "$chart"
    e2e_key Return
    e2e_wait_window "ソルベナエディタ - $chart"

    local steps
    steps() { sed -n "$1p" "$chart" | tr -d '\r' | awk '{ for (i = 1; i <= 18; i += 3) printf "%s", $i }'; }
    e2e_expect_eq "$(steps 3)" "121010" "signal 1's first six steps"
    e2e_expect_eq "$(steps 5)" "010100" "signal 2's first six steps"
    e2e_expect_eq "$(steps 7)" "010100" "signal 3's first six steps"
    e2e_expect_eq "$(sed -n 1p "$chart" | cut -d' ' -f14)" "1" "the timing line of step 6"
}
