#!/usr/bin/env python3
"""Builds a small CD image of a folder for the tests, with genisoimage.

  make_image.py FLAVOUR FOLDER OUT

FLAVOUR:
  joliet     ISO 9660 with Joliet names (OUT is the .iso)
  plain      ISO 9660 only, level 2: upper-case names, no Joliet, no Rock Ridge
  rockridge  ISO 9660 with Rock Ridge names and modes, no Joliet
  bincue     the Joliet image as raw Mode 1 frames: OUT is the .bin, its .cue is written beside
  mode1      the Joliet image as raw Mode 1 frames in a .bin without a cue sheet
  mode2      the Joliet image as raw Mode 2 Form 1 frames in a .bin without a cue sheet
  mode2cue   the Joliet image as raw Mode 2 Form 1 frames, its .cue (MODE2/2352) written beside
  nosync     the Joliet image as Mode 1 frames whose sync pattern is blanked, without a cue sheet
  truncated  the Joliet image cut short after its volume descriptors
"""
import os
import subprocess
import sys

SYNC = b"\x00" + b"\xff" * 10 + b"\x00"


def bcd(n):
    return ((n // 10) << 4) | (n % 10)


def header(lba, mode):
    at = lba + 150  # two seconds of lead-in before the first sector
    return SYNC + bytes([bcd(at // 4500), bcd((at // 75) % 60), bcd(at % 75), mode])


def raw_frames(iso, mode, sync=True):
    out = bytearray()
    for lba in range(len(iso) // 2048):
        data = iso[lba * 2048:(lba + 1) * 2048]
        head = header(lba, mode)
        if not sync:
            head = bytes(len(SYNC)) + head[len(SYNC):]
        if mode == 1:
            # Error-detection and -correction bytes are left zero: the reader does not check them.
            out += head + data + bytes(288)
        else:
            sub = bytes([0, 0, 0x08, 0]) * 2  # Form 1, data
            out += head + sub + data + bytes(280)
    return bytes(out)


def genisoimage(args, folder, out):
    subprocess.run(["genisoimage", "-quiet", "-V", "KESTROVA_TEST"] + args + ["-o", out, folder],
                   check=True)


def main():
    flavour, folder, out = sys.argv[1:4]
    if flavour == "plain":
        genisoimage(["-iso-level", "2"], folder, out)
    elif flavour == "rockridge":
        genisoimage(["-iso-level", "2", "-R"], folder, out)
    elif flavour == "joliet":
        genisoimage(["-J", "-joliet-long"], folder, out)
    elif flavour == "truncated":
        genisoimage(["-J", "-joliet-long"], folder, out)
        with open(out, "r+b") as f:
            f.truncate(19 * 2048)
    elif flavour in ("bincue", "mode1", "mode2", "mode2cue", "nosync"):
        iso = out + ".iso.tmp"
        genisoimage(["-J", "-joliet-long"], folder, iso)
        with open(iso, "rb") as f:
            data = f.read()
        os.remove(iso)
        mode = 2 if flavour.startswith("mode2") else 1
        with open(out, "wb") as f:
            f.write(raw_frames(data, mode, sync=flavour != "nosync"))
        if flavour in ("bincue", "mode2cue"):
            with open(os.path.splitext(out)[0] + ".cue", "w") as f:
                f.write('FILE "%s" BINARY\n  TRACK 01 MODE%d/2352\n    INDEX 01 00:00:00\n'
                        % (os.path.basename(out), mode))
    else:
        sys.exit("unknown flavour " + flavour)


if __name__ == "__main__":
    main()
