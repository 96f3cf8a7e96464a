// The larger pictures: which set a screen needs, a set that cannot be had leaving the game's
// own pictures, and a fetched set handed to the program in its heap.
import assert from "node:assert/strict";
import {before, test} from "node:test";

import {fakeGame, importModule, openPage, pageHandlers, setGlobal} from "./page_environment.mjs";

openPage();
const game = fakeGame();
let art, bridge;

before(async () => {
    art = await importModule("art.js");
    bridge = await importModule("bridge.js");
});

test("the set is the smallest drawn at most a tenth larger than its art, from 1 to 3", () => {
    const cases = [
        // [device pixel ratio, CSS pixels per game pixel, set]
        [1, 1, 1], [1.25, 1, 2], [2, 1, 2], [2.00001, 1, 2], [3, 1, 3], [4, 1, 3],
        [3, 390 / 690, 2],          // a phone: the picture shrunk to the screen's width
        [3, 390 / 250, 3],          // an upright phone: its field zoomed to the screen's width
        [2, 0.5, 1], [1, 2, 2],     // drawn larger than designed on a desktop
        [2, 0, 2],                  // not laid out yet: the ratio alone
        [1, 1.1, 1], [1, 1.12, 2],  // a tenth larger at most
        [2, 1.1, 2], [2, 1.2, 3], [1.5, 2, 3],  // the same at other ratios
    ];
    for (const [ratio, shown, scale] of cases) {
        setGlobal("devicePixelRatio", ratio);
        assert.equal(art.artScale(shown), scale, `ratio ${ratio}, ${shown} CSS px a game pixel`);
    }
    assert.equal(art.artFile(3), "art-3x.webp");
});

test("a set that cannot be had leaves the game's own pictures", async () => {
    const fetched = [];
    const warnings = [];
    setGlobal("console", {...console, warn: (...args) => warnings.push(args.join(" "))});
    setGlobal("createImageBitmap", () => assert.fail("nothing to decode"));
    setGlobal("fetch", (file) => {
        fetched.push(file);
        return file === "art-2x.webp" ? Promise.resolve({ok: false, status: 404}) :
                                        Promise.reject(new Error("offline"));
    });
    assert.equal(await art.loadArt(1), null);
    assert.deepEqual(fetched, [], "the design's pictures are built in");
    assert.equal(await art.loadArt(2), null);
    assert.equal(await art.loadArt(3), null);
    assert.deepEqual(fetched, ["art-2x.webp", "art-3x.webp"]);
    assert.equal(warnings.length, 2);
    assert.match(warnings[0], /art-2x\.webp: 404/);
});

test(
    "the program starts with the set's pixels in its heap, or with its own pictures, and takes a larger set later",
    async () => {
        const starts = () => game.calls.filter(([entry]) => entry === "_kz_start");
        await bridge.loadGame(await pageHandlers(), () => assert.fail("a call failed"));
        assert.deepEqual(starts(), [["_kz_start", 1, 0, 0, 0]]);

        game.calls.length = 0;
        const pixels = Uint8Array.from([1, 2, 3, 255, 4, 5, 6, 255]);
        await bridge.loadGame(
            await pageHandlers(), () => assert.fail("a call failed"),
            Promise.resolve({scale: 2, width: 2, height: 1, pixels}));
        assert.equal(starts().length, 1);
        const [, scale, pointer, width, height] = starts()[0];
        assert.deepEqual([scale, width, height], [2, 2, 1]);
        assert.ok(pointer > 0);
        const heap = globalThis.createKestraneModule().HEAPU8;
        assert.deepEqual([...heap.subarray(pointer, pointer + pixels.length)], [...pixels]);

        // A larger set once the layout needs it: into the heap for the call, freed after it.
        game.calls.length = 0;
        const larger = Uint8Array.from([7, 8, 9, 255, 10, 11, 12, 255, 13, 14, 15, 255]);
        bridge.useArt({scale: 3, width: 3, height: 1, pixels: larger});
        const uses = game.calls.filter(([entry]) => entry === "_kz_use_art");
        assert.equal(uses.length, 1);
        const [, useScale, usePointer, useWidth, useHeight] = uses[0];
        assert.deepEqual([useScale, useWidth, useHeight], [3, 3, 1]);
        assert.notEqual(usePointer, pointer, "a heap block of its own");
        assert.deepEqual([...heap.subarray(usePointer, usePointer + larger.length)], [...larger]);
    });
