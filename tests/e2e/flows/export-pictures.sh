# shellcheck shell=bash
# The image exports and the printout through the real dialogs of the real window: File, then
# the access key, a file name typed, Enter. The bitmap and the metafile hold the whole chart at
# their sizes, under their own extension whatever was typed; the printout is one PDF page.
flow() {
    local out=$E2E_WORK/out
    mkdir -p "$out"

    e2e_start_app
    e2e_wait_window "ソルベナエディタ - 無題"
    local main=$E2E_WINDOW
    e2e_focus "$main"
    e2e_click_cell "$main" 3 1
    e2e_key 1

    # Bitmap: typed without an extension.
    e2e_key alt+f b
    e2e_wait_window "名前を付けて保存"
    e2e_focus "$E2E_WINDOW"
    e2e_screenshot bitmap-dialog
    e2e_type "$out/chart"
    e2e_key Return
    e2e_wait_window_gone "名前を付けて保存"
    e2e_wait_until 10 "the bitmap file" test -s "$out/chart.bmp"
    e2e_expect_eq "$(identify -format '%m %wx%h' "$out/chart.bmp")" "BMP3 565x125" "the bitmap"
    # The top row is the grid line above the first signal; step 3 of signal 1 is high
    # (row 1 spans 1..25 of the picture, its high line 5 below the top).
    e2e_expect_pixel "$out/chart.bmp" 120 6 000000 "signal 1's high line at step 3"
    e2e_expect_pixel "$out/chart.bmp" 100 6 FFFFFF "no high line at step 2"

    # Metafile: typed with another extension.
    e2e_focus "$main"
    e2e_key alt+f m
    e2e_wait_window "名前を付けて保存"
    e2e_focus "$E2E_WINDOW"
    e2e_type "$out/chart.txt"
    e2e_key Return
    e2e_wait_window_gone "名前を付けて保存"
    e2e_wait_until 10 "the metafile" test -s "$out/chart.emf"
    [[ ! -e $out/chart.txt ]] || e2e_fail "the metafile was written under the typed extension"
    # EMR_HEADER: type 1, rclBounds right and bottom at bytes 16..23, " EMF" at 40.
    local header
    header=$(od -An -tu4 -w24 -N24 "$out/chart.emf" | tr -s " ")
    e2e_expect_eq "$header" " 1 108 0 0 564 174" "the metafile's header: type, size, bounds"
    e2e_expect_eq "$(od -An -c -j40 -N4 "$out/chart.emf" | tr -d ' ')" "EMF" "the metafile's signature"

    # Print: the file printer, its output file named in the dialog.
    e2e_focus "$main"
    e2e_key alt+f p
    e2e_wait_window "印刷"
    e2e_focus "$E2E_WINDOW"
    e2e_screenshot print-dialog
    e2e_key alt+f ctrl+a
    e2e_type "$out/printout.pdf"
    e2e_key alt+p
    e2e_wait_window_gone "印刷"
    e2e_wait_until 10 "the printout" test -s "$out/printout.pdf"
    e2e_expect_eq "$(pdfinfo "$out/printout.pdf" | sed -n 's/^Pages: *//p')" 1 "pages printed"

    e2e_expect_app_running "the program (after the exports)"
    e2e_focus "$main"
    e2e_key alt+f x
    e2e_wait_window "確認"
    e2e_focus "$E2E_WINDOW"
    e2e_key alt+n
    e2e_wait_app_exit
}
