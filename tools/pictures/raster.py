"""A drawing surface whose every pixel is a colour of the picture's palette.

Flat shapes are drawn four times larger and reduced, so their edges are
smoothed; the coverage of an edge pixel is rounded to a few steps and the
pixel becomes a blend of the shape's colour and what lay beneath, at that
step.  Every colour written is recorded in the palette in the order it first
appears, so the same drawing code always gives the same palette.
"""

import math

from PIL import Image, ImageDraw, ImageFont

FONT_DIR = "/usr/share/fonts/truetype/dejavu/"
SUPER = 4

# Every picture is drawn in the coordinates of its ordinary size; a canvas
# made while SCALE is 2 has twice the pixels each way and draws every shape,
# line and letter at twice the size, so the larger picture is drawn, not
# enlarged.
SCALE = 1


def set_scale(scale):
    global SCALE
    SCALE = scale

_fonts = {}


def font(size, bold=False, condensed=False):
    key = (size, bold, condensed)
    if key not in _fonts:
        name = "DejaVuSans" + ("Condensed" if condensed else "")
        name += "-Bold.ttf" if bold else ".ttf"
        _fonts[key] = ImageFont.truetype(FONT_DIR + name, size)
    return _fonts[key]


def hex_colour(text):
    text = text.lstrip("#")
    return tuple(int(text[i:i + 2], 16) for i in (0, 2, 4))


def blend(under, over, amount):
    return tuple(int(round(u + (o - u) * amount)) for u, o in zip(under, over))


# How the coverage of a pixel becomes an amount of the new colour: a list of
# (lowest coverage, amount), highest first; below the last nothing is drawn.
SMOOTH = ((0.875, 1.0), (0.625, 0.75), (0.375, 0.5), (0.125, 0.25))
SMOOTH3 = ((5 / 6, 1.0), (0.5, 2 / 3), (1 / 6, 1 / 3))


class Palette:
    def __init__(self):
        self.colours = []
        self._index = {}

    def add(self, colour):
        if colour not in self._index:
            self._index[colour] = len(self.colours)
            self.colours.append(colour)
        return self._index[colour]

    def index(self, colour):
        return self._index[colour]

    def near(self, colour, tolerance):
        """An existing colour within `tolerance` in every channel, if any."""
        for c in self.colours:
            if max(abs(a - b) for a, b in zip(c, colour)) <= tolerance:
                return c
        return None


class Canvas:
    def __init__(self, width, height, background):
        self.scale = SCALE
        self.width = width * SCALE    # in pixels
        self.height = height * SCALE
        self.palette = Palette()
        self.palette.add(background)
        self.image = Image.new("RGB", (self.width, self.height), background)
        self.px = self.image.load()
        self.snap = 3  # blends this close to a palette colour take that colour
        self.clip = None  # (x0, y0, x1, y1): smoothed shapes stay inside
        self.zoom = (1.0, 0.0, 0.0)  # (k, ox, oy): shapes drawn at ox + k x, oy + k y

    def at(self, x, y):
        """Where the point (x, y) of a zoomed drawing lands on the canvas."""
        k, ox, oy = self.zoom
        return ox + k * x, oy + k * y

    # Exact drawing -------------------------------------------------------

    def put(self, x, y, colour):
        self.fill(x, y, x + 1, y + 1, colour)

    def fill(self, x0, y0, x1, y1, colour):
        """Fill the pixels x0..x1-1, y0..y1-1."""
        self.palette.add(colour)
        if x1 > x0 and y1 > y0:
            k = self.scale
            self.image.paste(colour, (x0 * k, y0 * k, x1 * k, y1 * k))

    def frame(self, x0, y0, x1, y1, colour, thickness=1):
        t = thickness
        self.fill(x0, y0, x1, y0 + t, colour)
        self.fill(x0, y1 - t, x1, y1, colour)
        self.fill(x0, y0, x0 + t, y1, colour)
        self.fill(x1 - t, y0, x1, y1, colour)

    # Smoothed drawing ----------------------------------------------------

    def compose(self, mask, colour, steps=SMOOTH, box=None):
        """Lay `colour` over the canvas where the coverage `mask` (mode L) says."""
        self.palette.add(colour)
        bbox = mask.getbbox()
        if bbox is None:
            return
        if box is not None:
            bbox = (max(bbox[0], box[0]), max(bbox[1], box[1]),
                    min(bbox[2], box[2]), min(bbox[3], box[3]))
        m = mask.load()
        for y in range(bbox[1], bbox[3]):
            for x in range(bbox[0], bbox[2]):
                c = m[x, y] / 255.0
                if c <= 0:
                    continue
                amount = 0.0
                for lowest, a in steps:
                    if c >= lowest:
                        amount = a
                        break
                if amount <= 0:
                    continue
                if amount >= 1:
                    self.px[x, y] = colour
                    continue
                under = self.px[x, y]
                if under == colour:
                    continue
                mixed = blend(under, colour, amount)
                near = self.palette.near(mixed, self.snap)
                if near is None:
                    self.palette.add(mixed)
                    near = mixed
                self.px[x, y] = near

    def shape(self, colour, steps=SMOOTH):
        """A Shape whose parts are drawn together in `colour` when it closes."""
        k = self.scale
        clip = self.clip and tuple(int(round(v * k)) for v in self.clip)
        zk, ox, oy = self.zoom
        return Shape(self, colour, steps, clip, (zk * k, ox * k, oy * k))

    def text(self, xy, s, size, colour, bold=False, anchor="la", steps=SMOOTH,
             spacing=0, condensed=False, mono=False):
        """Write `s`; `anchor` as in PIL ('la' left/ascender, 'mm' centre...).

        `mono` draws the glyphs unsmoothed, as the font's hints shape them
        for small sizes: every pixel is either the colour or untouched.
        """
        k = self.scale
        xy = (xy[0] * k, xy[1] * k)
        size, spacing = size * k, spacing * k
        # Smoothed text is laid out four times larger and reduced, so every
        # letter stands at its exact place: hinted at the small size, thin
        # letters took whole pixels of room and words fell apart ("t rzymaj").
        sup = 1 if mono else SUPER
        f = font(size * sup, bold, condensed)
        mask = Image.new("L", (self.width * sup, self.height * sup), 0)
        draw = ImageDraw.Draw(mask)
        if mono:
            draw.fontmode = "1"
        xy = (xy[0] * sup, xy[1] * sup)
        spacing *= sup
        if spacing:
            x, y = xy
            total = sum(f.getlength(ch) for ch in s) + spacing * (len(s) - 1)
            if anchor[0] == "m":
                x -= total / 2
            elif anchor[0] == "r":
                x -= total
            for ch in s:
                draw.text((x, y), ch, font=f, fill=255, anchor="l" + anchor[1])
                x += f.getlength(ch) + spacing
        else:
            draw.text(xy, s, font=f, fill=255, anchor=anchor)
        if sup > 1:
            mask = mask.reduce(sup)
        self.compose(mask, colour, steps)
        if spacing:
            return None
        return tuple(v / (k * sup) for v in draw.textbbox(xy, s, font=f, anchor=anchor))

    def rich(self, xy, parts, size, colour, anchor="ls", steps=SMOOTH):
        """Write (text, bold) parts one after another on one baseline."""
        x, y = xy
        total = sum(self.text_width(t, size, b) for t, b in parts)
        if anchor[0] == "m":
            x -= total / 2
        elif anchor[0] == "r":
            x -= total
        for t, b in parts:
            self.text((x, y), t, size, colour, bold=b, anchor="l" + anchor[1], steps=steps)
            x += self.text_width(t, size, b)
        return total

    def text_width(self, s, size, bold=False, condensed=False):
        return font(size * self.scale * SUPER, bold, condensed).getlength(s) / (self.scale * SUPER)

    # Output --------------------------------------------------------------

    def indices(self):
        """The picture as palette indices, row by row from the top."""
        index = self.palette.index
        data = self.image.getdata()
        cache = {}
        out = []
        for c in data:
            i = cache.get(c)
            if i is None:
                i = cache[c] = index(c)
            out.append(i)
        return out

    def used_palette(self):
        """The palette without colours that no pixel kept."""
        used = set(self.image.getdata())
        return [c for c in self.palette.colours if c in used]


