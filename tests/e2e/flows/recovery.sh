# shellcheck shell=bash
# Work the editor could not save is not lost: levels set and a name typed, the editor killed
# after the recovery interval, started again; Yes brings the chart back, untitled and modified,
# and Exit asks to save it. A second crash, answered No, starts empty and leaves no copy behind.
flow() {
    local state=$E2E_WORK/home/.local/state/solvena
    local chart=$E2E_WORK/recovered.sbn

    e2e_start_app
    e2e_wait_window "ソルベナエディタ - 無題"
    local main=$E2E_WINDOW
    e2e_focus "$main"
    e2e_click_cell "$main" 2 1
    e2e_key 1
    e2e_click_cell "$main" 0 1
    e2e_type CLK
    e2e_key Return
    # The copy is written within the recovery interval (3 s) after the change.
    e2e_crash_after_recovery_copy

    e2e_start_app
    e2e_wait_window "確認"
    e2e_focus "$E2E_WINDOW"
    e2e_message_box_text "確認"
    e2e_expect_contains "$E2E_TEXT" "前回保存されなかった変更があります。復元しますか？" "the question"
    e2e_screenshot offered
    e2e_key alt+y
    e2e_wait_window "ソルベナエディタ - 無題"
    main=$E2E_WINDOW
    e2e_screenshot restored "$main"

    # Still modified: Exit asks, and Yes saves it through Save As.
    e2e_focus "$main"
    e2e_key alt+f x
    e2e_wait_window "確認"
    e2e_focus "$E2E_WINDOW"
    e2e_key alt+y
    e2e_wait_window "名前を付けて保存"
    e2e_focus "$E2E_WINDOW"
    e2e_type "$chart"
    e2e_key Return
    e2e_wait_app_exit
    local name data
    name=$(sed -n 2p "$chart" | tr -d '\r')
    data=$(sed -n 3p "$chart" | tr -d '\r' | cut -d' ' -f1-6)
    e2e_expect_eq "$name" "CLK" "the restored name as saved"
    e2e_expect_eq "$data" "0 0 0 1 0 0" "the restored levels as saved"
    [[ -z $(compgen -G "$state/*.recovery") ]] || e2e_fail "a recovery file is left after a clean end"

    # A second crash, and No: an empty chart, nothing left to offer.
    e2e_start_app
    e2e_wait_window "ソルベナエディタ - 無題"
    main=$E2E_WINDOW
    e2e_focus "$main"
    e2e_click_cell "$main" 3 2
    e2e_key 2
    e2e_crash_after_recovery_copy

    e2e_start_app
    e2e_wait_window "確認"
    e2e_focus "$E2E_WINDOW"
    e2e_key alt+n
    e2e_wait_window "ソルベナエディタ - 無題"
    main=$E2E_WINDOW
    [[ -z $(compgen -G "$state/*.recovery") ]] || e2e_fail "the declined copy is still there"
    # Nothing unsaved: Exit ends at once.
    e2e_focus "$main"
    e2e_key alt+f x
    e2e_wait_app_exit
    [[ -z $(compgen -G "$state/*.recovery") ]] || e2e_fail "a recovery file is left"
}
