#!/usr/bin/python3
"""Draws Varnholt's banner bitmap and icon into res/.

Run with Debian's python3 (python3-pil):  /usr/bin/python3 tools/make_art.py
The outputs are committed, so a build needs no image tools.
"""
import math
import os
import struct

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
RES = os.path.join(HERE, "..", "res")
FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf"

BANNER_SIZE = (303, 77)
PIXELS_PER_METRE = 2834
ICON_SIDE = 32


def bitmap_info_header(width, height, bits, colours, image_size, ppm=0):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, image_size, ppm, ppm, colours, 0)


def row_bytes(width, bits):
    return ((width * bits + 31) // 32) * 4


def palette_bytes(image):
    flat = image.getpalette()[: 256 * 3]
    flat += [0] * (256 * 3 - len(flat))
    return b"".join(struct.pack("<BBBB", flat[i + 2], flat[i + 1], flat[i], 0) for i in range(0, 768, 3))


def indexed_rows(image):
    """Bottom-up rows of an 8-bit palette image, each padded to 4 bytes."""
    width, height = image.size
    stride = row_bytes(width, 8)
    data = image.tobytes()
    return b"".join(data[y * width:(y + 1) * width].ljust(stride, b"\0") for y in reversed(range(height)))


def gold_gradient(size, top, bottom):
    width, height = size
    image = Image.new("RGB", size)
    draw = ImageDraw.Draw(image)
    for y in range(height):
        t = y / max(1, height - 1)
        draw.line([(0, y), (width, y)], fill=tuple(round(a + (b - a) * t) for a, b in zip(top, bottom)))
    return image


def draw_banner():
    background = gold_gradient(BANNER_SIZE, (236, 200, 92), (196, 146, 40))
    font = ImageFont.truetype(FONT, 58)
    mask = Image.new("L", BANNER_SIZE, 0)
    draw = ImageDraw.Draw(mask)
    left, top, right, bottom = draw.textbbox((0, 0), "Varnholt", font=font)
    origin = ((BANNER_SIZE[0] - (right - left)) // 2 - left, (BANNER_SIZE[1] - (bottom - top)) // 2 - top)
    draw.text(origin, "Varnholt", font=font, fill=255)

    # Embossing: a light edge up-left, a dark edge down-right, gold face between.
    highlight = ImageChops.offset(mask, -2, -2)
    shadow = ImageChops.offset(mask, 2, 2).filter(ImageFilter.GaussianBlur(1))
    image = background.copy()
    image.paste((255, 240, 170), mask=highlight)
    image.paste((110, 70, 10), mask=shadow)
    face = gold_gradient(BANNER_SIZE, (250, 214, 100), (178, 124, 24))
    image.paste(face, mask=mask)
    return image.quantize(256, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)


def write_banner(path):
    image = draw_banner()
    width, height = image.size
    pixels = indexed_rows(image)
    header = bitmap_info_header(width, height, 8, 256, len(pixels), PIXELS_PER_METRE)
    offset = 14 + len(header) + 256 * 4
    with open(path, "wb") as out:
        out.write(b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset))
        out.write(header + palette_bytes(image) + pixels)


def draw_icon_picture():
    """A black brush-stroke V on a yellow-gold square with an orange disc fading outward."""
    scale = 8
    side = ICON_SIDE * scale
    image = Image.new("RGB", (side, side), (240, 196, 40))
    centre = side / 2
    pixels = image.load()
    radius = side * 0.48
    for y in range(side):
        for x in range(side):
            t = min(1.0, math.hypot(x + 0.5 - centre, y + 0.5 - centre) / radius)
            t = t * t
            pixels[x, y] = tuple(round(a + (b - a) * t) for a, b in zip((240, 110, 20), (240, 196, 40)))

    draw = ImageDraw.Draw(image)
    # Two tapered strokes meeting at the foot, like a brush pressed and lifted.
    s = scale
    draw.polygon([(5 * s, 5 * s), (11.5 * s, 4 * s), (17.5 * s, 27 * s), (14.5 * s, 28 * s)], fill=(0, 0, 0))
    draw.polygon([(25 * s, 4 * s), (28 * s, 4.5 * s), (16.5 * s, 28 * s), (15.5 * s, 26 * s)], fill=(0, 0, 0))
    draw.ellipse([4 * s, 3.5 * s, 9 * s, 7 * s], fill=(0, 0, 0))
    return image.resize((ICON_SIDE, ICON_SIDE), Image.Resampling.LANCZOS)


def icon_image(bits, picture):
    """One ICO image: BITMAPINFOHEADER, palette, XOR bitmap, AND mask."""
    side = ICON_SIDE
    mask_stride = row_bytes(side, 1)
    if bits == 4:
        # Blank: every pixel transparent (AND mask set, colour black).
        palette = b"\0" * (16 * 4)
        xor = b"\0" * (row_bytes(side, 4) * side)
        mask = b"\xff" * (mask_stride * side)
        colours = 16
    elif bits == 8:
        indexed = picture.quantize(256, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
        palette = palette_bytes(indexed)
        xor = indexed_rows(indexed)
        mask = b"\0" * (mask_stride * side)
        colours = 256
    else:
        stride = row_bytes(side, 24)
        rgb = picture.tobytes()
        xor = b"".join(
            b"".join(bytes((rgb[i + 2], rgb[i + 1], rgb[i])) for i in range(y * side * 3, (y + 1) * side * 3, 3)).ljust(stride, b"\0")
            for y in reversed(range(side)))
        palette = b""
        mask = b"\0" * (mask_stride * side)
        colours = 0
    header = bitmap_info_header(side, side * 2, bits, colours, len(xor) + len(mask))
    return header + palette + xor + mask


def write_icon(path):
    picture = draw_icon_picture()
    images = [(4, icon_image(4, picture)), (8, icon_image(8, picture)), (24, icon_image(24, picture))]
    offset = 6 + 16 * len(images)
    directory = struct.pack("<HHH", 0, 1, len(images))
    for bits, data in images:
        directory += struct.pack("<BBBBHHII", ICON_SIDE, ICON_SIDE, 16 if bits == 4 else 0, 0, 1, bits, len(data), offset)
        offset += len(data)
    with open(path, "wb") as out:
        out.write(directory + b"".join(data for _, data in images))
    picture.resize((ICON_SIDE * 8, ICON_SIDE * 8), Image.Resampling.NEAREST).save(os.path.join(HERE, "..", "docs", "icon-preview.png"))


if __name__ == "__main__":
    write_banner(os.path.join(RES, "banner.bmp"))
    write_icon(os.path.join(RES, "Varnholt.ico"))
