#!/usr/bin/python3
"""Generates the pictures of Tessaro into the folder of this script.

    /usr/bin/python3 make_pictures.py [output folder]

Needs Pillow (Debian: python3-pil) and the DejaVu fonts. The generated
bitmaps are committed, so a build does not need this script; run it only to
change the pictures.

Every picture is a Windows BMP with 24 bits per pixel:
  - the 20 tool bar pictures, 32 x 32, under the names the program loads,
    and each again at 64 x 64 under the same name with "@2x" before ".bmp";
  - background.bmp, upstream.bmp, downstream.bmp, 1024 x 768, stretched over
    the programming field (the last two flash briefly while data goes from
    the robot to the PC and from the PC to the robot);
  - intro.bmp, 474 x 390, of which the top left 473 x 377 pixels are shown.

Small pictures are drawn four times larger and scaled down for smooth edges.
"""

import math
import os
import random
import sys

from PIL import Image, ImageDraw, ImageFilter, ImageFont

SS = 4  # supersampling factor
FONT_DIR = "/usr/share/fonts/truetype/dejavu/"

# Colours of the blocks on the programming field.
VIO_ORANGE_YELLOW = (252, 204, 4)   # Start, Stop, Switch interrupt, RTI
VIO_PALE_YELLOW = (252, 252, 148)   # If, Then, Else
VIO_PALE_GREEN = (204, 252, 204)    # Delay, Label, Goto
VIO_PALE_ORANGE = (252, 204, 148)   # Actor, Engine speed
VIO_PALE_CYAN = (204, 252, 252)     # Sensor

TOOLBAR_GREY = (240, 240, 240)
OUTLINE = (60, 60, 60)
WHITE = (255, 255, 255)
GREEN = (34, 170, 60)
DARK_GREEN = (20, 110, 40)
RED = (215, 40, 40)
DARK_RED = (140, 20, 20)
ORANGE = (245, 140, 20)
BLUE = (40, 110, 220)
DARK_BLUE = (25, 60, 140)
SKY = (70, 170, 235)
YELLOW = (250, 205, 20)
PURPLE = (120, 60, 190)
BROWN = (150, 95, 40)


def font(size, bold=True):
    name = "DejaVuSans-Bold.ttf" if bold else "DejaVuSans.ttf"
    return ImageFont.truetype(os.path.join(FONT_DIR, name), size)


def darker(c, f=0.65):
    return tuple(int(v * f) for v in c)


def lighter(c, f=0.5):
    return tuple(int(v + (255 - v) * f) for v in c)


class Canvas:
    """A drawing surface with coordinates in final pixels, drawn SS times larger."""

    def __init__(self, w, h, bg):
        self.w, self.h = w, h
        self.img = Image.new("RGB", (w * SS, h * SS), bg)
        self.d = ImageDraw.Draw(self.img)

    @staticmethod
    def s(v):
        return v * SS

    def pts(self, points):
        return [(x * SS, y * SS) for x, y in points]

    def box(self, x0, y0, x1, y1):
        return [x0 * SS, y0 * SS, x1 * SS, y1 * SS]

    def rrect(self, x0, y0, x1, y1, r, fill, outline=None, width=1.0):
        self.d.rounded_rectangle(self.box(x0, y0, x1, y1), radius=r * SS, fill=fill,
                                 outline=outline, width=int(width * SS) if outline else 0)

    def rect(self, x0, y0, x1, y1, fill, outline=None, width=1.0):
        self.d.rectangle(self.box(x0, y0, x1, y1), fill=fill, outline=outline,
                         width=int(width * SS) if outline else 0)

    def ellipse(self, x0, y0, x1, y1, fill, outline=None, width=1.0):
        self.d.ellipse(self.box(x0, y0, x1, y1), fill=fill, outline=outline,
                       width=int(width * SS) if outline else 0)

    def circle(self, cx, cy, r, fill, outline=None, width=1.0):
        self.ellipse(cx - r, cy - r, cx + r, cy + r, fill, outline, width)

    def poly(self, points, fill, outline=None, width=1.0):
        self.d.polygon(self.pts(points), fill=fill)
        if outline:
            self.line(list(points) + [points[0]], outline, width)

    def line(self, points, fill, width=1.0, round_ends=True):
        p = self.pts(points)
        self.d.line(p, fill=fill, width=int(width * SS), joint="curve")
        if round_ends:
            r = width * SS / 2
            for x, y in (p[0], p[-1]):
                self.d.ellipse([x - r, y - r, x + r, y + r], fill=fill)

    def arc(self, cx, cy, r, start, end, fill, width):
        self.d.arc(self.box(cx - r, cy - r, cx + r, cy + r), start, end, fill=fill,
                   width=int(width * SS))

    def pieslice(self, cx, cy, r, start, end, fill):
        self.d.pieslice(self.box(cx - r, cy - r, cx + r, cy + r), start, end, fill=fill)

    def text(self, x, y, txt, size, fill, anchor="mm", bold=True, stroke=0, stroke_fill=None):
        self.d.text((x * SS, y * SS), txt, font=font(int(size * SS), bold), fill=fill,
                    anchor=anchor, stroke_width=int(stroke * SS), stroke_fill=stroke_fill)

    def final(self, scale=1):
        return self.img.resize((self.w * scale, self.h * scale), Image.LANCZOS)


