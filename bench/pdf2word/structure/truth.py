"""What a corpus document holds, recorded while its source is written: its text by kind in
reading order, its tables cell by cell, its pictures with their size on the page, and the labels
drawn inside its charts and diagrams. Written beside the document as <name>.json.

Kinds of text:
  body     running text (paragraphs, list items): read in order, never a table's cell
  heading  titles and headings: read in order, never a table's cell
  toc      entries of a table of contents: read in order
  box      text in a box or sidebar beside the running text, never a table's cell
  caption  a picture's caption, never a table's cell
  note     footnotes, never a table's cell
  form     a form's instructions and check box lines
  label    text drawn inside a chart or a diagram (it may stay in the picture)
"""
import json

FLOW_KINDS = ("body", "heading", "toc")
KINDS = FLOW_KINDS + ("box", "caption", "note", "form", "label")
CM = 72 / 2.54


class Truth:
    def __init__(self, name, producer, about):
        self.name = name
        self.producer = producer
        self.about = about
        self.paragraphs = []
        self.tables = []
        self.pictures = []

    def text(self, kind, text):
        assert kind in KINDS, kind
        if text.strip():
            self.paragraphs.append({"kind": kind, "text": text})

    def label(self, text):
        self.text("label", text)

    def table(self, rows):
        """rows: lists of cells, each a text or (text, columns spanned)."""
        cells = []
        for r, row in enumerate(rows):
            col = 0
            for cell in row:
                text, span = (cell, 1) if isinstance(cell, str) else cell
                if text.strip():
                    cells.append({"row": r, "col": col, "text": text})
                col += span
        self.tables.append({"cells": cells})

    def picture(self, width_pt, height_pt, kind="photo"):
        assert kind in ("photo", "chart", "diagram"), kind
        self.pictures.append({"width": round(width_pt, 1), "height": round(height_pt, 1), "kind": kind})

    def picture_cm(self, width_cm, height_cm, kind="photo"):
        self.picture(width_cm * CM, height_cm * CM, kind)

    def write(self, path):
        with open(path, "w", encoding="utf-8") as out:
            json.dump({"name": self.name, "producer": self.producer, "about": self.about,
                       "paragraphs": self.paragraphs, "tables": self.tables, "pictures": self.pictures},
                      out, ensure_ascii=False, indent=1)
