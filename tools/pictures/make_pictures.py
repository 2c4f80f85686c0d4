#!/usr/bin/python3
"""Draw the program's pictures and write them as GIF files.

    /usr/bin/python3 tools/pictures/make_pictures.py            # write them
    /usr/bin/python3 tools/pictures/make_pictures.py --check    # compare only
    /usr/bin/python3 tools/pictures/make_pictures.py --preview /tmp/p

Writes resources/pictures/gif*.gif and, for each, the palette it uses in
tools/pictures/palettes/.  Every file is read back before it is written: its
bytes must have the layout the program's decoder reads and decode to the
drawing; the keyboard's key areas, the fingering chart's colours and the
about picture's hidden rows are checked as well.
"""

import argparse
import html
import os
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, HERE)

import colours  # noqa: E402
import gif  # noqa: E402
import keyboard as kb  # noqa: E402
import raster  # noqa: E402
import slides  # noqa: E402

OUT_DIR = os.path.join(ROOT, "resources", "pictures")
PALETTE_DIR = os.path.join(HERE, "palettes")


def project_version():
    with open(os.path.join(ROOT, "CMakeLists.txt"), encoding="utf-8") as f:
        m = re.search(r"project\(\s*Palcomir\s+VERSION\s+([0-9.]+)", f.read())
    if not m:
        raise SystemExit("no project version in CMakeLists.txt")
    return m.group(1)


PICTURES = [
    (1, slides.title_page),
    (2, slides.sitting_page),
    (3, slides.arms_page),
    (4, slides.screen_page),
    (5, slides.breaks_page),
    (6, slides.home_row_page),
    (100, kb.keyboard_picture),
    (200, lambda: slides.about_picture(project_version())),
    (300, kb.chart_picture),
]

SIZES = {1: (638, 418), 2: (638, 418), 3: (638, 418), 4: (638, 418), 5: (638, 418),
         6: (638, 418), 100: (638, 193), 200: (500, 375), 300: (637, 279)}


# Checks of the drawings ------------------------------------------------------

def luma(c):
    return 0.299 * c[0] + 0.587 * c[1] + 0.114 * c[2]


DARK = 100   # every outline and label pixel of a key is darker than this
LIGHT = 230  # and its face lighter than this


