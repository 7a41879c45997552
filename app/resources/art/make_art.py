#!/usr/bin/python3
"""Draw LumoraRepair's icons and its hand cursor.

Usage: make_art.py OUTDIR

The pictures live here as ASCII maps, one character per pixel, so they can be
retouched in a text editor and reviewed in a diff instead of shipping opaque
binaries. Each map has a legend; '.' is always transparent.
"""
import os
import struct
import sys

# --- app.ico: a stack of disks with a green tick ("data access, fixed") ---

APP_LEGEND = {
    '.': None,
    'K': (22, 38, 84),      # outline, dark navy
    'T': (176, 214, 250),   # lid of the stack, lit from above
    'L': (120, 172, 236),   # left side catches the light
    'B': (58, 118, 208),    # body
    'D': (34, 74, 150),     # right side in shade
    'g': (18, 104, 40),     # badge rim
    'G': (64, 178, 76),     # badge
    'W': (255, 255, 255),   # tick
}

APP_32 = [
    '................................',
    '......KKKKKKKKKKKK..............',
    '...KKKTTTTTTTTTTTTKKK...........',
    '..KTTTTTTTTTTTTTTTTTTK..........',
    '.KTTTTTTTTTTTTTTTTTTTTK.........',
    '.KKTTTTTTTTTTTTTTTTTTKK.........',
    '.KLKKKTTTTTTTTTTTTKKKDK.........',
    '.KLLLLKKKKKKKKKKKKBDDDK.........',
    '.KLLLLBBBBBBBBBBBBBDDDK.........',
    '.KLLLLBBBBBBBBBBBBBDDDK.........',
    '.KLLLLBBBBBBBBBBBBBDDDK.........',
    '.KLLLLBBBBBBBBBBBBBDDDK.........',
    '.KKLLLBBBBBBBBBBBBBDDKK.........',
    '.KLKKKBBBBBBBBBBBBKKKDK.........',
    '.KLLLLKKKKKKKKKKKKBDDDK.........',
    '.KLLLLBBBBBBBBBBBBBDDDK.........',
    '.KLLLLBBBBBBBBBBBBBDDDK.........',
    '.KLLLLBBBBBBBBBBBBBDKK..........',
    '.KLLLLBBBBBBBBBBBBBK..gggggg....',
    '.KKLLLBBBBBBBBBBBBK..ggGGGGgg...',
    '.KLKKKBBBBBBBBBBBK..gGGGGGGGGg..',
    '.KLLLLKKKKKKKKKKKK.gGGGGGGGWWGg.',
    '.KLLLLBBBBBBBBBBK.ggGGGGGGWWWGgg',
    '.KLLLLBBBBBBBBBBK.gGGGGGGWWWGGGg',
    '.KLLLLBBBBBBBBBBK.gGWWGGWWWGGGGg',
    '.KLLLLBBBBBBBBBBK.gGWWWWWWGGGGGg',
    '..KLLLBBBBBBBBBBK.gGGWWWWGGGGGGg',
    '...KKKBBBBBBBBBBK.ggGGWWGGGGGGgg',
    '......KKKKKKKKKKKK.gGGGGGGGGGGg.',
    '....................gGGGGGGGGg..',
    '.....................ggGGGGgg...',
    '......................gggggg....',
]

APP_16 = [
    '..KKKKKKK.......',
    '.KTTTTTTTK......',
    'KTTTTTTTTTK.....',
    'KKTTTTTTTKK.....',
    'KLKKKKKKKDK.....',
    'KLLBBBBBDDK.....',
    'KLLBBBBBDDK.....',
    'KKLBBBBBDKK.....',
    'KLKKKKKK..gggg..',
    'KLLBBBK..gGGGGg.',
    'KLLBBBK.gGGGGWGg',
    'KKLBBBK.gGWGWWGg',
    'KLKKKKK.gGWWWGGg',
    'KLLBBBK.gGGWGGGg',
    '.KKBBBK..gGGGGg.',
    '...KKKK...gggg..',
]

# --- repair16.ico: a spanner ---
# Colours come from the standard 16-colour VGA set so the icon looks the
# same on a 16-colour display as anywhere else.

REPAIR_LEGEND = {
    '.': None,
    'K': (0, 0, 0),
    'W': (255, 255, 255),
    'S': (192, 192, 192),
    'd': (128, 128, 128),
}

REPAIR_16 = [
    '................',
    '.........KKKK...',
    '........KWWSK...',
    '.......KWSdK..K.',
    '.......KWdK..KK.',
    '.......KWK..KWK.',
    '.......KWSKKWdK.',
    '......KWSSWWSdK.',
    '.....KWSSdKKKK..',
    '....KWSSdK......',
    '...KWSSdK.......',
    '..KWSSdK........',
    '.KWSSdK.........',
    'KWSSdK..........',
    'KWSdK...........',
    '.KKK............',
]

# --- hand.cur: pointing hand, the tip of the index finger is the hot spot ---

HAND_LEGEND = {
    '.': None,
    '#': (0, 0, 0),
    'o': (255, 255, 255),
}

HAND_HOTSPOT = (5, 0)

