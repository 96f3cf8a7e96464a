// Where the picture goes: whole and as large as the room allows on a screen with the room, in
// whole device pixels when that costs little; else the field apart, as wide as a tall screen
// under the menu bar or as high as a short wide one beside it, and the panels at one scale as
// large as the rest allows; all inside the room, none over another.
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
const fiveByFive = [[178, -12, 702, 512], ...panels];
const twoByTwo = [[320, 130, 559, 369], ...panels];

function overlap(a, b) {
    return a.x < b.x + b.width - 1e-9 && b.x < a.x + a.width - 1e-9 &&
        a.y < b.y + b.height - 1e-9 && b.y < a.y + a.height - 1e-9;
}

const near = (a, b) => Math.abs(a - b) < 1e-9;

// Within two device pixels over a side of size game pixels: each edge of a box lies within
// half a device pixel of where the scale puts it.
const nearScale = (a, b, size, ratio) => Math.abs(a - b) * size * ratio <= 2 + 1e-9;

// Every box on whole device pixels, and no view drawn larger than the largest set of pictures
// stays sharp at.
function checkSharp(views, room, message) {
    for (const {box, source} of views) {
        for (const edge of [box.x, box.y, box.x + box.width, box.y + box.height]) {
            assert.ok(
                near(edge * room.ratio, Math.round(edge * room.ratio)), `${message}: ${edge}`);
        }
        if (room.sharpest) {
            assert.ok(box.width / source.width <= room.sharpest + 1e-9, `${message}: too large`);
        }
    }
}

// The panels' views keep their sources' proportions, all at one scale, the instruction beside
// the buttons; none lies over another view or outside the box; and they are as large as the
// box allows, as wide or as high as it but for a gap, or as a whole number of device pixels per
// game pixel near that, or as the sharpest pictures allow. The box: x, y, width, height in CSS
// pixels.
function checkPanels(views, box, room, message) {
    const [instructions, moves, time, controls] = views.slice(1).map((view) => view.box);
    const scales = views.slice(1).map((view) => view.box.width / view.source.width);
    for (const [index, view] of views.entries()) {
        assert.ok(
            nearScale(
                view.box.width / view.source.width, view.box.height / view.source.height,
                Math.min(view.source.width, view.source.height), room.ratio),
            message);
        assert.ok(
            index === 0 || nearScale(scales[index - 1], scales[0], view.source.width, room.ratio),
            `${message}: two scales`);
    }
    checkSharp(views, room, message);
    views.forEach((a, i) => views.slice(i + 1).forEach((b) => {
        assert.ok(!overlap(a.box, b.box), `${message}: two views overlap`);
    }));
    assert.deepEqual(views.slice(1).map((view) => view.source.y), [5, 175, 274, 373]);
    assert.ok(instructions.x < controls.x && instructions.y === controls.y, message);
    assert.ok(moves.x < time.x && moves.y === time.y, message);
    const panelBoxes = [instructions, moves, time, controls];
    const left = Math.min(...panelBoxes.map((b) => b.x));
    const right = Math.max(...panelBoxes.map((b) => b.x + b.width));
    const bottom = Math.max(...panelBoxes.map((b) => b.y + b.height));
    assert.ok(
        left >= box.x - 1e-9 && right <= box.x + box.width + 1e-9 &&
            bottom <= box.y + box.height + 1e-9,
        `${message}: the panels leave their room`);
    // Within the gaps (4 CSS pixels) at the room's sides.
    const scale = scales[0];
    const whole = near(scale * room.ratio, Math.round(scale * room.ratio));
    const filling = right - left >= box.width - 8 - 1 || bottom >= box.y + box.height - 4 - 1;
    const fillingNearly =
        right - left >= 0.9 * (box.width - 8) - 1 || bottom - box.y >= 0.9 * (box.height - 4) - 1;
    const sharpest = room.sharpest || Infinity;
    assert.ok(
        filling || scale >= sharpest - 1e-9 ||
            (whole && (fillingNearly || scale >= 0.9 * sharpest - 1e-9)),
        `${message}: the panels are smaller than the room allows`);
    // Buttons (62 x 52 game pixels on the Controls panel) stay a finger's size.
    assert.ok(52 * scales[0] >= 44, `${message}: a button is ${52 * scales[0]} high`);
}

