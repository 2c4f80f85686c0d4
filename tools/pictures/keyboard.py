"""The keyboard of the lesson screen and the fingering chart drawn from it.

The keys the lesson marks lie exactly on the areas of the lesson's keyboard
table: each such area is drawn as a light face inside a one-pixel dark
outline that runs along the area's outermost pixels, so the lesson's
highlight (each pixel ANDed with the highlight colour) tints the face and
leaves outline and labels dark.  The keys the tables do not know (Esc,
function keys, Tab, Caps Lock, Backspace, Ctrl, Alt, the navigation block,
Num Lock) are drawn around them, where a real keyboard has them.
"""

from raster import Canvas, hex_colour

WIDTH, HEIGHT = 638, 193
U = 26  # the width of an ordinary key

BACKGROUND = hex_colour("#7b8ba1")
FACE = hex_colour("#f8fafd")
OUTLINE = hex_colour("#2b3a4f")
INK = hex_colour("#1a2230")
POLISH_INK = hex_colour("#1f4e8c")

# Labels on the faces are drawn unsmoothed, as the font's hints shape small
# glyphs; the few drawn smoothed take ink where the glyph covers most of
# the pixel, a dark blend where it covers less, the face where it covers
# little.  Every label pixel thus stays dark: nothing inside a key but its
# face is light.
LABEL_STEPS = ((0.7, 1.0), (0.4, 0.8))
POLISH_STEPS = ((0.45, 1.0),)

# Fingers: the names the fingering chart's legend uses.
L5, L4, L3, L2, R2, R3, R4, R5, THUMB = (
    "L5", "L4", "L3", "L2", "R2", "R3", "R4", "R5", "kciuk")


class Key:
    def __init__(self, rects, labels, finger=None, bump=False, name=None):
        self.rects = rects          # (x, y, w, h) rectangles whose union is the key
        self.labels = labels        # drawing instructions, see draw_labels
        self.finger = finger        # who strikes it, or None
        self.bump = bump            # the small ridge of F, J and keypad 5
        self.name = name or (labels[0][1] if labels else "?")

    @property
    def box(self):
        x0 = min(r[0] for r in self.rects)
        y0 = min(r[1] for r in self.rects)
        x1 = max(r[0] + r[2] for r in self.rects)
        y1 = max(r[1] + r[3] for r in self.rects)
        return x0, y0, x1, y1

    def contains(self, x, y):
        return any(rx <= x < rx + rw and ry <= y < ry + rh for rx, ry, rw, rh in self.rects)


# Label instructions: ("big", text) a letter or digit in the upper left,
# ("pair", upper, lower) a shifted and an unshifted character,
# ("polish", text) the right-Alt letter in the lower right,
# ("small", text), ("tiny", text) or ("small2", line1, line2) a name in
# small type, ("corner", text) a second name in the lower right,
# ("arrow", text) an arrow key's arrow, ("enter",) the Enter key's name,
# ("icon", name) a drawn symbol.

def _letter(x, y, letter, finger, polish=None, bump=False):
    labels = [("big", letter.upper())]
    if polish:
        labels.append(("polish", polish))
    return Key([(x, y, U, U)], labels, finger, bump=bump, name=letter)


def _pair(x, y, lower, upper, finger):
    return Key([(x, y, U, U)], [("pair", upper, lower)], finger, name=lower)


POLISH = {"a": "ą", "c": "ć", "e": "ę", "l": "ł", "n": "ń", "o": "ó", "s": "ś", "x": "ź", "z": "ż"}

# Columns of the letter rows and who strikes them (left little to right little).
DIGIT_FINGERS = [L5, L4, L3, L2, L2, R2, R2, R3, R4, R5]  # 1 to 0
TOP_FINGERS = [L5, L4, L3, L2, L2, R2, R2, R3, R4, R5, R5, R5]
HOME_FINGERS = [L5, L4, L3, L2, L2, R2, R2, R3, R4, R5, R5]
BOTTOM_FINGERS = [L5, L4, L3, L2, L2, R2, R2, R3, R4, R5]