HAND_32 = [
    '....###.........................',
    '...#ooo#........................',
    '...#ooo#........................',
    '...#ooo#........................',
    '...#ooo#........................',
    '...#ooo#........................',
    '...#ooo####.....................',
    '...#ooo#ooo####.................',
    '...#ooo#ooo#ooo###..............',
    '...#ooo#ooo#ooo#oo#.............',
    '.###ooo#ooo#ooo#oo#.............',
    '#oo#ooo#ooo#ooo#oo#.............',
    '#oo#ooo#ooo#ooo#oo#.............',
    '.#oooooooooooooooo#.............',
    '.#oooooooooooooooo#.............',
    '..#ooooooooooooooo#.............',
    '..#ooooooooooooooo#.............',
    '...#oooooooooooooo#.............',
    '...#ooooooooooooo#..............',
    '....#oooooooooooo#..............',
    '....#ooooooooooo#...............',
    '....#ooooooooooo#...............',
    '....#############...............',
    '................................',
    '................................',
    '................................',
    '................................',
    '................................',
    '................................',
    '................................',
    '................................',
    '................................',
]


def dib(name, pixmap, legend, bpp, size):
    """Return one icon/cursor image: BITMAPINFOHEADER, palette, XOR bitmap, AND mask."""
    # A stray row or column would silently change the image size, so refuse it.
    width = height = size
    if len(pixmap) != size:
        sys.exit('%s: %d rows, want %d' % (name, len(pixmap), size))
    for y, line in enumerate(pixmap):
        if len(line) != size:
            sys.exit('%s row %d: %d pixels, want %d' % (name, y, len(line), size))
        stray = ''.join(sorted(set(line) - set(legend)))
        if stray:
            sys.exit('%s row %d: %r not in the legend' % (name, y, stray))

    # Index 0 must be black: a transparent pixel (AND 1) is XORed onto the
    # screen, and only black leaves the screen untouched.
    palette = [(0, 0, 0)]
    for colour in legend.values():
        if colour is not None and colour not in palette:
            palette.append(colour)
    if len(palette) > 1 << bpp:
        sys.exit('%s: %d colours do not fit in %d bpp' % (name, len(palette), bpp))
    palette += [(0, 0, 0)] * ((1 << bpp) - len(palette))
    index = {ch: 0 if c is None else palette.index(c) for ch, c in legend.items()}

    def bitmap(value, depth):
        stride = (width * depth + 31) // 32 * 4
        out = bytearray()
        for line in reversed(pixmap):           # DIB rows run bottom-up
            row, acc, nbits = bytearray(), 0, 0
            for ch in line:
                acc, nbits = acc << depth | value(ch), nbits + depth
                if nbits == 8:
                    row.append(acc)
                    acc = nbits = 0
            if nbits:
                row.append(acc << (8 - nbits))
            out += row.ljust(stride, b'\0')
        return bytes(out)

    xor = bitmap(lambda ch: index[ch], bpp)
    mask = bitmap(lambda ch: int(legend[ch] is None), 1)
    # Height is doubled: XOR bitmap and AND mask are stacked in one DIB.
    header = struct.pack('<IiiHHIIiiII', 40, width, 2 * height, 1, bpp, 0,
                         len(xor) + len(mask), 0, 0, 0, 0)
    colours = b''.join(struct.pack('<BBBx', b, g, r) for r, g, b in palette)
    return width, height, header + colours + xor + mask


def write_icons(path, kind, entries):
    """kind 1 = icon, 2 = cursor; entries are (dib, colour count, field1, field2).

    field1/field2 are planes/bit count for an icon and the hot spot for a cursor.
    """
    head = struct.pack('<HHH', 0, kind, len(entries))
    offset = len(head) + 16 * len(entries)
    directory, blobs = b'', b''
    for (width, height, data), count, field1, field2 in entries:
        directory += struct.pack('<BBBBHHII', width % 256, height % 256, count, 0,
                                 field1, field2, len(data), offset)
        offset += len(data)
        blobs += data
    with open(path, 'wb') as f:
        f.write(head + directory + blobs)


def main():
    if len(sys.argv) != 2:
        sys.exit('usage: make_art.py OUTDIR')
    outdir = sys.argv[1]
    os.makedirs(outdir, exist_ok=True)

    write_icons(os.path.join(outdir, 'app.ico'), 1, [
        (dib('APP_16', APP_16, APP_LEGEND, 8, 16), 0, 1, 8),
        (dib('APP_32', APP_32, APP_LEGEND, 8, 32), 0, 1, 8),
    ])
    write_icons(os.path.join(outdir, 'repair16.ico'), 1, [
        (dib('REPAIR_16', REPAIR_16, REPAIR_LEGEND, 4, 16), 16, 1, 4),
    ])

    hand = dib('HAND_32', HAND_32, HAND_LEGEND, 1, 32)
    # The hot spot has to sit on the drawn fingertip, or clicks land beside it.
    x, y = HAND_HOTSPOT
    if HAND_LEGEND[HAND_32[y][x]] is None:
        sys.exit('hand.cur: hot spot %r is on a transparent pixel' % (HAND_HOTSPOT,))
    write_icons(os.path.join(outdir, 'hand.cur'), 2, [(hand, 2, x, y)])


if __name__ == '__main__':
    main()
