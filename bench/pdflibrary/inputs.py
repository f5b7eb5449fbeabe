"""Inputs of the benchmark, made on the spot: a text-and-graphics PDF with photos on some pages,
JPEG photos, and a hostile page."""

import random
import struct
import zlib

from PIL import Image, ImageFilter


def _pdf(objects, root):
    out = bytearray(b"%PDF-1.5\n%\xe2\xe3\xcf\xd3\n")
    offsets = []
    for number, body in enumerate(objects, start=1):
        offsets.append(len(out))
        out += b"%d 0 obj\n" % number + body + b"\nendobj\n"
    xref = len(out)
    out += b"xref\n0 %d\n0000000000 65535 f \n" % (len(objects) + 1)
    for offset in offsets:
        out += b"%010d 00000 n \n" % offset
    out += b"trailer\n<< /Size %d /Root %d 0 R >>\nstartxref\n%d\n%%%%EOF\n" % (len(objects) + 1, root, xref)
    return bytes(out)


def _stream(dictionary, data, compress=True):
    if compress:
        data = zlib.compress(data)
        dictionary += b" /Filter /FlateDecode"
    return b"<< %s /Length %d >>\nstream\n" % (dictionary, len(data)) + data + b"\nendstream"


WORDS = ("the quick brown fox jumps over a lazy dog while converters render pages of text tables "
         "and pictures into images at one hundred fifty dots per inch").split()


def text_pdf(path, pages, photo, seed=1):
    """A letter-size document: two columns of text in three standard fonts, a table drawn with
    lines and filled cells, and on every third page the given JPEG photo."""
    rng = random.Random(seed)
    objects = [None, None]  # catalog, page tree
    fonts = []
    for base in (b"Helvetica", b"Times-Roman", b"Courier"):
        objects.append(b"<< /Type /Font /Subtype /Type1 /BaseFont /%s /Encoding /WinAnsiEncoding >>" % base)
        fonts.append(len(objects))
    jpeg = open(photo, "rb").read()
    with Image.open(photo) as image:
        width, height = image.size
    objects.append(_stream(b"/Type /XObject /Subtype /Image /Width %d /Height %d /ColorSpace /DeviceRGB "
                           b"/BitsPerComponent 8 /Filter /DCTDecode" % (width, height), jpeg, compress=False))
    image_object = len(objects)
    kids = []
    for page in range(pages):
        ops = []
        for column in (0, 1):
            ops.append(b"BT /F%d 9 Tf 11 TL %d 740 Td" % (1 + (page + column) % 3, 50 + column * 270))
            for _ in range(58 if page % 3 else 24):
                line = " ".join(rng.choice(WORDS) for _ in range(8))
                ops.append(b"(%s) '" % line.encode())
            ops.append(b"ET")
        ops.append(b"0.2 w")
        for row in range(8):
            for cell in range(5):
                grey = 0.75 + 0.2 * ((row + cell) % 2)
                ops.append(b"%.2f g %d %d 100 14 re B" % (grey, 50 + cell * 100, 60 + row * 14))
        if page % 3 == 0:
            ops.append(b"q 400 0 0 300 100 60 cm /Im1 Do Q")
        content = _stream(b"", b"\n".join(ops))
        objects.append(content)
        resources = b"/Font << /F1 %d 0 R /F2 %d 0 R /F3 %d 0 R >> /XObject << /Im1 %d 0 R >>" % (
            fonts[0], fonts[1], fonts[2], image_object)
        objects.append(b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Resources << %s >> "
                       b"/Contents %d 0 R >>" % (resources, len(objects)))
        kids.append(len(objects))
    objects[0] = b"<< /Type /Catalog /Pages 2 0 R >>"
    objects[1] = b"<< /Type /Pages /Count %d /Kids [%s] >>" % (
        len(kids), b" ".join(b"%d 0 R" % kid for kid in kids))
    with open(path, "wb") as out:
        out.write(_pdf(objects, 1))


def photo(path, seed, size=(1600, 1200)):
    """A photo-like JPEG: smooth colour gradients with grain."""
    rng = random.Random(seed)
    small = Image.new("RGB", (8, 6))
    small.putdata([(rng.randrange(256), rng.randrange(256), rng.randrange(256)) for _ in range(48)])
    image = small.resize(size, Image.BICUBIC)
    grain = Image.effect_noise(size, 24).convert("RGB")
    image = Image.blend(image, grain, 0.18).filter(ImageFilter.SMOOTH)
    image.save(path, "JPEG", quality=88)


def huge_jbig2_pdf(path, side=100000):
    """One page showing a picture whose JBIG2 data (all white, MMR coded: a bit a row) says it is
    side x side pixels: a small file whose decoding needs 2.5 GB."""
    def segment(number, kind, data):
        return struct.pack(">IBBBI", number, kind, 0, 1, len(data)) + data
    page = struct.pack(">IIIIBH", side, side, 0, 0, 0, 0)
    region = struct.pack(">IIIIBB", side, side, 0, 0, 0, 1) + b"\xff" * (side // 8)
    jbig2 = segment(0, 48, page) + segment(1, 38, region) + segment(2, 49, b"")
    objects = [
        b"<< /Type /Catalog /Pages 2 0 R >>",
        b"<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Resources << /XObject << /Im1 4 0 R >> >> "
        b"/Contents 5 0 R >>",
        _stream(b"/Type /XObject /Subtype /Image /Width 1000 /Height 1000 /ColorSpace /DeviceGray "
                b"/BitsPerComponent 1 /Filter /JBIG2Decode", jbig2, compress=False),
        _stream(b"", b"q 500 0 0 500 50 150 cm /Im1 Do Q", compress=False),
    ]
    with open(path, "wb") as out:
        out.write(_pdf(objects, 1))
