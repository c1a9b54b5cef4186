# shellcheck shell=bash
# A chart named on the command line: the editor opens it without a question and shows its path
# in the caption; after a change, Exit asks the save question, Esc keeps the editor running, and
# Yes writes the change back into that same file before the editor ends.
flow() {
    local chart=$E2E_WORK/charts/start.sbn
    mkdir -p "$E2E_WORK/charts"
    printf '80 0 15 0 15 1 15 0\r\nCLK\r\n0 0 0 1 0 1 0 0 0\r\nDATA\r\n2 0 0 1 3 4 1 0 0' >"$chart"

    e2e_start_app "$chart"
    e2e_wait_window "ソルベナエディタ - $chart"
    local main=$E2E_WINDOW
    e2e_screenshot opened "$main"

    # Step 1 of CLK is low in the file; set it high.
    e2e_focus "$main"
    e2e_click_cell "$main" 1 1
    e2e_key 1

    e2e_key alt+f x
    e2e_wait_window "確認"
    e2e_focus "$E2E_WINDOW"
    e2e_screenshot question
    e2e_key Escape
    e2e_wait_window_gone "確認"
    e2e_expect_app_running "the program (after Cancel in the save question)"

    e2e_focus "$main"
    e2e_key alt+f x
    e2e_wait_window "確認"
    e2e_focus "$E2E_WINDOW"
    e2e_key alt+y
    e2e_wait_app_exit
    e2e_expect_eq "$E2E_APP_STATUS" 0 "exit status"

    local line
    line=$(sed -n 3p "$chart" | tr -d '\r')
    e2e_expect_eq "$line" "1 0 0 1 0 1 0 0 0" "CLK's data line in the saved file"
    [[ ! -e $E2E_WORK/charts/start.txt ]] || e2e_fail "the chart was saved under another name"
}
