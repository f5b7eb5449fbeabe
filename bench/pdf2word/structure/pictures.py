"""Pictures for the corpus, written as PNG with the standard library alone: photographs' colours
(a sky over water or fields, trees, houses) and a portrait, each the same for the same seed."""
import base64
import random
import struct
import zlib


def _png(width, height, rows):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    raw = b"".join(b"\x00" + bytes(row) for row in rows)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 6)) + chunk(b"IEND", b""))


def photo(seed, width=360, height=240):
    """A landscape: a sky fading to the horizon, water or a field below, round trees and a few
    square houses. Returns the PNG's bytes."""
    rng = random.Random(seed)
    horizon = int(height * rng.uniform(0.35, 0.6))
    sky = (rng.randint(70, 120), rng.randint(130, 170), rng.randint(190, 235))
    ground = rng.choice([(40, 90, 140), (70, 120, 50), (150, 130, 70)])
    pixels = [[0] * (width * 3) for _ in range(height)]
    for y in range(height):
        if y < horizon:
            t = y / max(1, horizon)
            colour = tuple(int(c + (235 - c) * t * 0.7) for c in sky)
        else:
            t = (y - horizon) / max(1, height - horizon)
            colour = tuple(int(c * (0.8 + 0.4 * t)) % 256 for c in ground)
        row = pixels[y]
        for x in range(width):
            row[3 * x:3 * x + 3] = colour
    shapes = []
    for _ in range(rng.randint(12, 30)):
        r = rng.randint(4, max(5, height // 10))
        shapes.append(("tree", rng.randint(0, width - 1), horizon + rng.randint(-r, height // 3), r,
                       (rng.randint(20, 70), rng.randint(80, 140), rng.randint(20, 60))))
    for _ in range(rng.randint(2, 6)):
        s = rng.randint(8, max(9, height // 8))
        shapes.append(("house", rng.randint(0, width - s), horizon - s // 2, s,
                       (rng.randint(150, 230), rng.randint(60, 200), rng.randint(40, 120))))
    for kind, cx, cy, r, colour in shapes:
        for y in range(max(0, cy - r), min(height, cy + r + 1)):
            row = pixels[y]
            for x in range(max(0, cx - r), min(width, cx + r + 1)):
                if kind == "house" or (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                    row[3 * x:3 * x + 3] = colour
    return _png(width, height, pixels)


def portrait(seed, width=200, height=240):
    """A head and shoulders on a plain background, as on a staff page."""
    rng = random.Random(seed)
    back = (rng.randint(180, 230), rng.randint(180, 230), rng.randint(190, 240))
    skin = (rng.randint(170, 235), rng.randint(130, 190), rng.randint(100, 160))
    coat = (rng.randint(20, 90), rng.randint(20, 90), rng.randint(40, 120))
    pixels = []
    for y in range(height):
        row = []
        for x in range(width):
            dx, dy = x - width / 2, y - height * 0.4
            if dx * dx / (width * 0.2) ** 2 + dy * dy / (height * 0.22) ** 2 <= 1:
                row += skin
            elif y > height * 0.68 and abs(dx) < width * 0.45 - (height - y) * 0.3:
                row += coat
            else:
                row += back
        pixels.append(row)
    return _png(width, height, pixels)


def base64_of(data):
    return base64.b64encode(data).decode("ascii")
