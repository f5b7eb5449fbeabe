"""LibreOffice Writer documents written as flat ODT, piece by piece, each piece recorded in the
document's truth as it is written."""
import odf
import pictures
from odf import esc

# Table looks: the cell's border and fill for a header cell, an odd and an even body row, and a
# cell of the tinted column.
PIC = '<style:graphic-properties style:vertical-pos="top" style:vertical-rel="baseline" fo:border="none"/>'
CHECK_BOX = ('<style:graphic-properties draw:stroke="solid" svg:stroke-width="0.03cm" svg:stroke-color="#000000" draw:fill="none" '
             'style:vertical-pos="middle" style:vertical-rel="text"/>')
RULE = "0.5pt solid #000000"
GAP = "1.5pt solid #ffffff"
LOOKS = {
    "ruled": {"head": (f'fo:border="{RULE}"', "#e6e6e6"), "odd": (f'fo:border="{RULE}"', None),
              "even": (f'fo:border="{RULE}"', None)},
    "ruled-plain": {"head": (f'fo:border="{RULE}"', None), "odd": (f'fo:border="{RULE}"', None),
                    "even": (f'fo:border="{RULE}"', None)},
    "shaded-header": {"head": (f'fo:border="{GAP}"', "#1f4e79"), "odd": (f'fo:border="{GAP}"', "#deeaf6"),
                      "even": (f'fo:border="{GAP}"', "#deeaf6")},
    "banded": {"head": (f'fo:border="{GAP}"', "#c55a11"), "odd": (f'fo:border="{GAP}"', "#fbe5d6"),
               "even": (f'fo:border="{GAP}"', "#f2f2f2")},
    "tinted-column": {"head": ('fo:border="none"', None), "odd": ('fo:border="none"', None),
                      "even": ('fo:border="none"', None), "column": ('fo:border="none"', "#e2efda")},
    "hrules": {"head": ('fo:border-top="1pt solid #000000" fo:border-bottom="0.5pt solid #000000"', None),
               "odd": ('fo:border="none"', None), "even": ('fo:border="none"', None),
               "last": ('fo:border-bottom="1pt solid #000000"', None)},
}


def cell_look(look, row, rows, head_rows, column, tinted_column):
    """The border and fill of a table's cell in the look: header rows, body rows banded, the tinted
    column, the rule under the last row."""
    looks = LOOKS[look]
    if row < head_rows:
        part = "head"
    elif look == "hrules" and row == rows - 1:
        part = "last"
    elif tinted_column is not None and column == tinted_column and "column" in looks:
        part = "column"
    else:
        part = "odd" if (row - head_rows) % 2 == 0 else "even"
    return looks[part]


