// A counter with a clock, a synchronous reset and a 4-bit bus, for the VCD tests: the
// tests compile and run it with Icarus Verilog and read the dump it writes.
`timescale 1ns / 1ps

module counter (
    input wire clk,
    input wire rst,
    output reg [3:0] count
);
    always @(posedge clk)
        if (rst) count <= 4'd0;
        else count <= count + 4'd1;
endmodule

module counter_tb;
    reg clk = 1'b0;
    reg rst = 1'b1;
    wire [3:0] count;

    counter dut (.clk(clk), .rst(rst), .count(count));

    // A 10ns clock: edges at 5, 10, 15, ... ns.
    always #5 clk = ~clk;

    initial begin
        // Into the folder it runs in.
        $dumpfile("counter.vcd");
        $dumpvars(0, counter_tb);
        #12 rst = 1'b0;     // released between the second and the third rising edge
        #600 $finish;
    end
endmodule
