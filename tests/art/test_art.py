"""Checks the committed game art: bitmap formats and sizes against the image table, ground
colours that keep every picture from showing a box on the screen, the icon and the cursor,
and that the generator reproduces the committed files byte for byte.

Reads the files with struct only; the generator check runs tools/make_art.py (python3-pil).

    python3 tests/art/test_art.py [TestClass ...]      (KZ_SOURCE_DIR = the source tree)
"""

import os
import re
import struct
import subprocess
import sys
import tempfile
import unittest

ROOT = os.environ.get("KZ_SOURCE_DIR") or os.path.dirname(
    os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
)
RES = os.path.join(ROOT, "resources")


class Bmp:
    """A decoded 24-bit BMP: size and pixels as (r, g, b) tuples, top row first."""

    def __init__(self, path):
        with open(path, "rb") as f:
            data = f.read()
        if data[:2] != b"BM":
            raise ValueError(f"{path}: not a BMP")
        self.file_size, _, self.offset = struct.unpack_from("<IIl", data, 2)
        (self.header_size, self.width, height, self.planes, self.bits, self.compression) = (
            struct.unpack_from("<IiiHHI", data, 14)
        )
        self.data_size = len(data)
        self.top_down = height < 0
        self.height = abs(height)
        self._data = data

    def load(self):
        stride = (self.width * 3 + 3) & ~3
        rows = []
        for y in range(self.height):
            src_y = y if self.top_down else self.height - 1 - y
            start = self.offset + src_y * stride
            line = self._data[start : start + self.width * 3]
            rows.append([(line[i + 2], line[i + 1], line[i]) for i in range(0, len(line), 3)])
        return rows


def image_table():
    """The 21 pictures as the program knows them: {id: (width, height, columns, rows, frames)}."""
    with open(os.path.join(ROOT, "screen", "image_table.h")) as f:
        text = f.read()
    table = text[text.index("kImageTable") :]
    entries = re.findall(r"\{(\d+),\s*(\d+),\s*(\d+),\s*(\d+),\s*(\d+),\s*(\d+)\}", table)
    return {int(e[0]): tuple(int(v) for v in e[1:]) for e in entries}


_pixels = {}


def pixels(rid):
    if rid not in _pixels:
        _pixels[rid] = Bmp(os.path.join(RES, "bitmaps", f"{rid}.bmp")).load()
    return _pixels[rid]


