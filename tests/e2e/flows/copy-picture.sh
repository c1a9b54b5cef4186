# shellcheck shell=bash
# The chart as a picture on the system clipboard: Ctrl+Shift+C in the real window, then
# another program reads a PNG of the exported bitmap's size and an SVG that is well-formed XML.
flow() {
    e2e_start_app
    e2e_wait_window "ソルベナエディタ - 無題"
    local main=$E2E_WINDOW
    e2e_focus "$main"
    e2e_click_cell "$main" 3 1
    e2e_key 1
    e2e_key ctrl+shift+c

    local png=$E2E_ARTIFACTS/clipboard.png svg=$E2E_ARTIFACTS/clipboard.svg
    e2e_wait_until 10 "a PNG on the clipboard" \
        bash -c "timeout 5 xclip -selection clipboard -t image/png -o >'$png' 2>/dev/null && [[ -s '$png' ]]"
    local size
    size=$(identify -format '%wx%h' "$png")
    # The start grid exports at 565 x 125 (the header row's band cut away).
    e2e_expect_eq "$size" "565x125" "the clipboard PNG's size"
    timeout 5 xclip -selection clipboard -t image/svg+xml -o >"$svg"
    xmllint --noout "$svg" || e2e_fail "the clipboard SVG is not well-formed XML"
    e2e_expect_contains "$(head -c 400 "$svg")" "<svg" "the clipboard SVG"
    e2e_expect_app_running
}
