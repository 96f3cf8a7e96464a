// The canvases the game is shown on: the program's frames put onto them, their place on the
// page (layout.js: the whole picture, or on a tall screen the field and the panels apart), and
// the game point under a pointer. The frame stays in the module's memory, whole, so a new
// arrangement draws itself again without asking the program.

import {LARGEST, LARGEST_STRETCH} from "./art.js";
import {arrange, gamePointIn} from "./layout.js";

export let canvas = null;  // the game's own canvas: the whole picture, or the field
let client = null;
let frameData = null;
let frameScale = 1;  // frame pixels per game pixel
let screenSize = {width: 0, height: 0};
let areas = null;      // the field's touch area and the four panels, from the program
let views = [];        // {element, canvas, context, source, shown}, the first one the game's canvas
let largestShown = 0;  // CSS pixels per game pixel of the view shown largest
let laidOut = () => {};
let firstFrameMarked = false;
let ratioQuery = null;

export function init() {
    canvas = document.getElementById("screen");
    client = document.getElementById("client");
}

// Opens the 2D context and fits the canvas to the page; false when the browser gives none.
export function openCanvas() {
    const context = canvas.getContext("2d", {alpha: false});
    if (!context) {
        return false;
    }
    views = [{element: canvas.parentElement, canvas, context, source: null, shown: null}];
    screenSize = {width: canvas.width, height: canvas.height};
    layout();
    watchRatio();
    window.addEventListener("resize", layout);
    return true;
}

// Gives the picture the screen's size in game pixels, with scale x scale frame pixels for
// each (the set of pictures the program draws with). Returns true when the canvases lost
// their pixels and must all be drawn again.
export function resizeCanvas(width, height, scale = 1) {
    if (width === screenSize.width && height === screenSize.height && scale === frameScale) {
        return false;
    }
    screenSize = {width, height};
    frameScale = scale;
    frameData = null;
    layout();
    return true;
}

// CSS pixels per game pixel of the part of the picture shown largest, as laid out now (0
// before the first layout): what the set of pictures must be sharp for.
export function shownScale() {
    return largestShown;
}

// Calls back after each layout, as the page's room or the program's areas change.
export function whenLaidOut(callback) {
    laidOut = callback;
}

// The areas a tall screen arranges apart, as [left, top, right, bottom] in game pixels: the
// field's touch area, then the four panels. They change with the size of the field.
export function setAreas(newAreas) {
    areas = newAreas;
    layout();
}

// Puts one area of the program's frame (width x height pixels of four bytes in the module's
// heap at frame) onto the canvases that show it.
export function present(heap, frame, width, height, x, y, w, h) {
    if (!frameData || frameData.data.buffer !== heap.buffer ||
        frameData.data.byteOffset !== frame || frameData.width !== width) {
        frameData = new ImageData(
            new Uint8ClampedArray(heap.buffer, frame, width * height * 4), width, height);
        if (screenSize.width > 0 && width / screenSize.width !== frameScale) {
            frameScale = width / screenSize.width;
            layout();
        }
    }
    for (const view of views) {
        putArea(view, x, y, w, h);
    }
    matchBackground();
    if (!firstFrameMarked) {
        // For measuring: when the first picture of the game was on the canvas.
        firstFrameMarked = true;
        performance.mark("first-frame");
    }
}

// Where the field's touch area reaches past the frame's edge its view shows the colour of
// the frame at the area's corner, which is felt around every field; so does the room the
// parts of the picture leave between them.
function matchBackground() {
    const shown = views[0].shown;
    if (!shown || !frameData || frameData.data.length === 0) {
        return;
    }
    const at = (shown.y * frameData.width + shown.x) * 4;
    const [red, green, blue] = frameData.data.subarray(at, at + 3);
    const colour = `rgb(${red}, ${green}, ${blue})`;
    if (views[0].background !== colour) {
        views[0].background = colour;
        views[0].element.style.backgroundColor = colour;
        client.style.backgroundColor = colour;
    }
}

// The part of the frame's area (frame pixels) that the view shows, at its place.
function putArea(view, x, y, w, h) {
    const shown = view.shown;
    if (!shown || x >= shown.x + shown.width || y >= shown.y + shown.height || x + w <= shown.x ||
        y + h <= shown.y) {
        return;
    }
    view.context.putImageData(frameData, -shown.x, -shown.y, x, y, w, h);
}

// The game pixel under a pointer event, as [x, y], or null where no view is.
export function gamePoint(event) {
    const view = views.find((entry) => entry.element.contains(event.target));
    if (!view || !view.source) {
        return null;
    }
    const box = view.element.getBoundingClientRect();
    return gamePointIn(
        {source: view.source, box: {width: box.width, height: box.height}},
        event.clientX - box.left, event.clientY - box.top);
}

// A view for each panel of a tall screen, made when first needed; they are pictures only.
function ensureViews(count) {
    while (views.length < count) {
        const element = document.createElement("div");
        element.className = "view";
        element.setAttribute("aria-hidden", "true");
        const panel = document.createElement("canvas");
        element.appendChild(panel);
        client.appendChild(element);
        views.push({
            element,
            canvas: panel,
            context: panel.getContext("2d", {alpha: false}),
            source: null,
            shown: null
        });
    }
}

