#!/usr/bin/python3
"""Draws Brisa's embedded artwork into Resources/.

Everything is generated from code so it can be redrawn after a palette change:
the SVG icons are written directly (filled paths only, because the editor reads
them through Drawable::getOutlineAsPath, which ignores strokes and fill rules),
the PNGs are written as SVG first and rasterised with rsvg-convert.

Needs Debian's python3, python3-fonttools, librsvg2-bin and fonts-inter.
Run: /usr/bin/python3 tools/art/make_art.py   (from the repository root)
"""

import math
import os
import shutil
import subprocess
import sys
import tempfile

from fontTools.pens.areaPen import AreaPen
from fontTools.pens.boundsPen import BoundsPen
from fontTools.pens.svgPathPen import SVGPathPen
from fontTools.pens.transformPen import TransformPen
from fontTools.ttLib import TTFont

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
RES = os.path.join(ROOT, "Resources")
INTER = "/usr/share/fonts/opentype/inter"
INTER_COPYRIGHT = "/usr/share/doc/fonts-inter/copyright"

# Palette of the editor (room palette and interface colours).
NEAR_BLACK = "#0F0F0F"
TONE = "#05251E"
SHAPE = "#00664A"
DAMPING = "#00D4A8"
PANEL = "#2B2B2B"


def fmt(v):
    s = "%.3f" % v
    s = s.rstrip("0").rstrip(".")
    return "0" if s in ("-0", "") else s


class Face:
    """Glyph outlines of one OpenType face, turned into SVG path data."""

    def __init__(self, path):
        self.font = TTFont(path)
        self.glyphs = self.font.getGlyphSet()
        self.cmap = self.font.getBestCmap()
        self.upem = self.font["head"].unitsPerEm
        self.cap = self.font["OS/2"].sCapHeight

    def advance(self, ch):
        return self.font["hmtx"][self.cmap[ord(ch)]][0]

    def run_width(self, text, tracking=0.0):
        """Advance width of text in font units; tracking in font units per gap."""
        w = sum(self.advance(c) for c in text)
        return w + tracking * (len(text) - 1)

    def draw(self, pen, text, matrix_for_offset, tracking=0.0):
        x = 0.0
        for c in text:
            g = self.glyphs[self.cmap[ord(c)]]
            g.draw(TransformPen(pen, matrix_for_offset(x)))
            x += self.advance(c) + tracking

    def path(self, text, matrix_for_offset, tracking=0.0):
        pen = SVGPathPen(None, ntos=fmt)
        self.draw(pen, text, matrix_for_offset, tracking)
        return pen.getCommands()

    def bounds(self, text, matrix_for_offset, tracking=0.0):
        pen = BoundsPen(None)
        self.draw(pen, text, matrix_for_offset, tracking)
        return pen.bounds

    def orientation(self, text, matrix_for_offset):
        """Sign of the outer contours' area after the transform (y-down space)."""
        pen = AreaPen(None)
        self.draw(pen, text, matrix_for_offset)
        return 1 if pen.value > 0 else -1


def horizontal(k, x0, baseline):
    """Font units → SVG space, upright text, em scale k."""
    return lambda off: (k, 0, 0, -k, x0 + off * k, baseline)


def vertical(k, x_base, y0):
    """Font units → SVG space, text reading bottom to top (tops point left)."""
    return lambda off: (0, -k, -k, 0, x_base, y0 - off * k)


def area_sign(points):
    a = 0.0
    for (x1, y1), (x2, y2) in zip(points, points[1:] + points[:1]):
        a += x1 * y2 - x2 * y1
    return 1 if a > 0 else -1


def polygon(points, sign):
    """Closed polygon whose winding has the given sign (nonzero fill: opposite sign = hole)."""
    if area_sign(points) != sign:
        points = list(reversed(points))
    d = "M" + fmt(points[0][0]) + " " + fmt(points[0][1])
    for x, y in points[1:]:
        d += "L" + fmt(x) + " " + fmt(y)
    return d + "Z"


def circle(cx, cy, r, sign):
    """Circle as four cubic Béziers (no arcs, so every SVG reader agrees)."""
    k = 0.5522847498 * r
    # This order runs clockwise on screen (y down), i.e. positive shoelace area.
    d = "M%s %s" % (fmt(cx), fmt(cy - r))
    segs = [
        (cx + k, cy - r, cx + r, cy - k, cx + r, cy),
        (cx + r, cy + k, cx + k, cy + r, cx, cy + r),
        (cx - k, cy + r, cx - r, cy + k, cx - r, cy),
        (cx - r, cy - k, cx - k, cy - r, cx, cy - r),
    ]
    if sign < 0:
        d = "M%s %s" % (fmt(cx), fmt(cy - r))
        segs = [
            (cx - k, cy - r, cx - r, cy - k, cx - r, cy),
            (cx - r, cy + k, cx - k, cy + r, cx, cy + r),
            (cx + k, cy + r, cx + r, cy + k, cx + r, cy),
            (cx + r, cy - k, cx + k, cy - r, cx, cy - r),
        ]
    for s in segs:
        d += "C" + " ".join(fmt(v) for v in s)
    return d + "Z"


