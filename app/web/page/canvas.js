// The canvas the game draws on: its 2D context, the program's frames put onto it, its size on
// the page (whole device pixels where it can, the screen's width at most) and the game point
// under a pointer.

export let canvas = null;
let context = null;
let frameData = null;
let firstFrameMarked = false;
let ratioQuery = null;
// The screen's size in game pixels, and the canvas pixels of each: the scale of the set of
// pictures the game draws with.
let gameWidth = 0;
let gameHeight = 0;
let artScale = 1;

export function init() {
    canvas = document.getElementById("screen");
    gameWidth = canvas.width;
    gameHeight = canvas.height;
}

// Opens the 2D context and fits the canvas to the page; false when the browser gives none.
export function openCanvas() {
    context = canvas.getContext("2d", {alpha: false});
    if (!context) {
        return false;
    }
    layout();
    watchRatio();
    window.addEventListener("resize", layout);
    return true;
}

// Gives the canvas the screen's size in game pixels, each scale x scale canvas pixels. A
// canvas of another size loses its pixels: returns true when they must all be drawn again.
export function resizeCanvas(width, height, scale = 1) {
    gameWidth = width;
    gameHeight = height;
    artScale = scale;
    if (width * scale === canvas.width && height * scale === canvas.height) {
        return false;
    }
    canvas.width = width * scale;
    canvas.height = height * scale;
    frameData = null;
    layout();
    return true;
}

// Puts one area of the program's frame (width x height pixels of four bytes in the module's
// heap at frame) onto the canvas.
export function present(heap, frame, width, height, x, y, w, h) {
    if (!frameData || frameData.data.buffer !== heap.buffer ||
        frameData.data.byteOffset !== frame) {
        frameData = new ImageData(
            new Uint8ClampedArray(heap.buffer, frame, width * height * 4), width, height);
    }
    context.putImageData(frameData, 0, 0, x, y, w, h);
    if (!firstFrameMarked) {
        // For measuring: when the first picture of the game was on the canvas.
        firstFrameMarked = true;
        performance.mark("first-frame");
    }
}

// The game pixel under a pointer event, as [x, y].
export function gamePoint(event) {
    const box = canvas.getBoundingClientRect();
    return [
        Math.floor((event.clientX - box.left) * gameWidth / box.width),
        Math.floor((event.clientY - box.top) * gameHeight / box.height)
    ];
}

function layout() {
    const ratio = window.devicePixelRatio || 1;
    const width = gameWidth;
    const room = document.documentElement.clientWidth;
    // Game pixels to CSS pixels: at a ratio of 2 or more each game pixel covers a whole
    // number of device pixels.
    let scale = ratio >= 2 ? Math.floor(ratio) / ratio : 1;
    if (width * scale > room && room > 0) {
        scale = room / width;
    }
    // Device pixels for each canvas pixel.
    const devicePixels = scale * ratio / artScale;
    canvas.style.width = `${width * scale}px`;
    canvas.style.height = `${gameHeight * scale}px`;
    canvas.classList.toggle(
        "whole-pixels", Math.abs(devicePixels - Math.round(devicePixels)) < 1e-6);
    document.getElementById("window").style.width = `${width * scale}px`;
}

// A change of the device pixel ratio (a zoom, another screen) lays the canvas out again.
function watchRatio() {
    if (ratioQuery) {
        ratioQuery.removeEventListener("change", onRatioChange);
    }
    ratioQuery = window.matchMedia(`(resolution: ${window.devicePixelRatio || 1}dppx)`);
    ratioQuery.addEventListener("change", onRatioChange);
}

function onRatioChange() {
    layout();
    watchRatio();
}
