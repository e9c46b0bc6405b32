#!/usr/bin/python3
"""Draws Scrivo's artwork into src/resources/: the application icon and the Options labels.

Run it after changing a picture here; the files it writes are committed, so a build needs no
Python. The icon is drawn large and reduced for each launcher size; the labels are 16-colour
pictures on the dialogs' yellow ground, given pixel by pixel.
"""
import math
import pathlib
import struct

from PIL import Image, ImageDraw

RESOURCES = pathlib.Path(__file__).resolve().parent.parent / "src" / "resources"

# The 16 colours the label pictures may use; '.' is the dialogs' yellow ground.
PALETTE = {
    "k": (0, 0, 0), "m": (128, 0, 0), "n": (0, 128, 0), "o": (128, 128, 0),
    "d": (0, 0, 128), "p": (128, 0, 128), "t": (0, 128, 128), "G": (128, 128, 128),
    "s": (192, 192, 192), "r": (255, 0, 0), "g": (0, 255, 0), ".": (255, 255, 0),
    "b": (0, 0, 255), "M": (255, 0, 255), "c": (0, 255, 255), "w": (255, 255, 255),
}

LABELS = {
    # pen width: a vertical line, arrows from left and right
    124: [
        ".......kk.......",
        ".......kk.......",
        ".......kk.......",
        ".......kk.......",
        ".......kk.......",
        "...r...kk...r...",
        "...rr..kk..rr...",
        "rrrrrr.kk.rrrrrr",
        "...rr..kk..rr...",
        "...r...kk...r...",
        ".......kk.......",
        ".......kk.......",
        ".......kk.......",
        ".......kk.......",
        ".......kk.......",
    ],
    # pen height: a horizontal line, arrows from above and below
    125: [
        ".......r.......",
        ".......r.......",
        ".......r.......",
        ".....rrrrr.....",
        "......rrr......",
        ".......r.......",
        "...............",
        "kkkkkkkkkkkkkkk",
        "kkkkkkkkkkkkkkk",
        "...............",
        ".......r.......",
        "......rrr......",
        ".....rrrrr.....",
        ".......r.......",
        ".......r.......",
        ".......r.......",
    ],
    # end dot: a line ending in a square dot, arrows at the dot from above and from the right
    126: [
        "................",
        ".......r........",
        ".......r........",
        ".......r........",
        ".....rrrrr......",
        "......rrr.......",
        ".......r........",
        "............r...",
        "......kkk..rr...",
        "kkkkkkkkk.rrrrrr",
        "......kkk..rr...",
        "............r...",
        "................",
        "................",
        "................",
    ],
    # eraser size: an eraser and a diagonal double arrow
    127: [
        "............rrrr",
        "..............rr",
        ".............r.r",
        "............r..r",
        "........r..r....",
        "........r.r.....",
        "........rr......",
        "........rrrr....",
        "................",
        "kkkkkkkkk.......",
        "kdddddddk.......",
        "kdddddddk.......",
        "kwwwwwwwk.......",
        "kwwwwwwwk.......",
        "kkkkkkkkk.......",
    ],
    # colour: four coloured quarters
    128: [
        "kkkkkkkggggggg.",
        "kkkkkkkggggggg.",
        "kkkkkkkggggggg.",
        "kkkkkkkggggggg.",
        "kkkkkkkggggggg.",
        "kkkkkkkggggggg.",
        "kkkkkkkggggggg.",
        "rrrrrrrbbbbbbb.",
        "rrrrrrrbbbbbbb.",
        "rrrrrrrbbbbbbb.",
        "rrrrrrrbbbbbbb.",
        "rrrrrrrbbbbbbb.",
        "rrrrrrrbbbbbbb.",
        "rrrrrrrbbbbbbb.",
        "...............",
    ],
    # page count: a stack of pages and a diagonal double arrow
    130: [
        "............rrrr",
        "..............rr",
        ".............r.r",
        "............r..r",
        "........r..r....",
        "........r.r.....",
        "........rr......",
        "........rrrr....",
        "....kkkkkkk.....",
        "....kwwwwwk.....",
        "..kkkkkkkwk.....",
        "..kwwwwwkwk.....",
        "kkkkkkkwkwk.....",
        "kwwwwwkwkwk.....",
        "kwkkkwkwkkk.....",
        "kwwwwwkwk.......",
        "kwkkkwkkk.......",
        "kwwwwwk.........",
        "kkkkkkk.........",
    ],
}


def write_bmp4(path, rows):
    """A 16-colour uncompressed BMP, bottom-up, rows padded to 4 bytes."""
    keys = list(PALETTE)
    width, height = len(rows[0]), len(rows)
    assert all(len(row) == width for row in rows), path
    stride = ((width * 4 + 31) // 32) * 4
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray(stride)
        for x, key in enumerate(row):
            index = keys.index(key)
            line[x // 2] |= index << 4 if x % 2 == 0 else index
        pixels += line
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in PALETTE.values())
    offset = 14 + 40 + len(table)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, len(pixels), 2835, 2835, 16, 0)
    path.write_bytes(header + info + table + pixels)


def write_bmp32(path, image):
    """A 32-bit BMP with its alpha channel, bottom-up."""
    width, height = image.size
    pixels = bytearray()
    for y in reversed(range(height)):
        for x in range(width):
            r, g, b, a = image.getpixel((x, y))
            pixels += bytes((b, g, r, a))
    offset = 14 + 40
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 32, 0, len(pixels), 2835, 2835, 0, 0)
    path.write_bytes(header + info + pixels)


def draw_icon(size):
    """A blue page with white handwriting and a yellow pencil, on a transparent ground."""
    big = 1024
    image = Image.new("RGBA", (big, big), (0, 0, 0, 0))
    draw = ImageDraw.Draw(image)
    draw.rounded_rectangle((48, 48, 976, 976), radius=150, fill=(24, 64, 208, 255),
                           outline=(12, 32, 120, 255), width=28)
    # three lines of writing, each a run of loops
    for row, length in ((290, 640), (470, 560), (650, 380)):
        points = []
        for step in range(0, length, 8):
            x = 170 + step
            phase = step / 46.0
            y = row + 46 * math.sin(phase)
            points.append((x, y))
        draw.line(points, fill=(255, 255, 255, 255), width=40, joint="curve")
    # a pencil lying across the lower right corner, its point on the last line
    body = [(590, 700), (870, 420), (950, 500), (670, 780)]
    draw.polygon(body, fill=(255, 214, 0, 255), outline=(120, 80, 0, 255))
    draw.polygon([(870, 420), (915, 375), (995, 455), (950, 500)], fill=(230, 120, 150, 255))
    draw.polygon([(590, 700), (670, 780), (545, 825)], fill=(240, 210, 160, 255))
    draw.polygon([(570, 770), (590, 790), (545, 825)], fill=(30, 30, 30, 255))
    return image.resize((size, size), Image.LANCZOS)


def main():
    for number, rows in LABELS.items():
        write_bmp4(RESOURCES / f"label{number}.bmp", rows)
    icons = RESOURCES / "icons"
    icons.mkdir(exist_ok=True)
    for size in (16, 32, 48, 64, 128, 256):
        draw_icon(size).save(icons / f"scrivo-{size}.png")
    write_bmp32(RESOURCES / "scrivo.bmp", draw_icon(32))


if __name__ == "__main__":
    main()