# ---------------------------------------------------------------- symbols

def arrow_head(c, tip, direction, size, fill):
    """A filled triangle pointing in direction (radians) with its tip at tip."""
    tx, ty = tip
    back = (tx - size * math.cos(direction), ty - size * math.sin(direction))
    nx, ny = -math.sin(direction), math.cos(direction)
    half = size * 0.62
    c.poly([tip, (back[0] + nx * half, back[1] + ny * half),
            (back[0] - nx * half, back[1] - ny * half)], fill)


def arc_arrow(c, cx, cy, r, start, end, fill, width, head):
    """An arc from angle start to end (degrees, clockwise on screen) with a head at end."""
    c.arc(cx, cy, r, start, end, fill, width)
    a = math.radians(end)
    tip_base = (cx + r * math.cos(a), cy + r * math.sin(a))
    tangent = a + math.pi / 2  # clockwise direction on screen
    tip = (tip_base[0] + head * 0.55 * math.cos(tangent), tip_base[1] + head * 0.55 * math.sin(tangent))
    arrow_head(c, tip, tangent, head, fill)


def tile(colour):
    """A 32 x 32 tool bar picture: a rounded tile in the block colour."""
    c = Canvas(32, 32, TOOLBAR_GREY)
    c.rrect(0.5, 0.5, 31.5, 31.5, 5, fill=colour, outline=darker(colour, 0.7), width=1.0)
    # soft light at the top
    c.rrect(2, 2, 30, 12, 4, fill=lighter(colour, 0.35))
    c.rect(2, 8, 30, 12, fill=lighter(colour, 0.35))
    c.d.rectangle(c.box(2, 10, 30, 13), fill=colour)
    return c


def icon_start():
    c = tile(VIO_ORANGE_YELLOW)
    c.circle(16, 16, 12.5, fill=GREEN, outline=DARK_GREEN, width=1.3)
    c.poly([(12.5, 9.5), (23.5, 16), (12.5, 22.5)], fill=WHITE)
    return c


def icon_stop():
    c = tile(VIO_ORANGE_YELLOW)
    pts = []
    for i in range(8):
        a = math.radians(22.5 + 45 * i)
        pts.append((16 + 13 * math.cos(a), 16 + 13 * math.sin(a)))
    c.poly(pts, fill=WHITE)
    pts = []
    for i in range(8):
        a = math.radians(22.5 + 45 * i)
        pts.append((16 + 11.6 * math.cos(a), 16 + 11.6 * math.sin(a)))
    c.poly(pts, fill=RED)
    c.rrect(8.5, 13.8, 23.5, 18.2, 1.2, fill=WHITE)
    return c


def icon_if():
    c = tile(VIO_PALE_YELLOW)
    c.circle(16, 16, 12.5, fill=PURPLE, outline=darker(PURPLE), width=1.0)
    c.text(16, 16.8, "?", 20, WHITE)
    return c


