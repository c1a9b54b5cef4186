# shellcheck shell=bash
# Help > About: Alt+H opens the Help menu, A picks its About item, and a message box captioned
# with the application title shows the version.
flow() {
    e2e_start_app
    e2e_wait_window "ソルベナエディタ - 無題"
    local main=$E2E_WINDOW
    e2e_focus "$main"
    e2e_key alt+h
    e2e_screenshot help-menu
    e2e_key a
    e2e_message_box_text "ソルベナエディタ"
    local box=$E2E_WINDOW
    e2e_screenshot about-box
    e2e_expect_contains "$E2E_TEXT" "ソルベナエディタ Ver1.04" "About box text"
    e2e_message_box_caption "$E2E_TEXT"
    e2e_expect_eq "$E2E_CAPTION" "ソルベナエディタ" "About box caption (copied)"
    e2e_window_title "$box"
    e2e_expect_eq "$E2E_TEXT" "ソルベナエディタ" "About box caption (window title)"
    # Enter closes it and the editor goes on.
    e2e_key Return
    e2e_wait_window_gone "ソルベナエディタ"
    e2e_expect_app_running "the program (after closing the About box)"
}