def hexagon_points(cx, cy, radius):
    """Regular hexagon with a vertex at the top, like the editor's honeycomb."""
    return [(cx + radius * math.sin(math.radians(a)), cy - radius * math.cos(math.radians(a)))
            for a in range(0, 360, 60)]


def v_mark(cx, cy, w, h, stroke):
    """A geometric V: two slanted bars meeting at the bottom."""
    top = cy - h / 2
    bot = cy + h / 2
    return [(cx - w / 2, top), (cx - w / 2 + stroke, top), (cx, bot - stroke * 1.1),
            (cx + w / 2 - stroke, top), (cx + w / 2, top), (cx + stroke * 0.55, bot),
            (cx - stroke * 0.55, bot)]


def write(name, text):
    with open(os.path.join(RES, name), "w", encoding="utf-8") as f:
        f.write(text)


def rasterise(svg_text, name, width, height, workdir):
    src = os.path.join(workdir, name + ".svg")
    with open(src, "w", encoding="utf-8") as f:
        f.write(svg_text)
    subprocess.run(["rsvg-convert", "-w", str(width), "-h", str(height), "-f", "png",
                    "-o", os.path.join(RES, name), src], check=True)


def svg_doc(width_attr, height_attr, view_w, view_h, body):
    return ('<?xml version="1.0" encoding="UTF-8"?>\n'
            '<svg xmlns="http://www.w3.org/2000/svg" version="1.1" width="%s" height="%s" '
            'viewBox="0 0 %s %s">\n%s\n</svg>\n' % (width_attr, height_attr, fmt(view_w),
                                                    fmt(view_h), body))


# ---------------------------------------------------------------------------

def help_icon(bold):
    """50 mm square: a ring with a question mark, one filled path (nonzero)."""
    size = 50.0
    c = size / 2
    k = 26.0 / bold.upem * 1.0  # question mark about 26 units tall
    bb = bold.bounds("?", horizontal(k, 0, 0))
    qw, qh = bb[2] - bb[0], bb[3] - bb[1]
    x0 = c - qw / 2 - bb[0]
    base = c + qh / 2 - bb[3]
    place = horizontal(k, x0, base)
    sign = bold.orientation("?", place)
    d = circle(c, c, 24.5, sign) + circle(c, c, 20.5, -sign) + bold.path("?", place)
    body = '  <path fill="#FFFFFF" fill-rule="nonzero" d="%s"/>' % d
    write("helpmode.svg", svg_doc("50mm", "50mm", size, size, body))


def vertical_logo(bold):
    """18 mm × 137 mm: hexagon mark at the bottom, the maker's name reading upwards."""
    W, H = 18.0, 137.0
    # Mark: a hexagon 18 wide with a V cut out of it.
    radius = W / math.sqrt(3.0)
    mark_cy = H - radius
    text = "VANTA AUDIO"
    gap = 5.0
    avail = H - 2 * radius - gap
    # Letters a little narrower than the mark; tracking stretches the name so the
    # ink spans exactly the rest of the height (the button scales by path bounds).
    k = W * 0.72 / bold.cap
    probe = bold.bounds(text, horizontal(k, 0, 0))
    ink0 = probe[2] - probe[0]
    tracking = (avail - ink0) / k / (len(text) - 1)
    x_base = W / 2 + bold.cap * k / 2
    place = vertical(k, x_base, 0)
    bb = bold.bounds(text, place, tracking)
    place = vertical(k, x_base, (H - 2 * radius - gap) - bb[3])
    sign = bold.orientation("V", place)
    d = polygon(hexagon_points(W / 2, mark_cy, radius), sign)
    d += polygon(v_mark(W / 2, mark_cy + 0.4, radius * 1.0, radius * 0.95, radius * 0.28), -sign)
    d += bold.path(text, place, tracking)
    body = '  <path fill="#FFFFFF" fill-rule="nonzero" d="%s"/>' % d
    write("verticalLogo.svg", svg_doc("18mm", "137mm", W, H, body))


def knob_shine(workdir):
    """215 × 215: soft top-left highlight and bottom shade over a 212 px disc."""
    body = """
  <defs>
    <radialGradient id="hi" cx="0.36" cy="0.28" r="0.62">
      <stop offset="0" stop-color="#FFFFFF" stop-opacity="0.42"/>
      <stop offset="0.45" stop-color="#FFFFFF" stop-opacity="0.12"/>
      <stop offset="1" stop-color="#FFFFFF" stop-opacity="0"/>
    </radialGradient>
    <linearGradient id="lo" x1="0" y1="0" x2="0" y2="1">
      <stop offset="0.45" stop-color="#000000" stop-opacity="0"/>
      <stop offset="1" stop-color="#000000" stop-opacity="0.38"/>
    </linearGradient>
    <linearGradient id="rim" x1="0" y1="0" x2="0" y2="1">
      <stop offset="0" stop-color="%s" stop-opacity="0.55"/>
      <stop offset="1" stop-color="%s" stop-opacity="0.05"/>
    </linearGradient>
  </defs>
  <circle cx="106" cy="106" r="104" fill="url(#hi)"/>
  <circle cx="106" cy="106" r="104" fill="url(#lo)"/>
  <circle cx="106" cy="106" r="98" fill="none" stroke="url(#rim)" stroke-width="3"/>
""" % (DAMPING, SHAPE)
    rasterise(svg_doc(215, 215, 215, 215, body), "KnobShine.png", 215, 215, workdir)