def icon_then():
    c = tile(VIO_PALE_YELLOW)
    c.circle(16, 16, 12.5, fill=GREEN, outline=DARK_GREEN, width=1.0)
    c.line([(9.5, 16.5), (14, 21), (22.5, 11)], WHITE, 3.4)
    return c


def icon_else():
    c = tile(VIO_PALE_YELLOW)
    # a road that splits: straight on is greyed, the orange arrow takes the other way
    c.line([(16, 28), (16, 6)], (185, 185, 170), 3.0)
    c.poly([(16, 3), (20.5, 9), (11.5, 9)], (185, 185, 170))
    c.line([(16, 28), (16, 19), (24, 12.5)], ORANGE, 4.0)
    arrow_head(c, (28.5, 8.5), math.radians(-42), 8.5, ORANGE)
    c.line([(16, 28), (16, 19), (24, 12.5)], darker(ORANGE, 0.9), 1.0, round_ends=False)
    return c


def icon_label():
    c = tile(VIO_PALE_GREEN)
    # a luggage tag with a hole and a letter
    tag = [(4, 16), (11, 7), (28, 7), (28, 25), (11, 25)]
    c.poly(tag, fill=YELLOW, outline=BROWN, width=1.3)
    c.circle(10.5, 16, 2.0, fill=VIO_PALE_GREEN, outline=BROWN, width=0.9)
    c.text(20.5, 16.3, "A", 12, (60, 40, 10))
    c.line([(2, 26), (6, 20), (8.7, 16)], BROWN, 1.0)
    return c


def icon_goto():
    c = tile(VIO_PALE_GREEN)
    # a jump arrow hopping over a block
    c.rrect(12.5, 20, 19.5, 27, 1.2, fill=(150, 200, 150), outline=DARK_GREEN, width=0.8)
    c.rect(3, 27, 29, 28.3, fill=DARK_GREEN)
    c.arc(16, 21, 11, 180, 330, BLUE, 3.2)
    a = math.radians(330)
    tip = (16 + 11 * math.cos(a) + 1.5, 21 + 11 * math.sin(a) + 5.0)
    arrow_head(c, tip, math.radians(65), 8, BLUE)
    c.circle(5, 21, 1.6, fill=BLUE)
    return c


def icon_delay():
    c = tile(VIO_PALE_GREEN)
    # hourglass
    c.rrect(8, 3.5, 24, 6.5, 1, fill=BROWN)
    c.rrect(8, 25.5, 24, 28.5, 1, fill=BROWN)
    glass = [(10, 6.5), (22, 6.5), (22, 8), (17.2, 16), (22, 24), (22, 25.5), (10, 25.5),
             (10, 24), (14.8, 16), (10, 8)]
    c.poly(glass, fill=(230, 245, 255), outline=(90, 120, 150), width=1.0)
    # sand: a little left on top, a heap below, a thin stream
    c.poly([(12.2, 10), (19.8, 10), (16.4, 15), (15.6, 15)], fill=(235, 170, 40))
    c.poly([(11.5, 24.7), (20.5, 24.7), (16, 19.5)], fill=(235, 170, 40))
    c.line([(16, 15), (16, 21)], (235, 170, 40), 0.8)
    return c


def wheel(c, cx, cy, r):
    c.circle(cx, cy, r, fill=(45, 45, 50))
    c.circle(cx, cy, r * 0.62, fill=(190, 195, 205), outline=(120, 125, 135), width=0.8)
    for i in range(5):
        a = math.radians(-90 + 72 * i)
        c.line([(cx, cy), (cx + r * 0.55 * math.cos(a), cy + r * 0.55 * math.sin(a))],
               (120, 125, 135), 1.2)
    c.circle(cx, cy, r * 0.2, fill=(80, 80, 90))
    # tread marks
    for i in range(12):
        a = math.radians(15 + 30 * i)
        c.line([(cx + r * 0.82 * math.cos(a), cy + r * 0.82 * math.sin(a)),
                (cx + r * 0.97 * math.cos(a), cy + r * 0.97 * math.sin(a))], (90, 90, 95), 1.0,
               round_ends=False)


def icon_actor():
    c = tile(VIO_PALE_ORANGE)
    wheel(c, 14.5, 17.5, 10.5)
    # a curved arrow: the wheel turns
    arc_arrow(c, 14.5, 17.5, 14, 250, 330, DARK_BLUE, 2.2, 6.5)
    return c


