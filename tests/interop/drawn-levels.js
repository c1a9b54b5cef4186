// The levels wavedrom-cli drew against the levels of the chart solvena-render opened from
// the same WaveJSON.
//
//   node drawn-levels.js WAVEDROM_SVG CHART_SBN
//
// wavedrom-cli draws each lane as a row of "bricks" 20 pixels wide (half a step at hscale
// 1), a lane moved by its phase sitting in a group translated by that much. A brick's
// level is where it ends: "0m1" rises to 1, "pclk" is a rising clock edge, "vvv-3" data.
// The chart's columns split the longest lane evenly, so column c is compared at the
// middle of its stretch with the brick drawn there; where nothing is drawn (before a
// lane moved right, after a shorter lane) nothing is compared. Exits 1 on any difference.
// Also a module: compare(svgPath, chartPath) returns the report's lines and whether the
// levels agree.
'use strict';
const fs = require('fs');

function brickLevel(brick) {
    if (/clk$/.test(brick)) return /^[pP]/.test(brick) ? '1' : '0';
    const plain = brick.replace(/(-\d)+$/, '');
    const last = plain[plain.length - 1];
    return last === '0' || last === '1' ? last : 'x';
}

function compare(svgPath, chartPath) {
    const svg = fs.readFileSync(svgPath, 'utf8');
    const lanes = [];
    const lanePattern =
        /<g(?: transform="translate\(([-\d.e]+)(?:,[-\d.e]+)?\)")? id="wavelane_draw_(\d+)_0"(?:\/>|>(.*?)<\/g>)/gs;
    for (const m of svg.matchAll(lanePattern)) {
        const bricks = [...(m[3] || '').matchAll(/xlink:href="#([^"]+)"/g)].map((x) => x[1]);
        lanes[Number(m[2])] = { offset: m[1] ? Number(m[1]) : 0, bricks };
    }

    // The chart file: a line of column widths (and timing-line flags), then a name line
    // and a line of level, delay and flags per cell for each signal.
    const lines = fs.readFileSync(chartPath, 'latin1').split('\r\n');
    const columns = lines[0].trim().split(/\s+/).length / 2 - 1;
    const chart = [];
    for (let r = 0; 2 + 2 * r < lines.length && lines[2 + 2 * r] !== ''; r++) {
        const numbers = lines[2 + 2 * r].trim().split(/\s+/);
        let levels = '';
        for (let i = 0; i < numbers.length; i += 3) levels += numbers[i] === '0' ? '0' : numbers[i] === '1' ? '1' : 'x';
        chart.push(levels);
    }
    if (chart.length !== lanes.length)
        return { ok: false, report: [`the chart has ${chart.length} signals, wavedrom-cli drew ${lanes.length} lanes`] };

    const end = Math.max(...lanes.map((lane) => lane.offset + 20 * lane.bricks.length));
    const columnWidth = end / columns;
    const report = [];
    let compared = 0;
    let wrong = 0;
    lanes.forEach((lane, j) => {
        let drawn = '';
        for (let c = 0; c < columns; c++) {
            const brick = Math.floor(((c + 0.5) * columnWidth - lane.offset) / 20);
            if (brick < 0 || brick >= lane.bricks.length) {
                drawn += '.';
                continue;
            }
            const level = brickLevel(lane.bricks[brick]);
            drawn += level;
            compared += 1;
            if (level !== chart[j][c]) wrong += 1;
        }
        report.push(`  chart ${chart[j]}`, `  drawn ${drawn}`);
    });
    report.push(`${columns} columns, ${compared} cells compared, ${wrong} different`);
    return { ok: wrong === 0 && compared > 0, report };
}

module.exports = compare;

if (require.main === module) {
    const { ok, report } = compare(process.argv[2], process.argv[3]);
    console.log(report.join('\n'));
    process.exit(ok ? 0 : 1);
}