def check_key_areas(canvas):
    """Each table key: dark outline on its outermost pixels, face inside.

    Inside, a pixel is either the face colour or dark (label ink); the
    lesson's highlight then tints the face and leaves the rest readable.
    """
    px = canvas.image.load()
    k = canvas.scale
    problems = []
    keys = [k for k in kb.main_keys() + kb.keypad_keys()]
    for key in keys:
        x0, y0, x1, y1 = key.box
        faces = set()

        def inside(x, y):
            return key.contains(x // k, y // k)

        for y in range(y0 * k, y1 * k):
            for x in range(x0 * k, x1 * k):
                if not inside(x, y):
                    continue
                c = px[x, y]
                border = not all(inside(x + dx, y + dy)
                                 for dx in (-1, 0, 1) for dy in (-1, 0, 1))
                if border:
                    if luma(c) >= DARK:
                        problems.append("%s: outline pixel %d,%d is %s" % (key.name, x, y, c))
                elif luma(c) >= DARK:
                    faces.add(c)
        if len(faces) != 1 or luma(next(iter(faces))) < LIGHT:
            problems.append("%s: light colours inside %s" % (key.name, sorted(faces)))
    return problems


HELP_FINGERS = {
    "lewy mały": kb.L5, "lewy serdeczny": kb.L4, "lewy środkowy": kb.L3,
    "lewy wskazujący": kb.L2, "prawy wskazujący": kb.R2, "prawy środkowy": kb.R3,
    "prawy serdeczny": kb.R4, "prawy mały": kb.R5, "kciuki": kb.THUMB,
}


def help_finger_table():
    """Key name -> finger as the help page on finger placement teaches it."""
    with open(os.path.join(ROOT, "resources", "help", "palce.html"), encoding="utf-8") as f:
        page = f.read()
    table = {}
    for name, cell in re.findall(r"<tr><td>([^<]+)</td><td>(.*?)</td></tr>", page, re.S):
        finger = HELP_FINGERS.get(name.strip())
        if finger is None:
            continue
        left = finger in (kb.L5, kb.L4, kb.L3, kb.L2)
        for k in re.findall(r"<kbd>(.*?)</kbd>", cell, re.S):
            k = html.unescape(k)
            if k == "Shift":
                k = "lewy Shift" if left else "prawy Shift"
            elif k == "Alt":
                k = "prawy Alt"
            elif len(k) == 1:
                k = k.lower()
            table[k] = finger
        if "spacja" in cell:
            table["spacja"] = finger
    return table


def check_fingers():
    """The chart's fingers are those of the help page, for every key it names."""
    taught = help_finger_table()
    drawn = {k.name: k.finger for k in kb.main_keys() + kb.other_keys()}
    problems = []
    if len(taught) < 40:
        problems.append("the help page's finger table gave only %d keys" % len(taught))
    for name, finger in sorted(taught.items()):
        if name not in drawn:
            problems.append("help page names key %r the chart does not have" % name)
        elif drawn[name] != finger:
            problems.append("key %r: help page %s, chart %s" % (name, finger, drawn[name]))
    for key in kb.main_keys():
        if key.name not in taught:
            problems.append("key %r of the lesson's table is not on the help page" % key.name)
    return problems


# Faces that must be told apart: the fingers of one hand, the two index
# fingers side by side, the thumbs and the keys of no finger against all.
HANDS = [[kb.L5, kb.L4, kb.L3, kb.L2], [kb.R2, kb.R3, kb.R4, kb.R5]]
MUST_DIFFER = ([(a, b) for h in HANDS for i, a in enumerate(h) for b in h[i + 1:]]
               + [(kb.L2, kb.R2)]
               + [(f, kb.THUMB) for h in HANDS for f in h]
               + [(f, None) for f in kb.FINGER_FACES if f is not None])
MIN_DIFFERENCE = 7.0   # CIEDE2000, also with protanopia and deuteranopia
MIN_ANY = 5.0          # any two faces of the chart


def check_chart_colours(report):
    problems = []
    faces = kb.FINGER_FACES
    every = [(a, b) for i, a in enumerate(faces) for b in list(faces)[i + 1:]]
    for kind in (None, "protanopia", "deuteranopia"):
        d, a, b = colours.worst_pair(faces, MUST_DIFFER, kind)
        d2, a2, b2 = colours.worst_pair(faces, every, kind)
        report.append("  %-12s closest faces to tell apart: %s/%s %.1f; any two: %s/%s %.1f"
                      % (kind or "normal", a, b, d, a2, b2, d2))
        if d < MIN_DIFFERENCE:
            problems.append("%s: %s and %s differ by %.1f only" % (kind or "normal", a, b, d))
        if d2 < MIN_ANY:
            problems.append("%s: %s and %s differ by %.1f only" % (kind or "normal", a2, b2, d2))
    return problems


def check_about(canvas):
    """Nothing but the background in the rows the about box does not show."""
    px = canvas.image.load()
    for y in range(slides.ABOUT_SHOWN * canvas.scale, canvas.height):
        for x in range(canvas.width):
            if px[x, y] != slides.PAPER:
                return ["about picture: pixel %d,%d in the hidden rows is drawn" % (x, y)]
    return []


# Writing ---------------------------------------------------------------------

def palette_text(palette):
    lines = ["# index  red green blue"]
    for i, (r, g, b) in enumerate(palette):
        lines.append("%3d  %3d %3d %3d  #%02x%02x%02x" % (i, r, g, b, r, g, b))
    return "\n".join(lines) + "\n"


def build(number, make):
    canvas = make()
    if (canvas.width, canvas.height) != tuple(v * canvas.scale for v in SIZES[number]):
        raise SystemExit("gif%d: drawn %dx%d" % (number, canvas.width, canvas.height))
    palette = canvas.used_palette()
    index = {c: i for i, c in enumerate(palette)}
    pixels = [index[c] for c in canvas.image.getdata()]
    data = gif.encode(canvas.width, canvas.height, palette, pixels)
    # Read it back as the program does.
    table, _ = gif.check_structure(data, canvas.width, canvas.height)
    if table[:len(palette)] != palette:
        raise SystemExit("gif%d: colour table differs from the palette" % number)
    if gif.decode(data, canvas.width, canvas.height) != pixels:
        raise SystemExit("gif%d: does not decode to the drawing" % number)
    return canvas, palette, data


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--check", action="store_true",
                    help="draw and compare with the files, write nothing")
    ap.add_argument("--preview", metavar="DIR",
                    help="also write PNG copies (and colour-blind views of the chart)")
    ap.add_argument("--only", type=int, action="append", help="only this picture")
    args = ap.parse_args()

    problems = check_fingers()
    report = []
    problems += check_chart_colours(report)
    differ = []
    # Each picture at its own size, then at twice the size for screens
    # that show two pixels for one.
    for scale, number, make in [(s, n, m) for s in (1, 2) for n, m in PICTURES]:
        if args.only and number not in args.only:
            continue
        raster.set_scale(scale)
        canvas, palette, data = build(number, make)
        if number == 100:
            problems += check_key_areas(canvas)
        if number == 200:
            problems += check_about(canvas)
        name = "gif%d" % number + ("@%dx" % scale if scale > 1 else "")
        gif_path = os.path.join(OUT_DIR, name + ".gif")
        pal_path = os.path.join(PALETTE_DIR, name + ".txt")
        text = palette_text(palette)
        print("%-10s %4dx%-4d  %3d colours (table of %d)  %6d bytes"
              % (name, canvas.width, canvas.height, len(palette), gif.table_size(len(palette)),
                 len(data)))
        if args.check:
            for path, content in ((gif_path, data), (pal_path, text.encode())):
                try:
                    with open(path, "rb") as f:
                        same = f.read() == content
                except OSError:
                    same = False
                if not same:
                    differ.append(os.path.relpath(path, ROOT))
        else:
            os.makedirs(OUT_DIR, exist_ok=True)
            os.makedirs(PALETTE_DIR, exist_ok=True)
            with open(gif_path, "wb") as f:
                f.write(data)
            with open(pal_path, "w", encoding="utf-8") as f:
                f.write(text)
        if args.preview:
            os.makedirs(args.preview, exist_ok=True)
            canvas.image.save(os.path.join(args.preview, name + ".png"))
            if number == 300:
                for kind in colours.SIMULATIONS:
                    colours.simulate_image(canvas.image, kind).save(
                        os.path.join(args.preview, "%s-%s.png" % (name, kind)))
    print("fingering chart colours (CIEDE2000):")
    print("\n".join(report))
    for p in problems:
        print("PROBLEM:", p)
    for d in differ:
        print("DIFFERS:", d)
    return 1 if problems or differ else 0


if __name__ == "__main__":
    sys.exit(main())