def icon_sensor():
    c = tile(VIO_PALE_CYAN)
    # an eye
    eye = []
    for i in range(0, 181, 10):
        a = math.radians(i)
        eye.append((16 - 13 * math.cos(a), 16 - 8.5 * math.sin(a)))
    for i in range(0, 181, 10):
        a = math.radians(i)
        eye.append((16 + 13 * math.cos(a), 16 + 8.5 * math.sin(a)))
    c.poly(eye, fill=WHITE, outline=(30, 60, 90), width=1.3)
    c.circle(16, 16, 6, fill=SKY)
    c.circle(16, 16, 3, fill=(20, 30, 40))
    c.circle(17.6, 14.4, 1.2, fill=WHITE)
    # little waves above: it senses
    c.arc(16, 16, 13.5, 240, 300, (30, 60, 90), 1.0)
    return c


def icon_speed():
    c = tile(VIO_PALE_ORANGE)
    cx, cy, r = 16, 19, 12.5
    c.pieslice(cx, cy, r, 180, 360, (250, 250, 245))
    c.arc(cx, cy, r, 180, 360, (60, 60, 70), 1.3)
    # coloured scale: green - yellow - red
    c.arc(cx, cy, r - 2.5, 180, 240, GREEN, 2.6)
    c.arc(cx, cy, r - 2.5, 240, 300, YELLOW, 2.6)
    c.arc(cx, cy, r - 2.5, 300, 360, RED, 2.6)
    c.line([(cx - r, cy), (cx + r, cy)], (60, 60, 70), 1.3)
    a = math.radians(-35)
    c.line([(cx, cy), (cx + (r - 3) * math.cos(a), cy + (r - 3) * math.sin(a))], DARK_RED, 1.8)
    c.circle(cx, cy, 2.0, fill=(60, 60, 70))
    c.rrect(9, 22.5, 23, 28, 1.5, fill=(60, 60, 70))
    c.text(16, 25.4, "cm/s", 4.4, WHITE)
    return c


def icon_switch_interrupt():
    c = tile(VIO_ORANGE_YELLOW)
    # a push button with a lightning bolt
    c.rrect(4, 21, 28, 28, 2, fill=(90, 90, 100))
    c.rrect(9, 17.5, 23, 22.5, 2, fill=RED, outline=DARK_RED, width=0.8)
    bolt = [(18.5, 2.5), (9.5, 12.5), (15, 12.5), (12, 19.5), (22.5, 9), (16.8, 9), (20, 2.5)]
    c.poly(bolt, fill=WHITE)
    bolt2 = [(18.6, 3.7), (11.2, 11.8), (16.3, 11.8), (14.1, 17.0), (21, 9.8), (15.6, 9.8), (18.9, 3.7)]
    c.poly(bolt2, fill=(40, 40, 160))
    return c


def icon_rti():
    c = tile(VIO_ORANGE_YELLOW)
    # a U-turn arrow going back
    c.line([(24, 25), (24, 13)], BLUE, 3.6)
    c.arc(17, 13, 7, 180, 360, BLUE, 3.6)
    c.line([(10, 13), (10, 17)], BLUE, 3.6, round_ends=False)
    c.poly([(4.5, 16.5), (15.5, 16.5), (10, 24.5)], BLUE)
    return c


def robot_small(c, cx, cy, s, body):
    """A small robot pictogram centred at cx, cy; s is its half width."""
    c.rrect(cx - s, cy - s * 0.55, cx + s, cy + s * 0.75, s * 0.3, fill=body,
            outline=darker(body, 0.6), width=0.8)
    c.circle(cx - s * 0.45, cy + 0.05 * s, s * 0.22, fill=WHITE)
    c.circle(cx + s * 0.45, cy + 0.05 * s, s * 0.22, fill=WHITE)
    c.circle(cx - s * 0.45, cy + 0.05 * s, s * 0.1, fill=(20, 20, 20))
    c.circle(cx + s * 0.45, cy + 0.05 * s, s * 0.1, fill=(20, 20, 20))
    c.line([(cx, cy - s * 0.55), (cx, cy - s * 0.95)], darker(body, 0.6), 0.9)
    c.circle(cx, cy - s * 1.0, s * 0.16, fill=RED)
    c.circle(cx - s * 0.7, cy + s * 0.85, s * 0.25, fill=(40, 40, 40))
    c.circle(cx + s * 0.7, cy + s * 0.85, s * 0.25, fill=(40, 40, 40))


