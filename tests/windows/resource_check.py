#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Reads what the Wine icon test checks in a Windows executable's resources.

  resource_check.py fixed-version VERSION_RESOURCE   prints "FILE PRODUCT" from its
                                                     VS_FIXEDFILEINFO, e.g. "1.0.0.0 1.0.0.0"
  resource_check.py same-icons ICO XPROP_OUTPUT      whether the .ico file's 32-pixel image
                                                     shows the icon art, and every icon in
                                                     xprop's _NET_WM_ICON (printed with -f
                                                     _NET_WM_ICON 32c) equals its image of that
                                                     size, pixel for pixel
"""
import struct
import sys


def fixed_version(path):
    data = open(path, "rb").read()
    at = data.find(struct.pack("<I", 0xFEEF04BD))
    if at < 0:
        sys.exit("no VS_FIXEDFILEINFO in " + path)
    file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<4I", data, at + 8)
    words = lambda ms, ls: ".".join(str(v) for v in (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF))
    print(words(file_ms, file_ls), words(product_ms, product_ls))


def ico_images(path):
    """The .ico file's 32-bit images by size, as 0xAARRGGBB words from the top row."""
    data = open(path, "rb").read()
    _, kind, count = struct.unpack_from("<3H", data, 0)
    if kind != 1:
        sys.exit(path + " is not an icon file")
    images = {}
    for k in range(count):
        width, height, _, _, _, bits, _, offset = struct.unpack_from("<4B2H2I", data, 6 + 16 * k)
        size = width or 256
        header_bytes, _, double_height = struct.unpack_from("<3I", data, offset)
        if bits != 32 or width != height or double_height != 2 * size:
            sys.exit("icon %d of %s is not a square 32-bit bitmap" % (k, path))
        pixels = []
        for y in reversed(range(size)):
            row = offset + header_bytes + y * size * 4
            for x in range(size):
                b, g, r, a = data[row + 4 * x:row + 4 * x + 4]
                pixels.append(a << 24 | r << 16 | g << 8 | b)
        images[size] = pixels
    return images


def check_drawing(pixels):
    """The 32-pixel image shows the icon art the right way round, in the right colours: a black
    cross in the top left cell, a blue ring around the light middle of the top right one."""
    channels = lambda x, y: [(pixels[y * 32 + x] >> shift) & 0xFF for shift in (16, 8, 0)]
    cross, ring, middle = channels(5, 5), channels(23, 5), channels(27, 5)
    if max(cross) >= 0x40 or ring[2] < 0x80 or max(ring[:2]) >= 0x40 or min(middle) < 0xC0:
        sys.exit("the 32-pixel icon is not the art: cross %s, ring %s, ring middle %s"
                 % (cross, ring, middle))


def same_icons(ico_path, xprop_path):
    text = open(xprop_path).read()
    if "=" not in text:
        sys.exit("the window has no _NET_WM_ICON")
    words = [int(w) for w in text.split("=", 1)[1].replace(",", " ").split()]
    images = ico_images(ico_path)
    if 32 not in images:
        sys.exit(ico_path + " has no 32-pixel image")
    check_drawing(images[32])
    shown = 0
    while words:
        width, height = words[0], words[1]
        pixels, words = words[2:2 + width * height], words[2 + width * height:]
        if width != height or width not in images:
            sys.exit("the window's %d x %d icon is none of the executable's" % (width, height))
        differing = sum(1 for a, b in zip(pixels, images[width]) if a != b)
        if len(pixels) != width * height or differing:
            sys.exit("the window's %d x %d icon differs from the executable's in %d pixels"
                     % (width, height, differing))
        print("the window's %d x %d icon is the executable's" % (width, height))
        shown += 1
    if not shown:
        sys.exit("the window has no icon")


if __name__ == "__main__":
    if len(sys.argv) == 3 and sys.argv[1] == "fixed-version":
        fixed_version(sys.argv[2])
    elif len(sys.argv) == 4 and sys.argv[1] == "same-icons":
        same_icons(sys.argv[2], sys.argv[3])
    else:
        sys.exit(__doc__)
