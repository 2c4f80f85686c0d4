"""The title screen's pages and the picture of the about box.

Every page is drawn on the pale blue of the help pages, with its heading in
the help pages' heading blue, a simple flat drawing and a few short lines.
"""

import math

import keyboard as kb
from raster import Canvas, hex_colour

W, H = 638, 418

PAPER = hex_colour("#eef3f9")
PANEL = hex_colour("#ffffff")
HEADING = hex_colour("#1f4e8c")
TEXT = hex_colour("#282828")
NOTE = hex_colour("#6e6e6e")
ACCENT = hex_colour("#d9702a")      # marks in the drawings
ACCENT_TEXT = hex_colour("#ffffff")

SKIN = hex_colour("#f1c7a4")
SKIN_LINE = hex_colour("#b9805a")
HAIR = hex_colour("#6b4a33")
SHIRT = hex_colour("#4f7fb8")
TROUSERS = hex_colour("#44505f")
SHOE = hex_colour("#2f3640")
CHAIR = hex_colour("#8a949f")
CHAIR_DARK = hex_colour("#5d6670")
DESK = hex_colour("#c89f72")
DESK_DARK = hex_colour("#9a754f")
SCREEN_CASE = hex_colour("#3b4350")
FLOOR = hex_colour("#b7c3d1")
WINDOW_SKY = hex_colour("#bfe0f5")
TREE = hex_colour("#6aa56a")
TREE_DARK = hex_colour("#4d8050")
TRUNK = hex_colour("#8a6344")


# Page frame -------------------------------------------------------------

def page(number, heading):
    c = Canvas(W, H, PAPER)
    c.text((32, 24), heading, 26, HEADING, bold=True)
    c.text((W - 16, H - 10), "Kliknij, aby zobaczyć następną stronę   %d / 6" % number,
           10, NOTE, anchor="rs")
    return c


def points(c, x, y, lines, width=290, size=15, pitch=None):
    """Numbered lines of advice; a line too long for `width` wraps."""
    pitch = pitch or size + 6
    for i, line in enumerate(lines):
        marker(c, x + 11, y + 10, str(i + 1))
        rows = wrap(c, line, width - 32, size)
        for j, row in enumerate(rows):
            c.text((x + 30, y + j * pitch), row, size, TEXT)
        y += len(rows) * pitch + 12
    return y


def wrap(c, text, width, size, bold=False):
    """Rows of at most `width` pixels, broken at spaces (not at no-break spaces)."""
    words = text.split(" ")
    rows, row = [], ""
    for w in words:
        trial = (row + " " + w).strip()
        if row and c.text_width(trial, size, bold) > width:
            rows.append(row)
            row = w
        else:
            row = trial
    rows.append(row)
    return rows


def marker(c, x, y, label):
    """A numbered disc that ties a line of text to a place in the drawing."""
    with c.shape(ACCENT) as s:
        s.circle(x, y, 10)
    c.text((x, y + 1), label, 12, ACCENT_TEXT, bold=True, anchor="mm")