def icon_upload(colour):
    c = Canvas(32, 32, TOOLBAR_GREY)
    c.rrect(0.5, 0.5, 31.5, 31.5, 5, fill=lighter(colour, 0.55), outline=darker(colour, 0.7), width=1.0)
    # a thick arrow going down into the robot: the program goes to the robot
    c.poly([(12, 2.5), (20, 2.5), (20, 9), (25, 9), (16, 17), (7, 9), (12, 9)], fill=colour,
           outline=darker(colour, 0.6), width=0.8)
    robot_small(c, 16, 23.5, 8.5, (200, 205, 215))
    return c


def icon_run():
    c = Canvas(32, 32, TOOLBAR_GREY)
    c.rrect(0.5, 0.5, 31.5, 31.5, 5, fill=lighter(BLUE, 0.6), outline=darker(BLUE, 0.7), width=1.0)
    c.circle(16, 16, 12.5, fill=BLUE, outline=DARK_BLUE, width=1.0)
    c.poly([(12.5, 9.5), (23.5, 16), (12.5, 22.5)], fill=WHITE)
    return c


def icon_upload_run():
    colour = YELLOW
    c = Canvas(32, 32, TOOLBAR_GREY)
    c.rrect(0.5, 0.5, 31.5, 31.5, 5, fill=lighter(colour, 0.55), outline=darker(colour, 0.7), width=1.0)
    c.poly([(5.5, 2.5), (12.5, 2.5), (12.5, 9), (17, 9), (9, 17), (1.5, 9), (5.5, 9)],
           fill=(235, 175, 0), outline=darker(colour, 0.55), width=0.8)
    robot_small(c, 9.5, 23.5, 6.5, (200, 205, 215))
    c.circle(23, 20, 8, fill=GREEN, outline=DARK_GREEN, width=0.9)
    c.poly([(20.3, 15.5), (27.8, 20), (20.3, 24.5)], fill=WHITE)
    return c


def icon_comm_ok():
    c = Canvas(32, 32, TOOLBAR_GREY)
    c.rrect(0.5, 0.5, 31.5, 31.5, 5, fill=(210, 245, 210), outline=DARK_GREEN, width=1.0)
    c.circle(16, 16, 12.5, fill=GREEN, outline=DARK_GREEN, width=1.0)
    # radio waves from a dot: the robot answers
    c.circle(10.5, 21.5, 2.4, fill=WHITE)
    for r in (6.5, 11):
        c.arc(10.5, 21.5, r, 275, 355, WHITE, 2.2)
    return c


def icon_comm_none():
    c = Canvas(32, 32, TOOLBAR_GREY)
    c.rrect(0.5, 0.5, 31.5, 31.5, 5, fill=(250, 215, 215), outline=DARK_RED, width=1.0)
    c.circle(16, 16, 12.5, fill=RED, outline=DARK_RED, width=1.0)
    c.circle(10.5, 21.5, 2.4, fill=(255, 200, 200))
    for r in (6.5, 11):
        c.arc(10.5, 21.5, r, 275, 355, (255, 190, 190), 2.2)
    c.line([(8.5, 8.5), (23.5, 23.5)], WHITE, 3.0)
    return c


