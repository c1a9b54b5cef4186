# shellcheck shell=bash
# Dragging over the grid selects the rectangle between the two cells, and only that.
flow() {
    e2e_start_app
    e2e_wait_window "ソルベナエディタ - 無題"
    local main=$E2E_WINDOW
    e2e_drag_cells "$main" 3 2 6 3
    e2e_screenshot after-drag "$main"
    local shot=$E2E_SHOT

    # The highlight is whatever colour the corner cell got; every cell of the rectangle has it
    # and no cell around it does.
    e2e_cell_center 3 2
    e2e_pixel "$shot" "$E2E_CELL_X" "$E2E_CELL_Y"
    local highlight=$E2E_PIXEL
    e2e_cell_center 9 4
    e2e_expect_pixel_not "$shot" "$E2E_CELL_X" "$E2E_CELL_Y" "$highlight" "cell (9, 4) far from the drag"

    local col row inside
    for col in 2 3 4 5 6 7; do
        for row in 1 2 3 4; do
            e2e_cell_center "$col" "$row"
            inside=$(( col >= 3 && col <= 6 && row >= 2 && row <= 3 ))
            if ((inside)); then
                e2e_expect_pixel "$shot" "$E2E_CELL_X" "$E2E_CELL_Y" "$highlight" "selected cell ($col, $row)"
            else
                e2e_expect_pixel_not "$shot" "$E2E_CELL_X" "$E2E_CELL_Y" "$highlight" "unselected cell ($col, $row)"
            fi
        done
    done
}
