// Where the game's picture goes on a screen of any size. On a screen with the room it is
// shown whole, as designed, as large as the room allows. Where that would make a stick
// smaller than a finger on a touch screen, and on any tall screen, the field is zoomed to the
// active field and shown apart from the four panels, which stand in two rows: on a tall screen (a
// phone held upright) the field takes the screen's width under the menu bar and the panels go under
// it; on a short wide one (a phone on its side) the field takes the screen's height beside the menu
// bar and the panels go under the menu bar. Pure arithmetic: the program gives the areas, the page
// measures the room.

// Room for the panels: at least this many CSS pixels per game pixel, so the buttons stay a
// finger's size.
const smallestPanelScale = 0.85;
// The whole picture at least this many CSS pixels per game pixel: a stick's own area, half
// a pitch (47.5 game pixels) across, is then a finger's 44 CSS pixels.
const smallestWholeScale = 0.93;
const gap = 4;  // CSS pixels between the field and the panels, and between panels

function rectOf(area) {
    return {x: area[0], y: area[1], width: area[2] - area[0], height: area[3] - area[1]};
}

// The views for a room of width x height CSS pixels under a menu bar room.bar high: each
// shows the source (game pixels) in its box (CSS pixels from the room's top-left corner; a
// box beside the menu bar reaches above it). The first view is the game's own canvas: the
// whole picture, or the field. screen: the picture's size in game pixels; areas: the field's
// touch area then the four panels, as [left, top, right, bottom] in game pixels (none before
// the program gives them). room.ratio: device pixels per CSS pixel; room.finger: the page is
// played by touch; room.sharpest: the most CSS pixels per game pixel the largest set of
// pictures stays sharp at (none: no limit). barWidth, when given: how wide the menu bar may
// be. A view may also name the part of its source it shows (clip); the rest of its box is
// felt. Every box lies on whole device pixels.
export function arrange(room, screen, areas) {
    const apart = areas && areas.length === 5;
    if (room.height > room.width && apart) {
        return onDevicePixels(upright(room, areas.map(rectOf)), room);
    }
    const scale = sharpScale(
        Math.max(Math.min(room.width / screen.width, room.height / screen.height), 0), room);
    if (apart && room.finger && scale < smallestWholeScale) {
        return onDevicePixels(besideBar(room, areas.map(rectOf)), room);
    }
    const source = {x: 0, y: 0, width: screen.width, height: screen.height};
    const box = {
        x: 0,
        y: 0,
        width: screen.width * scale,
        height: screen.height * scale,
    };
    return onDevicePixels(
        {upright: false, width: box.width, height: box.height, views: [{source, box}]}, room);
}

// A scale no larger than the largest set of pictures draws sharp, and whole device pixels per
// game pixel where that costs at most a tenth of the size: the set is then drawn one pixel on
// one device pixel.
function sharpScale(scale, room) {
    const ratio = room.ratio || 1;
    const limited = Math.min(scale, room.sharpest || Infinity);
    const whole = Math.floor(limited * ratio + 1e-9) / ratio;
    return whole > 0 && whole >= 0.9 * limited ? whole : limited;
}

// The boxes moved onto whole device pixels, so no row or column of a picture is dropped.
function onDevicePixels(arrangement, room) {
    const ratio = room.ratio || 1;
    const snap = (value) => Math.round(value * ratio) / ratio;
    for (const {box} of arrangement.views) {
        const right = snap(box.x + box.width);
        const bottom = snap(box.y + box.height);
        box.x = snap(box.x);
        box.y = snap(box.y);
        box.width = right - box.x;
        box.height = bottom - box.y;
    }
    return arrangement;
}

// The field's view: its box as given, the field at the scale (at most the box's own), and the
// room the field leaves in the box felt around it.
function fieldView(field, box, scale) {
    const width = box.width / scale;
    const height = box.height / scale;
    const source = {
        x: field.x - (width - field.width) / 2,
        y: field.y - (height - field.height) / 2,
        width,
        height,
    };
    return {source, box, clip: field};
}

