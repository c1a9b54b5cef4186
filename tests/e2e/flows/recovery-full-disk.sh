# shellcheck shell=bash
# Restored work survives a disk that takes no new copy of it: the editor is killed with unsaved
# work; it starts again where no file may grow beyond 64 bytes, the work is taken back but its new
# copy cannot be written, and the editor is killed again. With room again, the work is offered a
# second time, whole, and saved.
flow() {
    local state=$E2E_WORK/home/.local/state/solvena chart=$E2E_WORK/saved.sbn

    e2e_start_app
    e2e_wait_window "ソルベナエディタ - 無題"
    e2e_focus "$E2E_WINDOW"
    e2e_click_cell "$E2E_WINDOW" 2 1
    e2e_key 1
    e2e_crash_after_recovery_copy

    E2E_APP_FSIZE=64 e2e_start_app
    e2e_wait_window "確認"
    e2e_focus "$E2E_WINDOW"
    e2e_key alt+y
    e2e_wait_window "ソルベナエディタ - 無題"
    # More than one interval of the copy, each attempt failing.
    sleep 4
    e2e_screenshot no-room "$E2E_WINDOW"
    e2e_expect_app_running "the program (with no room for its copy)"
    kill -KILL "$E2E_APP_PID"
    wait "$E2E_APP_PID" 2>/dev/null || true
    E2E_APP_PID=
    [[ -n $(compgen -G "$state/*.recovery") ]] || e2e_fail "the only copy of the work is gone"

    e2e_start_app
    e2e_wait_window "確認"
    e2e_focus "$E2E_WINDOW"
    e2e_key alt+y
    e2e_wait_window "ソルベナエディタ - 無題"
    e2e_focus "$E2E_WINDOW"
    e2e_key alt+f x
    e2e_wait_window "確認"
    e2e_focus "$E2E_WINDOW"
    e2e_key alt+y
    e2e_wait_window "名前を付けて保存"
    e2e_focus "$E2E_WINDOW"
    e2e_type "$chart"
    e2e_key Return
    e2e_wait_app_exit
    e2e_expect_eq "$(sed -n 3p "$chart" | tr -d '\r' | cut -d' ' -f1-6)" "0 0 0 1 0 0" "the restored levels as saved"
    [[ -z $(compgen -G "$state/*.recovery") ]] || e2e_fail "a recovery file is left after a clean end"
}
