#!/usr/bin/env python3
"""Draws the program's small icons and writes them as XPM files.

The node icons (indices 0 to 19 of the list views) are 16 x 16, the toolbar
buttons 16 x 15. Run this script after changing a drawing; the XPM files it
writes are committed, so the build needs no Python.
"""
import os

PALETTE = {
    '.': 'None', 'k': '#000000', 'w': '#FFFFFF', 'g': '#C0C0C0', 'd': '#808080',
    'y': '#FFFF00', 'o': '#C0A000', 'b': '#0000C0', 'B': '#4080FF', 'r': '#C00000',
    'R': '#FF4040', 'G': '#008000', 'L': '#40C040', 't': '#008080', 'p': '#800080',
}


class Canvas:
    def __init__(self, w=16, h=16):
        self.w, self.h = w, h
        self.px = [['.'] * w for _ in range(h)]

    def put(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def fill(self, x0, y0, x1, y1, c):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.put(x, y, c)

    def rect(self, x0, y0, x1, y1, c):
        for x in range(x0, x1 + 1):
            self.put(x, y0, c); self.put(x, y1, c)
        for y in range(y0, y1 + 1):
            self.put(x0, y, c); self.put(x1, y, c)

    def box(self, x0, y0, x1, y1, border, inside):
        self.fill(x0, y0, x1, y1, inside)
        self.rect(x0, y0, x1, y1, border)

    def line(self, x0, y0, x1, y1, c):
        n = max(abs(x1 - x0), abs(y1 - y0)) or 1
        for i in range(n + 1):
            self.put(round(x0 + (x1 - x0) * i / n), round(y0 + (y1 - y0) * i / n), c)

    def xpm(self, name):
        used = sorted({c for row in self.px for c in row})
        out = ['/* XPM */', 'static const char* %s[] = {' % name,
               '"%d %d %d 1",' % (self.w, self.h, len(used))]
        out += ['"%s c %s",' % (c, PALETTE[c]) for c in used]
        out += ['"%s"%s' % (''.join(r), ',' if i + 1 < self.h else '') for i, r in enumerate(self.px)]
        out.append('};')
        return '\n'.join(out) + '\n'


def page(c, lines=True, fold=True):
    """A white sheet with a folded top-right corner."""
    c.box(2, 0, 13, 15, 'k', 'w')
    if fold:
        c.fill(10, 0, 13, 3, '.')
        c.line(10, 0, 13, 3, 'k'); c.line(10, 0, 10, 3, 'k'); c.line(10, 3, 13, 3, 'k')
    if lines:
        for y in (5, 7, 9, 11):
            c.line(4, y, 11, y, 'd')


def folder(c, body='y'):
    c.box(0, 4, 15, 14, 'k', body)
    c.box(1, 2, 6, 4, 'k', body)
    c.line(1, 5, 14, 5, 'w')


def node_icons():
    icons = []
    # 0 project: the operator display module with its screen and keys
    c = Canvas(); c.box(0, 1, 15, 14, 'k', 'g'); c.box(2, 3, 10, 11, 'k', 'b')
    c.line(3, 5, 8, 5, 'B'); c.line(3, 7, 6, 7, 'B')
    for y in (3, 6, 9): c.box(12, y, 13, y + 1, 'k', 'r')
    icons.append(c)
    # 1 category folder
    c = Canvas(); folder(c); icons.append(c)
    # 2 list file
    c = Canvas(); page(c); icons.append(c)
    # 3 picture: sheet with a small landscape
    c = Canvas(); page(c, lines=False); c.fill(4, 6, 11, 12, 'B'); c.fill(4, 10, 11, 12, 'L')
    c.line(4, 10, 7, 7, 'G'); c.line(7, 7, 9, 9, 'G'); c.fill(9, 5, 10, 6, 'y'); icons.append(c)
    # 4 text group: sheet with a large T
    c = Canvas(); page(c, lines=False); c.fill(4, 5, 11, 6, 'b'); c.fill(7, 5, 8, 13, 'b'); icons.append(c)
    # 5 step sequence: three steps linked top to bottom
    c = Canvas()
    for y in (0, 6, 12):
        c.box(4, y, 11, y + 3, 'k', 'B')
    c.line(7, 4, 7, 5, 'k'); c.line(7, 10, 7, 11, 'k'); icons.append(c)
    # 6 option list: sheet with a green tick
    c = Canvas(); page(c, lines=False); c.line(4, 9, 6, 11, 'G'); c.line(6, 11, 11, 5, 'G')
    c.line(4, 10, 6, 12, 'G'); c.line(6, 12, 11, 6, 'G'); icons.append(c)
    # 7 system data list: sheet with a red cog-like square
    c = Canvas(); page(c, lines=False); c.box(5, 6, 10, 11, 'k', 'R'); c.fill(7, 8, 8, 9, 'w')
    for (x, y) in ((7, 5), (8, 5), (7, 12), (8, 12), (4, 8), (4, 9), (11, 8), (11, 9)): c.put(x, y, 'k')
    icons.append(c)
    # 8 user symbol table: grid of symbols
    c = Canvas(); c.box(0, 0, 15, 15, 'k', 'w')
    for y in (2, 6, 10):
        for x in (2, 6, 10):
            c.fill(x, y, x + 2, y + 2, 't')
    icons.append(c)
    # 9 fixed symbol table: the same grid in greys
    c = Canvas(); c.box(0, 0, 15, 15, 'k', 'g')
    for y in (2, 6, 10):
        for x in (2, 6, 10):
            c.fill(x, y, x + 2, y + 2, 'd')
    icons.append(c)
    # 10 standard text list: sheet with black text lines
    c = Canvas(); page(c, lines=False)
    for y in (5, 7, 9, 11, 13): c.line(4, y, 11 if y % 4 == 1 else 9, y, 'k')
    icons.append(c)
    # 11 message text: speech bubble
    c = Canvas(); c.box(0, 1, 15, 10, 'k', 'y'); c.line(3, 11, 3, 14, 'k'); c.line(3, 14, 6, 11, 'k')
    c.line(4, 11, 4, 12, 'y'); c.line(2, 4, 13, 4, 'k'); c.line(2, 7, 10, 7, 'k'); icons.append(c)
    # 12 step text: a single step with an arrow into it
    c = Canvas(); c.box(3, 7, 12, 13, 'k', 'B'); c.line(7, 0, 7, 6, 'k'); c.line(5, 4, 7, 6, 'k')
    c.line(9, 4, 7, 6, 'k'); icons.append(c)
    # 13 V-field: a value field showing digits
    c = Canvas(); c.box(0, 3, 15, 12, 'k', 'w'); c.rect(2, 5, 4, 10, 'G'); c.rect(6, 5, 8, 10, 'G')
    c.put(10, 10, 'G'); c.rect(12, 5, 13, 10, 'G'); icons.append(c)
    # 14 symbol: a diamond
    c = Canvas()
    for i in range(7):
        c.line(7 - i, 1 + i, 8 + i, 1 + i, 'p'); c.line(7 - i, 14 - i, 8 + i, 14 - i, 'p')
    icons.append(c)
    # 15 bar: bar graph
    c = Canvas(); c.line(0, 15, 15, 15, 'k'); c.fill(1, 8, 4, 14, 'R'); c.fill(6, 3, 9, 14, 'G')
    c.fill(11, 10, 14, 14, 'b'); icons.append(c)
    # 16 window: a frame with a title bar
    c = Canvas(); c.box(0, 1, 15, 14, 'k', 'w'); c.fill(1, 2, 14, 4, 'b'); c.fill(12, 2, 13, 3, 'g')
    icons.append(c)
    # 17 work function: a key press (finger on a key)
    c = Canvas(); c.box(1, 8, 14, 14, 'k', 'g'); c.line(2, 13, 13, 13, 'd'); c.fill(6, 1, 8, 9, 'o')
    c.rect(6, 1, 8, 9, 'k'); icons.append(c)
    # 18 module directory: a memory chip
    c = Canvas(); c.box(3, 2, 12, 13, 'k', 'd')
    for y in (3, 5, 7, 9, 11): c.put(1, y, 'k'); c.put(2, y, 'k'); c.put(13, y, 'k'); c.put(14, y, 'k')
    c.put(5, 4, 'w'); icons.append(c)
    # 19 protocol: a printed sheet coming out of a printer
    c = Canvas(); c.box(3, 0, 12, 8, 'k', 'w'); c.line(5, 3, 10, 3, 'k'); c.line(5, 5, 10, 5, 'k')
    c.box(0, 8, 15, 14, 'k', 'g'); c.fill(12, 10, 13, 11, 'L'); icons.append(c)
    return icons


def toolbar_icons():
    t = {}
    c = Canvas(16, 15); page(c); t['new'] = c
    c = Canvas(16, 15); folder(c); c.line(4, 13, 8, 7, 'k'); t['open'] = c
    c = Canvas(16, 15); c.box(1, 0, 14, 14, 'k', 'b'); c.box(4, 1, 11, 6, 'k', 'w'); c.box(4, 10, 11, 14, 'k', 'g')
    c.fill(5, 11, 6, 13, 'b'); t['save'] = c
    c = Canvas(16, 15); c.box(0, 3, 15, 12, 'k', 'g')
    for x in (2, 6, 10):
        c.box(x, 5, x + 2, 6, 'k', 'w'); c.box(x, 8, x + 2, 9, 'k', 'w')
    c.box(13, 5, 14, 9, 'k', 'R'); t['keyboard'] = c
    c = Canvas(16, 15); c.box(0, 0, 15, 14, 'k', 'B'); c.fill(1, 9, 14, 13, 'L'); c.line(1, 9, 6, 4, 'G')
    c.line(6, 4, 10, 8, 'G'); c.fill(11, 2, 12, 3, 'y'); t['picture'] = c
    c = Canvas(16, 15); c.box(0, 0, 15, 14, 'k', 'w')
    for y in (2, 6, 10):
        for x in (2, 7, 12):
            c.fill(x, y, x + 1, y + 2, 't')
    t['symbols'] = c
    c = Canvas(16, 15); c.line(5, 0, 9, 8, 'k'); c.line(10, 0, 6, 8, 'k'); c.rect(2, 9, 6, 13, 'b')
    c.rect(9, 9, 13, 13, 'b'); t['cut'] = c
    c = Canvas(16, 15); c.box(0, 0, 9, 10, 'k', 'w'); c.box(6, 4, 15, 14, 'k', 'w')
    for y in (7, 9, 11): c.line(8, y, 13, y, 'd')
    t['copy'] = c
    c = Canvas(16, 15); c.box(1, 1, 11, 13, 'k', 'o'); c.box(4, 0, 8, 2, 'k', 'g'); c.box(7, 5, 15, 14, 'k', 'w')
    for y in (8, 10, 12): c.line(9, y, 13, y, 'd')
    t['paste'] = c
    c = Canvas(16, 15); c.box(3, 0, 12, 6, 'k', 'w'); c.box(0, 6, 15, 12, 'k', 'g'); c.box(3, 10, 12, 14, 'k', 'w')
    c.fill(12, 8, 13, 9, 'L'); t['print'] = c
    c = Canvas(16, 15); c.box(2, 0, 13, 14, 'k', 'B')
    c.line(6, 3, 9, 3, 'w'); c.put(5, 4, 'w'); c.put(10, 4, 'w'); c.put(10, 5, 'w'); c.put(9, 6, 'w')
    c.line(8, 7, 8, 9, 'w'); c.fill(7, 11, 8, 12, 'w'); t['help'] = c
    return t


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    for i, c in enumerate(node_icons()):
        with open(os.path.join(here, 'node%02d.xpm' % i), 'w') as f:
            f.write(c.xpm('node%02d' % i))
    # The program icon for the desktop menu: node icon 0 at twice the size.
    small = node_icons()[0]
    big = Canvas(32, 32)
    for y in range(16):
        for x in range(16):
            for d in ((0, 0), (0, 1), (1, 0), (1, 1)):
                big.put(2 * x + d[0], 2 * y + d[1], small.px[y][x])
    with open(os.path.join(here, 'px920win.xpm'), 'w') as f:
        f.write(big.xpm('px920win'))
    for name, c in toolbar_icons().items():
        with open(os.path.join(here, 'tb_%s.xpm' % name), 'w') as f:
            f.write(c.xpm('tb_%s' % name))


if __name__ == '__main__':
    main()
