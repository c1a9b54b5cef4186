# shellcheck shell=bash
# Work restored after a crash goes back to the file it was done on, never to a file of the same
# name elsewhere. A chart opened by a relative name in folder a is changed and the editor killed;
# started again in folder b, which holds another chart.sbn, Yes and Ctrl+S write a's file and leave
# b's as it was. When a's file has changed meanwhile, the chart comes back untitled with a message
# naming a's file, and Ctrl+S asks where to save instead of overwriting it.
flow() {
    local a=$E2E_WORK/a b=$E2E_WORK/b
    mkdir -p "$a" "$b"
    printf '80 0 15 0 15 0\r\nA\r\n0 0 0 0 0 0' >"$a/chart.sbn"
    printf '80 0 15 0\r\nB\r\n1 0 0' >"$b/chart.sbn"
    local theirs
    theirs=$(md5sum <"$b/chart.sbn")

    E2E_APP_CWD=$a e2e_start_app chart.sbn
    e2e_wait_window "ソルベナエディタ - $a/chart.sbn"
    e2e_focus "$E2E_WINDOW"
    e2e_click_cell "$E2E_WINDOW" 1 1
    e2e_key 1
    e2e_crash_after_recovery_copy

    E2E_APP_CWD=$b e2e_start_app
    e2e_wait_window "確認"
    e2e_focus "$E2E_WINDOW"
    e2e_key alt+y
    e2e_wait_window "ソルベナエディタ - $a/chart.sbn"
    e2e_focus "$E2E_WINDOW"
    e2e_key ctrl+s
    e2e_wait_until 5 "the restored edit in a's chart.sbn" \
        bash -c '[[ $(sed -n 3p "$1" | tr -d "\r") == "1 0 0 0 0 0" ]]' - "$a/chart.sbn"
    e2e_expect_eq "$(md5sum <"$b/chart.sbn")" "$theirs" "b's chart.sbn"
    e2e_key alt+f x
    e2e_wait_app_exit

    # Once more, and a's file is rewritten by someone else before the restart.
    E2E_APP_CWD=$a e2e_start_app chart.sbn
    e2e_wait_window "ソルベナエディタ - $a/chart.sbn"
    e2e_focus "$E2E_WINDOW"
    e2e_click_cell "$E2E_WINDOW" 2 1
    e2e_key 1
    e2e_crash_after_recovery_copy
    printf '80 0 15 0\r\nNEWER\r\n2 0 0' >"$a/chart.sbn"
    local newer
    newer=$(md5sum <"$a/chart.sbn")

    E2E_APP_CWD=$b e2e_start_app
    e2e_wait_window "確認"
    e2e_focus "$E2E_WINDOW"
    e2e_key alt+y
    e2e_wait_window "ソルベナエディタ"
    e2e_focus "$E2E_WINDOW"
    e2e_message_box_text "ソルベナエディタ"
    e2e_expect_contains "$E2E_TEXT" "$a/chart.sbn" "the message naming the file the work came from"
    e2e_screenshot told
    e2e_key Return
    e2e_wait_window "ソルベナエディタ - 無題"
    local main=$E2E_WINDOW
    e2e_focus "$main"
    e2e_key ctrl+s
    e2e_wait_window "名前を付けて保存"
    e2e_focus "$E2E_WINDOW"
    e2e_key Escape
    e2e_wait_window_gone "名前を付けて保存"
    e2e_expect_eq "$(md5sum <"$a/chart.sbn")" "$newer" "a's chart.sbn, rewritten meanwhile"
    e2e_expect_eq "$(md5sum <"$b/chart.sbn")" "$theirs" "b's chart.sbn"
    e2e_focus "$main"
    e2e_key alt+f x
    e2e_wait_window "確認"
    e2e_focus "$E2E_WINDOW"
    e2e_key alt+n
    e2e_wait_app_exit
}
