"""Web pages written as HTML with their pictures inline, printed by Chromium or by LibreOffice, each
piece recorded in the document's truth as it is written. Sizes in CSS pixels (0.75 pt each)."""
import odf
import pictures
from odf import esc

PX = 0.75

BASE_CSS = """
@page { size: A4; margin: 1.8cm; }
body { font-family: %(font)s; font-size: %(size)spx; line-height: 1.45; color: #222; margin: 0; }
h1 { font-size: 2em; margin: 0.2em 0 0.4em; font-weight: bold; }
h2 { font-size: 1.4em; margin: 1em 0 0.4em; border-bottom: 1px solid #aab; }
h3 { font-size: 1.15em; margin: 0.8em 0 0.3em; }
p { margin: 0 0 0.7em; }
table.data { border-collapse: collapse; margin: 0.6em 0 1em; font-size: 0.92em; }
table.data td, table.data th { padding: 3px 8px; text-align: left; vertical-align: top; }
table.data td.num, table.data th.num { text-align: right; }
table.ruled td, table.ruled th { border: 1px solid #444; }
table.ruled th { background: #e4e4e4; }
table.shaded { border-collapse: separate; border-spacing: 2px; }
table.shaded th { background: #1f4e79; color: white; }
table.shaded td { background: #deeaf6; }
table.banded { border-collapse: separate; border-spacing: 0 2px; }
table.banded th { background: #375623; color: white; }
table.banded tr:nth-child(odd) td { background: #e2efda; }
table.banded tr:nth-child(even) td { background: #f4f4f4; }
table.tinted td.tint, table.tinted th.tint { background: #fff2cc; }
table.tinted th { border-bottom: 0; }
table.hrules { border-top: 2px solid #000; border-bottom: 2px solid #000; }
table.hrules thead th { border-bottom: 1px solid #000; }
figure { margin: 0.8em 0; text-align: center; }
figcaption { font-size: 0.85em; font-style: italic; color: #444; }
.infobox { float: right; clear: right; width: %(infobox)spx; margin: 0 0 12px 16px; border: 1px solid #a2a9b1; background: #f8f9fa;
  font-size: 0.85em; padding: 4px; }
.infobox .title { text-align: center; font-weight: bold; font-size: 1.2em; margin: 2px 0 6px; }
.infobox .cap { text-align: center; font-size: 0.9em; margin: 3px 0 6px; }
.infobox table { width: 100%%; border-collapse: collapse; }
.infobox th { text-align: left; vertical-align: top; padding: 2px 4px; width: 40%%; }
.infobox td { vertical-align: top; padding: 2px 4px; }
.sidebar { float: %(side)s; width: %(sidebar)spx; background: #e8eef7; padding: 10px 12px; margin: 0 %(sidegap)s; font-size: 0.9em; }
.sidebar h3 { margin-top: 0; }
.cols2 { column-count: 2; column-gap: 24px; }
.cols3 { column-count: 3; column-gap: 18px; }
.notes { border-top: 1px solid #888; margin-top: 1.5em; padding-top: 0.4em; font-size: 0.85em; }
.notes p { margin: 0 0 0.3em; }
.form p { margin: 0.4em 0; }
.form .field { border: 1px solid #333; height: 22px; margin: 2px 0 8px; padding: 2px 6px; }
.form label { margin-right: 18px; }
.pb { break-before: page; }
"""


