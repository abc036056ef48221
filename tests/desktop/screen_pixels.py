#!/usr/bin/python3
"""Pixels of the sessions' screenshots, read through ImageMagick's `convert`.

  screen_pixels.py match SCREEN.png WINDOW.png
      Finds WINDOW (the offscreen rendering of the main window) inside SCREEN and counts the
      pixels that differ, the clock's box left out (its time moves on). Prints
      "at X,Y: N of M pixels differ, D in the bottom strip"; exits 0 only when none differs.
  screen_pixels.py shows SCREEN.png WINDOW.png
      Exits 0 when the window's header is on the screen.
  screen_pixels.py ticked EARLIER.png LATER.png WINDOW.png
      Exits 0 when the window's clock shows another time on LATER than on EARLIER: the footer
      has been repainted on its own in between.
  screen_pixels.py probe IMAGE X Y W H
      Prints the least and the mean luma (0-255) of the rectangle.
"""
import subprocess
import sys

FOOTER_HEIGHT = 46


def load(path):
    size = subprocess.run(["identify", "-format", "%w %h", path + "[0]"], check=True,
                          capture_output=True, text=True).stdout.split()
    raw = subprocess.run(["convert", path + "[0]", "-alpha", "off", "-depth", "8", "rgb:-"],
                         check=True, capture_output=True).stdout
    return int(size[0]), int(size[1]), raw


def pixel(image, x, y):
    w, _, raw = image
    i = 3 * (y * w + x)
    return raw[i:i + 3]


def row(image, x, y, n):
    w, _, raw = image
    i = 3 * (y * w + x)
    return raw[i:i + 3 * n]


def find(screen, window):
    sw, sh, _ = screen
    ww, wh, _ = window
    # By the window's first row and its left column's first rows: the header, which every paint
    # covers; the rows below are what is compared.
    key = row(window, 0, 0, ww)
    column = [pixel(window, 0, y) for y in range(min(wh, 100))]
    for y in range(sh - wh + 1):
        for x in range(sw - ww + 1):
            if row(screen, x, y, ww) == key and all(
                    pixel(screen, x, y + j) == p for j, p in enumerate(column)):
                return x, y
    return None


def match(screen_path, window_path):
    screen = load(screen_path)
    window = load(window_path)
    ww, wh, _ = window
    at = find(screen, window)
    if at is None:
        print("the window is nowhere on the screen")
        return 1
    x0, y0, w, h = clock_box(window)
    clock = (x0, y0, x0 + w, y0 + h)
    differ = strip = 0
    for y in range(wh):
        for x in range(ww):
            if clock[0] <= x < clock[2] and clock[1] <= y < clock[3]:
                continue
            if pixel(screen, at[0] + x, at[1] + y) != pixel(window, x, y):
                differ += 1
                strip += y >= wh - FOOTER_HEIGHT
    print(f"at {at[0]},{at[1]}: {differ} of {ww * wh} pixels differ, {strip} in the bottom strip")
    return 0 if differ == 0 else 1


def clock_box(window):
    ww, wh, _ = window
    return ww - 292, wh - 34, 270, 25


def ticked(earlier_path, later_path, window_path):
    window = load(window_path)
    x0, y0, w, h = clock_box(window)
    boxes = []
    for path in (earlier_path, later_path):
        screen = load(path)
        at = find(screen, window)
        if at is None:
            return 1
        boxes.append([row(screen, at[0] + x0, at[1] + y0 + j, w) for j in range(h)])
    return 0 if boxes[0] != boxes[1] else 1


def probe(path, x, y, w, h):
    image = load(path)
    lumas = []
    for j in range(y, y + h):
        for i in range(x, x + w):
            r, g, b = pixel(image, i, j)
            lumas.append((299 * r + 587 * g + 114 * b) // 1000)
    print(min(lumas), sum(lumas) // len(lumas))
    return 0


if __name__ == "__main__":
    if sys.argv[1:2] == ["match"] and len(sys.argv) == 4:
        sys.exit(match(sys.argv[2], sys.argv[3]))
    if sys.argv[1:2] == ["shows"] and len(sys.argv) == 4:
        sys.exit(0 if find(load(sys.argv[2]), load(sys.argv[3])) else 1)
    if sys.argv[1:2] == ["ticked"] and len(sys.argv) == 5:
        sys.exit(ticked(*sys.argv[2:5]))
    if sys.argv[1:2] == ["probe"] and len(sys.argv) == 7:
        sys.exit(probe(sys.argv[2], *map(int, sys.argv[3:7])))
    sys.exit(__doc__)
