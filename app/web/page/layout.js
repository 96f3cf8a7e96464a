// Where the game's picture goes on a screen of any size. On a wide screen it is shown whole,
// as designed, as large as the room allows. On a tall one (a phone held upright) the field
// takes the screen's width, zoomed to the active field, and the four panels stand under it in
// two rows. Pure arithmetic: the program gives the areas, the page measures the room.

// Room for the panels of a tall screen: at least this many CSS pixels per game pixel, so the
// buttons stay a finger's size.
const smallestPanelScale = 0.85;
const gap = 4;  // CSS pixels between the field and the panels, and between panels

function rectOf(area) {
    return {x: area[0], y: area[1], width: area[2] - area[0], height: area[3] - area[1]};
}

// The views for a room of width x height CSS pixels: each shows the source (game pixels) in
// its box (CSS pixels from the room's top-left corner). The first view is the game's own
// canvas: the whole picture, or on a tall screen the field. screen: the picture's size in
// game pixels; areas: the field's touch area then the four panels, as [left, top, right,
// bottom] in game pixels (none before the program gives them). room.ratio: device pixels
// per CSS pixel.
export function arrange(room, screen, areas) {
    if (room.height > room.width && areas && areas.length === 5) {
        return upright(room, areas.map(rectOf));
    }
    let scale = Math.max(Math.min(room.width / screen.width, room.height / screen.height), 0);
    // Whole device pixels per game pixel keep the picture sharp: worth a tenth of the size.
    const ratio = room.ratio || 1;
    const whole = Math.floor(scale * ratio) / ratio;
    if (whole > 0 && whole >= 0.9 * scale) {
        scale = whole;
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

function upright(room, [field, instructions, moves, time, controls]) {
    // Two rows of two: the instruction beside the buttons it speaks of, the counters under
    // them, each row as high as its higher panel.
    const rows = [[instructions, controls], [moves, time]];
    const spacing = moves.y - (instructions.y + instructions.height);  // the design's own
    const columnWidth = Math.max(instructions.width, moves.width, time.width, controls.width);
    const rowHeights = rows.map((row) => Math.max(...row.map((panel) => panel.height)));
    const panelsWidth = 2 * columnWidth + spacing;
    const panelsHeight = rowHeights[0] + spacing + rowHeights[1];
    const fieldScale = Math.min(
        room.width / field.width,
        (room.height - gap - panelsHeight * smallestPanelScale) / field.height);
    const fieldBox = {
        x: (room.width - field.width * fieldScale) / 2,
        y: 0,
        width: field.width * fieldScale,
        height: field.height * fieldScale,
    };
    const below = room.height - fieldBox.height - gap;
    const panelScale = Math.min((room.width - 2 * gap) / panelsWidth, below / panelsHeight);
    // What room is left goes above and below the whole, so it stands in the middle.
    const height = fieldBox.height + gap + panelsHeight * panelScale;
    fieldBox.y = Math.max((room.height - height) / 2, 0);
    const left = (room.width - panelsWidth * panelScale) / 2;
    const boxes = new Map();
    let y = fieldBox.y + fieldBox.height + gap;
    rows.forEach((row, index) => {
        row.forEach((panel, column) => {
            boxes.set(panel, {
                x: left + column * (columnWidth + spacing) * panelScale,
                y,
                width: panel.width * panelScale,
                height: panel.height * panelScale,
            });
        });
        y += (rowHeights[index] + spacing) * panelScale;
    });
    // The views in the order of the areas.
    const views = [{source: field, box: fieldBox}].concat([instructions, moves, time, controls].map(
        (panel) => ({source: panel, box: boxes.get(panel)})));
    // The whole room is the game's, so no other colour shows under it.
    return {
        upright: true,
        width: room.width,
        height: Math.max(room.height, fieldBox.y + height),
        views
    };
}

// The game point under a point of a view's box (CSS pixels from the box's top-left corner).
export function gamePointIn(view, x, y) {
    return [
        Math.floor(view.source.x + x * view.source.width / view.box.width),
        Math.floor(view.source.y + y * view.source.height / view.box.height),
    ];
}
