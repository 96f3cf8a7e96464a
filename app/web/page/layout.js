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
// played by touch. barWidth, when given: how wide the menu bar may be.
export function arrange(room, screen, areas) {
    const apart = areas && areas.length === 5;
    if (room.height > room.width && apart) {
        return upright(room, areas.map(rectOf));
    }
    let scale = Math.max(Math.min(room.width / screen.width, room.height / screen.height), 0);
    // Whole device pixels per game pixel keep the picture sharp: worth a tenth of the size.
    const ratio = room.ratio || 1;
    const whole = Math.floor(scale * ratio) / ratio;
    if (whole > 0 && whole >= 0.9 * scale) {
        scale = whole;
    }
    if (apart && room.finger && scale < smallestWholeScale) {
        return besideBar(room, areas.map(rectOf));
    }
    const source = {x: 0, y: 0, width: screen.width, height: screen.height};
    const box = {
        x: 0,
        y: 0,
        width: screen.width * scale,
        height: screen.height * scale,
    };
    return {upright: false, width: box.width, height: box.height, views: [{source, box}]};
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

// The panels placed at one scale, as large as the room (x, y, width, height in CSS pixels)
// allows, in two rows or, where that makes them larger (a wide room), in one; in the room's
// middle across and at its top. Their views in the order of the areas.
function placePanels(areas, room) {
    const scaleOf = (panels) => Math.min(room.width / panels.width, room.height / panels.height);
    const inTwo = panelRows(areas, false);
    const inOne = panelRows(areas, true);
    const panels = scaleOf(inOne) > scaleOf(inTwo) ? inOne : inTwo;
    const scale = scaleOf(panels);
    const boxes = new Map();
    const left = room.x + (room.width - panels.width * scale) / 2;
    let y = room.y;
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
    const fieldScale = Math.min(
        room.width / field.width,
        (room.height - 2 * gap - panels.height * smallestPanelScale) / field.height);
    // Right under the menu bar; what room is left under the panels is felt.
    const fieldBox = {
        x: (room.width - field.width * fieldScale) / 2,
        y: 0,
        width: field.width * fieldScale,
        height: field.height * fieldScale,
    };
    const top = fieldBox.height + gap;
    const views = [{source: field, box: fieldBox}].concat(placePanels(
        areas, {x: gap, y: top, width: room.width - 2 * gap, height: room.height - top - gap}));
    // The whole room is the game's, so no other colour shows under it.
    return {upright: true, width: room.width, height: room.height, views};
}

function besideBar(room, areas) {
    const field = areas[0];
    const panels = panelRows(areas, false);
    const bar = room.bar || 0;
    // The field as high as the screen, the menu bar beside it over the panels, where the
    // design has them.
    const fieldScale = Math.min(
        (room.height + bar) / field.height,
        (room.width - 2 * gap - panels.width * smallestPanelScale) / field.width);
    const fieldBox = {
        width: field.width * fieldScale,
        height: field.height * fieldScale,
    };
    fieldBox.x = room.width - fieldBox.width;
    fieldBox.y = Math.max((room.height + bar - fieldBox.height) / 2, 0) - bar;
    const views = [{source: field, box: fieldBox}].concat(placePanels(
        areas, {x: gap, y: gap, width: fieldBox.x - 2 * gap, height: room.height - 2 * gap}));
    return {upright: false, width: room.width, height: room.height, barWidth: fieldBox.x, views};
}

// The game point under a point of a view's box (CSS pixels from the box's top-left corner).
export function gamePointIn(view, x, y) {
    return [
        Math.floor(view.source.x + x * view.source.width / view.box.width),
        Math.floor(view.source.y + y * view.source.height / view.box.height),
    ];
}
