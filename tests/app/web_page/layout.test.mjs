// Where the picture goes: whole and as large as the room allows on a wide screen, in whole
// device pixels when that costs little; on a tall one the field as wide as the screen and the
// panels under it in two rows, all inside the room, none over another.
import assert from "node:assert/strict";
import {before, test} from "node:test";

import {importModule} from "./page_environment.mjs";

let arrange;
let gamePointIn;
before(async () => {
    ({arrange, gamePointIn} = await importModule("layout.js"));
});

const screen = {
    width: 690,
    height: 500
};
// The field's touch area of a 5 x 5 and of a 2 x 2 game, then the four panels.
const panels = [[10, 5, 162, 170], [10, 175, 162, 269], [10, 274, 162, 368], [10, 373, 162, 489]];
const fiveByFive = [[179, -11, 702, 512], ...panels];
const twoByTwo = [[321, 131, 558, 368], ...panels];

function inside(box, room) {
    return box.x >= -1e-9 && box.y >= -1e-9 && box.x + box.width <= room.width + 1e-9 &&
        box.y + box.height <= room.height + 1e-9;
}

function overlap(a, b) {
    return a.x < b.x + b.width - 1e-9 && b.x < a.x + a.width - 1e-9 &&
        a.y < b.y + b.height - 1e-9 && b.y < a.y + a.height - 1e-9;
}

test("a wide room shows the whole picture as large as it fits", () => {
    const room = {width: 844, height: 346, ratio: 3};
    const wide = arrange(room, screen, fiveByFive);
    assert.equal(wide.upright, false);
    assert.equal(wide.views.length, 1);
    assert.deepEqual(wide.views[0].source, {x: 0, y: 0, width: 690, height: 500});
    // Within a tenth of the height, at a whole number of device pixels per game pixel.
    const height = wide.views[0].box.height;
    assert.ok(height <= 346 && height >= 0.9 * 346, `it is ${height} high`);
    assert.equal((height / 500) * 3, Math.round((height / 500) * 3));
    // A desktop window with room for a little more keeps one device pixel per game pixel.
    const desktop = arrange({width: 720, height: 522, ratio: 1}, screen, fiveByFive);
    assert.deepEqual([desktop.width, desktop.height], [690, 500]);
    const doubled = arrange({width: 720, height: 522, ratio: 2}, screen, fiveByFive);
    assert.deepEqual([doubled.width, doubled.height], [690, 500]);
    // With much more room it grows.
    assert.ok(arrange({width: 1400, height: 1000, ratio: 1}, screen, null).width >= 1380);
});

test("a tall room puts the field on top, as wide as the room, the panels under it", () => {
    for (const [room, areas] of [
             [{width: 360, height: 596, ratio: 3}, fiveByFive],
             [{width: 360, height: 596, ratio: 3}, twoByTwo],
             [{width: 390, height: 800, ratio: 3}, fiveByFive],
             [{width: 820, height: 1136, ratio: 2}, twoByTwo]]) {
        const tall = arrange(room, screen, areas);
        const message = `${room.width} x ${room.height}`;
        assert.equal(tall.upright, true, message);
        assert.equal(tall.views.length, 5, message);
        const [field, ...shown] = tall.views;
        assert.ok(Math.abs(field.box.width - room.width) < 1e-9, `${message}: field not as wide`);
        for (const view of tall.views) {
            assert.ok(inside(view.box, room), `${message}: a view lies outside the room`);
            // Each keeps the proportions of its source.
            assert.ok(
                Math.abs(
                    view.box.width / view.source.width - view.box.height / view.source.height) <
                    1e-9,
                message);
        }
        tall.views.forEach((a, i) => tall.views.slice(i + 1).forEach((b) => {
            assert.ok(!overlap(a.box, b.box), `${message}: two views overlap`);
        }));
        // The views come in the order of the areas; Instructions stands beside Controls,
        // Moves beside Time under them.
        assert.deepEqual(shown.map((view) => view.source.y), [5, 175, 274, 373]);
        const [instructions, moves, time, controls] = shown.map((view) => view.box);
        assert.ok(instructions.x < controls.x && instructions.y === controls.y, message);
        assert.ok(moves.x < time.x && moves.y === time.y && moves.y > instructions.y, message);
        // Buttons (62 x 52 game pixels on the Controls panel) stay a finger's size.
        const panelScale = shown[3].box.width / shown[3].source.width;
        assert.ok(52 * panelScale >= 44, `${message}: a button is ${52 * panelScale} high`);
    }
});

test("a point of a view is the game point it shows", () => {
    const view = {
        source: {x: 179, y: -11, width: 523, height: 523},
        box: {x: 0, y: 40, width: 360, height: 360}
    };
    assert.deepEqual(gamePointIn(view, 0, 0), [179, -11]);
    assert.deepEqual(gamePointIn(view, 180, 180), [179 + 261, -11 + 261]);
    assert.deepEqual(gamePointIn(view, 359.9, 359.9), [701, 511]);
});
