"""Reads the pixels of a PNG file as the front end writes its snapshots (8 bits a sample, grey,
RGB or RGBA, not interlaced), and compares a picture with another one enlarged with whole
pixels. Plain Python: the test machines have no imaging library."""
import struct
import zlib

_CHANNELS = {0: 1, 2: 3, 4: 2, 6: 4}


def read(path):
    """Returns (width, height, rows): each row a bytes object of RGB triples."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError(f"{path}: not a PNG file")
    pos = 8
    width = height = None
    idat = []
    while pos < len(data):
        (length,) = struct.unpack(">I", data[pos:pos + 4])
        kind = data[pos + 4:pos + 8]
        body = data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
            if depth != 8 or colour not in _CHANNELS or interlace:
                raise ValueError(f"{path}: depth {depth}, colour type {colour}, interlace "
                                 f"{interlace} are not read here")
            channels = _CHANNELS[colour]
        elif kind == b"IDAT":
            idat.append(body)
        elif kind == b"IEND":
            break
    if width is None:
        raise ValueError(f"{path}: no header")
    raw = zlib.decompress(b"".join(idat))
    stride = width * channels
    rows = []
    previous = bytearray(stride)
    at = 0
    for _ in range(height):
        kind = raw[at]
        line = bytearray(raw[at + 1:at + 1 + stride])
        at += 1 + stride
        _unfilter(kind, line, previous, channels)
        rows.append(_rgb(line, channels))
        previous = line
    return width, height, rows


def _unfilter(kind, line, previous, bpp):
    n = len(line)
    if kind == 0:
        return
    if kind == 1:
        for i in range(bpp, n):
            line[i] = (line[i] + line[i - bpp]) & 0xFF
    elif kind == 2:
        for i in range(n):
            line[i] = (line[i] + previous[i]) & 0xFF
    elif kind == 3:
        for i in range(n):
            left = line[i - bpp] if i >= bpp else 0
            line[i] = (line[i] + ((left + previous[i]) >> 1)) & 0xFF
    elif kind == 4:
        for i in range(n):
            a = line[i - bpp] if i >= bpp else 0
            b = previous[i]
            c = previous[i - bpp] if i >= bpp else 0
            p = a + b - c
            pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
            pred = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
            line[i] = (line[i] + pred) & 0xFF
    else:
        raise ValueError(f"unknown PNG filter {kind}")


def _rgb(line, channels):
    if channels == 3:
        return bytes(line)
    out = bytearray()
    for i in range(0, len(line), channels):
        if channels >= 3:
            out += line[i:i + 3]
        else:
            out += bytes((line[i],)) * 3
    return bytes(out)


def enlarged(rows, factor):
    """The picture with every pixel repeated factor times across and down."""
    out = []
    for row in rows:
        wide = b"".join(row[i:i + 3] * factor for i in range(0, len(row), 3))
        out.extend([wide] * factor)
    return out


def first_difference(small_path, large_path, factor, at=None):
    """None when the picture at large_path is the one at small_path with each pixel made
    factor x factor (the whole of it, or from `at`, an (x, y) place, on); otherwise a sentence
    saying where they first differ."""
    w1, h1, small = read(small_path)
    w2, h2, large = read(large_path)
    left, top = at or (0, 0)
    if at is None and (w2, h2) != (w1 * factor, h1 * factor):
        return f"{large_path} is {w2} x {h2}, not {factor} times {w1} x {h1}"
    if left + w1 * factor > w2 or top + h1 * factor > h2:
        return f"{large_path} ({w2} x {h2}) cannot hold {small_path} {factor} times at {left},{top}"
    want = enlarged(small, factor)
    for y, want_row in enumerate(want):
        got_row = large[top + y][3 * left:3 * left + len(want_row)]
        if got_row != want_row:
            x = next(i for i in range(0, len(got_row), 3)
                     if got_row[i:i + 3] != want_row[i:i + 3]) // 3
            return (f"pixel {left + x},{top + y} of {large_path} is "
                    f"#{got_row[3 * x:3 * x + 3].hex()}, the enlarged picture has "
                    f"#{want_row[3 * x:3 * x + 3].hex()}")
    return None