class WriterDoc:
    def __init__(self, truth, font="Liberation Serif", size=11, page=(21.0, 29.7), margins=2.0,
                 heading_font=None, justify=True, head=None, page_numbers=True, language="en-GB",
                 complex_font="DejaVu Sans", asian_font="WenQuanYi Zen Hei", rtl=False):
        self.truth = truth
        self.font = font
        self.size = size
        self.page = page
        self.margins = margins
        self.heading_font = heading_font or font
        self.justify = justify
        self.head = head
        self.page_numbers = page_numbers
        self.language = language
        self.complex_font = complex_font
        self.asian_font = asian_font
        self.rtl = rtl
        self.body = []
        self.auto_styles = {}
        self.count = 0
        self.notes = 0

    # Styles made as they are needed, one per distinct set of properties.
    def style(self, family, props, parent=None):
        key = (family, props, parent)
        if key not in self.auto_styles:
            self.auto_styles[key] = f"A{len(self.auto_styles) + 1}"
        return self.auto_styles[key]

    def next_id(self):
        self.count += 1
        return self.count

    def text_width(self):
        return self.page[0] - 2 * self.margins

    # Paragraphs.
    def _p(self, style, xml, break_before=None):
        if break_before:
            style = self.style("paragraph", f'<style:paragraph-properties fo:break-before="{break_before}"/>', style)
        self.body.append(f'<text:p text:style-name="{style}">{xml}</text:p>')

    def heading(self, text, level=1, page_break=False):
        self.truth.text("heading", text)
        style = f"Heading{level}"
        if page_break:
            style = self.style("paragraph", '<style:paragraph-properties fo:break-before="page"/>', style)
        self.body.append(f'<text:h text:style-name="{style}" text:outline-level="{level}">{esc(text)}</text:h>')

    def title(self, text, subtitle=None):
        self.truth.text("heading", text)
        self._p("Title", esc(text))
        if subtitle:
            self.truth.text("heading", subtitle)
            self._p("Subtitle", esc(subtitle))

    def para(self, text, kind="body", notes=(), style=None, page_break=False):
        """A paragraph; notes: footnotes, each cited after one of the paragraph's sentences."""
        sentences = text.split(". ")
        xml_parts, truth_parts = [], []
        note_at = {min(len(sentences) - 1, (i + 1) * len(sentences) // (len(notes) + 1)): n for i, n in enumerate(notes)}
        for i, sentence in enumerate(sentences):
            ending = ". " if i + 1 < len(sentences) else ""
            piece = sentence + ending.rstrip()
            xml_parts.append(esc(piece))
            truth_parts.append(piece)
            if i in note_at:
                self.notes += 1
                xml_parts.append(f'<text:note text:id="ftn{self.notes}" text:note-class="footnote"><text:note-citation>'
                                 f'{self.notes}</text:note-citation><text:note-body><text:p text:style-name="Footnote">'
                                 f'{esc(note_at[i])}</text:p></text:note-body></text:note>')
                truth_parts.append(str(self.notes))
                self.truth.text("note", f"{self.notes} {note_at[i]}")
            if ending:
                xml_parts.append(" ")
                truth_parts.append(" ")
        self.truth.text(kind, "".join(truth_parts))
        self._p(style or ("Rtl" if self.rtl else "Body"), "".join(xml_parts), "page" if page_break else None)

    def bullets(self, items, kind="body"):
        self.body.append('<text:list text:style-name="Bullets">')
        for item in items:
            self.truth.text(kind, item)
            self.body.append(f'<text:list-item><text:p text:style-name="ListText">{esc(item)}</text:p></text:list-item>')
        self.body.append("</text:list>")

    def page_break(self):
        self._p("Body", "", "page")

    def columns(self, count, gap_cm=0.6):
        style = self.style("section", f'<style:section-properties><style:columns fo:column-count="{count}" '
                                      f'fo:column-gap="{gap_cm}cm"/></style:section-properties>')
        self.body.append(f'<text:section text:style-name="{style}" text:name="Section{self.next_id()}">')

    def end_columns(self):
        self.body.append("</text:section>")

    # Pictures.
    def _image(self, seed, width_cm, height_cm, kind="photo", portrait=False):
        data = pictures.portrait(seed) if portrait else pictures.photo(seed, 360, max(60, int(360 * height_cm / width_cm)))
        return (f'<draw:frame draw:style-name="{self.style("graphic", PIC)}" draw:name="Picture{self.next_id()}" text:anchor-type="as-char" draw:z-index="5" '
                f'svg:width="{width_cm}cm" svg:height="{height_cm}cm"><draw:image><office:binary-data>'
                f"{pictures.base64_of(data)}</office:binary-data></draw:image></draw:frame>")

    def picture(self, seed, width_cm, height_cm, caption=None, portrait=False):
        self.truth.picture_cm(width_cm, height_cm)
        self._p("Centre", self._image(seed, width_cm, height_cm, portrait=portrait))
        if caption:
            self.truth.text("caption", caption)
            self._p("Caption", esc(caption))

    # Tables.
    def table(self, rows, look="ruled", widths=None, width_cm=None, font_size=None, head_rows=1, tinted_column=None,
              record=True):
        if record:
            self.truth.table(rows)
        self.body.append(self.table_xml(rows, look, widths, width_cm, font_size, head_rows, tinted_column))

    def table_xml(self, rows, look, widths=None, width_cm=None, font_size=None, head_rows=1, tinted_column=None):
        columns = sum(1 if isinstance(c, str) else c[1] for c in rows[0])
        width_cm = width_cm or self.text_width()
        widths = widths or [width_cm / columns] * columns
        scale = width_cm / sum(widths)
        widths = [w * scale for w in widths]
        name = f"Table{self.next_id()}"
        writing = ' style:writing-mode="rl-tb"' if self.rtl else ""
        table_style = self.style("table", f'<style:table-properties style:width="{width_cm:.2f}cm" table:align="left" '
                                          f'fo:margin-top="0.2cm" fo:margin-bottom="0.3cm"{writing}/>')
        xml = [f'<table:table table:name="{name}" table:style-name="{table_style}">']
        for w in widths:
            column_style = self.style("table-column", f'<style:table-column-properties style:column-width="{w:.2f}cm"/>')
            xml.append(f'<table:table-column table:style-name="{column_style}"/>')
        size = f' fo:font-size="{font_size}pt"' if font_size else ""
        for r, row in enumerate(rows):
            xml.append("<table:table-row>")
            col = 0
            for cell in row:
                text, span = (cell, 1) if isinstance(cell, str) else cell
                border, fill = cell_look(look, r, len(rows), head_rows, col, tinted_column)
                fill_xml = f' fo:background-color="{fill}"' if fill else ""
                cell_style = self.style("table-cell", f'<style:table-cell-properties fo:padding="0.08cm" {border}{fill_xml}/>')
                head = r < head_rows
                light = head and fill in ("#1f4e79", "#c55a11")
                text_align = "end" if odf.is_number(text) and not head else "start"
                weight = ' fo:font-weight="bold"' if head else ""
                colour = ' fo:color="#ffffff"' if light else ""
                p_style = self.style("paragraph", (
                    f'<style:paragraph-properties fo:text-align="{text_align}" fo:margin-top="0cm" fo:margin-bottom="0cm"/>'
                    f"<style:text-properties{size}{weight}{colour}/>"), "Cell")
                spanned = f' table:number-columns-spanned="{span}"' if span > 1 else ""
                xml.append(f'<table:table-cell table:style-name="{cell_style}" office:value-type="string"{spanned}>'
                           f'<text:p text:style-name="{p_style}">{esc(text)}</text:p></table:table-cell>')
                xml.extend(["<table:covered-table-cell/>"] * (span - 1))
                col += span
            xml.append("</table:table-row>")
        xml.append("</table:table>")
        return "".join(xml)

    # Boxes beside the text.
    def infobox(self, title, seed, picture_cm, caption, rows, width_cm=6.5):
        """A framed, tinted box floating at the right of the next paragraph: a picture on top, then a
        title, the picture's caption and label and value rows."""
        self.truth.picture_cm(*picture_cm)
        self.truth.text("box", title)
        self.truth.text("caption", caption)
        self.truth.table(rows)
        # Writer hides a picture nested in a text frame when it prints, so the picture is a frame
        # of its own, anchored to the same paragraph just above the box.
        picture_style = self.style("graphic", '<style:graphic-properties style:wrap="left" style:number-wrapped-paragraphs="no-limit" '
                                              'style:vertical-pos="from-top" style:vertical-rel="paragraph" style:horizontal-pos="right" '
                                              'style:horizontal-rel="paragraph" fo:margin-left="0.4cm" fo:border="0.5pt solid #a2a9b1" '
                                              f'fo:padding="{(width_cm - picture_cm[0]) / 2:.2f}cm"/>', "Graphics")
        picture = (f'<draw:frame draw:style-name="{picture_style}" draw:name="Picture{self.next_id()}" text:anchor-type="paragraph" '
                   f'svg:y="0cm" svg:width="{picture_cm[0]}cm" svg:height="{picture_cm[1]}cm" draw:z-index="2"><draw:image>'
                   f"<office:binary-data>{pictures.base64_of(pictures.photo(seed, 360, int(360 * picture_cm[1] / picture_cm[0])))}"
                   "</office:binary-data></draw:image></draw:frame>")
        inner = (f'<text:p text:style-name="BoxTitle">{esc(title)}</text:p>'
                 f'<text:p text:style-name="BoxCaption">{esc(caption)}</text:p>'
                 + self.table_xml(rows, "tinted-column", [2, 3], width_cm - 0.5, self.size - 2, 0, 0))
        style = self.style("graphic", '<style:graphic-properties style:wrap="left" style:number-wrapped-paragraphs="no-limit" '
                                      'style:vertical-pos="from-top" style:vertical-rel="paragraph" style:horizontal-pos="right" '
                                      'style:horizontal-rel="paragraph" fo:background-color="#f8f9fa" '
                                      'fo:border="0.5pt solid #a2a9b1" fo:padding="0.2cm" fo:margin-left="0.4cm" '
                                      'fo:margin-bottom="0.3cm"/>', "Frame")
        top = picture_cm[1] + (width_cm - picture_cm[0])
        return picture + (f'<draw:frame draw:style-name="{style}" draw:name="Box{self.next_id()}" text:anchor-type="paragraph" '
                          f'svg:y="{top:.2f}cm" svg:width="{width_cm}cm" draw:z-index="1"><draw:text-box fo:min-height="2cm">{inner}'
                          "</draw:text-box></draw:frame>")

    def sidebar(self, title, paragraphs, width_cm=5.5, fill="#e8f0e0", side="left"):
        """A tinted box of text at one side of the next paragraph, the text flowing beside it."""
        self.truth.text("box", title)
        inner = f'<text:p text:style-name="BoxTitle">{esc(title)}</text:p>'
        for text in paragraphs:
            self.truth.text("box", text)
            inner += f'<text:p text:style-name="BoxText">{esc(text)}</text:p>'
        wrap = "right" if side == "left" else "left"
        margin = "fo:margin-right" if side == "left" else "fo:margin-left"
        style = self.style("graphic", f'<style:graphic-properties style:wrap="{wrap}" style:number-wrapped-paragraphs="no-limit" '
                                      f'style:vertical-pos="top" style:vertical-rel="paragraph" style:horizontal-pos="{side}" '
                                      f'style:horizontal-rel="paragraph" fo:background-color="{fill}" draw:fill="solid" draw:fill-color="{fill}" fo:border="none" '
                                      f'fo:padding="0.3cm" {margin}="0.5cm" fo:margin-bottom="0.3cm"/>', "Frame")
        return (f'<draw:frame draw:style-name="{style}" draw:name="Box{self.next_id()}" text:anchor-type="paragraph" '
                f'svg:width="{width_cm}cm" draw:z-index="1"><draw:text-box fo:min-height="2cm">{inner}</draw:text-box></draw:frame>')

    def para_with(self, anchored, text, kind="body"):
        """A paragraph that holds a box anchored to it (infobox(), sidebar())."""
        self.truth.text(kind, text)
        self._p("Body", anchored + esc(text))

    # A title block: the title, then authors side by side, one column each.
    def title_block(self, title, authors):
        self.truth.text("heading", title)
        self._p("Title", esc(title))
        style = self.style("section", f'<style:section-properties><style:columns fo:column-count="{len(authors)}" '
                                      f'fo:column-gap="0.4cm"/></style:section-properties>')
        self.body.append(f'<text:section text:style-name="{style}" text:name="Authors{self.next_id()}">')
        for i, lines in enumerate(authors):
            # An author's lines read as one block, block after block from the left.
            self.truth.text("heading", " ".join(lines))
            for j, line in enumerate(lines):
                style = "Author" if j == 0 else "Affiliation"
                if j == 0 and i > 0:
                    style = self.style("paragraph", '<style:paragraph-properties fo:break-before="column"/>', "Author")
                self._p(style, esc(line))
        self.body.append("</text:section>")

    def toc(self, entries, heading="Contents"):
        """entries: (title, page) pairs, set with a dotted leader to the page number."""
        self.heading(heading)
        for title, page in entries:
            self.truth.text("toc", f"{title} {page}")
            self._p("TocEntry", f"{esc(title)}<text:tab/>{page}")

    def checks(self, lead, options, checked=()):
        """A line of check boxes drawn as squares, the chosen ones crossed."""
        xml = esc(lead) + " " if lead else ""
        for i, option in enumerate(options):
            cross = " M40 40 L260 260 M260 40 L40 260" if i in checked else ""
            xml += (f'<draw:path draw:style-name="{self.style("graphic", CHECK_BOX)}" text:anchor-type="as-char" svg:width="0.32cm" svg:height="0.32cm" '
                    f'svg:viewBox="0 0 300 300" svg:d="M0 0 L300 0 L300 300 L0 300 Z{cross}"/> {esc(option)}   ')
        self.truth.text("form", " ".join([lead] + list(options)) if lead else " ".join(options))
        self._p("FormText", xml)

    def form_text(self, text):
        self.truth.text("form", text)
        self._p("FormText", esc(text))

    # The document.
    def xml(self):
        size, font, hfont = self.size, self.font, self.heading_font
        align = "justify" if self.justify else "start"
        writing = ' style:writing-mode="rl-tb"' if self.rtl else ""
        tab = self.text_width()
        styles = f"""<office:styles>
<style:default-style style:family="paragraph"><style:paragraph-properties{writing}/><style:text-properties style:font-name="{font}" fo:font-size="{size}pt" style:font-name-asian="{self.asian_font}" style:font-size-asian="{size}pt" style:font-name-complex="{self.complex_font}" style:font-size-complex="{size}pt" fo:language="{self.language.split('-')[0]}" fo:country="{self.language.split('-')[-1]}" fo:hyphenate="false"/></style:default-style>
<style:style style:name="Standard" style:family="paragraph"/>
<style:style style:name="Body" style:family="paragraph"><style:paragraph-properties fo:text-align="{align}" fo:margin-bottom="{size * 0.5:.1f}pt" fo:line-height="120%"/></style:style>
<style:style style:name="Rtl" style:family="paragraph"><style:paragraph-properties fo:text-align="{align}" fo:margin-bottom="{size * 0.5:.1f}pt" style:writing-mode="rl-tb"/></style:style>
<style:style style:name="ListText" style:family="paragraph" style:parent-style-name="Body"><style:paragraph-properties fo:margin-bottom="2pt"/></style:style>
<style:style style:name="Title" style:family="paragraph"><style:paragraph-properties fo:text-align="center" fo:margin-bottom="8pt"/><style:text-properties style:font-name="{hfont}" fo:font-size="{size * 2:.0f}pt" fo:font-weight="bold" style:font-size-asian="{size * 2:.0f}pt" style:font-size-complex="{size * 2:.0f}pt" style:font-weight-complex="bold"/></style:style>
<style:style style:name="Subtitle" style:family="paragraph"><style:paragraph-properties fo:text-align="center" fo:margin-bottom="14pt"/><style:text-properties style:font-name="{hfont}" fo:font-size="{size * 1.3:.0f}pt" fo:font-style="italic"/></style:style>
<style:style style:name="Heading1" style:family="paragraph"><style:paragraph-properties fo:margin-top="12pt" fo:margin-bottom="6pt" fo:keep-with-next="always"/><style:text-properties style:font-name="{hfont}" fo:font-size="{size * 1.45:.0f}pt" fo:font-weight="bold" fo:color="#1f3864" style:font-size-asian="{size * 1.45:.0f}pt" style:font-size-complex="{size * 1.45:.0f}pt" style:font-weight-complex="bold"/></style:style>
<style:style style:name="Heading2" style:family="paragraph"><style:paragraph-properties fo:margin-top="8pt" fo:margin-bottom="4pt" fo:keep-with-next="always"/><style:text-properties style:font-name="{hfont}" fo:font-size="{size * 1.15:.0f}pt" fo:font-weight="bold" style:font-weight-complex="bold"/></style:style>
<style:style style:name="Right" style:family="paragraph"><style:paragraph-properties fo:text-align="end" fo:margin-bottom="6pt"/></style:style>
<style:style style:name="Strong" style:family="paragraph"><style:paragraph-properties fo:margin-top="8pt" fo:margin-bottom="8pt"/><style:text-properties fo:font-weight="bold"/></style:style>
<style:style style:name="Centre" style:family="paragraph"><style:paragraph-properties fo:text-align="center" fo:margin-top="4pt" fo:margin-bottom="2pt"/></style:style>
<style:style style:name="Caption" style:family="paragraph"><style:paragraph-properties fo:text-align="center" fo:margin-bottom="10pt"/><style:text-properties fo:font-size="{size - 1}pt" fo:font-style="italic"/></style:style>
<style:style style:name="Cell" style:family="paragraph"><style:text-properties fo:font-size="{size - 1}pt"/></style:style>
<style:style style:name="BoxTitle" style:family="paragraph"><style:paragraph-properties fo:text-align="center" fo:margin-bottom="4pt"/><style:text-properties style:font-name="{hfont}" fo:font-size="{size + 1}pt" fo:font-weight="bold"/></style:style>
<style:style style:name="BoxCaption" style:family="paragraph"><style:paragraph-properties fo:text-align="center" fo:margin-bottom="4pt"/><style:text-properties fo:font-size="{size - 2}pt"/></style:style>
<style:style style:name="BoxText" style:family="paragraph"><style:paragraph-properties fo:margin-bottom="4pt"/><style:text-properties fo:font-size="{size - 1}pt"/></style:style>
<style:style style:name="Footnote" style:family="paragraph"><style:paragraph-properties fo:margin-left="0.5cm" fo:text-indent="-0.5cm"/><style:text-properties fo:font-size="{size - 2}pt"/></style:style>
<style:style style:name="TocEntry" style:family="paragraph"><style:paragraph-properties fo:margin-bottom="3pt"><style:tab-stops><style:tab-stop style:position="{tab - 0.01:.2f}cm" style:type="right" style:leader-style="dotted" style:leader-text="."/></style:tab-stops></style:paragraph-properties></style:style>
<style:style style:name="Author" style:family="paragraph"><style:paragraph-properties fo:text-align="center" fo:margin-top="6pt"/><style:text-properties fo:font-size="{size + 1}pt" fo:font-weight="bold"/></style:style>
<style:style style:name="Affiliation" style:family="paragraph"><style:paragraph-properties fo:text-align="center"/><style:text-properties fo:font-size="{size - 1}pt" fo:font-style="italic"/></style:style>
<style:style style:name="FormText" style:family="paragraph"><style:paragraph-properties fo:margin-top="4pt" fo:margin-bottom="4pt"/><style:text-properties style:font-name="Liberation Sans" fo:font-size="{size - 1}pt"/></style:style>
<style:style style:name="Header" style:family="paragraph"><style:paragraph-properties fo:text-align="center"/><style:text-properties fo:font-size="{size - 2}pt" fo:font-style="italic"/></style:style>
<style:style style:name="Footer" style:family="paragraph"><style:paragraph-properties fo:text-align="center"/><style:text-properties fo:font-size="{size - 2}pt"/></style:style>
<text:list-style style:name="Bullets"><text:list-level-style-bullet text:level="1" text:bullet-char="•"><style:list-level-properties text:list-level-position-and-space-mode="label-alignment"><style:list-level-label-alignment text:label-followed-by="listtab" text:list-tab-stop-position="0.6cm" fo:text-indent="-0.4cm" fo:margin-left="0.6cm"/></style:list-level-properties></text:list-level-style-bullet></text:list-style>
</office:styles>
"""
        auto = "".join(f'<style:style style:name="{name}" style:family="{family}"{parent_of(parent)}>{props}</style:style>\n'
                       for (family, props, parent), name in self.auto_styles.items())
        w, h = self.page
        m = self.margins
        header = (f'<style:header><text:p text:style-name="Header">{esc(self.head)}</text:p></style:header>'
                  if self.head else "")
        footer = ('<style:footer><text:p text:style-name="Footer"><text:page-number text:select-page="current">1'
                  '</text:page-number></text:p></style:footer>' if self.page_numbers else "")
        hf = '<style:header-style><style:header-footer-properties fo:min-height="0.5cm" fo:margin-bottom="0.4cm"/></style:header-style>' \
             '<style:footer-style><style:header-footer-properties fo:min-height="0.5cm" fo:margin-top="0.4cm"/></style:footer-style>'
        layout = (f'<style:page-layout style:name="PL"><style:page-layout-properties fo:page-width="{w}cm" fo:page-height="{h}cm" '
                  f'fo:margin-top="{m * 0.75:.2f}cm" fo:margin-bottom="{m * 0.75:.2f}cm" fo:margin-left="{m}cm" '
                  f'fo:margin-right="{m}cm"{writing}/>{hf}</style:page-layout>\n')
        content = (styles + f"<office:automatic-styles>{layout}{auto}</office:automatic-styles>\n"
                   f'<office:master-styles><style:master-page style:name="Standard" style:page-layout-name="PL">{header}{footer}'
                   "</style:master-page></office:master-styles>\n<office:body><office:text>\n"
                   + "\n".join(self.body) + "\n</office:text></office:body>\n")
        return odf.document("application/vnd.oasis.opendocument.text", content)

    def write(self, path):
        odf.write(path, self.xml())


def parent_of(parent):
    return f' style:parent-style-name="{parent}"' if parent else ""
