#!/usr/bin/python3
"""Draws every picture of Kestrane Zivadorured.

Writes the 21 game bitmaps (24-bit BMP, resources/bitmaps/<resource id>.bmp), the same
pictures drawn two and three times larger (resources/bitmaps/2x/<id>.png, 3x/<id>.png, and each
set in one picture for the web page, resources/bitmaps/art-2x.webp, art-3x.webp), the program
icon (.ico and hicolor PNGs), the About box's hand cursor (.cur) and two review images:
a contact sheet of every picture enlarged and a preview of the whole game screen.

Needs Debian's python3-pil, fonts-dejavu-core and fonts-dejavu-extra (tools/install-deps.sh installs them).
The output is deterministic: running it twice gives the same bytes.

    tools/make_art.py                 # writes into the source tree
    tools/make_art.py --out DIR       # writes DIR/resources/... instead
"""

import argparse
import io
import math
import os
import struct
import sys

from PIL import Image, ImageDraw, ImageFont

# ---------------------------------------------------------------------------------------------
# Palette. Every picture that sits on a panel's dark area uses AREA as its ground, and the
# stick frames use FELT, so no picture ever shows a box around itself.

FELT = (34, 102, 56)  # felt base colour; the tile varies it by a few levels only
FELT_SHADOW = (22, 72, 38)  # cast shadow of a stick on the felt

WOOD = (234, 204, 150)
WOOD_LIGHT = (252, 236, 200)
WOOD_DARK = (182, 142, 90)
WOOD_HOVER = (250, 228, 184)
WOOD_HOVER_LIGHT = (255, 248, 226)
WOOD_HOVER_DARK = (214, 180, 128)

HEAD_RED = (196, 30, 26)
HEAD_RED_LIGHT = (240, 110, 90)
HEAD_RED_DARK = (120, 14, 12)
HEAD_PALE_RED = (246, 142, 134)
HEAD_PALE_RED_LIGHT = (255, 212, 204)
HEAD_PALE_RED_DARK = (206, 96, 90)
HEAD_ORANGE = (250, 150, 20)
HEAD_ORANGE_LIGHT = (255, 214, 110)
HEAD_ORANGE_DARK = (184, 90, 8)
HEAD_PALE_ORANGE = (255, 200, 120)
HEAD_PALE_ORANGE_LIGHT = (255, 238, 196)
HEAD_PALE_ORANGE_DARK = (224, 158, 80)
HOVER_GLOW = (120, 170, 100)  # soft halo around a highlighted stick
HOVER_GLOW_INNER = (226, 244, 176)

OUTLINE_EMPTY = (22, 78, 42)  # quiet: a slot that can take a stick
OUTLINE_EMPTY_HOVER = (206, 236, 196)
OUTLINE_REMOVED = (186, 112, 46)
OUTLINE_REMOVED_HOVER = (206, 248, 56)
FILL_EMPTY_HOVER = (44, 118, 68)

PANEL_RED = (126, 30, 28)
PANEL_RED_LIGHT = (176, 66, 54)
PANEL_RED_DARK = (76, 14, 14)
PANEL_EDGE = (40, 8, 8)
TITLE_TEXT = (250, 224, 150)
TITLE_SHADOW = (60, 10, 10)

AREA = (34, 16, 16)  # the dark area of every panel
AREA_FRAME_DARK = (22, 8, 8)
AREA_FRAME_LIGHT = (196, 150, 84)

TEXT = (242, 230, 206)  # words on the dark area
VERB = (255, 204, 84)
SMALL_DIGIT = (255, 210, 110)
LARGE_DIGIT_TOP = (255, 214, 96)
LARGE_DIGIT_BOTTOM = (244, 160, 40)

BUTTON_PLATE = (78, 50, 38)
BUTTON_PLATE_HOVER = (110, 72, 50)
BUTTON_LIGHT = (140, 100, 74)
BUTTON_DARK = (44, 26, 20)
BUTTON_RIM_HOVER = (232, 192, 100)
CAPTION = (250, 236, 200)
ICON_OUTLINE = (24, 12, 10)
ICON_RESTART = (255, 206, 80)
ICON_FLAG = (246, 244, 232)
ICON_POLE = (190, 150, 100)
ICON_QUIT = (232, 64, 52)
ICON_NEXT = (120, 214, 92)

WIN_TOP = (255, 244, 140)
WIN_BOTTOM = (250, 160, 30)
WIN_OUTLINE = (90, 30, 8)
WIN_STAR = (255, 236, 150)

FONT_DIR = "/usr/share/fonts/truetype/dejavu"
SANS = os.path.join(FONT_DIR, "DejaVuSans.ttf")
SANS_BOLD = os.path.join(FONT_DIR, "DejaVuSans-Bold.ttf")
SANS_CONDENSED_BOLD = os.path.join(FONT_DIR, "DejaVuSansCondensed-Bold.ttf")

SUPERSAMPLE = 4  # shapes are drawn this much larger and averaged down for smooth edges

# Screen layout (positions of every picture on the 690 x 500 screen), used by the preview.
BOARD_POS = (195, 5)
PANEL_POS = {111: (10, 5), 112: (10, 175), 109: (10, 274), 115: (10, 373)}
LEFT_BUTTON_POS = (24, 413)
RIGHT_BUTTON_POS = (86, 413)
START_TEXT_POS = (32, 60)
WIN_BANNER_POS = (35, 80)
VERB_POS = {120: (72, 60), 122: (68, 60), 123: (59, 60)}
MATCHES_COUNTER_POS = (45, 77)
WORD_MATCHES_POS = (66, 77)
WORD_TO_FORM_POS = (60, 94)
SQUARES_COUNTER_POS = (45, 111)
WORD_SQUARES_POS = (66, 111)
MOVES_COUNTER_POS = (72, 225)
CLOCK_POS = (30, 324)

# Panel geometry: a title strip on top, the framed dark area below it.
PANEL_WIDTH = 152
AREA_LEFT = 7
AREA_TOP = 29
AREA_RIGHT_MARGIN = 7  # the dark area ends this far from the right edge
AREA_BOTTOM_MARGIN = 7


def font(path, size):
    return ImageFont.truetype(path, size)


# ---------------------------------------------------------------------------------------------
# Drawing helpers


