# shellcheck shell=bash
# Start-up: the editor opens its main window on an untitled chart, and keeps running.
flow() {
    e2e_start_app
    e2e_wait_window "ソルベナエディタ - 無題"
    local main=$E2E_WINDOW
    e2e_window_title "$main"
    e2e_expect_eq "$E2E_TEXT" "ソルベナエディタ - 無題" "main window title"
    e2e_screenshot startup "$main"
    sleep 1
    e2e_expect_app_running "the program (a second after its window appeared)"
}