test("a room large enough shows the whole picture as large as it fits", () => {
    // Within a tenth of the height, at a whole number of device pixels per game pixel.
    const tablet = arrange({width: 1180, height: 775, bar: 45, ratio: 2}, screen, fiveByFive);
    assert.equal(tablet.views.length, 1);
    assert.deepEqual(tablet.views[0].source, {x: 0, y: 0, width: 690, height: 500});
    const height = tablet.views[0].box.height;
    assert.ok(height <= 775 && height >= 0.9 * 775, `it is ${height} high`);
    assert.equal((height / 500) * 2, Math.round((height / 500) * 2));
    // A desktop window with room for a little more keeps one device pixel per game pixel.
    const desktop = arrange({width: 720, height: 522, ratio: 1}, screen, fiveByFive);
    assert.deepEqual([desktop.width, desktop.height], [690, 500]);
    const doubled = arrange({width: 720, height: 522, ratio: 2}, screen, fiveByFive);
    assert.deepEqual([doubled.width, doubled.height], [690, 500]);
    // With much more room it grows.
    assert.ok(arrange({width: 1400, height: 1000, ratio: 1}, screen, null).width >= 1380);
    // A mouse keeps the design's picture where a finger would need the field apart.
    const low = arrange({width: 844, height: 345, bar: 45, ratio: 3}, screen, fiveByFive);
    assert.equal(low.views.length, 1);
    assert.ok(low.height <= 345 && low.height >= 0.9 * 345, `it is ${low.height} high`);
});

test("a short wide room shows the field as high as the screen, beside the menu bar", () => {
    // Whole, the picture would be 0.67 CSS pixels per game pixel: a stick's own area 32 wide.
    for (const areas of [fiveByFive, twoByTwo]) {
        const room = {width: 844, height: 345, bar: 45, ratio: 3, finger: true};
        const beside = arrange(room, screen, areas);
        assert.equal(beside.views.length, 5);
        const field = beside.views[0].box;
        assert.deepEqual([field.x + field.width, field.y, field.height], [844, -45, 390]);
        // The menu bar stops where the field starts; the panels stand under it.
        assert.equal(beside.barWidth, field.x);
        checkPanels(beside.views, {x: 0, y: 0, width: field.x, height: 345}, room, "844 x 390");
    }
});

test("a tall room puts the field right under the menu bar, as wide as the room", () => {
    for (const [room, areas] of [
             [{width: 360, height: 595, ratio: 2}, fiveByFive],
             [{width: 360, height: 595, ratio: 2}, twoByTwo],
             [{width: 390, height: 799, ratio: 3}, fiveByFive],
             [{width: 820, height: 1135, ratio: 2}, twoByTwo]]) {
        const tall = arrange(room, screen, areas);
        const message = `${room.width} x ${room.height}`;
        assert.equal(tall.views.length, 5, message);
        assert.deepEqual([tall.width, tall.height], [room.width, room.height], message);
        const field = tall.views[0].box;
        assert.deepEqual([field.x, field.y, field.width], [0, 0, room.width], message);
        const below = field.height;
        checkPanels(
            tall.views, {x: 0, y: below, width: room.width, height: room.height - below}, room,
            message);
    }
});

test("kept sharp, the field stays as wide as the screen with felt around it", () => {
    // Zoomed to the screen's width a 2 x 2 field would be 1.63 CSS pixels per game pixel:
    // 4.9 device pixels, more than the 3x pictures can show sharp.
    const room = {width: 390, height: 799, ratio: 3, finger: true, sharpest: 1.1};
    const tall = arrange(room, screen, twoByTwo);
    const [field] = tall.views;
    assert.deepEqual([field.box.x, field.box.y, field.box.width], [0, 0, 390]);
    assert.equal(field.box.width / field.source.width, 1, "whole device pixels, 3 for 1");
    assert.deepEqual(field.clip, {x: 320, y: 130, width: 239, height: 239});
    // The field in the middle of the view, at the same scale both ways.
    assert.ok(near(field.source.x + field.source.width / 2, 320 + 239 / 2));
    assert.ok(near(field.box.height / field.source.height, 1));
    checkPanels(
        tall.views, {x: 0, y: field.box.height, width: 390, height: 799 - field.box.height}, room,
        "390 x 844");
    // The whole picture too, on a large screen.
    const whole = arrange({width: 2400, height: 1600, ratio: 1, sharpest: 3.3}, screen, null);
    assert.equal(whole.views[0].box.width / 690, 3);
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
