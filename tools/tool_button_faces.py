#!/usr/bin/python3
"""Draws the tool button's four faces as 4-bit BMP files in src/resources/.

Each face is 30 x 30 pixels in the standard 16-colour palette: a raised (normal) or sunken
(pressed) grey button with a pen or an eraser on it. The pressed picture sits two pixels right and
two down. No face uses pure blue, which the button treats as transparent.

Run it again after changing a drawing here; the build embeds whatever files are in src/resources/.
Needs Pillow (Debian's python3-pil) for the polygons; the BMP files are written by hand because
Pillow writes palette images with 8 bits per pixel.
"""

import pathlib
import struct

from PIL import Image, ImageDraw

SIZE = 30

# The standard 16-colour palette, in its usual order, as (red, green, blue).
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
BLACK, DARK_RED, LIGHT_GREY, GREY, RED, WHITE = 0, 1, 7, 8, 9, 15
PURE_BLUE = 12


def raised(draw):
    draw.rectangle([0, 0, SIZE - 1, SIZE - 1], fill=LIGHT_GREY)
    draw.rectangle([0, 0, SIZE - 3, 1], fill=WHITE)
    draw.rectangle([0, 0, 1, SIZE - 3], fill=WHITE)
    draw.rectangle([2, SIZE - 4, SIZE - 3, SIZE - 3], fill=GREY)
    draw.rectangle([SIZE - 4, 2, SIZE - 3, SIZE - 3], fill=GREY)
    draw.rectangle([0, SIZE - 2, SIZE - 1, SIZE - 1], fill=BLACK)
    draw.rectangle([SIZE - 2, 0, SIZE - 1, SIZE - 1], fill=BLACK)


def sunken(draw):
    draw.rectangle([0, 0, SIZE - 1, SIZE - 1], fill=LIGHT_GREY)
    draw.rectangle([2, SIZE - 2, SIZE - 1, SIZE - 1], fill=WHITE)
    draw.rectangle([SIZE - 2, 2, SIZE - 1, SIZE - 1], fill=WHITE)
    draw.rectangle([0, 0, SIZE - 1, 1], fill=BLACK)
    draw.rectangle([0, 0, 1, SIZE - 1], fill=BLACK)
    draw.rectangle([2, 2, SIZE - 3, 3], fill=GREY)
    draw.rectangle([2, 2, 3, SIZE - 3], fill=GREY)


def moved(points, shift):
    return [(x + shift, y + shift) for x, y in points]


# Corners on whole pixels, so that every 45-degree edge is an even one-pixel staircase.
def pen(draw, shift):
    # A barrel from its far end at the upper right down to the collar, then the point.
    draw.polygon(moved([(20, 3), (24, 7), (14, 17), (10, 13)], shift), fill=RED, outline=DARK_RED)
    draw.polygon(moved([(10, 13), (14, 17), (12, 19), (8, 15)], shift), fill=WHITE, outline=GREY)
    draw.polygon(moved([(8, 16), (11, 19), (5, 22)], shift), fill=BLACK, outline=BLACK)


def eraser(draw, shift):
    draw.polygon(moved([(4, 17), (17, 4), (23, 10), (10, 23)], shift), fill=WHITE, outline=GREY)


def face(button, picture, shift):
    image = Image.new("P", (SIZE, SIZE))
    image.putpalette([c for rgb in PALETTE for c in rgb])
    draw = ImageDraw.Draw(image)
    button(draw)
    picture(draw, shift)
    return image


def bmp_4bit(image):
    """The bytes of a bottom-up, uncompressed 4-bit BMP file of a palette image."""
    width, height = image.size
    stride = (width * 4 + 31) // 32 * 4
    rows = []
    for y in reversed(range(height)):
        indices = [image.getpixel((x, y)) for x in range(width)] + [0]
        packed = bytes(indices[x] << 4 | (indices[x + 1] if x + 1 < width else 0) for x in range(0, width, 2))
        rows.append(packed.ljust(stride, b"\0"))
    pixels = b"".join(rows)
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    offset = 14 + 40 + len(table)
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info_header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, len(pixels), 0, 0, 16, 0)
    return file_header + info_header + table + pixels


FACES = {
    "tool_pen.bmp": (raised, pen, 0),
    "tool_pen_pressed.bmp": (sunken, pen, 2),
    "tool_eraser.bmp": (raised, eraser, 0),
    "tool_eraser_pressed.bmp": (sunken, eraser, 2),
}


def main():
    resources = pathlib.Path(__file__).resolve().parent.parent / "src" / "resources"
    for name, (button, picture, shift) in FACES.items():
        image = face(button, picture, shift)
        if PURE_BLUE in image.getdata():
            raise SystemExit(f"{name} uses pure blue, which the button shows as transparent")
        (resources / name).write_bytes(bmp_4bit(image))


if __name__ == "__main__":
    main()
