"""LibreOffice Calc documents written as flat ODS: a sheet of blocks (a title, tables of cells in
the looks of writer.LOOKS, lines of notes) and charts drawn from the sheet's cells, each recorded in
the document's truth as it is written."""
import odf
from odf import esc
from writer import cell_look

ROW_CM = 0.55


class CalcDoc:
    def __init__(self, truth, font="Liberation Sans", size=10, landscape=False, margins=True, scale=100):
        self.truth = truth
        self.font = font
        self.size = size
        self.landscape = landscape
        self.margins = margins
        self.scale = scale
        self.rows = []  # each a list of (text, style name, value or None, columns spanned)
        self.widths = []
        self.styles = {}
        self.charts = []

    def style(self, props):
        if props not in self.styles:
            self.styles[props] = f"ce{len(self.styles) + 1}"
        return self.styles[props]

    def columns(self, widths_cm):
        self.widths = widths_cm

    def blank(self, count=1):
        for _ in range(count):
            self.rows.append([])

    def title(self, text, size=None):
        self.truth.text("heading", text)
        style = self.style(f'<style:text-properties fo:font-size="{size or self.size + 6}pt" fo:font-weight="bold"/>')
        self.rows.append([(text, style, None, 1)])

    def note(self, text, kind="body"):
        self.truth.text(kind, text)
        self.rows.append([(text, self.style('<style:text-properties fo:font-style="italic"/>'), None, 1)])

    def table(self, rows, look="ruled", head_rows=1, tinted_column=None, numeric=False, record=True):
        """Returns the sheet range of the table's cells ("A5:C9") for a chart. numeric: numbers are
        stored as values (a chart reads them); they must print as written (no grouping)."""
        if record:
            self.truth.table(rows)
        first = len(self.rows)
        for r, row in enumerate(rows):
            cells = []
            col = 0
            for cell in row:
                text, span = (cell, 1) if isinstance(cell, str) else cell
                border, fill = cell_look(look, r, len(rows), head_rows, col, tinted_column)
                head = r < head_rows
                fill_xml = f' fo:background-color="{fill}"' if fill else ""
                align = "end" if odf.is_number(text) or (head and col > 0 and numeric) else "start"
                light = head and fill in ("#1f4e79", "#c55a11")
                weight = ' fo:font-weight="bold"' if head else ""
                colour = ' fo:color="#ffffff"' if light else ""
                style = self.style(f'<style:table-cell-properties {border}{fill_xml} fo:padding="0.05cm" '
                                   f'style:vertical-align="middle"/><style:paragraph-properties fo:text-align="{align}"/>'
                                   f"<style:text-properties{weight}{colour}/>")
                value = text if numeric and not head and odf.is_number(text) and "," not in text else None
                cells.append((text, style, value, span))
                col += span
            self.rows.append(cells)
        columns = max(sum(c[3] for c in row) for row in self.rows[first:])
        return f"A{first + 1}:{chr(ord('A') + columns - 1)}{first + len(rows)}"

    def chart(self, kind, cells, title, x_title, y_title, series, categories, axis, width_cm=15, height_cm=8):
        """A chart of the sheet's cells under the blocks so far: cells the range with a header row and
        a label column; series the header's names; categories the label column; axis (minimum,
        maximum, step) of the value axis, or None for a pie."""
        self.truth.picture_cm(width_cm, height_cm, "chart")
        labels = [title] + [t for t in (x_title, y_title) if t] + list(series) + list(categories)
        if axis:
            low, high, step = axis
            labels += [str(v) for v in range(low, high + 1, step)]
        for label in labels:
            self.truth.label(label)
        y_cm = len(self.rows) * ROW_CM + 0.6
        self.charts.append((kind, cells, title, x_title, y_title, axis, width_cm, height_cm, y_cm))
        rows_taken = int(height_cm / ROW_CM) + 3
        self.blank(rows_taken)

    def _chart_xml(self, kind, cells, title, x_title, y_title, axis, width_cm, height_cm, y_cm):
        start, end = cells.split(":")
        ref = f"Sheet1.{start}:Sheet1.{end}"
        first_row = int(start[1:])
        last_row = int(end[1:])
        last_col = end[0]
        series = []
        for col in range(ord("B"), ord(last_col) + 1):
            c = chr(col)
            series.append(f'<chart:series chart:values-cell-range-address="Sheet1.{c}{first_row + 1}:Sheet1.{c}{last_row}" '
                          f'chart:label-cell-address="Sheet1.{c}{first_row}" chart:class="chart:{kind}"/>')
        categories = f'<chart:categories table:cell-range-address="Sheet1.A{first_row + 1}:Sheet1.A{last_row}"/>'
        if axis:
            low, high, step = axis
            scale = (f'chart:minimum="{low}" chart:maximum="{high}" chart:interval-major="{step}" '
                     'chart:auto-minimum="false" chart:auto-maximum="false" chart:auto-interval-major="false"')
            axes = (f'<chart:axis chart:dimension="x" chart:name="primary-x" chart:style-name="axx">'
                    f'{f"<chart:title><text:p>{esc(x_title)}</text:p></chart:title>" if x_title else ""}{categories}</chart:axis>'
                    f'<chart:axis chart:dimension="y" chart:name="primary-y" chart:style-name="axy">'
                    f'{f"<chart:title><text:p>{esc(y_title)}</text:p></chart:title>" if y_title else ""}'
                    '<chart:grid chart:class="major"/></chart:axis>')
        else:
            scale = ""
            axes = f'<chart:axis chart:dimension="x" chart:name="primary-x">{categories}</chart:axis>'
        return (f'<draw:frame draw:z-index="0" svg:width="{width_cm}cm" svg:height="{height_cm}cm" svg:x="0.3cm" svg:y="{y_cm:.2f}cm">'
                f'<draw:object draw:notify-on-update-of-ranges="{ref}"><office:document office:mimetype="application/vnd.oasis.opendocument.chart" office:version="1.2">'
                '<office:automatic-styles>'
                '<style:style style:name="axx" style:family="chart"><style:chart-properties chart:display-label="true"/>'
                f'<style:text-properties fo:font-size="9pt"/></style:style>'
                f'<style:style style:name="axy" style:family="chart"><style:chart-properties chart:display-label="true" {scale}/>'
                f'<style:text-properties fo:font-size="9pt"/></style:style>'
                '</office:automatic-styles><office:body><office:chart>'
                f'<chart:chart svg:width="{width_cm}cm" svg:height="{height_cm}cm" chart:class="chart:{kind}">'
                f'<chart:title><text:p>{esc(title)}</text:p></chart:title><chart:legend chart:legend-position="end"/>'
                f'<chart:plot-area table:cell-range-address="{ref}" chart:data-source-has-labels="both">{axes}{"".join(series)}'
                "</chart:plot-area></chart:chart></office:chart></office:body></office:document></draw:object></draw:frame>")

    def xml(self):
        columns = max([sum(c[3] for c in row) for row in self.rows if row] + [len(self.widths)])
        widths = (self.widths + [2.5] * columns)[:columns]
        auto = "".join(f'<style:style style:name="co{i}" style:family="table-column"><style:table-column-properties '
                       f'style:column-width="{w}cm"/></style:style>' for i, w in enumerate(widths))
        auto += (f'<style:style style:name="ro" style:family="table-row"><style:table-row-properties style:row-height="{ROW_CM}cm" '
                 'style:use-optimal-row-height="false"/></style:style>')
        auto += "".join(f'<style:style style:name="{name}" style:family="table-cell" style:parent-style-name="Default">{props}</style:style>'
                        for props, name in self.styles.items())
        w, h = (29.7, 21.0) if self.landscape else (21.0, 29.7)
        hf_off = "" if self.margins else '<style:header style:display="false"/><style:footer style:display="false"/>'
        layout = (f'<style:page-layout style:name="pm1"><style:page-layout-properties fo:page-width="{w}cm" fo:page-height="{h}cm" '
                  f'style:print-orientation="{"landscape" if self.landscape else "portrait"}" fo:margin="1.5cm" style:scale-to="{self.scale}%"/>'
                  '</style:page-layout>')
        shapes = "".join(self._chart_xml(*c) for c in self.charts)
        rows = []
        for row in self.rows:
            cells = []
            for text, style, value, span in row:
                spanned = f' table:number-columns-spanned="{span}"' if span > 1 else ""
                typed = f'office:value-type="float" office:value="{value}"' if value is not None else 'office:value-type="string"'
                cells.append(f'<table:table-cell table:style-name="{style}" {typed}{spanned}><text:p>{esc(text)}</text:p></table:table-cell>'
                             + "<table:covered-table-cell/>" * (span - 1))
            rows.append(f'<table:table-row table:style-name="ro">{"".join(cells)}</table:table-row>')
        content = (
            '<office:styles><style:default-style style:family="table-cell"><style:text-properties '
            f'style:font-name="{self.font}" fo:font-size="{self.size}pt"/></style:default-style>'
            '<style:style style:name="Default" style:family="table-cell"/></office:styles>'
            f'<office:automatic-styles>{layout}{auto}</office:automatic-styles>'
            f'<office:master-styles><style:master-page style:name="Default" style:page-layout-name="pm1">{hf_off}</style:master-page>'
            '</office:master-styles><office:body><office:spreadsheet><table:table table:name="Sheet1">'
            + (f"<table:shapes>{shapes}</table:shapes>" if shapes else "")
            + "".join(f'<table:table-column table:style-name="co{i}"/>' for i in range(columns)) + "\n".join(rows)
            + "</table:table></office:spreadsheet></office:body>\n")
        return odf.document("application/vnd.oasis.opendocument.spreadsheet", content)

    def write(self, path):
        odf.write(path, self.xml())