TOOLBAR = [
    ("Vio. Start. 32x32. color.bmp", icon_start),
    ("Vio. Stop. 32x32. color.bmp", icon_stop),
    ("Vio. If. 32x32. color.bmp", icon_if),
    ("Vio. Then. 32x32. color.bmp", icon_then),
    ("Vio. Else. 32x32. color.bmp", icon_else),
    ("Vio. Label. 32x32. color.bmp", icon_label),
    ("Vio. Goto. 32x32. color.bmp", icon_goto),
    ("Vio. Delay. 32x32. color.bmp", icon_delay),
    ("Vio. Actor. 32x32. color.bmp", icon_actor),
    ("Vio. Sensor. 32x32. color.bmp", icon_sensor),
    ("Vio. EngSpd. 32x32. color.bmp", icon_speed),
    ("Vio. SwiInt. 32x32. color.bmp", icon_switch_interrupt),
    ("Vio. RTI. 32x32. color.bmp", icon_rti),
    ("Control. Upload. 32x32. color. green.bmp", lambda: icon_upload(GREEN)),
    ("Control. Upload. 32x32. color. orange.bmp", lambda: icon_upload(ORANGE)),
    ("Control. Upload. 32x32. color. blue2.bmp", lambda: icon_upload(SKY)),
    ("Control. Run. 32x32. color. blue.bmp", icon_run),
    ("Control. Upload. Run. 32x32. color. yellow.bmp", icon_upload_run),
    ("Comm. panel. Comm. Okay. green. 32x32. color.bmp", icon_comm_ok),
    ("Comm. panel. No Comm.. red. 32x32. color.bmp", icon_comm_none),
]

# ---------------------------------------------------------------- large pictures

FIELD_W, FIELD_H = 1024, 768


def pale_field(top, bottom):
    """A calm vertical gradient."""
    img = Image.new("RGB", (FIELD_W, FIELD_H))
    d = ImageDraw.Draw(img)
    for y in range(FIELD_H):
        t = y / (FIELD_H - 1)
        d.line([(0, y), (FIELD_W, y)], fill=tuple(int(a + (b - a) * t) for a, b in zip(top, bottom)))
    return img


def dotted_grid(img, base):
    """Faint dots on the corners of the 12 x 10 cells of the programming field."""
    d = ImageDraw.Draw(img)
    dot = tuple(max(0, v - 16) for v in base)
    cw, ch = FIELD_W / 12, FIELD_H / 10
    for i in range(13):
        for j in range(11):
            x, y = i * cw, j * ch
            d.ellipse([x - 2, y - 2, x + 2, y + 2], fill=dot)
    return img