def main_keys():
    """The keys of the lesson's main key table, at their table areas."""
    keys = [
        Key([(331, 129, 71, 26)], [("small", "Shift")], R5, name="prawy Shift"),
        Key([(12, 129, 59, 26)], [("small", "Shift")], L5, name="lewy Shift"),
        Key([(297, 155, 40, 26)], [("small", "Alt")], THUMB, name="prawy Alt"),
        Key([(118, 155, 179, 26)], [], THUMB, name="spacja"),
        Key([(343, 103, 59, 26), (364, 77, 38, 26)], [("enter",)], R5, name="Enter"),
    ]
    for k, d in enumerate("1234567890"):
        upper = "!@#$%^&*()"[k]
        keys.append(_pair(38 + U * k, 51, d, upper, DIGIT_FINGERS[k]))
    keys.append(_pair(298, 51, "-", "_", R5))
    keys.append(_pair(324, 51, "=", "+", R5))
    keys.append(_pair(350, 51, "\\", "|", R5))
    keys.append(_pair(14, 51, "`", "~", L5))
    for k, c in enumerate("qwertyuiop[]"):
        x = 52 + U * k
        if c in "[]":
            keys.append(_pair(x, 77, c, "{}"["[]".index(c)], TOP_FINGERS[k]))
        else:
            keys.append(_letter(x, 77, c, TOP_FINGERS[k], POLISH.get(c)))
    for k, c in enumerate("asdfghjkl;'"):
        x = 57 + U * k
        if c == ";":
            keys.append(_pair(x, 103, c, ":", HOME_FINGERS[k]))
        elif c == "'":
            keys.append(_pair(x, 103, c, '"', HOME_FINGERS[k]))
        else:
            keys.append(_letter(x, 103, c, HOME_FINGERS[k], POLISH.get(c), bump=c in "fj"))
    for k, c in enumerate("zxcvbnm,./"):
        x = 71 + U * k
        if c in ",./":
            keys.append(_pair(x, 129, c, "<>?"[",./".index(c)], BOTTOM_FINGERS[k]))
        else:
            keys.append(_letter(x, 129, c, BOTTOM_FINGERS[k], POLISH.get(c)))
    return keys


def keypad_keys():
    """The keys of the lesson's keypad table."""
    def k(x, y, label, finger, w=U, h=U, bump=False):
        return Key([(x, y, w, h)], [("big", label)], finger, bump=bump, name="num " + label)

    keys = [k(543, 51, "/", R3), k(569, 51, "*", R4), k(595, 51, "-", R5)]
    keys += [k(517, 77, "7", R2), k(543, 77, "8", R3), k(569, 77, "9", R4)]
    keys.append(k(595, 77, "+", R5, h=2 * U))
    keys += [k(517, 103, "4", R2), k(543, 103, "5", R3, bump=True), k(569, 103, "6", R4)]
    keys += [k(517, 129, "1", R2), k(543, 129, "2", R3), k(569, 129, "3", R4)]
    keys.append(Key([(595, 129, U, 2 * U)], [("tiny", "Enter")], R5, name="num Enter"))
    keys.append(k(517, 155, "0", THUMB, w=2 * U))
    keys.append(Key([(569, 155, U, U)], [("big", "."), ("corner", "Del")], R4, name="num ."))
    return keys


