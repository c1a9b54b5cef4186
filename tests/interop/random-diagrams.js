// Random WaveJSON diagrams, each drawn by the reference renderer (the wavedrom package
// wavedrom-cli uses) and opened as a chart by solvena-render; drawn-levels.js compares
// the two. Every diagram starts with a 16-step signal that never changes, so that the
// chart's columns split whole steps.
//
//   node random-diagrams.js NPM_DIR SOLVENA_RENDER WORK_DIR COUNT SEED
//
// A diagram the import refuses for needing more than 99 columns is counted and skipped;
// any other refusal, or any level drawn otherwise, fails.
'use strict';
const path = require('path');
const fs = require('fs');
const { spawnSync } = require('child_process');
const compare = require('./drawn-levels.js');

const [npmDir, render, work, count, seed] = process.argv.slice(2);
const load = (name) => require(path.join(npmDir, 'node_modules', name));
const wavedrom = load('wavedrom');
const onml = load('onml');
const skins = load('wavedrom/skins/default.js');

let state = Number(seed);
const random = () => (state = (state * 1103515245 + 12345) % 2147483648) / 2147483648;
const pick = (list) => list[Math.floor(random() * list.length)];

const characters = '0011xhlHLpnPN..||==2z-?<>ud'.split('');
let wrong = 0;
let tooLong = 0;
for (let n = 0; n < Number(count); n++) {
    const signal = [{ name: 'F', wave: '0' + '.'.repeat(15) }];
    for (let j = 1 + Math.floor(random() * 3); j > 0; j--) {
        const lane = { name: 's' + j, wave: '' };
        for (let k = 1 + Math.floor(random() * 6); k > 0; k--) lane.wave += pick(characters);
        const period = pick([undefined, undefined, 0.5, 1, 1.5, 2, '2', 0.25, 0.75]);
        const phase = pick([undefined, undefined, 0.25, 0.5, -0.5, 1, -0.25, 0.75, '0.5']);
        if (period !== undefined) lane.period = period;
        if (phase !== undefined) lane.phase = phase;
        signal.push(lane);
    }
    const source = { signal };
    const hscale = pick([undefined, undefined, 2, 3]);
    if (hscale) source.config = { hscale };
    const text = JSON.stringify(source);
    const json = path.join(work, 'random.json');
    const chart = path.join(work, 'random.sbn');
    const svg = path.join(work, 'random.svg');
    fs.writeFileSync(json, text);
    fs.writeFileSync(svg, onml.s(wavedrom.renderAny(0, JSON.parse(text), skins)));
    // In English whatever the test's locale, so that the reason can be told from its words.
    const english = { ...process.env, LC_ALL: '', LC_MESSAGES: '', LANG: 'C' };
    const opened = spawnSync(render, [json, chart], { encoding: 'utf8', env: english });
    if (opened.status !== 0) {
        if (/\d+ steps; at most 99 can be read/.test(opened.stderr)) {
            tooLong += 1;
            continue;
        }
        console.log(`refused: ${text}\n${opened.stderr}`);
        wrong += 1;
        continue;
    }
    const { ok, report } = compare(svg, chart);
    if (!ok) {
        console.log(`different: ${text}\n${report.join('\n')}`);
        wrong += 1;
    }
}
console.log(`${count} random diagrams: ${tooLong} beyond 99 columns, ${wrong} opened otherwise than drawn`);
process.exit(wrong === 0 ? 0 : 1);