def soft_shapes(img, colours, count, seed):
    """Large, very faint round clouds for a friendly, calm texture.

    They are drawn and blurred at one eighth of the size and scaled up, which
    keeps their edges perfectly soft."""
    rnd = random.Random(seed)
    small = img.resize((FIELD_W // 8, FIELD_H // 8), Image.BILINEAR)
    layer = small.copy()
    d = ImageDraw.Draw(layer)
    for _ in range(count):
        r = rnd.randint(60, 180) / 8
        x, y = rnd.randint(-50, FIELD_W + 50) / 8, rnd.randint(-50, FIELD_H + 50) / 8
        d.ellipse([x - r, y - r, x + r, y + r], fill=rnd.choice(colours))
    layer = layer.filter(ImageFilter.GaussianBlur(6)).filter(ImageFilter.GaussianBlur(3))
    layer = layer.resize((FIELD_W, FIELD_H), Image.BICUBIC)
    return Image.blend(img, layer, 0.45)


def background():
    img = soft_shapes(pale_field((246, 250, 255), (236, 244, 250)),
                      [(222, 236, 252), (234, 248, 228), (252, 244, 224)], 14, 7)
    return dotted_grid(img, (236, 244, 250))


def direction_picture(upward):
    """The field with large, light arrows: upward (robot to PC) or downward (PC to robot)."""
    if upward:
        top, bottom, arrow, icon_from, icon_to = (232, 242, 255), (214, 230, 252), (150, 190, 240), "robot", "pc"
    else:
        top, bottom, arrow, icon_from, icon_to = (234, 250, 234), (218, 242, 220), (140, 210, 150), "pc", "robot"
    img = dotted_grid(pale_field(top, bottom), bottom)
    c = Canvas(FIELD_W, FIELD_H, (0, 0, 0))
    c.img = img.resize((FIELD_W * SS, FIELD_H * SS))
    c.d = ImageDraw.Draw(c.img)
    # three wide arrows across the field
    for x in (FIELD_W * 0.25, FIELD_W * 0.5, FIELD_W * 0.75):
        sh, hw, bw = 150, 110, 46
        if upward:
            y0, y1 = FIELD_H * 0.78, FIELD_H * 0.22
            c.poly([(x - bw, y0), (x + bw, y0), (x + bw, y1 + sh), (x + hw, y1 + sh), (x, y1),
                    (x - hw, y1 + sh), (x - bw, y1 + sh)], fill=arrow)
        else:
            y0, y1 = FIELD_H * 0.22, FIELD_H * 0.78
            c.poly([(x - bw, y0), (x + bw, y0), (x + bw, y1 - sh), (x + hw, y1 - sh), (x, y1),
                    (x - hw, y1 - sh), (x - bw, y1 - sh)], fill=arrow)
    # where the data comes from (top) and goes to (bottom)
    top_icon, bottom_icon = (icon_to, icon_from) if upward else (icon_from, icon_to)
    for kind, y in ((top_icon, FIELD_H * 0.1), (bottom_icon, FIELD_H * 0.9)):
        if kind == "robot":
            robot_small(c, FIELD_W / 2, y - 6, 46, (205, 212, 225))
        else:
            pc(c, FIELD_W / 2, y, 46)
    return c.final()


def pc(c, cx, cy, s):
    """A small computer pictogram (screen on a stand) centred at cx, cy."""
    c.rrect(cx - s * 1.2, cy - s * 0.85, cx + s * 1.2, cy + s * 0.55, s * 0.12, fill=(80, 90, 110))
    c.rect(cx - s * 1.05, cy - s * 0.72, cx + s * 1.05, cy + s * 0.42, fill=(200, 225, 250))
    c.rect(cx - s * 0.15, cy + s * 0.55, cx + s * 0.15, cy + s * 0.85, fill=(80, 90, 110))
    c.rrect(cx - s * 0.6, cy + s * 0.82, cx + s * 0.6, cy + s * 0.98, s * 0.06, fill=(80, 90, 110))


INTRO_W, INTRO_H = 474, 390
SHOWN_W, SHOWN_H = 473, 377


def friendly_robot(c, cx, cy, s):
    """The Zefor as a friendly robot: round head, smiling face, antenna, wheels."""
    body = (90, 160, 230)
    body_dark = (45, 95, 170)
    # shadow
    c.ellipse(cx - s * 1.15, cy + s * 1.42, cx + s * 1.15, cy + s * 1.68, fill=(170, 190, 215))
    # wheels
    for wx in (cx - s * 0.8, cx + s * 0.8):
        c.circle(wx, cy + s * 1.22, s * 0.34, fill=(50, 50, 60))
        c.circle(wx, cy + s * 1.22, s * 0.16, fill=(180, 185, 195))
    # body
    c.rrect(cx - s * 1.0, cy + s * 0.1, cx + s * 1.0, cy + s * 1.3, s * 0.25, fill=body,
            outline=body_dark, width=s * 0.05)
    # panel with coloured buttons
    c.rrect(cx - s * 0.6, cy + s * 0.35, cx + s * 0.6, cy + s * 0.95, s * 0.12, fill=(235, 242, 250),
            outline=body_dark, width=s * 0.03)
    for i, col in enumerate((RED, YELLOW, GREEN)):
        c.circle(cx - s * 0.32 + i * s * 0.32, cy + s * 0.65, s * 0.1, fill=col)
    # arms, waving
    c.line([(cx - s * 1.0, cy + s * 0.45), (cx - s * 1.45, cy + s * 0.05), (cx - s * 1.55, cy - s * 0.4)],
           body_dark, s * 0.13)
    c.circle(cx - s * 1.57, cy - s * 0.5, s * 0.14, fill=body)
    c.line([(cx + s * 1.0, cy + s * 0.45), (cx + s * 1.4, cy + s * 0.75)], body_dark, s * 0.13)
    c.circle(cx + s * 1.45, cy + s * 0.8, s * 0.14, fill=body)
    # neck and head
    c.rect(cx - s * 0.15, cy - s * 0.05, cx + s * 0.15, cy + s * 0.12, fill=body_dark)
    c.rrect(cx - s * 0.85, cy - s * 1.15, cx + s * 0.85, cy + s * 0.0, s * 0.35, fill=body,
            outline=body_dark, width=s * 0.05)
    c.rrect(cx - s * 0.68, cy - s * 0.98, cx + s * 0.68, cy - s * 0.15, s * 0.25, fill=(235, 245, 255))
    # eyes and smile
    for ex in (cx - s * 0.3, cx + s * 0.3):
        c.circle(ex, cy - s * 0.62, s * 0.14, fill=(30, 40, 60))
        c.circle(ex + s * 0.05, cy - s * 0.67, s * 0.045, fill=WHITE)
    c.arc(cx, cy - s * 0.55, s * 0.3, 25, 155, (30, 40, 60), s * 0.06)
    c.circle(cx - s * 0.55, cy - s * 0.42, s * 0.08, fill=(255, 170, 170))
    c.circle(cx + s * 0.55, cy - s * 0.42, s * 0.08, fill=(255, 170, 170))
    # antenna
    c.line([(cx, cy - s * 1.15), (cx, cy - s * 1.45)], body_dark, s * 0.06)
    c.circle(cx, cy - s * 1.52, s * 0.11, fill=ORANGE)


def intro():
    c = Canvas(INTRO_W, INTRO_H, (255, 255, 255))
    # sky gradient over the part that is shown; the rest of the bitmap is plain
    for y in range(INTRO_H * SS):
        t = y / (INTRO_H * SS - 1)
        col = tuple(int(a + (b - a) * t) for a, b in zip((205, 230, 255), (245, 250, 255)))
        c.d.line([(0, y), (INTRO_W * SS, y)], fill=col)
    # floor with the programming grid
    c.rect(0, 300, INTRO_W, INTRO_H, fill=(222, 236, 214))
    # floor tiles in perspective towards a point above the horizon
    vx, vy = SHOWN_W / 2, 170
    for i in range(-8, 9):
        bx = SHOWN_W / 2 + i * 60
        t = (300 - vy) / (INTRO_H - vy)
        c.line([(vx + (bx - vx) * t, 300), (bx, INTRO_H)], (200, 220, 192), 1.0, round_ends=False)
    for y in (312, 330, 354, 385):
        c.line([(0, y), (INTRO_W, y)], (206, 225, 198), 1.0, round_ends=False)
    # a few picture blocks lying around, in the colours of the blocks
    blocks = [(38, 312, VIO_ORANGE_YELLOW, "START"), (104, 318, VIO_PALE_ORANGE, "ACTOR"),
              (330, 318, VIO_PALE_CYAN, "SENSOR"), (396, 312, VIO_ORANGE_YELLOW, "STOP")]
    for x, y, col, cap in blocks:
        c.rrect(x, y, x + 58, y + 36, 5, fill=col, outline=darker(col, 0.6), width=1.2)
        c.text(x + 29, y + 18, cap, 10, (40, 40, 40))
    # title
    c.text(SHOWN_W / 2 + 2, 50 + 2, "Tessaro", 58, (120, 150, 200))
    c.text(SHOWN_W / 2, 50, "Tessaro", 58, (30, 70, 150), stroke=1.5, stroke_fill=WHITE)
    c.text(SHOWN_W / 2, 92, "program your robot with pictures", 14, (60, 90, 140), bold=False)
    friendly_robot(c, SHOWN_W / 2, 205, 62)
    # maker at the bottom of the shown area
    c.text(SHOWN_W / 2, 360, "Brinkmoor", 18, (50, 80, 60))
    return c.final()


# ---------------------------------------------------------------- main

def save(img, folder, name):
    path = os.path.join(folder, name)
    img.convert("RGB").save(path, format="BMP")
    return path


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    os.makedirs(folder, exist_ok=True)
    for name, make in TOOLBAR:
        c = make()
        save(c.final(), folder, name)
        # The same at twice the size, for a desktop scaled by two and the
        # field zoomed to 200 % or more; Qt finds it by its "@2x".
        save(c.final(2), folder, name[:-4] + "@2x.bmp")
    save(background(), folder, "background.bmp")
    save(direction_picture(True), folder, "upstream.bmp")
    save(direction_picture(False), folder, "downstream.bmp")
    save(intro(), folder, "intro.bmp")


if __name__ == "__main__":
    main()