def other_keys():
    """Keys no table knows, drawn so that the picture looks like a keyboard."""
    def k(x, y, w, labels, finger=None, name=None):
        return Key([(x, y, w, U)], labels, finger, name=name)

    keys = [k(14, 14, U, [("small", "Esc")])]
    for i, x in enumerate([64, 90, 116, 142, 181, 207, 233, 259, 298, 324, 350, 376]):
        keys.append(k(x, 14, U, [("small", "F%d" % (i + 1))]))
    keys += [
        k(376, 51, U, [("icon", "backspace")], R5, name="Backspace"),
        k(12, 77, 40, [("small", "Tab ⇥")], L5, name="Tab"),
        k(12, 103, 45, [("small2", "Caps", "Lock")], L5, name="Caps Lock"),
        k(12, 155, 40, [("small", "Ctrl")]),
        k(52, 155, U, [("icon", "windows")], name="Windows"),
        k(78, 155, 40, [("small", "Alt")], name="lewy Alt"),
        k(337, 155, U, [("icon", "menu")], name="Menu"),
        k(363, 155, 39, [("small", "Ctrl")]),
    ]
    # The navigation block's keys are a little wider than the rest, so that
    # their names fit.
    nav, nw = [417, 445, 473], 28
    for x, t in zip(nav, [("Prt", "Sc"), ("Scr", "Lk")]):
        keys.append(k(x, 14, nw, [("small2",) + t]))
    keys.append(k(473, 14, nw, [("tiny", "Pause")]))
    for x, t in zip(nav, ["Ins", "Home", "PgUp"]):
        keys.append(k(x, 51, nw, [("tiny", t)]))
    for x, t in zip(nav, ["Del", "End", "PgDn"]):
        keys.append(k(x, 77, nw, [("tiny", t)]))
    keys.append(k(445, 129, nw, [("arrow", "↑")]))
    for x, t in zip(nav, ["←", "↓", "→"]):
        keys.append(k(x, 155, nw, [("arrow", t)]))
    keys.append(k(517, 51, U, [("small2", "Num", "Lock")], R2, name="Num Lock"))
    return keys


def all_keys():
    return main_keys() + keypad_keys() + other_keys()


def draw_face(canvas, key, face):
    for rx, ry, rw, rh in key.rects:
        canvas.fill(rx, ry, rx + rw, ry + rh, face)


def draw_outline(canvas, key):
    """Dark along every pixel of the key with a neighbour (of eight) outside it."""
    if len(key.rects) == 1:
        rx, ry, rw, rh = key.rects[0]
        canvas.frame(rx, ry, rx + rw, ry + rh, OUTLINE)
        return
    x0, y0, x1, y1 = key.box
    for y in range(y0, y1):
        for x in range(x0, x1):
            if key.contains(x, y) and not all(
                    key.contains(x + dx, y + dy) for dx in (-1, 0, 1) for dy in (-1, 0, 1)):
                canvas.put(x, y, OUTLINE)


def draw_labels(canvas, key):
    x0, y0, x1, y1 = key.box
    w = x1 - x0
    cx = x0 + w / 2

    def write(xy, text, size, anchor="la", bold=False, colour=INK, steps=LABEL_STEPS,
              mono=True):
        canvas.text(xy, text, size, colour, bold=bold, anchor=anchor, steps=steps,
                    mono=mono)

    for label in key.labels:
        kind = label[0]
        if kind == "big":
            text = label[1]
            if text in "/*-+":
                write((cx, y0 + 12), text, 14, anchor="mm")
            elif text == ".":
                write((x0 + 6, y0 + 14), text, 16, anchor="ls", bold=True)
            else:
                write((x0 + 5, y0 + 3), text, 12, bold=True)
        elif kind == "pair":
            write((x0 + 6, y0 + 1), label[1], 10, bold=True)
            write((x0 + 6, y0 + 12), label[2], 10, bold=True)
        elif kind == "polish":
            write((x1 - 4, y1 - 4), label[1], 11, anchor="rs", bold=True,
                  colour=POLISH_INK, steps=POLISH_STEPS)
        elif kind == "small":
            write((cx, y0 + 13), label[1], 9, anchor="mm", mono=False)
        elif kind == "tiny":
            write((cx, y0 + 13), label[1], 8, anchor="mm")
        elif kind == "small2":
            write((cx, y0 + 8), label[1], 8, anchor="mm")
            write((cx, y0 + 18), label[2], 8, anchor="mm")
        elif kind == "corner":
            write((x1 - 3, y1 - 4), label[1], 8, anchor="rs")
        elif kind == "arrow":
            write((cx, y0 + 13), label[1], 12, anchor="mm")
        elif kind == "enter":
            write((382, 116), "Enter ↵", 9, anchor="mm", mono=False)
        elif kind == "icon":
            draw_icon(canvas, key, label[1])
    if key.bump:
        c = x0 + w // 2
        canvas.fill(c - 4, y1 - 5, c + 4, y1 - 4, INK)


