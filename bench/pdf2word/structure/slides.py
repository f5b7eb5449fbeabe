"""LibreOffice Impress slides and Draw pages written as flat ODP and ODG: text frames, tinted
sidebars, pictures and diagrams of labelled boxes joined by arrows, each recorded in the
document's truth as it is written. Positions and sizes are in centimetres from the page's corner."""
import odf
import pictures
from odf import esc

FILLS = ["#dbe8f5", "#fde9d9", "#e2efda", "#fff2cc", "#ead1dc", "#d9d2e9"]


class SlideDoc:
    def __init__(self, truth, kind="presentation", page=(28.0, 15.75), font="Liberation Sans"):
        self.truth = truth
        self.kind = kind  # "presentation" (Impress) or "drawing" (Draw)
        self.page = page
        self.font = font
        self.pages = []
        self.styles = {}
        self.count = 0

    def style(self, family, props):
        key = (family, props)
        if key not in self.styles:
            self.styles[key] = f"s{len(self.styles) + 1}"
        return self.styles[key]

    def new_page(self):
        self.pages.append([])

    def add(self, xml):
        self.pages[-1].append(xml)

    def _paragraph(self, text, size, bold=False, colour="#000000", align="start", bullet=False, space=0.25):
        weight = ' fo:font-weight="bold"' if bold else ""
        style = self.style("paragraph", f'<style:paragraph-properties fo:text-align="{align}" fo:margin-bottom="{space}cm"/>'
                                        f'<style:text-properties fo:font-size="{size}pt" fo:color="{colour}"{weight}/>')
        return f'<text:p text:style-name="{style}">{"• " if bullet else ""}{esc(text)}</text:p>'

    def _frame(self, x, y, w, h, inner, fill=None, padding=0.2):
        fill_xml = f'draw:fill="solid" draw:fill-color="{fill}"' if fill else 'draw:fill="none"'
        style = self.style("graphic", f'<style:graphic-properties {fill_xml} draw:stroke="none" draw:textarea-vertical-align="top" '
                                      f'draw:auto-grow-height="false" fo:padding-left="{padding}cm" fo:padding-right="{padding}cm" '
                                      f'fo:padding-top="{padding}cm" fo:padding-bottom="{padding}cm"/>')
        if fill:
            return (f'<draw:custom-shape draw:style-name="{style}" svg:x="{x}cm" svg:y="{y}cm" svg:width="{w}cm" svg:height="{h}cm">'
                    f'{inner}<draw:enhanced-geometry draw:type="rectangle"/></draw:custom-shape>')
        return (f'<draw:frame draw:style-name="{style}" svg:x="{x}cm" svg:y="{y}cm" svg:width="{w}cm" svg:height="{h}cm">'
                f"<draw:text-box>{inner}</draw:text-box></draw:frame>")

    def title(self, text, x=1.2, y=0.6, w=25, h=2, size=30, colour="#1f4e79"):
        self.truth.text("heading", text)
        self.add(self._frame(x, y, w, h, self._paragraph(text, size, True, colour)))

    def text(self, paragraphs, x, y, w, h, size=18, kind="body", bullets=False, fill=None, heading=None, align="start"):
        inner = ""
        if heading:
            self.truth.text("box" if fill else "heading", heading)
            inner += self._paragraph(heading, size + 2, True, "#1f4e79", align)
        for text in paragraphs:
            self.truth.text(kind, text)
            inner += self._paragraph(text, size, bullet=bullets, align=align)
        self.add(self._frame(x, y, w, h, inner, fill, 0.4 if fill else 0.1))

    def picture(self, seed, x, y, w, h):
        self.truth.picture_cm(w, h)
        data = pictures.photo(seed, 400, max(60, int(400 * h / w)))
        style = self.style("graphic", '<style:graphic-properties draw:fill="none" draw:stroke="none"/>')
        self.add(f'<draw:frame draw:style-name="{style}" svg:x="{x}cm" svg:y="{y}cm" svg:width="{w}cm" svg:height="{h}cm">'
                 f"<draw:image><office:binary-data>{pictures.base64_of(data)}</office:binary-data></draw:image></draw:frame>")

    def diagram(self, boxes, arrows, size=12, shape="round-rectangle"):
        """boxes: (label, x, y, w, h); arrows: (from box, to box) joined centre to centre, from the
        side facing the other box. The diagram is one picture the size of its boxes' bounds."""
        x0 = min(b[1] for b in boxes)
        y0 = min(b[2] for b in boxes)
        x1 = max(b[1] + b[3] for b in boxes)
        y1 = max(b[2] + b[4] for b in boxes)
        self.truth.picture_cm(x1 - x0, y1 - y0, "diagram")
        for i, (label, x, y, w, h) in enumerate(boxes):
            self.truth.label(label)
            fill = FILLS[i % len(FILLS)]
            style = self.style("graphic", f'<style:graphic-properties draw:fill="solid" draw:fill-color="{fill}" draw:stroke="solid" '
                                          'svg:stroke-color="#44546a" svg:stroke-width="0.04cm" draw:textarea-vertical-align="middle" '
                                          'draw:textarea-horizontal-align="center" draw:auto-grow-height="false"/>')
            self.add(f'<draw:custom-shape draw:style-name="{style}" svg:x="{x}cm" svg:y="{y}cm" svg:width="{w}cm" svg:height="{h}cm">'
                     f'{self._paragraph(label, size, align="center", space=0)}<draw:enhanced-geometry draw:type="{shape}"/></draw:custom-shape>')
        line = self.style("graphic", '<style:graphic-properties draw:stroke="solid" svg:stroke-color="#44546a" svg:stroke-width="0.05cm" '
                                     'draw:marker-end="Arrow" draw:marker-end-width="0.35cm"/>')
        for a, b in arrows:
            _, ax, ay, aw, ah = boxes[a]
            _, bx, by, bw, bh = boxes[b]
            (sx, sy), (ex, ey) = _facing((ax, ay, aw, ah), (bx, by, bw, bh)), _facing((bx, by, bw, bh), (ax, ay, aw, ah))
            self.add(f'<draw:line draw:style-name="{line}" svg:x1="{sx:.2f}cm" svg:y1="{sy:.2f}cm" svg:x2="{ex:.2f}cm" svg:y2="{ey:.2f}cm"/>')

    def xml(self):
        w, h = self.page
        auto = "".join(f'<style:style style:name="{name}" style:family="{family}">{props}</style:style>'
                       for (family, props), name in self.styles.items())
        page_style = '<style:style style:name="dp1" style:family="drawing-page"><style:drawing-page-properties draw:fill="none"/></style:style>'
        pages = "".join(f'<draw:page draw:name="page{i + 1}" draw:style-name="dp1" draw:master-page-name="Default">{"".join(items)}</draw:page>'
                        for i, items in enumerate(self.pages))
        content = (f'<office:styles><style:default-style style:family="graphic"><style:text-properties style:font-name="{self.font}" '
                   'fo:font-size="18pt" style:font-name-asian="WenQuanYi Zen Hei" style:font-name-complex="DejaVu Sans"/></style:default-style>'
                   '<draw:marker draw:name="Arrow" svg:viewBox="0 0 20 30" svg:d="M10 0 L20 30 L0 30 Z"/></office:styles>'
                   f'<office:automatic-styles><style:page-layout style:name="PM1"><style:page-layout-properties fo:margin="0cm" '
                   f'fo:page-width="{w}cm" fo:page-height="{h}cm" style:print-orientation="{"landscape" if w > h else "portrait"}"/>'
                   f"</style:page-layout>{page_style}{auto}</office:automatic-styles>"
                   '<office:master-styles><style:master-page style:name="Default" style:page-layout-name="PM1" draw:style-name="dp1"/>'
                   f"</office:master-styles><office:body><office:{self.kind}>{pages}</office:{self.kind}></office:body>\n")
        mime = "presentation" if self.kind == "presentation" else "graphics"
        return odf.document(f"application/vnd.oasis.opendocument.{mime}", content)

    def write(self, path):
        odf.write(path, self.xml())


def _facing(box, other):
    """The middle of the side of box that faces other."""
    x, y, w, h = box
    ox, oy, ow, oh = other
    dx = (ox + ow / 2) - (x + w / 2)
    dy = (oy + oh / 2) - (y + h / 2)
    if abs(dx) * h > abs(dy) * w:
        return (x + w, y + h / 2) if dx > 0 else (x, y + h / 2)
    return (x + w / 2, y + h) if dy > 0 else (x + w / 2, y)
