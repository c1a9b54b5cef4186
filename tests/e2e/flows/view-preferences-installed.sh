# shellcheck shell=bash
# Installed where the user cannot write: the view options go to the per-user configuration
# folder instead, Exit ends without an error box, and the next start finds them there.
# shellcheck source-path=SCRIPTDIR source=view-preferences.sh
source "$(dirname "${BASH_SOURCE[0]}")/view-preferences.sh"

flow() {
    local bin
    bin=$(dirname "$E2E_APP")
    chmod a-w "$bin"
    start_and_look first-start
    # 表示 > 縦罫線(&V), then Exit.
    e2e_key alt+v v
    e2e_key alt+f x
    e2e_wait_app_exit
    e2e_expect_eq "$(view_section "$E2E_WORK/home/.config/solvena/solvena.ini")" \
        $'[View]\nVertLine=0\nHorzLine=1\nAlignRight=0' "per-user preferences file"
    e2e_expect_eq "$(ls -A "$bin")" "$(basename "$E2E_APP")" "the program's folder"

    start_and_look second-start
    expect_grid_lines "$E2E_SHOT" 0 10
}
