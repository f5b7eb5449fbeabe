"""Office inputs of the to-PDF benchmark, written by LibreOffice itself: a flat OpenDocument text
with two-column sections, hyphenation, tables and transparent pictures, converted to DOCX and PDF,
and the PDF rendered by Ghostscript into the multi-page TIFF files a scanner would deliver."""

import base64
import io
import os
import random
import subprocess
import tempfile
from xml.sax.saxutils import escape

from PIL import Image, ImageDraw

WORDS = ("harbour lantern keeper morning river stone window garden silver meadow orchard "
         "lighthouse navigation weatherproof correspondence administration extraordinary "
         "responsibility characteristically photosynthesis").split()

NAMESPACES = " ".join('xmlns:%s="%s"' % pair for pair in (
    ("office", "urn:oasis:names:tc:opendocument:xmlns:office:1.0"),
    ("style", "urn:oasis:names:tc:opendocument:xmlns:style:1.0"),
    ("text", "urn:oasis:names:tc:opendocument:xmlns:text:1.0"),
    ("table", "urn:oasis:names:tc:opendocument:xmlns:table:1.0"),
    ("draw", "urn:oasis:names:tc:opendocument:xmlns:drawing:1.0"),
    ("fo", "urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"),
    ("svg", "urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0"),
    ("xlink", "http://www.w3.org/1999/xlink")))

STYLES = """<office:styles>
 <style:style style:name="Standard" style:family="paragraph">
  <style:paragraph-properties fo:text-align="justify" fo:margin-bottom="0.2cm"/>
  <style:text-properties fo:font-size="10pt" fo:language="en" fo:country="GB" fo:hyphenate="true"
   fo:hyphenation-remain-char-count="2" fo:hyphenation-push-char-count="2"/>
 </style:style>
</office:styles>
<office:automatic-styles>
 <style:style style:name="Columns" style:family="section">
  <style:section-properties><style:columns fo:column-count="2" fo:column-gap="0.6cm"/></style:section-properties>
 </style:style>
 <style:style style:name="Picture" style:family="graphic">
  <style:graphic-properties style:wrap="none" style:horizontal-pos="center" style:horizontal-rel="paragraph"/>
 </style:style>
 <style:style style:name="Cell" style:family="table-cell">
  <style:table-cell-properties fo:border="0.5pt solid #000000" fo:background-color="#dde8f0" fo:padding="0.1cm"/>
 </style:style>
</office:automatic-styles>"""


def _picture(seed):
    """A PNG with an alpha channel: translucent shapes over a transparent ground."""
    rng = random.Random(seed)
    image = Image.new("RGBA", (480, 320), (0, 0, 0, 0))
    draw = ImageDraw.Draw(image)
    for _ in range(12):
        x, y = rng.randrange(400), rng.randrange(240)
        colour = (rng.randrange(256), rng.randrange(256), rng.randrange(256), rng.randrange(90, 220))
        draw.ellipse((x, y, x + rng.randrange(40, 160), y + rng.randrange(40, 120)), fill=colour)
    out = io.BytesIO()
    image.save(out, "PNG")
    return base64.b64encode(out.getvalue()).decode()


def _paragraph(rng, words):
    return '<text:p text:style-name="Standard">%s.</text:p>' % escape(
        " ".join(rng.choice(WORDS) for _ in range(words)).capitalize())


def flat_odt(path, pages, seed=3):
    """About `pages` A4 pages: per page a heading, a two-column section of justified, hyphenated
    text with a transparent picture, and a small table."""
    rng = random.Random(seed)
    body = []
    for page in range(pages):
        body.append('<text:h text:outline-level="1">Chapter %d: the harbour records</text:h>' % (page + 1))
        body.append('<text:section text:style-name="Columns" text:name="Section%d">' % page)
        body += [_paragraph(rng, 70) for _ in range(5)]
        body.append('<text:p text:style-name="Standard"><draw:frame draw:style-name="Picture" '
                    'text:anchor-type="as-char" svg:width="7cm" svg:height="4.6cm"><draw:image>'
                    '<office:binary-data>%s</office:binary-data></draw:image></draw:frame></text:p>'
                    % _picture(seed * 100 + page))
        body += [_paragraph(rng, 60) for _ in range(3)]
        body.append('</text:section>')
        rows = "".join('<table:table-row>%s</table:table-row>' % "".join(
            '<table:table-cell table:style-name="Cell" office:value-type="string"><text:p>%s</text:p>'
            '</table:table-cell>' % rng.choice(WORDS) for _ in range(4)) for _ in range(5))
        body.append('<table:table table:name="Table%d"><table:table-column table:number-columns-repeated="4"/>%s'
                    '</table:table>' % (page, rows))
    document = ('<?xml version="1.0" encoding="UTF-8"?>\n<office:document %s office:version="1.3" '
                'office:mimetype="application/vnd.oasis.opendocument.text">%s<office:body><office:text>%s'
                '</office:text></office:body></office:document>' % (NAMESPACES, STYLES, "".join(body)))
    with open(path, "w", encoding="utf-8") as out:
        out.write(document)


def libreoffice(source, target_format, folder):
    """Converts source with LibreOffice (a throw-away profile) into folder; the path written."""
    with tempfile.TemporaryDirectory() as profile:
        subprocess.run(["soffice", "--headless", "-env:UserInstallation=file://" + profile,
                        "--convert-to", target_format, "--outdir", folder, source],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    base = os.path.splitext(os.path.basename(source))[0]
    return os.path.join(folder, base + "." + target_format.split(":")[0])


def tiff(pdf, path, device, dpi, pages, extra=()):
    """The first `pages` pages of the PDF as one multi-page TIFF, rendered by Ghostscript."""
    subprocess.run(["gs", "-q", "-dNOPAUSE", "-dBATCH", "-dSAFER", "-sDEVICE=" + device, "-r%d" % dpi,
                    "-dFirstPage=1", "-dLastPage=%d" % pages, *extra, "-sOutputFile=" + path, pdf],
                   check=True)
    return path