class HtmlDoc:
    def __init__(self, truth, font="'DejaVu Sans', sans-serif", size=14, lang="en", direction="ltr", infobox=280,
                 sidebar=200, side="left", extra_css=""):
        self.truth = truth
        self.lang = lang
        self.direction = direction
        gap = "18px 12px 0" if side == "left" else "0 12px 18px"
        self.css = BASE_CSS % {"font": font, "size": size, "infobox": infobox, "sidebar": sidebar, "side": side,
                               "sidegap": gap} + extra_css
        self.body = []
        self.notes = []

    def add(self, xml):
        self.body.append(xml)

    def heading(self, text, level=1, page_break=False):
        self.truth.text("heading", text)
        cls = ' class="pb"' if page_break else ""
        self.add(f"<h{level}{cls}>{esc(text)}</h{level}>")

    def para(self, text, kind="body", notes=()):
        """A paragraph; notes: footnotes cited at its end, listed with notes_list()."""
        markers = ""
        truth_markers = ""
        for note in notes:
            self.notes.append(note)
            markers += f"<sup>{len(self.notes)}</sup>"
            truth_markers += f" {len(self.notes)}"
        self.truth.text(kind, text + truth_markers)
        return f"<p>{esc(text)}{markers}</p>"

    def p(self, text, kind="body", notes=()):
        self.add(self.para(text, kind, notes))

    def bullets(self, items):
        for item in items:
            self.truth.text("body", item)
        self.add("<ul>" + "".join(f"<li>{esc(i)}</li>" for i in items) + "</ul>")

    def notes_list(self):
        xml = '<div class="notes">'
        for i, note in enumerate(self.notes):
            self.truth.text("note", f"{i + 1} {note}")
            xml += f"<p>{i + 1}. {esc(note)}</p>"
        self.add(xml + "</div>")

    def table(self, rows, look="ruled", head_rows=1, tinted_column=None, width=None, record=True):
        if record:
            self.truth.table(rows)
        self.add(table_html(rows, look, head_rows, tinted_column, width))

    def figure(self, seed, width, height, caption=None):
        self.truth.picture(width * PX, height * PX)
        data = pictures.photo(seed, 400, max(60, int(400 * height / width)))
        xml = f'<figure><img src="data:image/png;base64,{pictures.base64_of(data)}" width="{width}" height="{height}" ' \
              f'style="width:{width}px;height:{height}px">'
        if caption:
            self.truth.text("caption", caption)
            xml += f"<figcaption>{esc(caption)}</figcaption>"
        self.add(xml + "</figure>")

    def infobox(self, title, seed, picture_px, caption, rows):
        """A framed box floating at the right: title, picture, caption, label and value rows."""
        self.truth.text("box", title)
        self.truth.picture(picture_px[0] * PX, picture_px[1] * PX)
        self.truth.text("caption", caption)
        self.truth.table(rows)
        data = pictures.photo(seed, 400, max(60, int(400 * picture_px[1] / picture_px[0])))
        cells = "".join(f"<tr><th>{esc(a)}</th><td>{esc(b)}</td></tr>" for a, b in rows)
        self.add(f'<div class="infobox"><div class="title">{esc(title)}</div><div style="text-align:center">'
                 f'<img src="data:image/png;base64,{pictures.base64_of(data)}" style="width:{picture_px[0]}px;height:{picture_px[1]}px">'
                 f'</div><div class="cap">{esc(caption)}</div><table>{cells}</table></div>')

    def sidebar(self, title, paragraphs):
        self.truth.text("box", title)
        for text in paragraphs:
            self.truth.text("box", text)
        self.add(f'<div class="sidebar"><h3>{esc(title)}</h3>' + "".join(f"<p>{esc(t)}</p>" for t in paragraphs) + "</div>")

    def columns(self, count):
        self.add(f'<div class="cols{count}">')

    def end(self):
        self.add("</div>")

    def svg_bar_chart(self, title, categories, values, axis, width=560, height=300, y_title=None):
        """A bar chart drawn as SVG: bars, the value axis with its numbers, the categories below."""
        self.truth.picture(width * PX, height * PX, "chart")
        low, high, step = axis
        labels = [title] + list(categories) + [str(v) for v in range(low, high + 1, step)] + ([y_title] if y_title else [])
        for label in labels:
            self.truth.label(label)
        left, top, bottom = 70, 40, height - 40
        plot_w = width - left - 20
        svg = [f'<svg xmlns="http://www.w3.org/2000/svg" width="{width}" height="{height}" font-family="DejaVu Sans" font-size="12">',
               f'<text x="{width / 2}" y="22" text-anchor="middle" font-size="15" font-weight="bold">{esc(title)}</text>']
        for v in range(low, high + 1, step):
            y = bottom - (v - low) / (high - low) * (bottom - top)
            svg.append(f'<line x1="{left}" y1="{y:.1f}" x2="{width - 20}" y2="{y:.1f}" stroke="#ccc"/>'
                       f'<text x="{left - 6}" y="{y + 4:.1f}" text-anchor="end">{v}</text>')
        if y_title:
            svg.append(f'<text x="16" y="{(top + bottom) / 2}" transform="rotate(-90 16 {(top + bottom) / 2})" '
                       f'text-anchor="middle">{esc(y_title)}</text>')
        slot = plot_w / len(categories)
        for i, (name, value) in enumerate(zip(categories, values)):
            h = (value - low) / (high - low) * (bottom - top)
            x = left + i * slot + slot * 0.2
            svg.append(f'<rect x="{x:.1f}" y="{bottom - h:.1f}" width="{slot * 0.6:.1f}" height="{h:.1f}" fill="#4472c4"/>'
                       f'<text x="{x + slot * 0.3:.1f}" y="{bottom + 18}" text-anchor="middle">{esc(name)}</text>')
        svg.append(f'<line x1="{left}" y1="{bottom}" x2="{width - 20}" y2="{bottom}" stroke="#000"/></svg>')
        self.add(f'<figure>{"".join(svg)}</figure>')

    def svg_diagram(self, boxes, arrows, width, height):
        """Labelled boxes joined by arrows, drawn as SVG: boxes (label, x, y, w, h) in pixels."""
        self.truth.picture(width * PX, height * PX, "diagram")
        svg = [f'<svg xmlns="http://www.w3.org/2000/svg" width="{width}" height="{height}" font-family="DejaVu Sans" font-size="13">',
               '<defs><marker id="a" markerWidth="10" markerHeight="8" refX="9" refY="4" orient="auto">'
               '<path d="M0,0 L10,4 L0,8 z" fill="#333"/></marker></defs>']
        fills = ["#dbe8f5", "#fde9d9", "#e2efda", "#fff2cc", "#ead1dc"]
        for i, (label, x, y, w, h) in enumerate(boxes):
            self.truth.label(label)
            svg.append(f'<rect x="{x}" y="{y}" width="{w}" height="{h}" rx="8" fill="{fills[i % 5]}" stroke="#333"/>'
                       f'<text x="{x + w / 2}" y="{y + h / 2 + 5}" text-anchor="middle">{esc(label)}</text>')
        for a, b in arrows:
            _, ax, ay, aw, ah = boxes[a]
            _, bx, by, bw, bh = boxes[b]
            svg.append(f'<line x1="{ax + aw / 2}" y1="{ay + ah}" x2="{bx + bw / 2}" y2="{by}" stroke="#333" marker-end="url(#a)"/>'
                       if by > ay + ah else
                       f'<line x1="{ax + aw}" y1="{ay + ah / 2}" x2="{bx}" y2="{by + bh / 2}" stroke="#333" marker-end="url(#a)"/>')
        svg.append("</svg>")
        self.add(f'<figure>{"".join(svg)}</figure>')

    def form(self, fields, checks):
        """A form: labelled boxes to fill in (a ruled table of label and value rows) and lines of
        check boxes."""
        self.truth.table([[label, value] for label, value in fields])
        self.add('<table class="data ruled" style="width:100%">' + "".join(
            f'<tr><th style="width:35%">{esc(label)}</th><td>{esc(value)}</td></tr>' for label, value in fields) + "</table>")
        xml = '<div class="form">'
        for lead, options, checked in checks:
            self.truth.text("form", " ".join([lead] + options))
            boxes = "".join(f'<label><input type="checkbox"{" checked" if i in checked else ""}> {esc(o)}</label>'
                            for i, o in enumerate(options))
            xml += f"<p>{esc(lead)} {boxes}</p>"
        self.add(xml + "</div>")

    def html(self):
        return (f'<!DOCTYPE html><html lang="{self.lang}" dir="{self.direction}"><head><meta charset="utf-8">'
                f"<title>{esc(self.truth.about)}</title><style>{self.css}</style></head><body>\n" + "\n".join(self.body) + "\n</body></html>\n")

    def write(self, path):
        with open(path, "w", encoding="utf-8") as out:
            out.write(self.html())