// The room for the game: the screen less the menu bar above it and the records' notice under
// it while that shows, so the notice covers nothing of the game and needs no scrolling; and
// the menu bar's height, which a field beside the bar may take.
function room(window_) {
    const page = document.documentElement;
    const style = getComputedStyle(window_);
    const margin = parseFloat(style.marginTop) || 0;
    const heightOf = (selector) => {
        const element = window_.querySelector(selector);
        return element ? element.getBoundingClientRect().height : 0;
    };
    const bar = heightOf(".menus");
    return {
        width: page.clientWidth,
        height:
            (window.innerHeight || page.clientHeight) - margin - bar - heightOf(".records-notice"),
        bar,
        ratio: window.devicePixelRatio || 1,
        finger: window.matchMedia("(pointer: coarse)").matches,
        sharpest: (LARGEST * LARGEST_STRETCH) / (window.devicePixelRatio || 1),
    };
}

// Places the game again, for a part of the page beside it that came, went or changed size.
export function roomChanged() {
    if (views.length > 0) {
        layout();
    }
}

function layout() {
    const window_ = document.getElementById("window");
    const menus = window_.querySelector(".menus");
    document.documentElement.classList.toggle("upright", window.innerHeight > window.innerWidth);
    // The menu bar may wrap on a narrow screen: it takes the screen's width before the room
    // under it is measured.
    window_.style.width = `${document.documentElement.clientWidth}px`;
    menus.style.width = "";
    const wide = room(window_);
    let arrangement = arrange(wide, screenSize, areas);
    // What is above and below the game may take more lines at the game's width, and the
    // menu bar more beside a field: measured again there, the game makes room for them.
    window_.style.width = `${arrangement.width}px`;
    menus.style.width = arrangement.barWidth ? `${arrangement.barWidth}px` : "";
    const narrow = room(window_);
    if (narrow.height < wide.height) {
        arrangement = arrange(narrow, screenSize, areas);
    }
    ensureViews(arrangement.views.length);
    const ratio = window.devicePixelRatio || 1;
    largestShown =
        Math.max(0, ...arrangement.views.map(({source, box}) => box.width / source.width));
    let redraw = false;
    views.forEach((view, index) => {
        const placed = arrangement.views[index];
        view.element.hidden = !placed;
        if (placed) {
            redraw = place(view, placed, ratio) || redraw;
        }
    });
    client.style.width = `${arrangement.width}px`;
    client.style.height = `${arrangement.height}px`;
    window_.style.width = `${arrangement.width}px`;
    if (redraw && frameData && frameData.data.length > 0) {
        for (const view of views) {
            putArea(view, 0, 0, frameData.width, frameData.height);
        }
        matchBackground();
    }
    laidOut();
}

// Places one view; true when its canvas took a new size and lost its pixels.
function place(view, placed, ratio) {
    const {source, box} = placed;
    const clip = placed.clip || source;
    view.source = source;
    // What part of the picture the view shows, in game pixels, for whoever reads the page.
    view.element.dataset.source = `${source.x} ${source.y} ${source.width} ${source.height}`;
    Object.assign(view.element.style, {
        left: `${box.x}px`,
        top: `${box.y}px`,
        width: `${box.width}px`,
        height: `${box.height}px`,
    });
    // The canvas holds the part of the source the frame has (of the clip, where the view
    // names one), in frame pixels, on whole device pixels; beyond the frame's edge (a large
    // field's touch area) and the clip the view's own background shows.
    const left = Math.max(source.x, clip.x, 0);
    const top = Math.max(source.y, clip.y, 0);
    const right = Math.min(source.x + source.width, clip.x + clip.width, screenSize.width);
    const bottom = Math.min(source.y + source.height, clip.y + clip.height, screenSize.height);
    const scale = box.width / source.width;
    const snap = (value) => Math.round(value * ratio) / ratio;
    const canvasLeft = snap((left - source.x) * scale);
    const canvasTop = snap((top - source.y) * scale);
    Object.assign(view.canvas.style, {
        left: `${canvasLeft}px`,
        top: `${canvasTop}px`,
        width: `${snap((right - source.x) * scale) - canvasLeft}px`,
        height: `${snap((bottom - source.y) * scale) - canvasTop}px`,
    });
    const devicePixels = scale * ratio / frameScale;
    view.canvas.classList.toggle(
        "whole-pixels", Math.abs(devicePixels - Math.round(devicePixels)) < 1e-6);
    const shown = {
        x: Math.round(left * frameScale),
        y: Math.round(top * frameScale),
        width: Math.round((right - left) * frameScale),
        height: Math.round((bottom - top) * frameScale),
    };
    const resized = shown.width !== view.canvas.width || shown.height !== view.canvas.height ||
        !view.shown || shown.x !== view.shown.x || shown.y !== view.shown.y;
    view.shown = shown;
    if (shown.width !== view.canvas.width || shown.height !== view.canvas.height) {
        view.canvas.width = shown.width;
        view.canvas.height = shown.height;
    }
    return resized;
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