def corona(workdir):
    """237 × 237: teal glow behind the help icon while help mode is on."""
    body = """
  <defs>
    <radialGradient id="g" cx="0.5" cy="0.5" r="0.5">
      <stop offset="0" stop-color="%s" stop-opacity="0.85"/>
      <stop offset="0.35" stop-color="%s" stop-opacity="0.45"/>
      <stop offset="0.7" stop-color="%s" stop-opacity="0.12"/>
      <stop offset="1" stop-color="%s" stop-opacity="0"/>
    </radialGradient>
  </defs>
  <rect width="237" height="237" fill="url(#g)"/>
""" % (DAMPING, DAMPING, SHAPE, SHAPE)
    rasterise(svg_doc(237, 237, 237, 237, body), "corona.png", 237, 237, workdir)


def small_logo(workdir):
    """286 × 330: the maker's hexagon mark for dark backgrounds (330/286 = 2/√3)."""
    cx, cy, r = 143.0, 165.0, 165.0
    outer = hexagon_points(cx, cy, r - 2)
    inner = hexagon_points(cx, cy, r - 20)
    pts = lambda p: " ".join("%s,%s" % (fmt(x), fmt(y)) for x, y in p)
    v = v_mark(cx, cy + 6, 150, 130, 40)
    body = """
  <defs>
    <linearGradient id="f" x1="0" y1="0" x2="0" y2="1">
      <stop offset="0" stop-color="%s"/>
      <stop offset="1" stop-color="%s"/>
    </linearGradient>
  </defs>
  <polygon points="%s" fill="%s"/>
  <polygon points="%s" fill="url(#f)"/>
  <polygon points="%s" fill="#FFFFFF"/>
  <circle cx="%s" cy="%s" r="13" fill="%s"/>
""" % (SHAPE, TONE, pts(outer), DAMPING, pts(inner), pts(v), fmt(cx), fmt(cy - 92), DAMPING)
    rasterise(svg_doc(286, 330, 286, 330, body), "QDVSmallLogoDarkBG_v1.png", 286, 330, workdir)


def edition_logo(bold, workdir):
    """2431 × 397: a breeze mark and the word Brisa, white on transparent."""
    W, H = 2431.0, 397.0
    pad = 24.0
    text = "Brisa"
    tracking = 40.0
    # Tallest letter (the i's dot) fills the height minus padding.
    probe = bold.bounds(text, horizontal(1.0, 0, 0), tracking)
    k = (H - 2 * pad) / (probe[3] - probe[1])
    width = (probe[2] - probe[0]) * k
    x0 = W - pad - width - probe[0] * k
    base = pad - probe[1] * k
    word = bold.path(text, horizontal(k, x0, base), tracking)
    # Breeze: three rounded streaks of falling length, ending before the word.
    right = W - pad - width - 90.0
    streaks = []
    thickness = 46.0
    for i, (length, dy, colour) in enumerate([(1.00, -110, DAMPING), (0.78, 0, SHAPE),
                                               (0.56, 110, DAMPING)]):
        ln = (right - pad) * length
        y = H / 2 + dy - thickness / 2
        streaks.append('<rect x="%s" y="%s" width="%s" height="%s" rx="%s" fill="%s" '
                       'fill-opacity="%s"/>' % (fmt(right - ln), fmt(y), fmt(ln), fmt(thickness),
                                                fmt(thickness / 2), colour,
                                                "1" if i != 1 else "0.9"))
    body = "  " + "\n  ".join(streaks) + '\n  <path fill="#FFFFFF" d="%s"/>' % word
    rasterise(svg_doc(2431, 397, W, H, body), "brisaLogo.png", 2431, 397, workdir)


def fonts():
    shutil.copyfile(os.path.join(INTER, "Inter-Regular.otf"), os.path.join(RES, "SatoshiRegular.otf"))
    shutil.copyfile(os.path.join(INTER, "Inter-Bold.otf"), os.path.join(RES, "SatoshiBold.otf"))
    shutil.copyfile(INTER_COPYRIGHT, os.path.join(RES, "Inter-LICENSE.txt"))


def main():
    os.makedirs(RES, exist_ok=True)
    bold = Face(os.path.join(INTER, "Inter-Bold.otf"))
    fonts()
    help_icon(bold)
    vertical_logo(bold)
    with tempfile.TemporaryDirectory() as work:
        knob_shine(work)
        corona(work)
        small_logo(work)
        edition_logo(bold, work)
    return 0


if __name__ == "__main__":
    sys.exit(main())