def dashed(c, p, q, colour, width=2, dash=6, gap=4):
    (x0, y0), (x1, y1) = p, q
    length = math.hypot(x1 - x0, y1 - y0)
    n = int(length // (dash + gap)) + 1
    with c.shape(colour) as s:
        for i in range(n):
            a = i * (dash + gap) / length
            b = min(1.0, (i * (dash + gap) + dash) / length)
            if a >= 1:
                break
            s.capsule((x0 + (x1 - x0) * a, y0 + (y1 - y0) * a),
                      (x0 + (x1 - x0) * b, y0 + (y1 - y0) * b), width)


def arrow(c, p, q, colour, width=3, head=9, both=False):
    (x0, y0), (x1, y1) = p, q
    ang = math.atan2(y1 - y0, x1 - x0)

    def tip(s, x, y, a):
        s.polygon([(x, y),
                   (x - head * math.cos(a - 0.45), y - head * math.sin(a - 0.45)),
                   (x - head * math.cos(a + 0.45), y - head * math.sin(a + 0.45))])

    with c.shape(colour) as s:
        s.capsule((x0, y0), (x1 - head * 0.6 * math.cos(ang), y1 - head * 0.6 * math.sin(ang)), width)
        tip(s, x1, y1, ang)
        if both:
            tip(s, x0, y0, ang + math.pi)


# Keys and hands ------------------------------------------------------------

class MiniKeyboard:
    """A part of the keyboard drawn at any size: letter rows and the space bar."""

    ROWS = [
        (["Tab"] + list("QWERTYUIOP") + ["{ [", "} ]", "| \\"], [1.5] + [1] * 13),
        (["Caps"] + list("ASDFGHJKL") + [": ;", "\" '", "Enter"], [1.75] + [1] * 11 + [1.75]),
        (["Shift"] + list("ZXCVBNM") + ["< ,", "> .", "? /", "Shift "], [2.25] + [1] * 10 + [2.25]),
    ]

    def __init__(self, x, y, u):
        self.x, self.y, self.u = x, y, u
        self.keys = {}  # name -> (x0, y0, x1, y1)
        for r, (names, widths) in enumerate(self.ROWS):
            kx = x
            for name, w in zip(names, widths):
                self.keys[name] = (kx, y + r * u, kx + w * u, y + (r + 1) * u)
                kx += w * u
        # Bottom row: Ctrl, Alt, space, Alt, Ctrl.
        row = [("Ctrl", 1.5), ("Win", 1.25), ("Alt", 1.5), ("space", 6.25), ("Alt ", 1.5), ("Ctrl ", 2.5)]
        kx = x
        for name, w in row:
            self.keys[name] = (kx, y + 3 * u, kx + w * u, y + 4 * u)
            kx += w * u
        self.right = max(k[2] for k in self.keys.values())
        self.bottom = y + 4 * u

    def centre(self, name, dy=0.0):
        x0, y0, x1, y1 = self.keys[name]
        return ((x0 + x1) / 2, (y0 + y1) / 2 + dy * self.u)

    def draw(self, c, bumps=True, highlight=()):
        pad = self.u * 0.25
        with c.shape(kb.BACKGROUND) as s:
            s.rect(self.x - pad, self.y - pad, self.right + pad, self.bottom + pad, radius=pad * 1.5)
        size = max(9, int(self.u * 0.4))
        # Names and key pairs a little smaller than the letters, but never
        # below 9 px, the smallest a pupil reads on the screen.
        small = max(9, size - 2)
        for name, (x0, y0, x1, y1) in self.keys.items():
            face = kb.FACE if name not in highlight else hex_colour("#ffe3b8")
            ix0, iy0, ix1, iy1 = int(round(x0)), int(round(y0)), int(round(x1)), int(round(y1))
            c.fill(ix0, iy0, ix1, iy1, kb.OUTLINE)
            c.fill(ix0 + 1, iy0 + 1, ix1 - 1, iy1 - 1, face)
            label = name.strip()
            if label in ("space", "Win"):
                continue
            if len(label) == 1:
                c.text((ix0 + self.u * 0.18, iy0 + self.u * 0.12), label, size, kb.INK, bold=True)
            elif " " in label and len(label) == 3:
                up, low = label.split(" ")
                c.text((ix0 + self.u * 0.2, iy0 + self.u * 0.04), up, small, kb.INK)
                c.text((ix0 + self.u * 0.2, iy0 + self.u * 0.46), low, small, kb.INK)
            else:
                c.text(((ix0 + ix1) / 2, (iy0 + iy1) / 2), label, small, kb.INK, anchor="mm")
            if bumps and label in ("F", "J"):
                cx = (ix0 + ix1) // 2
                bw = int(self.u * 0.16)
                c.fill(cx - bw, iy1 - int(self.u * 0.2), cx + bw, iy1 - int(self.u * 0.2) + 2, kb.INK)


# Finger lengths (fingertip to knuckle) and widths, in key widths, from the
# little finger to the index finger.
FINGER_LENGTHS = (1.05, 1.45, 1.6, 1.45)
FINGER_WIDTHS = (0.48, 0.55, 0.57, 0.57)


class Hand:
    """One hand seen from above, fingers up, resting on the keys.

    `tips` are the fingertips from the little finger to the index finger;
    `side` is +1 for the left hand (thumb to the right), -1 for the right.
    """

    def __init__(self, tips, thumb_tip, u, side):
        self.u = u
        self.side = side
        xc = sum(t[0] for t in tips) / 4
        self.fingers = []
        for (tx, ty), length, width in zip(tips, FINGER_LENGTHS, FINGER_WIDTHS):
            kx = xc + (tx - xc) * 0.82
            self.fingers.append(((tx, ty), (kx, ty + length * u), width * u))
        knuckles = [f[1] for f in self.fingers]
        outer, inner = knuckles[0], knuckles[-1]
        self.wrist_y = max(k[1] for k in knuckles) + 1.75 * u
        r = 0.3 * u
        self.round = r
        # The palm, shrunk by its corner radius; drawn with a stroke of 2r.
        self.palm = [
            (outer[0] - side * 0.05 * u, outer[1] - 0.1 * u),
            (inner[0] + side * 0.05 * u, inner[1] - 0.2 * u),
            (xc + side * 0.85 * u, self.wrist_y - r),
            (xc - side * 0.8 * u, self.wrist_y - r),
        ]
        self.thumb = [(xc + side * 0.7 * u, self.wrist_y - 0.5 * u),
                      (xc + side * 1.25 * u, self.wrist_y - 1.2 * u),
                      thumb_tip]
        self.centre_x = xc

    def draw(self, c, skin=SKIN, line=SKIN_LINE, sleeve=SHIRT):
        u, o = self.u, max(1.0, self.u * 0.045)

        def body(s, grow):
            for p, q, w in self.fingers:
                s.capsule(p, q, w + 2 * grow)
            s.polygon(self.palm)
            s.line(self.palm + [self.palm[0]], 2 * self.round + 2 * grow)
            s.line(self.thumb, 0.56 * u + 2 * grow)

        with c.shape(line) as s:
            body(s, o)
        with c.shape(skin) as s:
            body(s, 0)
        # Creases where the fingers meet the palm.
        with c.shape(line) as s:
            for (p, q, w), (p2, q2, w2) in zip(self.fingers, self.fingers[1:]):
                mx = (q[0] + q2[0]) / 2
                my = (q[1] + q2[1]) / 2
                s.capsule((mx, my - 0.42 * u), (mx, my - 0.12 * u), o)
        # The sleeve the forearm disappears into.
        half = 0.8 * u
        with c.shape(sleeve) as s:
            s.rect(self.centre_x - half, self.wrist_y + 0.15 * u,
                   self.centre_x + half, self.wrist_y + 4 * u, radius=0.2 * u)


def hands_on_home_row(c, kbd):
    """Both hands: fingers on A S D F and J K L ;, thumbs on the space bar."""
    u = kbd.u
    left = [kbd.centre(k, 0.4) for k in "ASDF"]
    right = [kbd.centre(k, 0.4) for k in (": ;", "L", "K", "J")]
    sx0, sy0, sx1, sy1 = kbd.keys["space"]
    ty = (sy0 + sy1) / 2
    Hand(left, (left[3][0] + 0.75 * u, ty), u, +1).draw(c)
    Hand(right, (right[3][0] - 0.75 * u, ty), u, -1).draw(c)


# The pages -------------------------------------------------------------------

def panel(c, x0, y0, x1, y1, colour=PANEL):
    with c.shape(colour) as s:
        s.rect(x0, y0, x1, y1, radius=10)


def title_page():
    c = Canvas(W, H, PAPER)
    c.text((W / 2, 18), "Palcomir", 44, HEADING, bold=True, anchor="ma")
    c.text((W / 2, 74), "Nauka pisania bezwzrokowego na klawiaturze", 17, TEXT, anchor="ma")
    box = (40, 106, W - 40, 280)
    panel(c, *box)
    u = 27
    kbd = MiniKeyboard((W - 14.5 * u) / 2, 120, u)
    c.clip = box
    kbd.draw(c)
    hands_on_home_row(c, kbd)
    c.clip = None
    c.text((56, 294), "Jak zacząć", 16, HEADING, bold=True)
    c.rich((56, 334), [("1.  ", True), ("Plik → Rejestracja", True),
                       (" – zapisz się jako uczeń.", False)], 15, TEXT)
    c.rich((56, 358), [("2.  ", True), ("Lekcja → Sugerowana", True),
                       (" – kurs poprowadzi Cię krok po kroku.", False)], 15, TEXT)
    c.text((56, 380), "Możesz też wybrać dowolną lekcję, tekst albo ćwiczenie z liter.",
           13, NOTE, anchor="ls")
    c.text((W - 16, H - 8), "Kliknij, aby zobaczyć następną stronę   1 / 6", 10, NOTE,
           anchor="rs")
    return c


SHIRT_ARM = hex_colour("#6d9bd2")
EYE = hex_colour("#2f3640")


def advice_page(number, heading, lines, drawing):
    """Heading, the drawing on the left, the numbered lines on the right."""
    c = page(number, heading)
    box = (24, 74, 326, 392)
    panel(c, *box)
    c.clip = box
    drawing(c)
    c.clip = None
    points(c, 340, 104, lines, width=290, size=14)
    return c


def person_at_desk(c, monitor_x=276, monitor_top=104):
    """Someone seated, seen from the side, facing a desk with a screen."""
    floor = 372
    with c.shape(FLOOR) as s:
        s.rect(-200, floor, 400, floor + 3)
    # Desk with keyboard and screen.
    with c.shape(DESK_DARK) as s:
        s.rect(306, 236, 318, floor)
    with c.shape(DESK) as s:
        s.rect(176, 226, 360, 236, radius=2)
    with c.shape(SCREEN_CASE) as s:
        s.rect(monitor_x - 16, 221, monitor_x + 20, 226, radius=2)
        s.rect(monitor_x, 176, monitor_x + 6, 222)
        s.rect(monitor_x - 6, monitor_top, monitor_x + 4, monitor_top + 76, radius=2)
    with c.shape(kb.OUTLINE) as s:
        s.polygon([(188, 222), (238, 219), (238, 226), (188, 226)])
    # Chair.
    with c.shape(CHAIR_DARK) as s:
        s.rect(110, 268, 120, 352)
        s.capsule((84, 354), (148, 354), 7)
        s.circle(86, 365, 6)
        s.circle(146, 365, 6)
    with c.shape(CHAIR) as s:
        s.rect(60, 150, 76, 262, radius=6)
        s.rect(60, 250, 160, 270, radius=6)
    # Legs.
    with c.shape(TROUSERS) as s:
        s.capsule((104, 248), (198, 256), 34)
        s.capsule((198, 258), (202, 352), 26)
    with c.shape(SHOE) as s:
        s.rect(188, 352, 238, 372, radius=6)
        s.rect(188, 362, 238, 372)
    # Torso, neck, head.
    with c.shape(SKIN) as s:
        s.capsule((104, 126), (104, 154), 14)
    with c.shape(SHIRT) as s:
        s.capsule((98, 164), (102, 244), 40)
    with c.shape(HAIR) as s:
        s.circle(100, 104, 23)
    with c.shape(SKIN) as s:
        s.circle(108, 110, 21)
        s.circle(127, 114, 4)
    with c.shape(EYE) as s:
        s.circle(119, 106, 2.2)
    # Arm: elbow bent at a right angle, forearm level, wrist straight.
    with c.shape(SHIRT_ARM) as s:
        s.capsule((106, 166), (112, 212), 20)
        s.capsule((112, 212), (190, 208), 17)
    with c.shape(SKIN) as s:
        s.capsule((186, 208), (207, 207), 13)
        s.line([(204, 206), (213, 210), (216, 218)], 8)
    return {"eye": (119, 106), "hip": (104, 248), "knee": (198, 256), "floor": floor,
            "elbow": (112, 212), "wrist": (190, 208), "desk_edge": (176, 226),
            "monitor_top": monitor_top, "monitor_x": monitor_x}


def sitting(c):
    at = person_at_desk(c)
    hip, knee = at["hip"], at["knee"]
    dashed(c, hip, (knee[0] + 24, hip[1]), ACCENT, width=2)
    marker(c, 42, 200, "1")
    marker(c, 262, 350, "2")
    marker(c, 232, 276, "3")
    marker(c, 42, 124, "4")


def arms(c):
    """A closer look at the seated person's arm."""
    zoom = (1.75, -85.5, -92.0)
    c.zoom = zoom
    at = person_at_desk(c)
    ex, ey = at["elbow"]
    with c.shape(ACCENT) as s:
        s.arc(ex, ey, 20, -96, -4, 1.6)
    dashed(c, (ex + 12, ey - 0.6), (210, 207), ACCENT_TEXT, width=1.2, dash=4, gap=3)
    c.zoom = (1.0, 0.0, 0.0)
    c.zoom = zoom
    fx, fy = c.at(150, 210)
    wx, wy = c.at(*at["wrist"])
    dx, dy = c.at(*at["desk_edge"])
    x, y = c.at(ex, ey)
    c.zoom = (1.0, 0.0, 0.0)
    c.text((x + 26, y - 46), "90°", 15, ACCENT, bold=True, anchor="lm")
    marker(c, fx, fy - 24, "1")
    # On the bend of the arm itself: beside it the marker sat on the hip.
    marker(c, x - 4, y + 4, "2")
    marker(c, wx + 6, wy - 34, "3")
    marker(c, dx - 14, dy - 4, "4")


def screen(c):
    at = person_at_desk(c, monitor_x=292, monitor_top=108)
    eye = at["eye"]
    top = (at["monitor_x"] - 6, at["monitor_top"])
    dashed(c, (eye[0] + 4, eye[1]), (top[0] - 3, eye[1]), ACCENT, width=2)
    arrow(c, (eye[0] + 14, eye[1] + 26), (top[0] - 4, eye[1] + 26), ACCENT, width=2, head=8,
          both=True)
    c.text(((eye[0] + top[0]) / 2 + 5, eye[1] + 42), "40–75 cm", 13, ACCENT, bold=True,
           anchor="mm")
    marker(c, 230, 176, "1")
    marker(c, 316, 92, "2")


def window_from_above(c, x0, y0):
    """The screen seen from above, at a right angle to the window."""
    with c.shape(PANEL) as s:
        s.rect(x0, y0, x0 + 150, y0 + 96, radius=6)
    c.fill(x0 + 8, y0 + 6, x0 + 142, y0 + 10, CHAIR_DARK)
    c.fill(x0 + 40, y0 + 6, x0 + 104, y0 + 10, WINDOW_SKY)
    c.text((x0 + 72, y0 + 20), "okno", 11, TEXT, anchor="mm")
    with c.shape(DESK) as s:
        s.rect(x0 + 76, y0 + 34, x0 + 110, y0 + 84, radius=2)
    with c.shape(SCREEN_CASE) as s:
        s.rect(x0 + 96, y0 + 42, x0 + 102, y0 + 76)
    with c.shape(SHIRT) as s:
        s.ellipse(x0 + 40, y0 + 46, x0 + 62, y0 + 74)
    with c.shape(HAIR) as s:
        s.circle(x0 + 51, y0 + 60, 8)
    dashed(c, (x0 + 62, y0 + 60), (x0 + 92, y0 + 60), ACCENT, width=2, dash=4, gap=3)
    c.text((x0 + 75, y0 + 108), "widok z góry", 11, NOTE, anchor="mm")


def breaks(c):
    # A clock with the hour's five minutes of rest marked.
    cx, cy, r = 120, 170, 66
    with c.shape(SCREEN_CASE) as s:
        s.circle(cx, cy, r + 5)
    with c.shape(PANEL) as s:
        s.circle(cx, cy, r)
    with c.shape(hex_colour("#ffd9b8")) as s:
        pts = [(cx, cy)] + [(cx + r * math.cos(math.radians(-90 + a)),
                             cy + r * math.sin(math.radians(-90 + a))) for a in range(0, 31, 2)]
        s.polygon(pts)
    with c.shape(SCREEN_CASE) as s:
        for h in range(12):
            a = math.radians(h * 30)
            s.capsule((cx + (r - 10) * math.sin(a), cy - (r - 10) * math.cos(a)),
                      (cx + (r - 3) * math.sin(a), cy - (r - 3) * math.cos(a)), 3)
        s.capsule((cx, cy), (cx, cy - r + 16), 4)
        s.capsule((cx, cy), (cx + 34 * math.sin(math.radians(300)),
                             cy - 34 * math.cos(math.radians(300))), 5)
        s.circle(cx, cy, 5)
    c.text((cx + 42, cy - r - 6), "5 min", 14, ACCENT, bold=True, anchor="lm")
    marker(c, 40, 100, "1")
    # Looking far away through the window.
    wx0, wy0, wx1, wy1 = 206, 226, 318, 366
    with c.shape(CHAIR_DARK) as s:
        s.rect(wx0 - 5, wy0 - 5, wx1 + 5, wy1 + 5, radius=3)
    c.fill(wx0, wy0, wx1, wy1, WINDOW_SKY)
    with c.shape(hex_colour("#a9cf9a")) as s:
        s.rect(wx0, wy1 - 34, wx1, wy1)
    with c.shape(TRUNK) as s:
        s.rect(282, 318, 287, 336)
    with c.shape(TREE) as s:
        s.circle(284, 306, 15)
    with c.shape(TREE_DARK) as s:
        s.circle(247, 322, 8)
    c.fill(wx0 + (wx1 - wx0) // 2 - 2, wy0, wx0 + (wx1 - wx0) // 2 + 2, wy1, CHAIR_DARK)
    c.fill(wx0, wy0 + 58, wx1, wy0 + 62, CHAIR_DARK)
    # An eye looking there.
    ex, ey = 78, 300
    with c.shape(SCREEN_CASE) as s:
        s.ellipse(ex - 30, ey - 17, ex + 30, ey + 17)
    with c.shape(PANEL) as s:
        s.ellipse(ex - 27, ey - 14, ex + 27, ey + 14)
    with c.shape(hex_colour("#5a86b8")) as s:
        s.circle(ex + 8, ey, 11)
    with c.shape(EYE) as s:
        s.circle(ex + 9, ey, 5)
    arrow(c, (ex + 38, ey), (wx0 - 14, ey), ACCENT, width=3, head=10)
    c.text(((ex + wx0) / 2 + 10, ey - 16), "6 m", 14, ACCENT, bold=True, anchor="mm")
    c.text(((ex + wx0) / 2 + 10, ey + 18), "20 s", 14, ACCENT, bold=True, anchor="mm")
    marker(c, 40, 250, "3")


def home_row_page():
    c = page(6, "Rząd podstawowy")
    box = (24, 74, W - 24, 262)
    panel(c, *box)
    u = 36
    kbd = MiniKeyboard((W - 14.5 * u) / 2, 80, u)
    c.clip = box
    kbd.draw(c, highlight=("F", "J"))
    hands_on_home_row(c, kbd)
    c.clip = None
    for name in ("F", "J"):
        x0, y0, x1, y1 = kbd.keys[name]
        marker(c, x1 - 9, y0 + 10, "1")
    y = 280
    lines = [
        "Palce wskazujące leżą na wypukłościach klawiszy F\u00a0i\u00a0J.",
        "Po każdym klawiszu palec wraca na swoje miejsce.",
        "Patrz na tekst na ekranie, nie na klawisze.",
    ]
    points(c, 40, y, lines, width=560)
    return c


def sitting_page():
    return advice_page(2, "Jak siedzieć", [
        "Oprzyj plecy o oparcie krzesła.",
        "Postaw stopy płasko na podłodze.",
        "Kolana trochę niżej niż biodra.",
        "Siedź prosto, ramiona opuść swobodnie.",
    ], sitting)


def arms_page():
    return advice_page(3, "Dłonie i nadgarstki", [
        "Przedramiona trzymaj poziomo.",
        "Łokcie zegnij mniej więcej pod kątem prostym.",
        "Nadgarstki trzymaj prosto.",
        "Pisząc, nie opieraj nadgarstków o brzeg biurka.",
    ], arms)


def screen_page():
    c = advice_page(4, "Monitor", [
        "Ekran na wprost, 40–75\u00a0cm od oczu.",
        "Górna krawędź na wysokości oczu lub trochę niżej.",
        "Ekran bokiem do okna, pod kątem prostym.",
    ], screen)
    window_from_above(c, 400, 262)
    marker(c, 392, 270, "3")
    return c


def breaks_page():
    return advice_page(5, "Przerwy", [
        "Po każdej godzinie przy ekranie zrób 5\u00a0minut przerwy.",
        "Wstań, przeciągnij się, rozluźnij dłonie i ramiona.",
        "Co 20\u00a0minut popatrz przez 20\u00a0sekund w dal, na coś odległego o\u00a06\u00a0m.",
    ], breaks)


# The about box --------------------------------------------------------------

ABOUT_W, ABOUT_H = 500, 375
ABOUT_SHOWN = 357  # the box shows only the top rows of the picture


def about_picture(version):
    c = Canvas(ABOUT_W, ABOUT_H, PAPER)
    # A row of keys spelling the name.
    u = 30
    x0 = (ABOUT_W - 8 * u) / 2
    for i, ch in enumerate("PALCOMIR"):
        x = int(x0 + i * u)
        c.fill(x, 18, x + u - 2, 18 + u - 2, kb.OUTLINE)
        c.fill(x + 1, 19, x + u - 3, 17 + u - 2, kb.FACE)
        c.text((x + (u - 2) / 2, 18 + (u - 2) / 2 + 1), ch, 15, kb.INK, bold=True, anchor="mm")
    c.text((ABOUT_W / 2, 62), "Palcomir", 32, HEADING, bold=True, anchor="ma")
    c.text((ABOUT_W / 2, 104), "wersja " + version, 14, TEXT, anchor="ma")
    c.text((ABOUT_W / 2, 128), "Program do nauki pisania bezwzrokowego", 14, TEXT, anchor="ma")
    c.text((ABOUT_W / 2, 148), "Autorzy: Zespół Palcomira", 13, NOTE, anchor="ma")
    panel(c, 20, 174, ABOUT_W - 20, 304)
    y = 186
    blocks = [
        ("Czcionki: ", "DejaVu Sans Mono (tekst lekcji) i DejaVu Sans (rysunki), "
                       "\u00a9\u00a0Bitstream, Inc. i\u00a0projekt DejaVu, wolna licencja "
                       "Bitstream\u00a0Vera."),
        ("Lista słów: ", "kolejność według częstości z polskiej listy słów projektu "
                         "zxcvbn-ts (licencja MIT), pisownia sprawdzona ze słownikiem "
                         "SJP.PL."),
    ]
    for head, text in blocks:
        rows = wrap(c, head + text, ABOUT_W - 64, 12)
        for j, row in enumerate(rows):
            if j == 0:
                c.rich((32, y + 12), [(head, True), (row[len(head):], False)], 12, TEXT)
            else:
                c.text((32, y + 12 + 17 * j), row, 12, TEXT, anchor="ls")
        y += 17 * len(rows) + 10
    c.rich((32, y + 12), [("Licencja: ", True), ("GNU GPL w wersji 3 lub nowszej (GPL-3.0-or-later)", False)], 12, TEXT)
    c.text((ABOUT_W / 2, 332), "Kliknij, aby zamknąć.", 11, NOTE, anchor="ms")
    return c