def supersampled(size, ground, paint, scale=1):
    """Runs paint(draw, s) on a canvas SUPERSAMPLE times larger, then averages it down to
    size drawn scale times larger.

    paint works in picture pixels through s(): s(v) turns a coordinate into canvas units.
    The box filter averages whole blocks only, so a block of pure ground stays exactly ground.
    """
    k = SUPERSAMPLE * scale
    big = Image.new("RGB", (size[0] * k, size[1] * k), ground)
    draw = ImageDraw.Draw(big)

    def s(v):
        return round(v * k)

    paint(draw, s)
    return big.resize((size[0] * scale, size[1] * scale), Image.BOX)


def box(s, x0, y0, x1, y1):
    """Canvas rectangle from picture-pixel edges (x1, y1 exclusive)."""
    return [s(x0), s(y0), s(x1) - 1, s(y1) - 1]


def text_ink(text, fnt):
    """The text rendered as an anti-aliased mask cropped to its ink, with the ink's offset
    from the pen position on the baseline."""
    left, top, right, bottom = fnt.getbbox(text, anchor="ls")
    mask = Image.new("L", (right - left + 2, bottom - top + 2), 0)
    ImageDraw.Draw(mask).text((1 - left, 1 - top), text, font=fnt, fill=255, anchor="ls")
    ink = mask.getbbox()
    return mask.crop(ink), ink[0] + left - 1, ink[1] + top - 1


def put_text(img, text, fnt, colour, x, baseline, shadow=None, scale=1):
    """Draws text with its pen at (x, baseline); returns the ink box. The shadow falls one
    picture pixel (scale pixels) down and to the right."""
    mask, dx, dy = text_ink(text, fnt)
    if shadow is not None:
        img.paste(shadow, (x + dx + scale, baseline + dy + scale), mask)
    img.paste(colour, (x + dx, baseline + dy), mask)
    return (x + dx, baseline + dy, x + dx + mask.width, baseline + dy + mask.height)


def ink_width(text, fnt):
    return text_ink(text, fnt)[0].width


