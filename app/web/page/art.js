// The larger pictures for a screen of more pixels: which set the canvas needs, and that set
// fetched and decoded by the browser. A set is one lossless WebP of the game's pictures;
// only the one the screen needs is fetched, and it is not part of the game's module, so a
// screen of one pixel per game pixel fetches nothing more than before.

export const LARGEST = 3;  // the largest set there is

// The file of a set.
export function artFile(scale) {
    return `art-${scale}x.webp`;
}

// How much larger than its art a set may be drawn: more, and the stretch blurs it.
export const LARGEST_STRETCH = 1.1;

// The set that draws the picture sharp where it is shown at shown CSS pixels per game pixel
// (0: not laid out yet, taken as 1): the smallest whose art pixel covers at most
// LARGEST_STRETCH device pixels (a set shrunk by the browser stays sharper than one
// stretched), at most the largest; 1, the pictures built into the game, where a game pixel
// covers little more than one device pixel.
export function artScale(shownScale) {
    const ratio = window.devicePixelRatio || 1;
    const shown = shownScale > 0 ? shownScale : 1;
    // A hair of tolerance, so that a ratio of 2.00001 from a zoom stays 2.
    return Math.min(LARGEST, Math.max(1, Math.ceil((shown * ratio) / LARGEST_STRETCH - 0.001)));
}

// Resolves to the set's pixels, {scale, width, height, pixels} with four bytes a pixel, or
// to null when there is none to fetch or it cannot be had: the game then draws with its
// own pictures.
export function loadArt(scale) {
    if (scale < 2 || typeof fetch !== "function" || typeof createImageBitmap !== "function") {
        return Promise.resolve(null);
    }
    return fetch(artFile(scale))
        .then((response) => {
            if (!response.ok) {
                throw new Error(`${artFile(scale)}: ${response.status}`);
            }
            return response.blob();
        })
        .then(
            (blob) =>
                createImageBitmap(blob, {premultiplyAlpha: "none", colorSpaceConversion: "none"}))
        .then((bitmap) => {
            const canvas = document.createElement("canvas");
            canvas.width = bitmap.width;
            canvas.height = bitmap.height;
            const context = canvas.getContext("2d", {alpha: false, willReadFrequently: true});
            context.drawImage(bitmap, 0, 0);
            const pixels = context.getImageData(0, 0, bitmap.width, bitmap.height).data;
            const set = {scale, width: bitmap.width, height: bitmap.height, pixels};
            bitmap.close();
            return set;
        })
        .catch((error) => {
            console.warn("The sharper pictures cannot be had; the game draws its own:", error);
            return null;
        });
}
