#!/usr/bin/env python3
# Plain stand-in pictures for a build whose res/ lacks the drawn art: the button
# strip, the banner and the two icons, in the sizes and formats the program loads.
# Usage: placeholderArt.py buttons|banner|icon|listicon OUTPUT
import struct
import sys

BUTTON = 60
STATE_BACKGROUNDS = [(236, 236, 236), (214, 230, 250), (180, 200, 228)]  # normal, hover, pushed


def bmp24(width, height, pixel):
    stride = (width * 3 + 3) & ~3
    rows = bytearray()
    for y in range(height - 1, -1, -1):  # bottom-up rows
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        rows += row + bytes(stride - len(row))
    header = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    return b'BM' + struct.pack('<IHHI', 14 + 40 + len(rows), 0, 0, 54) + header + rows


def button_pixel(x, y):
    index, state = x // BUTTON, y // BUTTON
    u, v = x % BUTTON, y % BUTTON
    if u < 2 or v < 2 or u > BUTTON - 3 or v > BUTTON - 3:
        return (120, 120, 130)
    inside = False
    if index == 0:    # one window
        inside = 16 <= u <= 44 and 18 <= v <= 42 and (v < 23 or u in (16, 17, 43, 44) or v > 40)
    elif index == 1:  # the whole screen
        inside = 10 <= u <= 50 and 14 <= v <= 40 or (27 <= u <= 33 and 40 < v <= 46)
    elif index == 2:  # colour back
        inside = (u - 30) ** 2 + (v - 30) ** 2 <= 144
        if inside:
            return (220, 60, 60) if u < 30 else (60, 120, 220)
    elif index == 3:  # down into the tray
        inside = (v <= 32 and 26 <= u <= 34 and v >= 14) or (32 < v <= 44 and abs(u - 30) <= 44 - v)
    else:             # settings
        inside = (u - 30) ** 2 + (v - 30) ** 2 <= 196 and (u - 30) ** 2 + (v - 30) ** 2 >= 36
    return (70, 70, 80) if inside else STATE_BACKGROUNDS[state]


def banner_pixel(x, y):
    shade = 90 + (x * 120) // 591
    return (shade, shade, shade + 20 if shade < 235 else 255)


def icon(size_list, colour):
    images = []
    for size in size_list:
        pixels = bytearray()
        for y in range(size - 1, -1, -1):
            for x in range(size):
                edge = x == 0 or y == 0 or x == size - 1 or y == size - 1
                half = x < size // 2
                r, g, b = (60, 60, 60) if edge else (colour if half else (170, 170, 170))
                pixels += bytes((b, g, r, 255))
        mask_stride = ((size + 31) // 32) * 4
        mask = bytes(mask_stride * size)
        header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
        images.append((size, header + pixels + mask))
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack('<BBBBHHII', size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b''.join(data for _, data in images)


def main():
    kind, output = sys.argv[1], sys.argv[2]
    if kind == 'buttons':
        data = bmp24(5 * BUTTON, 3 * BUTTON, button_pixel)
    elif kind == 'banner':
        data = bmp24(591, 38, banner_pixel)
    elif kind == 'icon':
        data = icon([32, 16], (230, 120, 40))
    else:
        data = icon([16], (90, 90, 90))
    with open(output, 'wb') as f:
        f.write(data)


main()