def put_text_centred(img, text, fnt, colour, centre_x, baseline, shadow=None, scale=1):
    mask, dx, _ = text_ink(text, fnt)
    return put_text(img, text, fnt, colour, centre_x - mask.width // 2 - dx, baseline, shadow, scale)


def vertical_gradient(size, top, bottom):
    grad = Image.new("RGB", size)
    for y in range(size[1]):
        t = y / max(1, size[1] - 1)
        c = tuple(round(a + (b - a) * t) for a, b in zip(top, bottom))
        grad.paste(c, (0, y, size[0], y + 1))
    return grad


def frames_row(frames):
    out = Image.new("RGB", (sum(f.width for f in frames), frames[0].height))
    x = 0
    for f in frames:
        out.paste(f, (x, 0))
        x += f.width
    return out


def frames_column(frames):
    out = Image.new("RGB", (frames[0].width, sum(f.height for f in frames)))
    y = 0
    for f in frames:
        out.paste(f, (0, y))
        y += f.height
    return out


def shade(colour, factor):
    return tuple(max(0, min(255, round(c * factor))) for c in colour)


# ---------------------------------------------------------------------------------------------
# Felt


def felt(scale=1):
    """102: a 100 x 100 green felt tile. Per-pixel noise of a few levels plus a faint weave of
    periodic ripples; everything repeats with period 100, so the tile has no seam. Drawn
    larger, each grain of the weave covers scale x scale pixels: the cloth looks the same at
    every size."""
    size = 100
    img = Image.new("RGB", (size, size))
    state = 0x2F6E2B1
    px = img.load()
    for y in range(size):
        for x in range(size):
            # xorshift32: a fixed sequence, so the tile is the same on every run
            state ^= (state << 13) & 0xFFFFFFFF
            state ^= state >> 17
            state ^= (state << 5) & 0xFFFFFFFF
            noise = (state % 5) - 2  # -2 .. 2
            weave = 1 if (x * 3 + y * 7) % 10 == 0 else 0
            v = noise + weave
            px[x, y] = (FELT[0] + v, FELT[1] + v, FELT[2] + v)
    return img.resize((size * scale, size * scale), Image.NEAREST)


# ---------------------------------------------------------------------------------------------
# Matchsticks

STICK_LENGTH, STICK_THICKNESS = 80, 15
BODY_TOP, BODY_BOTTOM = 4.5, 10.5
BODY_LEFT, BODY_RIGHT = 12.0, 77.0
HEAD_BOX = (2.5, 2.5, 19.0, 12.5)


def stick_silhouette(draw, s, colour, grow=0.0):
    x0, y0, x1, y1 = HEAD_BOX
    draw.rounded_rectangle(
        box(s, BODY_LEFT - grow, BODY_TOP - grow, BODY_RIGHT + grow, BODY_BOTTOM + grow),
        radius=s(1.5 + grow),
        fill=colour,
    )
    draw.ellipse(box(s, x0 - grow, y0 - grow, x1 + grow, y1 + grow), fill=colour)


def stick_frame(head, wood, hover, scale):
    """A wooden match lying on the felt, head on the left, lit from the top left."""
    head_mid, head_light, head_dark = head
    wood_mid, wood_light, wood_dark = wood

    def paint(draw, s):
        if hover:
            stick_silhouette(draw, s, HOVER_GLOW, grow=1.5)
            stick_silhouette(draw, s, HOVER_GLOW_INNER, grow=0.75)
        # cast shadow
        draw.rounded_rectangle(
            box(s, BODY_LEFT + 1, BODY_TOP + 1.5, BODY_RIGHT + 1, BODY_BOTTOM + 1.5),
            radius=s(1.5),
            fill=FELT_SHADOW,
        )
        x0, y0, x1, y1 = HEAD_BOX
        draw.ellipse(box(s, x0 + 1, y0 + 1.5, x1 + 1, y1 + 1.5), fill=FELT_SHADOW)
        # the wooden body: dark underside, mid tone, light top edge
        draw.rounded_rectangle(
            box(s, BODY_LEFT, BODY_TOP, BODY_RIGHT, BODY_BOTTOM), radius=s(1.5), fill=wood_dark
        )
        draw.rounded_rectangle(
            box(s, BODY_LEFT, BODY_TOP, BODY_RIGHT - 0.5, BODY_BOTTOM - 1.5),
            radius=s(1.2),
            fill=wood_mid,
        )
        draw.rectangle(box(s, BODY_LEFT + 2, BODY_TOP + 0.5, BODY_RIGHT - 2, BODY_TOP + 1.5), fill=wood_light)
        # a faint grain line
        draw.rectangle(box(s, BODY_LEFT + 10, BODY_TOP + 3.0, BODY_RIGHT - 12, BODY_TOP + 3.4), fill=wood_dark)
        # the head: dark rim, body colour, highlight towards the light
        draw.ellipse(box(s, x0, y0, x1, y1), fill=head_dark)
        draw.ellipse(box(s, x0 + 0.3, y0 + 0.2, x1 - 0.6, y1 - 1.0), fill=head_mid)
        draw.ellipse(box(s, x0 + 3, y0 + 1.6, x0 + 10, y0 + 4.0), fill=head_light)

    return supersampled((STICK_LENGTH, STICK_THICKNESS), FELT, paint, scale)


def outline_frame(line, width, scale, fill=FELT):
    """The outline of a match: an empty slot or a match that has been taken away."""

    def paint(draw, s):
        stick_silhouette(draw, s, line)
        x0, y0, x1, y1 = HEAD_BOX
        w = width
        draw.rounded_rectangle(
            box(s, BODY_LEFT + w, BODY_TOP + w, BODY_RIGHT - w, BODY_BOTTOM - w),
            radius=s(max(0.0, 1.5 - w)),
            fill=fill,
        )
        draw.ellipse(box(s, x0 + w, y0 + w, x1 - w, y1 - w), fill=fill)

    return supersampled((STICK_LENGTH, STICK_THICKNESS), FELT, paint, scale)


def stick_frames(scale):
    """The eight frames of a horizontal stick, in StickFrame order."""
    wood = (WOOD, WOOD_LIGHT, WOOD_DARK)
    wood_hover = (WOOD_HOVER, WOOD_HOVER_LIGHT, WOOD_HOVER_DARK)
    return [
        stick_frame((HEAD_RED, HEAD_RED_LIGHT, HEAD_RED_DARK), wood, False, scale),
        stick_frame((HEAD_PALE_RED, HEAD_PALE_RED_LIGHT, HEAD_PALE_RED_DARK), wood_hover, True, scale),
        stick_frame((HEAD_ORANGE, HEAD_ORANGE_LIGHT, HEAD_ORANGE_DARK), wood, False, scale),
        stick_frame((HEAD_PALE_ORANGE, HEAD_PALE_ORANGE_LIGHT, HEAD_PALE_ORANGE_DARK), wood_hover, True, scale),
        outline_frame(OUTLINE_EMPTY, 1.0, scale),
        outline_frame(OUTLINE_EMPTY_HOVER, 1.25, scale, FILL_EMPTY_HOVER),
        outline_frame(OUTLINE_REMOVED, 1.25, scale),
        outline_frame(OUTLINE_REMOVED_HOVER, 1.5, scale),
    ]


def horizontal_sticks(scale=1):
    """105: eight 80 x 15 frames one above the other."""
    return frames_column(stick_frames(scale))


def vertical_sticks(scale=1):
    """104: the same drawing mirrored along the diagonal (head on top, light still from the
    top left), eight 15 x 80 frames side by side."""
    return frames_row([f.transpose(Image.TRANSPOSE) for f in stick_frames(scale)])


# ---------------------------------------------------------------------------------------------
# Panels


def area_box(height):
    """The dark area of a panel of the given height: (left, top, right, bottom), exclusive."""
    return (AREA_LEFT, AREA_TOP, PANEL_WIDTH - AREA_RIGHT_MARGIN, height - AREA_BOTTOM_MARGIN)


def pixel_box(x0, y0, x1, y1, scale):
    """The canvas rectangle of picture pixels x0..x1, y0..y1 (inclusive), drawn scale times
    larger, for PIL's inclusive rectangles."""
    return [x0 * scale, y0 * scale, (x1 + 1) * scale - 1, (y1 + 1) * scale - 1]


def panel(title, height, scale):
    """A dark red panel: bevelled edge, the title in the strip on top, a framed dark area.
    Drawn larger, every rule is scale pixels thick and the title's font scale times larger."""
    w, h = PANEL_WIDTH, height
    img = Image.new("RGB", (w * scale, h * scale), PANEL_RED)
    d = ImageDraw.Draw(img)

    def rule(x0, y0, x1, y1, colour):
        d.rectangle(pixel_box(x0, y0, x1, y1, scale), fill=colour)

    d.rectangle(pixel_box(0, 0, w - 1, h - 1, scale), outline=PANEL_EDGE, width=scale)
    rule(1, 1, w - 2, 1, PANEL_RED_LIGHT)
    rule(1, 1, 1, h - 2, PANEL_RED_LIGHT)
    rule(2, h - 2, w - 2, h - 2, PANEL_RED_DARK)
    rule(w - 2, 2, w - 2, h - 2, PANEL_RED_DARK)
    # title strip
    put_text_centred(img, title, font(SANS_BOLD, 13 * scale), TITLE_TEXT, w * scale // 2, 20 * scale,
                     shadow=TITLE_SHADOW, scale=scale)
    # the framed dark area: a gold rule, then a recessed edge
    left, top, right, bottom = area_box(h)
    d.rectangle(pixel_box(left - 2, top - 2, right + 1, bottom + 1, scale), outline=AREA_FRAME_LIGHT, width=scale)
    d.rectangle(pixel_box(left - 1, top - 1, right, bottom, scale), outline=AREA_FRAME_DARK, width=scale)
    rule(left, top, right - 1, bottom - 1, AREA)
    return img


def instructions_panel(scale=1):
    """111"""
    return panel("Instructions", 165, scale)


def moves_panel(scale=1):
    """112"""
    return panel("Moves", 94, scale)


def time_panel(scale=1):
    """109"""
    return panel("Time", 94, scale)


def controls_panel(scale=1):
    """115"""
    return panel("Controls", 116, scale)


# ---------------------------------------------------------------------------------------------
# Buttons


def icon_restart(draw, s, cx, cy, r):
    """A curved arrow going round clockwise, the arrowhead at its end."""
    def arc_points(radius, a0, a1, n=40):
        return [
            (s(cx + radius * math.cos(math.radians(a))), s(cy + radius * math.sin(math.radians(a))))
            for a in [a0 + (a1 - a0) * i / n for i in range(n + 1)]
        ]

    thick = r * 0.34
    outer, inner = r, r - thick
    a0, a1 = -60, 220
    band = arc_points(outer, a0, a1) + arc_points(inner, a1, a0)
    # arrowhead at the start of the arc (angle a0), pointing clockwise
    mid = (outer + inner) / 2
    ang = math.radians(a0)
    tip_dir = (-math.sin(ang), math.cos(ang))  # tangent, counter-clockwise
    tip_dir = (-tip_dir[0], -tip_dir[1])  # clockwise is the other way round in screen space
    base = (cx + mid * math.cos(ang), cy + mid * math.sin(ang))
    normal = (math.cos(ang), math.sin(ang))
    head_half = thick * 1.25
    head_len = thick * 1.7
    head = [
        (base[0] + normal[0] * head_half, base[1] + normal[1] * head_half),
        (base[0] - normal[0] * head_half, base[1] - normal[1] * head_half),
        (base[0] - tip_dir[0] * head_len, base[1] - tip_dir[1] * head_len),
    ]
    head = [(s(x), s(y)) for x, y in head]
    o = s(1.2)
    draw.polygon(band, fill=ICON_OUTLINE, outline=ICON_OUTLINE, width=o)
    draw.polygon(head, fill=ICON_OUTLINE, outline=ICON_OUTLINE, width=o)
    draw.polygon(band, fill=ICON_RESTART)
    draw.polygon(head, fill=ICON_RESTART)


def icon_flag(draw, s, cx, cy, r):
    """A white flag on a pole: giving up."""
    o = 1.1
    pole = (cx - r * 0.7, cy - r, cx - r * 0.7 + r * 0.16, cy + r)
    cloth = [
        (cx - r * 0.55, cy - r * 0.95),
        (cx - r * 0.05, cy - r * 1.05),
        (cx + r * 0.45, cy - r * 0.8),
        (cx + r * 0.95, cy - r * 0.9),
        (cx + r * 0.95, cy + r * 0.05),
        (cx + r * 0.45, cy + r * 0.15),
        (cx - r * 0.05, cy - r * 0.1),
        (cx - r * 0.55, cy + 0.0 * r),
    ]
    draw.rectangle(box(s, pole[0] - o, pole[1] - o, pole[2] + o, pole[3] + o), fill=ICON_OUTLINE)
    draw.polygon([(s(x), s(y)) for x, y in cloth], fill=ICON_OUTLINE, outline=ICON_OUTLINE, width=s(o * 2))
    draw.rectangle(box(s, *pole), fill=ICON_POLE)
    draw.polygon([(s(x), s(y)) for x, y in cloth], fill=ICON_FLAG)


def icon_cross(draw, s, cx, cy, r):
    """A bold diagonal cross: quit."""
    for width, colour in ((r * 0.5 + 2.4, ICON_OUTLINE), (r * 0.5, ICON_QUIT)):
        for (x0, y0, x1, y1) in ((-1, -1, 1, 1), (-1, 1, 1, -1)):
            k = r * 0.78
            draw.line(
                [(s(cx + x0 * k), s(cy + y0 * k)), (s(cx + x1 * k), s(cy + y1 * k))],
                fill=colour,
                width=s(width),
            )


def arrow_polygon(cx, cy, r):
    """A fat right arrow: shaft and head."""
    shaft = r * 0.32
    return [
        (cx - r, cy - shaft),
        (cx + r * 0.05, cy - shaft),
        (cx + r * 0.05, cy - r * 0.78),
        (cx + r, cy),
        (cx + r * 0.05, cy + r * 0.78),
        (cx + r * 0.05, cy + shaft),
        (cx - r, cy + shaft),
    ]


def icon_arrow(draw, s, cx, cy, r):
    """The right arrow of the Next button."""
    pts = [(s(x), s(y)) for x, y in arrow_polygon(cx, cy, r)]
    draw.polygon(pts, fill=ICON_OUTLINE, outline=ICON_OUTLINE, width=s(2.2))
    draw.polygon(pts, fill=ICON_NEXT)


BUTTON_W, BUTTON_H = 62, 52


def button_frame(icon, caption, hover, scale):
    """One 62 x 52 frame: a wooden plate with the icon, and the caption when hovered."""
    caption_font = font(SANS_CONDENSED_BOLD, 11 * scale)

    def paint(draw, s):
        x0, y0, x1, y1 = 3, 2, BUTTON_W - 3, BUTTON_H - 2
        radius = s(6)
        if hover:
            draw.rounded_rectangle(box(s, x0 - 1, y0 - 1, x1 + 1, y1 + 1), radius=s(7), fill=BUTTON_RIM_HOVER)
        draw.rounded_rectangle(box(s, x0, y0, x1, y1), radius=radius, fill=BUTTON_DARK)
        draw.rounded_rectangle(box(s, x0, y0, x1 - 1.5, y1 - 1.5), radius=radius, fill=BUTTON_LIGHT)
        draw.rounded_rectangle(
            box(s, x0 + 1.5, y0 + 1.5, x1 - 1.5, y1 - 1.5),
            radius=radius,
            fill=BUTTON_PLATE_HOVER if hover else BUTTON_PLATE,
        )
        if hover:
            icon(draw, s, BUTTON_W / 2, 19, 10)
        else:
            icon(draw, s, BUTTON_W / 2, BUTTON_H / 2, 13)

    img = supersampled((BUTTON_W, BUTTON_H), AREA, paint, scale)
    if hover:
        put_text_centred(img, caption, caption_font, CAPTION, BUTTON_W * scale // 2, 43 * scale,
                         shadow=BUTTON_DARK, scale=scale)
    return img


def button(icon, caption, scale):
    return frames_row([button_frame(icon, caption, False, scale), button_frame(icon, caption, True, scale)])


def restart_button(scale=1):
    """116"""
    return button(icon_restart, "Restart", scale)


def give_up_button(scale=1):
    """110"""
    return button(icon_flag, "Give Up", scale)


def quit_button(scale=1):
    """114"""
    return button(icon_cross, "Quit", scale)


def next_button(scale=1):
    """113"""
    return button(icon_arrow, "Next", scale)


# ---------------------------------------------------------------------------------------------
# Words and banners


WORD_FONT_SIZE = 10
VERB_FONT_SIZE = 11


def word(text, size, scale, align="centre", colour=TEXT, font_size=WORD_FONT_SIZE, baseline=9):
    """A word picture: anti-aliased text on the dark area's ground, with a pixel of margin.
    The baseline sits where the small digits end, so a number and its word line up."""
    img = Image.new("RGB", (size[0] * scale, size[1] * scale), AREA)
    fnt = font(SANS_BOLD, font_size * scale)
    if align == "left":
        mask, dx, _ = text_ink(text, fnt)
        put_text(img, text, fnt, colour, scale - dx, baseline * scale)
    else:
        put_text_centred(img, text, fnt, colour, size[0] * scale // 2, baseline * scale)
    return img


def word_add(scale=1):
    """120"""
    return word("Add", (27, 12), scale, colour=VERB, font_size=VERB_FONT_SIZE, baseline=10)


def word_move(scale=1):
    """122"""
    return word("Move", (35, 12), scale, colour=VERB, font_size=VERB_FONT_SIZE, baseline=10)


def word_remove(scale=1):
    """123"""
    return word("Remove", (54, 12), scale, colour=VERB, font_size=VERB_FONT_SIZE, baseline=10)


def word_matches(scale=1):
    """121: left-aligned, it follows the number of matches."""
    return word("matches", (60, 12), scale, align="left")


def word_to_form(scale=1):
    """125"""
    return word("to form", (51, 12), scale)


def word_squares(scale=1):
    """124: left-aligned, it follows the number of squares."""
    return word("squares.", (60, 12), scale, align="left")


def star(draw, s, cx, cy, r, colour):
    pts = []
    for i in range(8):
        a = math.radians(i * 45 - 90)
        rr = r if i % 2 == 0 else r * 0.3
        pts.append((s(cx + rr * math.cos(a)), s(cy + rr * math.sin(a))))
    draw.polygon(pts, fill=colour)


def you_win(scale=1):
    """129: YOU WIN! in bold gold with a dark outline, between two sparkles."""
    w, h = 101, 15
    text = "YOU WIN!"
    fnt = font(SANS_BOLD, 13 * scale)
    mask, dx, dy = text_ink(text, fnt)
    tx = (w * scale - mask.width) // 2
    ty = (h * scale - mask.height) // 2

    def paint(draw, s):
        for cx in (7, w - 8):
            star(draw, s, cx, 7.5, 6, WIN_STAR)
            star(draw, s, cx, 7.5, 2.2, (255, 255, 255))

    img = supersampled((w, h), AREA, paint, scale)
    # a one-pixel outline (scale pixels drawn larger): the mask grown by that much in every
    # direction
    grow = scale
    outline = Image.new("L", (mask.width + 2 * grow, mask.height + 2 * grow), 0)
    for ox in range(2 * grow + 1):
        for oy in range(2 * grow + 1):
            outline.paste(255, (ox, oy), mask)
    img.paste(WIN_OUTLINE, (tx - grow, ty - grow), outline)
    img.paste(vertical_gradient(mask.size, WIN_TOP, WIN_BOTTOM), (tx, ty), mask)
    return img


def start_text(scale=1):
    """118: "Start the game by pressing the [Next arrow] Button." in four short lines."""
    w, h = 108, 72
    fnt = font(SANS_BOLD, 11 * scale)

    def paint(draw, s):
        # a small copy of the Next button's arrow, on a little plate like the button's
        cx, cy = 54, 47
        draw.rounded_rectangle(box(s, cx - 13, cy - 9, cx + 13, cy + 9), radius=s(4), fill=BUTTON_DARK)
        draw.rounded_rectangle(box(s, cx - 13, cy - 9, cx + 12, cy + 8), radius=s(4), fill=BUTTON_LIGHT)
        draw.rounded_rectangle(box(s, cx - 12, cy - 8, cx + 12, cy + 8), radius=s(4), fill=BUTTON_PLATE)
        icon_arrow(draw, s, cx, cy, 8)

    img = supersampled((w, h), AREA, paint, scale)
    centre = w * scale // 2
    put_text_centred(img, "Start the game", fnt, TEXT, centre, 12 * scale)
    put_text_centred(img, "by pressing the", fnt, TEXT, centre, 27 * scale)
    put_text_centred(img, "Button.", fnt, TEXT, centre, 68 * scale)
    return img


# ---------------------------------------------------------------------------------------------
# Digits: pixel patterns, 5 x 7, frames 0-9, minus, colon. The small digits show them as they
# are; the large ones double them with Scale2x, which keeps the pixels crisp but rounds the
# diagonals.

GLYPHS = [
    [".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],  # 0
    ["..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."],  # 1
    [".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"],  # 2
    ["#####", "...#.", "..#..", "...#.", "....#", "#...#", ".###."],  # 3
    ["...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."],  # 4
    ["#####", "#....", "####.", "....#", "....#", "#...#", ".###."],  # 5
    ["..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###."],  # 6
    ["#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."],  # 7
    [".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."],  # 8
    [".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##.."],  # 9
    [".....", ".....", ".....", "#####", ".....", ".....", "....."],  # minus
    [".....", ".....", "..#..", ".....", "..#..", ".....", "....."],  # colon
]


def scale2x(rows):
    """Scale2x (EPX): doubles a pixel pattern, rounding its diagonal steps."""
    h, w = len(rows), len(rows[0])

    def at(x, y):
        if 0 <= x < w and 0 <= y < h:
            return rows[y][x]
        return "."

    out = [[""] * (2 * w) for _ in range(2 * h)]
    for y in range(h):
        for x in range(w):
            p = at(x, y)
            a, b, c, d = at(x, y - 1), at(x + 1, y), at(x - 1, y), at(x, y + 1)
            e0 = c if (c == a and c != d and a != b) else p
            e1 = b if (a == b and a != c and b != d) else p
            e2 = c if (d == c and d != b and c != a) else p
            e3 = b if (b == d and b != a and d != c) else p
            out[2 * y][2 * x], out[2 * y][2 * x + 1] = e0, e1
            out[2 * y + 1][2 * x], out[2 * y + 1][2 * x + 1] = e2, e3
    return ["".join(r) for r in out]


def digit_sheet(frame_size, origin, pattern_of, colour_of_row):
    fw, fh = frame_size
    img = Image.new("RGB", (fw * 6, fh * 2), AREA)
    px = img.load()
    for f, glyph in enumerate(GLYPHS):
        pattern = pattern_of(glyph)
        fx, fy = (f % 6) * fw, (f // 6) * fh
        for y, row in enumerate(pattern):
            for x, c in enumerate(row):
                if c == "#":
                    px[fx + origin[0] + x, fy + origin[1] + y] = colour_of_row(y, len(pattern))
    return img


def embolden(rows):
    """Thickens the vertical strokes of a pattern by one pixel to the right, like the bold
    words beside the small digits."""
    out = []
    for row in rows:
        padded = "." + row
        out.append("".join("#" if "#" in padded[x : x + 2] else "." for x in range(len(row) + 1)))
    return out


def pixel_art(img, scale):
    """A picture made of whole pixels, drawn larger: each pixel becomes a scale x scale block,
    so the digits keep their crisp look at every size."""
    return img.resize((img.width * scale, img.height * scale), Image.NEAREST)


def small_digits(scale=1):
    """119: 8 x 10 frames, the emboldened 6 x 7 pattern ending on the row where the words'
    baseline is."""
    return pixel_art(digit_sheet((8, 10), (1, 2), embolden, lambda y, n: SMALL_DIGIT), scale)


def large_digits(scale=1):
    """117: 14 x 16 frames, the pattern doubled to 10 x 14, brighter at the top."""

    def colour(y, n):
        t = y / (n - 1)
        return tuple(round(a + (b - a) * t) for a, b in zip(LARGE_DIGIT_TOP, LARGE_DIGIT_BOTTOM))

    return pixel_art(digit_sheet((14, 16), (2, 1), scale2x, colour), scale)


# ---------------------------------------------------------------------------------------------
# The program icon and the hand cursor


def icon_image(n):
    """A square of four matches on a felt tile with rounded corners, n x n, RGBA."""
    k = 8
    big = Image.new("RGBA", (n * k, n * k), (0, 0, 0, 0))
    d = ImageDraw.Draw(big)

    def s(v):
        return round(v * n * k / 48)

    d.rounded_rectangle([s(1), s(1), s(47) - 1, s(47) - 1], radius=s(8), fill=(20, 60, 32, 255))
    d.rounded_rectangle([s(2), s(2), s(46) - 1, s(46) - 1], radius=s(7), fill=FELT + (255,))
    thick = max(3.0, 5.0 * 16 / n) if n <= 16 else (4.0 if n <= 32 else 3.6)
    head = thick * 1.6
    lo, hi = 10, 38
    # a pinwheel: each stick's head at a different corner, each corner holding one head
    sticks = [
        ((lo + 3, lo), (hi - 4, lo)),  # top, head on the left
        ((hi, lo + 3), (hi, hi - 4)),  # right, head on top
        ((hi - 3, hi), (lo + 4, hi)),  # bottom, head on the right
        ((lo, hi - 3), (lo, lo + 4)),  # left, head at the bottom
    ]
    for (x0, y0), (x1, y1) in sticks:
        sh = 0.9
        d.line([(s(x0 + sh), s(y0 + sh)), (s(x1 + sh), s(y1 + sh))], fill=FELT_SHADOW + (255,), width=s(thick))
        d.line([(s(x0), s(y0)), (s(x1), s(y1))], fill=WOOD + (255,), width=s(thick))
        d.ellipse(
            [s(x0 - head / 2), s(y0 - head / 2), s(x0 + head / 2), s(y0 + head / 2)],
            fill=HEAD_RED + (255,),
        )
        if n >= 32:
            hl = head * 0.22
            d.ellipse(
                [s(x0 - hl * 1.6), s(y0 - hl * 1.6), s(x0 - hl * 0.2), s(y0 - hl * 0.2)],
                fill=HEAD_RED_LIGHT + (255,),
            )
    return big.resize((n, n), Image.BOX)


def maskable_icon(n):
    """The icon for a launcher that cuts its own shape: felt to every edge, the tile inside
    the circle of 80 % of the size that every shape keeps."""
    img = Image.new("RGBA", (n, n), FELT + (255,))
    inner = round(n * 0.56)
    tile = icon_image(inner)
    img.alpha_composite(tile, ((n - inner) // 2, (n - inner) // 2))
    return img


def png_bytes(img):
    out = io.BytesIO()
    img.save(out, "PNG", optimize=False, compress_level=9)
    return out.getvalue()


def write_ico_or_cur(path, images, hotspot=None):
    """Writes an .ico (hotspot None) or a .cur with 32-bit BGRA images and their AND masks.
    Images of 256 pixels go in as PNG, the form the system expects at that size: a 256 x 256
    bitmap with its mask would take over 270 kB."""
    entries, blobs = [], []
    for img in images:
        w, h = img.size
        if w >= 256:
            blobs.append(png_bytes(img))
            entries.append((w, h))
            continue
        header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, 0, 0, 0, 0, 0)
        px = img.load()
        xor = bytearray()
        for y in range(h - 1, -1, -1):
            for x in range(w):
                r, g, b, a = px[x, y]
                xor += bytes((b, g, r, a))
        stride = ((w + 31) // 32) * 4
        mask = bytearray()
        for y in range(h - 1, -1, -1):
            row = bytearray(stride)
            for x in range(w):
                if px[x, y][3] == 0:
                    row[x // 8] |= 0x80 >> (x % 8)
            mask += row
        blobs.append(header + bytes(xor) + bytes(mask))
        entries.append((w, h))
    kind = 1 if hotspot is None else 2
    out = struct.pack("<HHH", 0, kind, len(images))
    offset = 6 + 16 * len(images)
    for (w, h), blob in zip(entries, blobs):
        if hotspot is None:
            planes, bits = 1, 32
        else:
            planes, bits = hotspot
        out += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, planes, bits, len(blob), offset)
        offset += len(blob)
    for blob in blobs:
        out += blob
    with open(path, "wb") as f:
        f.write(out)


# The pointing hand: X outline, o fill, blank transparent. The fingertip is the hotspot.
HAND = [
    "     XX          ",
    "    XooX         ",
    "    XooX         ",
    "    XooX         ",
    "    XooX         ",
    "    XooXXX       ",
    "    XooXooXXX    ",
    "    XooXooXooXX  ",
    "    XooXooXooXoX ",
    " XX XooooooooXooX",
    "XooXXoooooooooooX",
    "XoooXoooooooooooX",
    " XooXoooooooooooX",
    "  XooooooooooooX ",
    "  XooooooooooooX ",
    "   XoooooooooooX ",
    "   XooooooooooX  ",
    "    XoooooooooX  ",
    "    XoooooooooX  ",
    "     XoooooooX   ",
    "     XoooooooX   ",
    "     XXXXXXXXX   ",
]
HAND_HOTSPOT = (5, 0)
HAND_OFFSET = (4, 1)  # where the pattern's top-left sits in the 32 x 32 cursor


def hand_cursor_image():
    img = Image.new("RGBA", (32, 32), (0, 0, 0, 0))
    px = img.load()
    for y, row in enumerate(HAND):
        for x, c in enumerate(row):
            if c == "X":
                px[HAND_OFFSET[0] + x, HAND_OFFSET[1] + y] = (0, 0, 0, 255)
            elif c == "o":
                px[HAND_OFFSET[0] + x, HAND_OFFSET[1] + y] = (255, 255, 255, 255)
    return img


def hand_hotspot():
    return (HAND_OFFSET[0] + HAND_HOTSPOT[0], HAND_OFFSET[1] + HAND_HOTSPOT[1])


# ---------------------------------------------------------------------------------------------
# Review images


BITMAPS = [
    (102, "felt", felt),
    (105, "horizontal sticks", horizontal_sticks),
    (104, "vertical sticks", vertical_sticks),
    (111, "Instructions panel", instructions_panel),
    (112, "Moves panel", moves_panel),
    (109, "Time panel", time_panel),
    (115, "Controls panel", controls_panel),
    (116, "Restart", restart_button),
    (110, "Give Up", give_up_button),
    (114, "Quit", quit_button),
    (113, "Next", next_button),
    (118, "start text", start_text),
    (129, "YOU WIN!", you_win),
    (120, "Add", word_add),
    (122, "Move", word_move),
    (123, "Remove", word_remove),
    (121, "matches", word_matches),
    (125, "to form", word_to_form),
    (124, "squares.", word_squares),
    (119, "small digits", small_digits),
    (117, "large digits", large_digits),
]


# The sizes, beyond the design's, every picture is also drawn at.
LARGER_SCALES = (2, 3)


def atlas(pictures):
    """One set of pictures in a single image for the web page, which fetches only the set
    the screen needs: the pictures one below the other in the order of BITMAPS (the game's
    image table), at the left edge, as wide as the widest. Lossless WebP keeps a set under
    a third of its size as PNGs."""
    out = Image.new("RGB", (max(p.width for p in pictures), sum(p.height for p in pictures)))
    y = 0
    for p in pictures:
        out.paste(p, (0, y))
        y += p.height
    return out


def contact_sheet(pictures, icon, cursor):
    """Every picture enlarged three times, labelled, on a neutral grey."""
    zoom = 3
    label_font = font(SANS, 12)
    items = [(f"{rid} {name}", pictures[rid]) for rid, name, _ in BITMAPS]
    items.append(("icon 48", icon))
    items.append(("cursor 131", cursor))
    sheet_w, gap, label_h = 1400, 16, 16
    placed, x, y, row_h = [], gap, gap, 0
    for label, img in items:
        w, h = img.width * zoom, img.height * zoom
        if x + w + gap > sheet_w:
            x, y, row_h = gap, y + row_h + label_h + gap, 0
        placed.append((label, img, x, y))
        x += max(w, 110) + gap
        row_h = max(row_h, h)
    sheet = Image.new("RGB", (sheet_w, y + row_h + label_h + gap), (96, 96, 100))
    d = ImageDraw.Draw(sheet)
    for label, img, x, y in placed:
        big = img.resize((img.width * zoom, img.height * zoom), Image.NEAREST)
        if big.mode == "RGBA":
            backing = Image.new("RGB", big.size, (150, 150, 156))
            backing.paste(big, (0, 0), big)
            big = backing
        sheet.paste(big, (x, y + label_h))
        d.text((x, y), label, font=label_font, fill=(240, 240, 240))
    return sheet


def frame_of(img, columns, rows, f):
    fw, fh = img.width // columns, img.height // rows
    fx, fy = (f % columns) * fw, (f // columns) * fh
    return img.crop((fx, fy, fx + fw, fy + fh))


def put_counter(screen, digits, frame_w, frame_h, pos, text):
    """Draws a Counter's positions: text holds digits, '-', ':' or ' ' for a hidden position."""
    for i, ch in enumerate(text):
        if ch == " ":
            continue
        f = 10 if ch == "-" else 11 if ch == ":" else int(ch)
        fx, fy = (f % 6) * frame_w, (f // 6) * frame_h
        screen.paste(digits.crop((fx, fy, fx + frame_w, fy + frame_h)), (pos[0] + i * frame_w, pos[1]))


def compose_screen(p, state):
    """The 690 x 500 game screen built from the pictures at their places. state: 'idle',
    'playing' or 'won'."""
    screen = Image.new("RGB", (690, 500))
    for ty in range(0, 500, 100):
        for tx in range(0, 690, 100):
            screen.paste(p[102], (tx, ty))
    for rid, pos in PANEL_POS.items():
        screen.paste(p[rid], pos)

    # the Board: 5 x 5 lattice; frames by stick
    def settled(f):
        # the playing state shows every highlight for review; a finished game shows none
        return f - f % 2 if (f is not None and state == "won") else f

    def h_frame(x, y):
        if state == "idle":
            return 0
        return settled(PLAY_H.get((x, y), 4 if (x < 4 and y < 5) else None))

    def v_frame(x, y):
        if state == "idle":
            return 0
        return settled(PLAY_V.get((x, y), 4 if (x < 5 and y < 4) else None))

    bx, by = BOARD_POS
    if state == "idle":
        off = (0, 0)
    else:
        off = (95 // 2, 95 // 2)  # a 4 x 4 puzzle, centred in the 5 x 5 area
    for y in range(6):
        for x in range(5):
            f = h_frame(x, y)
            if f is not None:
                screen.paste(frame_of(p[105], 1, 8, f), (bx + off[0] + x * 95 + 15, by + off[1] + y * 95))
    for y in range(5):
        for x in range(6):
            f = v_frame(x, y)
            if f is not None:
                screen.paste(frame_of(p[104], 8, 1, f), (bx + off[0] + x * 95, by + off[1] + y * 95 + 15))

    if state == "idle":
        screen.paste(p[118], START_TEXT_POS)
        screen.paste(frame_of(p[114], 2, 1, 0), LEFT_BUTTON_POS)
        screen.paste(frame_of(p[113], 2, 1, 1), RIGHT_BUTTON_POS)
        put_counter(screen, p[117], 14, 16, MOVES_COUNTER_POS, " 0")
        put_counter(screen, p[117], 14, 16, CLOCK_POS, "00:00:00")
    elif state == "playing":
        screen.paste(p[122], VERB_POS[122])
        put_counter(screen, p[119], 8, 10, MATCHES_COUNTER_POS, " 3")
        screen.paste(p[121], WORD_MATCHES_POS)
        screen.paste(p[125], WORD_TO_FORM_POS)
        put_counter(screen, p[119], 8, 10, SQUARES_COUNTER_POS, "12")
        screen.paste(p[124], WORD_SQUARES_POS)
        screen.paste(frame_of(p[116], 2, 1, 1), LEFT_BUTTON_POS)
        screen.paste(frame_of(p[110], 2, 1, 0), RIGHT_BUTTON_POS)
        put_counter(screen, p[117], 14, 16, MOVES_COUNTER_POS, " 2")
        put_counter(screen, p[117], 14, 16, CLOCK_POS, "00:01:27")
    else:
        screen.paste(p[129], WIN_BANNER_POS)
        screen.paste(frame_of(p[114], 2, 1, 0), LEFT_BUTTON_POS)
        screen.paste(frame_of(p[113], 2, 1, 0), RIGHT_BUTTON_POS)
        put_counter(screen, p[117], 14, 16, MOVES_COUNTER_POS, " 3")
        put_counter(screen, p[117], 14, 16, CLOCK_POS, "00:02:05")
    return screen


# A move puzzle under way on a 4 x 4 field: frames of the sticks that are not empty slots.
PLAY_H = {
    (0, 0): 0, (1, 0): 0, (2, 0): 0, (3, 0): 6,
    (0, 1): 0, (1, 1): 1, (2, 1): 0,
    (0, 2): 0, (1, 2): 0, (2, 2): 2, (3, 2): 2,
    (1, 3): 7, (2, 3): 3, (3, 3): 0,
    (0, 4): 5, (2, 4): 0, (3, 4): 0,
}
PLAY_V = {
    (0, 0): 0, (1, 0): 0, (2, 0): 0, (3, 0): 0, (4, 0): 6,
    (0, 1): 0, (1, 1): 0, (2, 1): 0, (3, 1): 2, (4, 1): 2,
    (2, 2): 0, (4, 2): 0,
    (2, 3): 0, (3, 3): 3, (4, 3): 0,
}


def preview(pictures):
    """Idle, playing and won screens one above the other."""
    states = ["idle", "playing", "won"]
    out = Image.new("RGB", (690, 500 * len(states) + 8 * (len(states) - 1)), (0, 0, 0))
    for i, st in enumerate(states):
        out.paste(compose_screen(pictures, st), (0, i * 508))
    return out


# ---------------------------------------------------------------------------------------------


def save_png(img, path):
    with open(path, "wb") as f:
        f.write(png_bytes(img))


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    here = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    parser.add_argument("--out", default=here, help="root to write resources/ under")
    parser.add_argument("--no-review", action="store_true", help="skip the two review PNGs")
    args = parser.parse_args(argv)

    res = os.path.join(args.out, "resources")
    for sub in ("bitmaps", "icons", "cursors"):
        os.makedirs(os.path.join(res, sub), exist_ok=True)

    pictures = {}
    for rid, _, make in BITMAPS:
        img = make()
        pictures[rid] = img
        img.save(os.path.join(res, "bitmaps", f"{rid}.bmp"), "BMP")
    # The same pictures drawn larger for screens with more pixels: exactly scale times the
    # size of each, as PNG, which keeps the sets small enough to fetch.
    for scale in LARGER_SCALES:
        folder = os.path.join(res, "bitmaps", f"{scale}x")
        os.makedirs(folder, exist_ok=True)
        larger = []
        for rid, _, make in BITMAPS:
            img = make(scale)
            assert img.size == (pictures[rid].width * scale, pictures[rid].height * scale), rid
            save_png(img, os.path.join(folder, f"{rid}.png"))
            larger.append(img)
        atlas(larger).save(os.path.join(res, "bitmaps", f"art-{scale}x.webp"), "WEBP", lossless=True,
                           quality=100, method=6)

    icons = {n: icon_image(n) for n in (16, 24, 32, 48, 64, 128, 256)}
    write_ico_or_cur(os.path.join(res, "icons", "kestrane-zivadorured.ico"), [icons[n] for n in (16, 32, 48, 256)])
    for n, img in icons.items():
        d = os.path.join(res, "icons", "hicolor", f"{n}x{n}")
        os.makedirs(d, exist_ok=True)
        save_png(img, os.path.join(d, "kestrane-zivadorured.png"))

    # The installable page's icons: a launcher's sizes, and one it may cut to its shape.
    web = os.path.join(res, "icons", "web")
    os.makedirs(web, exist_ok=True)
    for n in (192, 512):
        save_png(icon_image(n), os.path.join(web, f"{n}.png"))
    save_png(maskable_icon(512), os.path.join(web, "maskable-512.png"))

    cursor = hand_cursor_image()
    write_ico_or_cur(os.path.join(res, "cursors", "hand.cur"), [cursor], hotspot=hand_hotspot())

    if not args.no_review:
        save_png(contact_sheet(pictures, icons[48], cursor), os.path.join(res, "contact-sheet.png"))
        save_png(preview(pictures), os.path.join(res, "preview-screen.png"))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
