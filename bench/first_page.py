#!/usr/bin/env python3
"""Time from a click on a menu line to its page drawn in the web pane, on a real X display.

The front end runs on the sample disc on DISPLAY (an Xvfb, where the browser engine renders in
software). Once its start screen has settled, the pointer opens the Support menu and clicks its
"Help with this disc" line; the time runs from the click until the page's yellow heading is on the
screen, read back from the display every few milliseconds. With --rest S the pointer first rests
on the line for S seconds before the click (what a reader's hand does while reading the menu).

  bench/first_page.py BIN [--disc DIR] [--settle S] [--rest S] [--runs N]

Prints one line per run, "first page after N ms", and exits non-zero when a page does not come
within the limit.
"""
import argparse
import ctypes
import ctypes.util
import os
import subprocess
import sys
import time

# Where the Support menu's button and its second line are, in window pixels, and where the
# support page's heading lands once the pane is on screen.
MENU_BUTTON = (500, 70)
PAGE_LINE = (500, 99)
HEADING = (4, 200, 150, 30)  # x, y, width, height
YELLOW = (0xFF, 0xD4, 0x00)
LIMIT_S = 10.0


class XImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.POINTER(ctypes.c_ubyte)),
                ("byte_order", ctypes.c_int), ("bitmap_unit", ctypes.c_int),
                ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
                ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int),
                ("bits_per_pixel", ctypes.c_int)]


class Screen:
    def __init__(self):
        self.x11 = ctypes.CDLL(ctypes.util.find_library("X11"))
        self.x11.XOpenDisplay.restype = ctypes.c_void_p
        self.x11.XDefaultRootWindow.restype = ctypes.c_ulong
        self.x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        self.x11.XGetImage.restype = ctypes.POINTER(XImage)
        self.x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int,
                                       ctypes.c_int, ctypes.c_uint, ctypes.c_uint,
                                       ctypes.c_ulong, ctypes.c_int]
        self.x11.XFree.argtypes = [ctypes.c_void_p]
        self.display = self.x11.XOpenDisplay(None)
        if not self.display:
            sys.exit("first_page.py: cannot open the display")
        self.root = self.x11.XDefaultRootWindow(self.display)

    def holds_colour(self, x, y, w, h, rgb):
        """Whether any pixel of the rectangle is within a few steps of rgb."""
        image = self.x11.XGetImage(self.display, self.root, x, y, w, h, 0xFFFFFFFF, 2)
        if not image:
            return False
        img = image.contents
        found = False
        for row in range(img.height):
            base = row * img.bytes_per_line
            for col in range(img.width):
                b, g, r = img.data[base + 4 * col], img.data[base + 4 * col + 1], \
                    img.data[base + 4 * col + 2]
                if abs(r - rgb[0]) < 8 and abs(g - rgb[1]) < 8 and abs(b - rgb[2]) < 8:
                    found = True
                    break
            if found:
                break
        self.x11.XFree(img.data)
        self.x11.XFree(image)
        return found


def xdotool(*args):
    return subprocess.run(["xdotool", *args], check=True, capture_output=True,
                          text=True).stdout.strip()


def window_of(pid):
    for _ in range(100):
        out = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(pid)],
                             capture_output=True, text=True).stdout.split()
        if out:
            return out[0]
        time.sleep(0.1)
    sys.exit(f"first_page.py: no window from process {pid}")


def one_run(binary, disc, settle, rest, screen):
    env = dict(os.environ, QTWEBENGINE_DISABLE_SANDBOX="1")
    env.pop("QT_QPA_PLATFORM", None)
    proc = subprocess.Popen([binary, "--disc", disc], env=env, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    try:
        win = window_of(proc.pid)
        xdotool("windowfocus", win)
        geometry = dict(line.split("=") for line in
                        xdotool("getwindowgeometry", "--shell", win).splitlines())
        left, top = int(geometry["X"]), int(geometry["Y"])
        xdotool("mousemove", "1020", "760")
        time.sleep(settle)
        xdotool("mousemove", str(left + MENU_BUTTON[0]), str(top + MENU_BUTTON[1]))
        time.sleep(0.2)
        xdotool("click", "1")
        time.sleep(0.5)  # the menu drops down
        xdotool("mousemove", str(left + PAGE_LINE[0]), str(top + PAGE_LINE[1]))
        time.sleep(rest if rest > 0 else 0.1)
        x, y, w, h = HEADING
        if screen.holds_colour(left + x, top + y, w, h, YELLOW):
            sys.exit("first_page.py: the page's heading is on screen before the click")
        start = time.monotonic()
        xdotool("click", "1")
        while not screen.holds_colour(left + x, top + y, w, h, YELLOW):
            if time.monotonic() - start > LIMIT_S:
                return None
            time.sleep(0.005)
        return (time.monotonic() - start) * 1000
    finally:
        proc.terminate()
        proc.wait()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("binary")
    parser.add_argument("--disc", default="sample-disc")
    parser.add_argument("--settle", type=float, default=3.0)
    parser.add_argument("--rest", type=float, default=0.0)
    parser.add_argument("--runs", type=int, default=1)
    args = parser.parse_args()
    screen = Screen()
    failed = False
    for _ in range(args.runs):
        ms = one_run(args.binary, args.disc, args.settle, args.rest, screen)
        if ms is None:
            print(f"no page within {LIMIT_S:.0f} s")
            failed = True
        else:
            print(f"first page after {ms:.0f} ms", flush=True)
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
