# shellcheck shell=bash
# The view options outlive the program: the horizontal grid lines switched off in the View menu
# stay off after Exit and a new start, and the preferences file beside the program says so.

# Fail unless the grid in screenshot SHOT shows its vertical lines as WANT_V and its horizontal
# lines as WANT_H ("on" or "off"), judged by the lines right of and under cell (2, 1): the grey
# of the lines between data cells is counted in a small box across each, a pixel or two either
# way of where the line should be.
expect_grid_lines() {
    local shot=$1 want_v=$2 want_h=$3
    e2e_cell_center 2 1
    local right=$((E2E_CELL_X + E2E_COL_WIDTHS[2] - E2E_COL_WIDTHS[2] / 2))
    local below=$((E2E_CELL_Y + E2E_ROW_HEIGHTS[1] - E2E_ROW_HEIGHTS[1] / 2))
    e2e_count_colour "$shot" $((right - 2)) $((E2E_CELL_Y - 5)) 5 10 C0C0C0
    expect_line "$E2E_COUNT" "$want_v" "vertical line right of cell (2, 1)"
    e2e_count_colour "$shot" $((E2E_CELL_X - 5)) $((below - 2)) 10 5 C0C0C0
    expect_line "$E2E_COUNT" "$want_h" "horizontal line under cell (2, 1)"
}

expect_line() {
    local count=$1 want=$2 what=$3
    if [[ $want == on ]]; then
        ((count == 10)) || e2e_fail "$what: expected a line 10 grey pixels long, found $count grey pixels"
    else
        ((count == 0)) || e2e_fail "$what: expected no line, found $count grey pixels"
    fi
}

flow() {
    local ini
    ini=$(dirname "$E2E_APP")/solvena.ini
    [[ ! -e $ini ]] || e2e_fail "a preferences file exists before the first start"

    e2e_start_app
    e2e_wait_window "ソルベナエディタ - 無題"
    local main=$E2E_WINDOW
    e2e_focus "$main"
    e2e_screenshot first-start "$main"
    expect_grid_lines "$E2E_SHOT" on on

    # 表示 > 横罫線(&H): the sixth entry of the menu (行の高さ(&H) shares its access key).
    e2e_key alt+v Down Down Down Down Down Return
    e2e_screenshot horizontal-lines-off "$main"
    expect_grid_lines "$E2E_SHOT" on off

    # Exit asks nothing (only the view changed) and writes the file.
    e2e_key alt+f x
    e2e_wait_app_exit
    e2e_expect_eq "$E2E_APP_STATUS" 0 "exit status"
    [[ -f $ini ]] || e2e_fail "no preferences file beside the program after Exit"
    e2e_expect_eq "$(tr -d '\r' <"$ini")" $'[View]\nVertLine=1\nHorzLine=0\nAlignRight=0' "preferences file"

    e2e_start_app
    e2e_wait_window "ソルベナエディタ - 無題"
    main=$E2E_WINDOW
    e2e_focus "$main"
    e2e_screenshot second-start "$main"
    expect_grid_lines "$E2E_SHOT" on off
}