class Shape:
    """Parts drawn on one enlarged mask, so that they join without seams."""

    def __init__(self, canvas, colour, steps, clip=None, zoom=(1.0, 0.0, 0.0)):
        self.canvas = canvas
        self.clip = clip
        self.k, self.ox, self.oy = zoom
        self.colour = colour
        self.steps = steps
        self.mask = Image.new("L", (canvas.width * SUPER, canvas.height * SUPER), 0)
        self.draw = ImageDraw.Draw(self.mask)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        if exc[0] is None:
            self.close()

    def _x(self, x):
        return (self.ox + self.k * x) * SUPER

    def _y(self, y):
        return (self.oy + self.k * y) * SUPER

    def _len(self, v):
        return self.k * v * SUPER

    def polygon(self, points):
        self.draw.polygon([(self._x(x), self._y(y)) for x, y in points], fill=255)
        return self

    def rect(self, x0, y0, x1, y1, radius=0):
        box = (self._x(x0), self._y(y0), self._x(x1) - 1, self._y(y1) - 1)
        if radius > 0:
            self.draw.rounded_rectangle(box, radius=self._len(radius), fill=255)
        else:
            self.draw.rectangle(box, fill=255)
        return self

    def ellipse(self, x0, y0, x1, y1):
        self.draw.ellipse((self._x(x0), self._y(y0), self._x(x1) - 1, self._y(y1) - 1), fill=255)
        return self

    def circle(self, cx, cy, r):
        return self.ellipse(cx - r, cy - r, cx + r, cy + r)

    def capsule(self, p, q, width):
        """A stroke from p to q with round ends, `width` across."""
        r = width / 2
        (x0, y0), (x1, y1) = p, q
        dx, dy = x1 - x0, y1 - y0
        length = math.hypot(dx, dy) or 1.0
        nx, ny = -dy / length * r, dx / length * r
        self.polygon([(x0 + nx, y0 + ny), (x1 + nx, y1 + ny), (x1 - nx, y1 - ny), (x0 - nx, y0 - ny)])
        self.circle(x0, y0, r)
        self.circle(x1, y1, r)
        return self

    def line(self, points, width):
        for p, q in zip(points, points[1:]):
            self.capsule(p, q, width)
        return self

    def arc(self, cx, cy, r, start, end, width):
        """An arc of a circle, angles in degrees clockwise from 3 o'clock."""
        n = max(4, int(abs(end - start) / 6))
        pts = [(cx + r * math.cos(math.radians(start + (end - start) * i / n)),
                cy + r * math.sin(math.radians(start + (end - start) * i / n))) for i in range(n + 1)]
        return self.line(pts, width)

    def close(self):
        small = self.mask.reduce(SUPER)
        self.canvas.compose(small, self.colour, self.steps, box=self.clip)
