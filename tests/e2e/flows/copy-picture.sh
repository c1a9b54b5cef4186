# shellcheck shell=bash
# The chart as a picture on the system clipboard: Ctrl+Shift+C in the real window, then
# another program reads a PNG of the exported bitmap's size and an SVG of that very size
# and picture, which Inkscape draws with the PNG's lines.
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
    e2e_expect_eq "$(xmllint --xpath 'string(/*/@width)' "$svg") $(xmllint --xpath 'string(/*/@height)' "$svg")" \
        "565px 125px" "the clipboard SVG's stated size"

    # An independent reader draws the SVG at the PNG's size, signal 1 high at step 3 in both
    # (row 1 spans 1..25 of the picture, its high line 5 below the top).
    local drawn=$E2E_ARTIFACTS/clipboard-svg-inkscape.png
    XDG_CONFIG_HOME=$E2E_WORK/inkscape-config inkscape --export-type=png --export-background=white \
        --export-background-opacity=1 --export-filename="$drawn" "$svg" >/dev/null 2>&1 ||
        e2e_fail "inkscape could not draw the clipboard SVG"
    e2e_expect_eq "$(identify -format '%wx%h' "$drawn")" "565x125" "the clipboard SVG drawn by Inkscape"
    local image
    for image in "$png" "$drawn"; do
        e2e_expect_pixel "$image" 120 6 000000 "signal 1's high line at step 3"
        e2e_expect_pixel "$image" 100 6 FFFFFF "no high line at step 2"
    done
    e2e_expect_app_running
}
