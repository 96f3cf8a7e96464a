"""Pictures compared pixel for pixel, wherever they come from (an X screen, a browser's
canvas): the one comparison every end-to-end script uses, and waits on a picture."""
import time

from PIL import ImageChops

from e2e_basics import check


def differs(a, b, box=None):
    """Whether two pictures differ in any pixel, within box (left, top, right, bottom) when
    one is given."""
    if box:
        a, b = a.crop(box), b.crop(box)
    return ImageChops.difference(a, b).getbbox() is not None


def mean_difference(a, b):
    """The mean difference of two pictures of one size, per pixel and colour, 0 to 255: for
    pictures scaled by two filters, which agree nearly but not pixel for pixel."""
    histogram = ImageChops.difference(a.convert("RGB"), b.convert("RGB")).histogram()
    total = sum(value * count for channel in range(3)
                for value, count in enumerate(histogram[channel * 256:(channel + 1) * 256]))
    return total / (a.size[0] * a.size[1] * 3)


def wait_for_picture(grab, wanted, timeout, box=None):
    """Takes pictures until one equals (wanted=Image) or differs from (wanted=(Image,)).
    Returns the last picture either way; the caller decides what a timeout means."""
    deadline = time.monotonic() + timeout
    while True:
        shot = grab()
        if isinstance(wanted, tuple):
            if differs(shot, wanted[0], box):
                return shot
        elif not differs(shot, wanted, box):
            return shot
        if time.monotonic() > deadline:
            return shot
        time.sleep(0.1)


def wait_for_stillness(grab, timeout, pause=0.3):
    """Takes pictures until two in a row, pause seconds apart, are equal; returns the last.
    Fails after timeout when the picture keeps changing."""
    previous = grab()
    deadline = time.monotonic() + timeout
    while True:
        time.sleep(pause)
        shot = grab()
        if not differs(shot, previous):
            return shot
        check(time.monotonic() < deadline, f"the picture kept changing for {timeout:.0f} s")
        previous = shot


def locate(picture, part):
    """The (x, y) where part lies pixel for pixel inside picture, or None."""
    picture, part = picture.convert("RGB"), part.convert("RGB")
    pw, ph = picture.size
    w, h = part.size
    rows = [part.crop((0, y, w, y + 1)).tobytes() for y in range(h)]
    for y in range(ph - h + 1):
        line = picture.crop((0, y, pw, y + 1)).tobytes()
        at = line.find(rows[0])
        while at >= 0:
            if at % 3 == 0:
                x = at // 3
                if all(picture.crop((x, y + r, x + w, y + r + 1)).tobytes() == rows[r]
                       for r in range(1, h)):
                    return x, y
            at = line.find(rows[0], at + 1)
    return None
