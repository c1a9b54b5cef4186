# shellcheck shell=bash
# The view options outlive the program: the horizontal grid lines switched off in the View menu
# stay off after Exit and a new start, and the preferences file beside the program says so.

# Fail unless SHOT shows the grey lines right of and under cell (2, 1) as WANT_V and WANT_H
# (10 grey pixels of a line crossing a small box, or none); also used by view-preferences-installed.
expect_grid_lines() {
    local shot=$1 want_v=$2 want_h=$3
    e2e_cell_center 2 1
    e2e_count_colour "$shot" $((E2E_CELL_X + 6)) $((E2E_CELL_Y - 5)) 5 10 C0C0C0
    e2e_expect_eq "$E2E_COUNT" "$want_v" "grey pixels of the vertical line right of cell (2, 1)"
    e2e_count_colour "$shot" $((E2E_CELL_X - 5)) $((E2E_CELL_Y + 11)) 10 5 C0C0C0
    e2e_expect_eq "$E2E_COUNT" "$want_h" "grey pixels of the horizontal line under cell (2, 1)"
}

# The [View] section of a preferences file without its CRs: the window's place has a section of its
# own in the same file.
view_section() { tr -d '\r' <"$1" | awk '/^\[/ { own = ($0 == "[View]") } own'; }

# Start the program and take a screenshot of its main window.
start_and_look() {
    e2e_start_app
    e2e_wait_window "ソルベナエディタ - 無題"
    E2E_MAIN=$E2E_WINDOW
    e2e_focus "$E2E_MAIN"
    e2e_screenshot "$1" "$E2E_MAIN"
}

flow() {
    local ini
    ini=$(dirname "$E2E_APP")/solvena.ini
    [[ ! -e $ini ]] || e2e_fail "a preferences file exists before the first start"
    start_and_look first-start
    expect_grid_lines "$E2E_SHOT" 10 10

    # 表示 > 横罫線(&H): the sixth entry of the menu (行の高さ(&H) shares its access key).
    e2e_key alt+v Down Down Down Down Down Return
    e2e_screenshot horizontal-lines-off "$E2E_MAIN"
    expect_grid_lines "$E2E_SHOT" 10 0
    # Exit asks nothing (only the view changed) and writes the file.
    e2e_key alt+f x
    e2e_wait_app_exit
    e2e_expect_eq "$(view_section "$ini")" $'[View]\nVertLine=1\nHorzLine=0\nAlignRight=0' "preferences file"

    start_and_look second-start
    expect_grid_lines "$E2E_SHOT" 10 0
}
