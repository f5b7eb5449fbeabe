"""What the flat ODF writers share: the namespaces, the fonts, escaping and numbers in cells."""
import re
from xml.sax.saxutils import escape

NAMESPACES = (
    'xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" '
    'xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0" '
    'xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" '
    'xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" '
    'xmlns:draw="urn:oasis:names:tc:opendocument:xmlns:drawing:1.0" '
    'xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0" '
    'xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0" '
    'xmlns:chart="urn:oasis:names:tc:opendocument:xmlns:chart:1.0" '
    'xmlns:number="urn:oasis:names:tc:opendocument:xmlns:datastyle:1.0" '
    'xmlns:presentation="urn:oasis:names:tc:opendocument:xmlns:presentation:1.0" '
    'xmlns:xlink="http://www.w3.org/1999/xlink" office:version="1.2"')

FONTS = ["Liberation Serif", "Liberation Sans", "DejaVu Sans", "DejaVu Serif", "Linux Libertine O", "FreeSerif",
         "FreeSans", "WenQuanYi Zen Hei"]

FONT_FACES = "<office:font-face-decls>" + "".join(
    f"<style:font-face style:name=\"{f}\" svg:font-family=\"'{f}'\"/>" for f in FONTS) + "</office:font-face-decls>\n"


def esc(text):
    return escape(text, {'"': "&quot;"})


def document(mimetype, content):
    return (f'<?xml version="1.0" encoding="UTF-8"?>\n<office:document {NAMESPACES} office:mimetype="{mimetype}">\n'
            f"{FONT_FACES}{content}</office:document>\n")


NUMBER = re.compile(r"^[-+(]?[\d.,]+%?\)?$")


def is_number(text):
    return bool(NUMBER.match(text.strip()))


def write(path, text):
    with open(path, "w", encoding="utf-8") as out:
        out.write(text)
