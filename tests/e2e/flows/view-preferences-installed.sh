# shellcheck shell=bash
# Installed where the user cannot write: the program keeps its view options in the per-user
# configuration folder instead, ends without an error, and finds them there at the next start.
flow() {
    local bin ini
    bin=$(dirname "$E2E_APP")
    ini=$E2E_WORK/home/.config/solvena/solvena.ini
    chmod a-w "$bin"

    e2e_start_app
    e2e_wait_window "ソルベナエディタ - 無題"
    local main=$E2E_WINDOW
    e2e_focus "$main"
    # 表示 > 縦罫線(&V), then Exit: nothing to save, and no error box holds the program up.
    e2e_key alt+v v
    e2e_key alt+f x
    e2e_wait_app_exit
    e2e_expect_eq "$E2E_APP_STATUS" 0 "exit status"
    e2e_expect_eq "$(tr -d '\r' <"$ini")" $'[View]\nVertLine=0\nHorzLine=1\nAlignRight=0' "per-user preferences file"
    e2e_expect_eq "$(ls -A "$bin")" "$(basename "$E2E_APP")" "the program's folder"

    e2e_start_app
    e2e_wait_window "ソルベナエディタ - 無題"
    main=$E2E_WINDOW
    e2e_focus "$main"
    e2e_screenshot second-start "$main"
    # The line right of cell (2, 1) is gone; the one under it stays (see view-preferences.sh).
    e2e_cell_center 2 1
    e2e_count_colour "$E2E_SHOT" $((E2E_CELL_X + 6)) $((E2E_CELL_Y - 5)) 5 10 C0C0C0
    e2e_expect_eq "$E2E_COUNT" 0 "grey pixels of the vertical line right of cell (2, 1)"
    e2e_count_colour "$E2E_SHOT" $((E2E_CELL_X - 5)) $((E2E_CELL_Y + 11)) 10 5 C0C0C0
    e2e_expect_eq "$E2E_COUNT" 10 "grey pixels of the horizontal line under cell (2, 1)"
}
