# shellcheck shell=bash
# A read-only preferences file beside a writable program holds shared defaults: its options apply,
# the user's own change goes to the per-user configuration folder without an error box at Exit,
# the shared file stays as it was, and the next start shows both.
# shellcheck source-path=SCRIPTDIR source=view-preferences.sh
source "$(dirname "${BASH_SOURCE[0]}")/view-preferences.sh"

flow() {
    local shared
    shared=$(dirname "$E2E_APP")/solvena.ini
    printf '[View]\r\nHorzLine=0\r\n' >"$shared"
    chmod a-w "$shared"
    start_and_look first-start
    expect_grid_lines "$E2E_SHOT" 10 0
    # 表示 > 縦罫線(&V), then Exit: an error box would keep the program from ending.
    e2e_key alt+v v
    e2e_key alt+f x
    e2e_wait_app_exit
    e2e_expect_eq "$(view_section "$E2E_WORK/home/.config/solvena/solvena.ini")" \
        $'[View]\nVertLine=0\nAlignRight=0' "per-user preferences file"
    e2e_expect_eq "$(tr -d '\r' <"$shared")" $'[View]\nHorzLine=0' "shared preferences file"

    start_and_look second-start
    expect_grid_lines "$E2E_SHOT" 0 0
}