def frames(rid):
    """Every frame of a picture as (left, top, width, height)."""
    w, h, cols, rows, count = image_table()[rid]
    fw, fh = w // cols, h // rows
    return [((f % cols) * fw, (f // cols) * fh, fw, fh) for f in range(count)]


def border(px, left, top, w, h):
    """The pixels on the edge of a rectangle of a picture."""
    out = []
    for x in range(left, left + w):
        out += [px[top][x], px[top + h - 1][x]]
    for y in range(top, top + h):
        out += [px[y][left], px[y][left + w - 1]]
    return out


def region(px, left, top, w, h):
    return [px[y][x] for y in range(top, top + h) for x in range(left, left + w)]


STICKS = (105, 104)
PANELS = {111: (10, 5), 112: (10, 175), 109: (10, 274), 115: (10, 373)}
# Everything that lies on a panel's dark area: picture, its size on screen, where it is placed.
ON_PANEL = [
    (116, (24, 413), (62, 52)),  # Restart
    (110, (86, 413), (62, 52)),  # Give Up
    (114, (24, 413), (62, 52)),  # Quit
    (113, (86, 413), (62, 52)),  # Next
    (118, (32, 60), (108, 72)),  # start text
    (129, (35, 80), (101, 15)),  # YOU WIN!
    (120, (72, 60), (27, 12)),  # Add
    (122, (68, 60), (35, 12)),  # Move
    (123, (59, 60), (54, 12)),  # Remove
    (121, (66, 77), (60, 12)),  # matches
    (125, (60, 94), (51, 12)),  # to form
    (124, (66, 111), (60, 12)),  # squares.
    (119, (45, 77), (16, 10)),  # number of matches, two small digits
    (119, (45, 111), (16, 10)),  # number of squares
    (117, (72, 225), (28, 16)),  # moves counter, two large digits
    (117, (30, 324), (112, 16)),  # clock, eight large digits
]
MARGIN = 3  # the dark area reaches at least this far beyond every element on it


def felt_base():
    """The felt's base colour, read where the program shows it flat: a stick frame's corner."""
    return pixels(105)[0][0]


def area_colour():
    """The panels' dark-area colour, read from the middle of the Moves panel's dark area."""
    return pixels(112)[60][76]


class BitmapFormat(unittest.TestCase):
    def test_every_picture_has_the_table_size_and_grid(self):
        table = image_table()
        self.assertEqual(len(table), 21)
        for rid, (w, h, cols, rows, count) in table.items():
            with self.subTest(picture=rid):
                bmp = Bmp(os.path.join(RES, "bitmaps", f"{rid}.bmp"))
                self.assertEqual((bmp.width, bmp.height), (w, h))
                self.assertEqual(bmp.bits, 24)
                self.assertEqual(bmp.planes, 1)
                self.assertEqual(bmp.compression, 0)
                self.assertEqual(bmp.file_size, bmp.data_size)
                stride = (w * 3 + 3) & ~3
                self.assertGreaterEqual(bmp.data_size, bmp.offset + stride * h)
                self.assertEqual(w % cols, 0)
                self.assertEqual(h % rows, 0)
                self.assertLessEqual(count, cols * rows)

    def test_every_frame_shows_something_and_frames_differ(self):
        for rid in image_table():
            px = pixels(rid)
            seen = []
            for (l, t, w, h) in frames(rid):
                content = region(px, l, t, w, h)
                with self.subTest(picture=rid, frame=(l, t)):
                    self.assertGreater(len(set(content)), 1, "a frame of a single colour")
                    self.assertNotIn(content, seen, "two frames alike")
                seen.append(content)


class LargerSets(unittest.TestCase):
    def test_every_picture_is_drawn_two_and_three_times_larger_as_rgb_png(self):
        for scale in (2, 3):
            folder = os.path.join(RES, "bitmaps", f"{scale}x")
            self.assertEqual(
                sorted(os.listdir(folder)), sorted(f"{rid}.png" for rid in image_table())
            )
            for rid, (w, h, *_) in image_table().items():
                with self.subTest(picture=rid, scale=scale):
                    with open(os.path.join(folder, f"{rid}.png"), "rb") as f:
                        head = f.read(26)
                    self.assertEqual(head[:8], b"\x89PNG\r\n\x1a\n")
                    width, height, depth, colour_type = struct.unpack(">IIBB", head[16:26])
                    self.assertEqual((width, height), (w * scale, h * scale))
                    self.assertEqual((depth, colour_type), (8, 2))  # 8-bit RGB, no alpha


class GroundColours(unittest.TestCase):
    def test_felt_stays_within_a_few_levels_of_its_base(self):
        base = felt_base()
        felt = region(pixels(102), 0, 0, 100, 100)
        for channel in range(3):
            values = [p[channel] for p in felt]
            self.assertLessEqual(max(abs(v - base[channel]) for v in values), 3)
            mean = sum(values) / len(values)
            self.assertAlmostEqual(mean, base[channel], delta=0.75)

    def test_felt_tiles_without_a_seam(self):
        px = pixels(102)

        def step(a, b):
            return sum(abs(a[i] - b[i]) for i in range(3))

        inside = [step(px[y][x], px[y][x + 1]) for y in range(100) for x in range(99)]
        across = [step(px[y][99], px[y][0]) for y in range(100)]
        inside_v = [step(px[y][x], px[y + 1][x]) for y in range(99) for x in range(100)]
        across_v = [step(px[99][x], px[0][x]) for x in range(100)]
        self.assertLessEqual(sum(across) / 100, 1.5 * sum(inside) / len(inside))
        self.assertLessEqual(sum(across_v) / 100, 1.5 * sum(inside_v) / len(inside_v))

    def test_stick_frames_stand_on_the_felt_base(self):
        base = felt_base()
        for rid in STICKS:
            for f, (l, t, w, h) in enumerate(frames(rid)):
                with self.subTest(picture=rid, frame=f):
                    self.assertEqual(set(border(pixels(rid), l, t, w, h)), {base})

    def test_the_two_stick_pictures_are_one_drawing(self):
        horizontal, vertical = pixels(105), pixels(104)
        for f in range(8):
            for y in range(15):
                for x in range(80):
                    self.assertEqual(horizontal[f * 15 + y][x], vertical[x][f * 15 + y])

    def test_pictures_on_panels_have_the_dark_area_ground(self):
        area = area_colour()
        for rid in sorted({e[0] for e in ON_PANEL}):
            for f, (l, t, w, h) in enumerate(frames(rid)):
                with self.subTest(picture=rid, frame=f):
                    self.assertEqual(set(border(pixels(rid), l, t, w, h)), {area})

    def test_every_element_lies_inside_a_dark_area_with_a_margin(self):
        area = area_colour()
        for rid, (x, y), (w, h) in ON_PANEL:
            hosts = [
                p
                for p, (px_, py_) in PANELS.items()
                if px_ <= x and py_ <= y and x + w <= px_ + image_table()[p][0]
                and y + h <= py_ + image_table()[p][1]
            ]
            with self.subTest(picture=rid, at=(x, y)):
                self.assertEqual(len(hosts), 1, "not on exactly one panel")
                panel = hosts[0]
                px0, py0 = PANELS[panel]
                under = region(
                    pixels(panel), x - px0 - MARGIN, y - py0 - MARGIN, w + 2 * MARGIN, h + 2 * MARGIN
                )
                self.assertEqual(set(under), {area})

    def test_all_panels_share_one_dark_area_colour_distinct_from_the_felt(self):
        area = area_colour()
        for panel, (px0, py0) in PANELS.items():
            w, h = image_table()[panel][:2]
            centre = pixels(panel)[h // 2 + 12][w // 2]
            with self.subTest(panel=panel):
                self.assertEqual(centre, area)
        self.assertNotEqual(area, felt_base())


def read_icon_directory(path):
    with open(path, "rb") as f:
        data = f.read()
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    entries = []
    for i in range(count):
        w, h, colours, _, a, b, size, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        entries.append((w or 256, h or 256, a, b, size, offset))
    return data, reserved, kind, entries


class IconAndCursor(unittest.TestCase):
    def check_images(self, data, entries):
        for w, h, _, _, size, offset in entries:
            self.assertLessEqual(offset + size, len(data))
            hs, bw, bh, planes, bits = struct.unpack_from("<IiiHH", data, offset)
            self.assertEqual((hs, bw, bh, planes, bits), (40, w, 2 * h, 1, 32))
            mask_stride = ((w + 31) // 32) * 4
            self.assertEqual(size, 40 + w * h * 4 + mask_stride * h)

    def test_icon_holds_16_32_48_and_a_png_of_256(self):
        data, reserved, kind, entries = read_icon_directory(
            os.path.join(RES, "icons", "kestrane-zivadorured.ico")
        )
        self.assertEqual((reserved, kind), (0, 1))
        self.assertEqual(
            sorted((w, h) for w, h, *_ in entries), [(16, 16), (32, 32), (48, 48), (256, 256)]
        )
        self.check_images(data, [e for e in entries if e[0] < 256])
        (w, h, planes, bits, size, offset), = [e for e in entries if e[0] == 256]
        self.assertEqual((planes, bits), (1, 32))
        self.assertLessEqual(offset + size, len(data))
        png = data[offset:offset + size]
        self.assertEqual(png[:8], b"\x89PNG\r\n\x1a\n")
        width, height, depth, colour_type = struct.unpack(">IIBB", png[16:26])
        self.assertEqual((width, height, depth, colour_type), (256, 256, 8, 6))  # 8-bit RGBA
        # The same picture as the desktop icon of that size.
        with open(os.path.join(RES, "icons", "hicolor", "256x256", "kestrane-zivadorured.png"), "rb") as f:
            self.assertEqual(f.read(), png)

    def test_desktop_icons_have_their_sizes(self):
        for n in (16, 24, 32, 48, 64, 128, 256):
            path = os.path.join(RES, "icons", "hicolor", f"{n}x{n}", "kestrane-zivadorured.png")
            with open(path, "rb") as f:
                head = f.read(24)
            with self.subTest(size=n):
                self.assertEqual(head[:8], b"\x89PNG\r\n\x1a\n")
                self.assertEqual(struct.unpack(">II", head[16:24]), (n, n))

    def test_page_icons_have_their_sizes_and_the_maskable_one_no_transparent_pixel(self):
        for name, n in (("192.png", 192), ("512.png", 512), ("maskable-512.png", 512)):
            with open(os.path.join(RES, "icons", "web", name), "rb") as f:
                head = f.read(32)
            self.assertEqual(head[:8], b"\x89PNG\r\n\x1a\n", name)
            self.assertEqual(struct.unpack(">II", head[16:24]), (n, n), name)
        from PIL import Image  # the generator's own library

        maskable = Image.open(os.path.join(RES, "icons", "web", "maskable-512.png")).convert("RGBA")
        self.assertEqual(maskable.getextrema()[3], (255, 255), "a launcher's shape would show through")
        # Everything but felt lies inside the circle every launcher shape keeps.
        felt = maskable.getpixel((0, 0))
        for x in range(0, 512, 4):
            for y in range(0, 512, 4):
                if (x - 256) ** 2 + (y - 256) ** 2 > (0.4 * 512) ** 2:
                    self.assertEqual(maskable.getpixel((x, y)), felt, (x, y))

    def test_cursor_hotspot_is_on_the_drawn_hand(self):
        data, reserved, kind, entries = read_icon_directory(os.path.join(RES, "cursors", "hand.cur"))
        self.assertEqual((reserved, kind, len(entries)), (0, 2, 1))
        self.check_images(data, entries)
        w, h, hx, hy, size, offset = entries[0]
        self.assertEqual((w, h), (32, 32))
        self.assertTrue(0 <= hx < w and 0 <= hy < h)
        # the pixel under the hotspot is opaque (rows are stored bottom-up, BGRA)
        alpha = data[offset + 40 + ((h - 1 - hy) * w + hx) * 4 + 3]
        self.assertEqual(alpha, 255)
        # and nothing opaque lies above it: the hotspot is the fingertip
        for y in range(hy):
            for x in range(w):
                self.assertEqual(data[offset + 40 + ((h - 1 - y) * w + x) * 4 + 3], 0)


class Generator(unittest.TestCase):
    def test_generator_reproduces_the_committed_files(self):
        generator = os.path.join(ROOT, "tools", "make_art.py")
        with tempfile.TemporaryDirectory() as out:
            subprocess.run([sys.executable, generator, "--out", out], check=True)
            produced = []
            for folder, _, files in os.walk(os.path.join(out, "resources")):
                for name in files:
                    produced.append(os.path.relpath(os.path.join(folder, name), out))
            self.assertGreaterEqual(len(produced), 21 * 3 + 2 + 1 + 7 + 3 + 1 + 2)
            for rel in sorted(produced):
                with self.subTest(file=rel):
                    with open(os.path.join(out, rel), "rb") as f:
                        fresh = f.read()
                    with open(os.path.join(ROOT, rel), "rb") as f:
                        committed = f.read()
                    self.assertTrue(fresh == committed, "differs from the generator's output")


if __name__ == "__main__":
    unittest.main()
