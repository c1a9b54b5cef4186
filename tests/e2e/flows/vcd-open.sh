# shellcheck shell=bash
# A simulation's dump becomes a chart: the dump chosen in the real Open dialog, the real VCD
# dialog accepted with its proposal (the one-bit signals, stepped by the clock it found), the
# chart saved through Ctrl+S: clk draws as a clock, rst is low from the step it falls in.
flow() {
    local dump=$E2E_WORK/home/run.vcd chart=$E2E_WORK/home/run.sbn
    mkdir -p "$E2E_WORK/home"
    {
        printf '$timescale 1ns $end\n$scope module tb $end\n'
        printf '$var wire 1 ! clk $end\n$var wire 1 " rst $end\n$var wire 4 # count [3:0] $end\n'
        printf '$upscope $end\n$enddefinitions $end\n#0\n$dumpvars\n0!\n1"\nb0000 #\n$end\n'
        local t
        for ((t = 5; t <= 40; t += 5)); do
            printf '#%d\n%d!\n' "$t" $(((t / 5) % 2))
            ((t == 10)) && printf '0"\n'
        done
    } >"$dump"

    e2e_start_app
    e2e_wait_window "ソルベナエディタ - 無題"
    local main=$E2E_WINDOW
    e2e_focus "$main"
    e2e_key ctrl+o
    e2e_wait_window "開く"
    e2e_focus "$E2E_WINDOW"
    e2e_type "$dump"
    e2e_key Return
    e2e_wait_window "VCD の読み込み"
    e2e_focus "$E2E_WINDOW"
    e2e_screenshot dialog
    e2e_key Return
    e2e_wait_window_gone "VCD の読み込み"
    e2e_wait_window "ソルベナエディタ - 無題"
    e2e_focus "$main"
    e2e_screenshot opened "$main"

    e2e_key ctrl+s
    e2e_wait_window "名前を付けて保存"
    e2e_focus "$E2E_WINDOW"
    e2e_type "$chart"
    e2e_key Return
    e2e_wait_window "ソルベナエディタ - $chart"
    local levels
    levels() { sed -n "$1p" "$chart" | tr -d '\r' | awk '{ for (i = 1; i <= NF; i += 3) printf "%s", $i }'; }
    e2e_expect_eq "$(sed -n 2p "$chart" | tr -d '\r')" "clk" "the first row's name"
    e2e_expect_eq "$(levels 3)" "10101010" "clk, step by step"
    e2e_expect_eq "$(sed -n 4p "$chart" | tr -d '\r')" "rst" "the second row's name"
    e2e_expect_eq "$(levels 5)" "10000000" "rst, step by step (it falls at the instant step 2 begins)"
}