// The panels in rows: two rows of two, the instruction beside the buttons it speaks of, the
// counters under them; or all four in one row. Each row as high as its higher panel; their
// size in game pixels.
function panelRows([, instructions, moves, time, controls], inOneRow) {
    const rows = inOneRow ? [[instructions, controls, moves, time]] :
                            [[instructions, controls], [moves, time]];
    const spacing = moves.y - (instructions.y + instructions.height);  // the design's own
    const columnWidth = Math.max(instructions.width, moves.width, time.width, controls.width);
    const rowHeights = rows.map((row) => Math.max(...row.map((panel) => panel.height)));
    const columns = rows[0].length;
    return {
        rows,
        spacing,
        columnWidth,
        rowHeights,
        width: columns * columnWidth + (columns - 1) * spacing,
        height:
            rowHeights.reduce((sum, rowHeight) => sum + rowHeight) + (rows.length - 1) * spacing,
    };
}

// The panels placed at one scale, as large as the rect (x, y, width, height in CSS pixels)
// allows and sharp (see sharpScale), in two rows or, where that makes them larger (a wide
// rect), in one; in the rect's middle across and at its top. Their views in the order of the
// areas.
function placePanels(areas, rect, room) {
    const scaleOf = (panels) => Math.min(rect.width / panels.width, rect.height / panels.height);
    const inTwo = panelRows(areas, false);
    const inOne = panelRows(areas, true);
    const panels = scaleOf(inOne) > scaleOf(inTwo) ? inOne : inTwo;
    const scale = sharpScale(scaleOf(panels), room);
    const boxes = new Map();
    const left = rect.x + (rect.width - panels.width * scale) / 2;
    let y = rect.y;
    panels.rows.forEach((row, index) => {
        row.forEach((panel, column) => {
            boxes.set(panel, {
                x: left + column * (panels.columnWidth + panels.spacing) * scale,
                y,
                width: panel.width * scale,
                height: panel.height * scale,
            });
        });
        y += (panels.rowHeights[index] + panels.spacing) * scale;
    });
    return areas.slice(1).map((panel) => ({source: panel, box: boxes.get(panel)}));
}

function upright(room, areas) {
    const field = areas[0];
    const panels = panelRows(areas, false);
    const fitted = Math.min(
        room.width / field.width,
        (room.height - 2 * gap - panels.height * smallestPanelScale) / field.height);
    const fieldScale = sharpScale(fitted, room);
    // Right under the menu bar, as wide as the screen; what room is left under the panels,
    // and beside a field kept sharp, is felt.
    const fieldBox = {x: 0, y: 0, width: room.width, height: field.height * fieldScale};
    const top = fieldBox.height + gap;
    const views = [fieldView(field, fieldBox, fieldScale)].concat(placePanels(
        areas, {x: gap, y: top, width: room.width - 2 * gap, height: room.height - top - gap},
        room));
    // The whole room is the game's, so no other colour shows under it.
    return {upright: true, width: room.width, height: room.height, views};
}

function besideBar(room, areas) {
    const field = areas[0];
    const panels = panelRows(areas, false);
    const bar = room.bar || 0;
    // The field as high as the screen, the menu bar beside it over the panels, where the
    // design has them.
    const fitted = Math.min(
        (room.height + bar) / field.height,
        (room.width - 2 * gap - panels.width * smallestPanelScale) / field.width);
    const fieldScale = sharpScale(fitted, room);
    const fieldBox = {width: field.width * fieldScale, height: room.height + bar};
    fieldBox.x = room.width - fieldBox.width;
    fieldBox.y = -bar;
    const views = [fieldView(field, fieldBox, fieldScale)].concat(placePanels(
        areas, {x: gap, y: gap, width: fieldBox.x - 2 * gap, height: room.height - 2 * gap}, room));
    return {upright: false, width: room.width, height: room.height, barWidth: fieldBox.x, views};
}

// The game point under a point of a view's box (CSS pixels from the box's top-left corner).
export function gamePointIn(view, x, y) {
    return [
        Math.floor(view.source.x + x * view.source.width / view.box.width),
        Math.floor(view.source.y + y * view.source.height / view.box.height),
    ];
}