# The same looks as attributes, for readers that know little CSS (LibreOffice's import).
ATTRIBUTES = {"ruled": ' border="1" cellspacing="0" cellpadding="4"', "shaded": ' cellspacing="2" cellpadding="4"',
              "banded": ' cellspacing="0" cellpadding="4"', "tinted": ' cellspacing="0" cellpadding="4"', "hrules": ' cellpadding="4"'}
FILLS = {"shaded": ("#1f4e79", "#deeaf6", "#deeaf6"), "banded": ("#375623", "#e2efda", "#f4f4f4")}


def table_html(rows, look, head_rows=1, tinted_column=None, width=None):
    style = f' style="width:{width}"' if width else ""
    xml = [f'<table class="data {look}"{style}{ATTRIBUTES.get(look, "")}>']
    for r, row in enumerate(rows):
        # A long table's header row in a thead would print again on every page.
        if r == 0 and head_rows and len(rows) < 30:
            xml.append("<thead>")
        xml.append("<tr>")
        col = 0
        for cell in row:
            text, span = (cell, 1) if isinstance(cell, str) else cell
            tag = "th" if r < head_rows else "td"
            classes = []
            if _numeric(text):
                classes.append("num")
            if tinted_column is not None and col == tinted_column:
                classes.append("tint")
            cls = f' class="{" ".join(classes)}"' if classes else ""
            fills = FILLS.get(look)
            if fills:
                cls += f' bgcolor="{fills[0] if r < head_rows else fills[1 + (r - head_rows) % 2]}"'
            elif "tint" in classes:
                cls += ' bgcolor="#fff2cc"'
            spanned = f' colspan="{span}"' if span > 1 else ""
            xml.append(f"<{tag}{cls}{spanned}>{esc(text)}</{tag}>")
            col += span
        xml.append("</tr>")
        if r == head_rows - 1 and len(rows) < 30:
            xml.append("</thead><tbody>")
    xml.append("</tbody></table>")
    return "".join(xml)


def _numeric(text):
    return odf.is_number(text)