def draw_icon(canvas, key, name):
    x0, y0, x1, y1 = key.box
    cx, cy = (x0 + x1) // 2, (y0 + y1) // 2
    if name == "windows":
        for dx in (-5, 1):
            for dy in (-5, 1):
                canvas.fill(cx + dx, cy + dy, cx + dx + 4, cy + dy + 4, INK)
    elif name == "menu":
        canvas.frame(cx - 5, cy - 6, cx + 5, cy + 6, INK)
        for dy in (-3, 0, 3):
            canvas.fill(cx - 3, cy + dy, cx + 3, cy + dy + 1, INK)
    elif name == "backspace":
        canvas.text((cx, cy), "⟵", 14, INK, anchor="mm", steps=LABEL_STEPS)


def draw_keyboard(canvas, keys, face_of):
    """Draw `keys`; `face_of(key)` gives each key's face colour.

    All faces first, then all outlines: the grave accent key's area reaches
    two pixels into the 1 key's, and each of the two must keep its outline.
    """
    for key in keys:
        draw_face(canvas, key, face_of(key))
    for key in keys:
        draw_outline(canvas, key)
    for key in keys:
        draw_labels(canvas, key)


def keyboard_picture():
    canvas = Canvas(WIDTH, HEIGHT, BACKGROUND)
    draw_keyboard(canvas, all_keys(), lambda key: FACE)
    return canvas


# The fingering chart -------------------------------------------------------

CHART_WIDTH, CHART_HEIGHT = 637, 279
PAPER = hex_colour("#eef3f9")
HEADING = hex_colour("#1f4e8c")
TEXT = hex_colour("#282828")
NOTE = hex_colour("#5a6472")

# Key faces by finger.  The fingers of one hand differ in lightness and
# along the blue-yellow axis, which people with red-green colour blindness
# still see; keys of no finger are a plain grey.  make_pictures.py measures
# the differences, also as seen with protanopia and deuteranopia.
FINGER_FACES = {
    L5: hex_colour("#9ad2f2"),
    L4: hex_colour("#faeaa2"),
    L3: hex_colour("#70c4a0"),
    L2: hex_colour("#ebb233"),
    R2: hex_colour("#b8a9e3"),
    R3: hex_colour("#d0e270"),
    R4: hex_colour("#e8a0b8"),
    R5: hex_colour("#eaae80"),
    THUMB: hex_colour("#f1e9dc"),
    None: hex_colour("#c9d0d9"),
}

FINGER_NAMES = {
    L5: "mały palec lewej ręki",
    L4: "serdeczny palec lewej ręki",
    L3: "środkowy palec lewej ręki",
    L2: "wskazujący palec lewej ręki",
    R2: "wskazujący palec prawej ręki",
    R3: "środkowy palec prawej ręki",
    R4: "serdeczny palec prawej ręki",
    R5: "mały palec prawej ręki",
    THUMB: "kciuki",
    None: "klawisze bez stałego palca",
}


def chart_keys():
    """The keyboard without the function key row, whose keys no finger owns."""
    return [k for k in all_keys() if k.box[1] >= 51]


def chart_picture():
    canvas = Canvas(CHART_WIDTH, CHART_HEIGHT, PAPER)
    canvas.text((12, 10), "Który palec naciska który klawisz", 16, HEADING, bold=True)
    canvas.text((625, 14), "Klawisz albo kliknięcie zamyka ściągę", 10, NOTE, anchor="ra")
    canvas.fill(6, 45, 627, 187, BACKGROUND)
    draw_keyboard(canvas, chart_keys(), lambda key: FINGER_FACES[key.finger])
    columns = [
        (12, [L5, L4, L3, L2]),
        (222, [R2, R3, R4, R5]),
        (432, [THUMB, None]),
    ]
    for x, fingers in columns:
        for row, finger in enumerate(fingers):
            y = 197 + 20 * row
            canvas.fill(x, y, x + 24, y + 15, OUTLINE)
            canvas.fill(x + 1, y + 1, x + 23, y + 14, FINGER_FACES[finger])
            canvas.text((x + 31, y + 7), FINGER_NAMES[finger], 11, TEXT, anchor="lm")
    canvas.text((432, 245), "Shift naciska mały palec", 11, TEXT, anchor="lm")
    canvas.text((432, 261), "ręki, która nie uderza litery.", 11, TEXT, anchor="lm")
    return canvas
