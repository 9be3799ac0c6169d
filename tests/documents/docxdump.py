"""Prints what a word processor's reader finds in .docx files, as JSON.

Usage: docxdump.py FILE...  ->  {"FILE": {"margins": ..., "body": [...]}, ...}

Every body element in order: a paragraph as {"p": text, "align", "indent", "before",
"after", "runs": [{"text", "font", "size", "bold"}], "mark": size}, a table as
{"widths": [...], "borders": {...}, "height": first row height, "rows": [[cell]]}
where a cell is {"text", "valign", "paragraphs": [paragraph]}. Lengths in points.
"""
import json
import sys

import docx
from docx.oxml.ns import qn
from docx.table import Table
from docx.text.paragraph import Paragraph


def points(length):
    return None if length is None else round(length.pt, 2)


def paragraph_dump(p):
    f = p.paragraph_format
    mark = p._p.find(qn("w:pPr") + "/" + qn("w:rPr") + "/" + qn("w:sz"))
    return {
        "p": p.text,
        "align": None if f.alignment is None else str(f.alignment).split(".")[-1].split(" ")[0],
        "indent": points(f.left_indent),
        "before": points(f.space_before),
        "after": points(f.space_after),
        "mark": None if mark is None else int(mark.get(qn("w:val"))) / 2,
        "runs": [{"text": r.text, "font": r.font.name, "size": points(r.font.size),
                  "bold": bool(r.font.bold)} for r in p.runs],
    }


def borders(tbl):
    found = {}
    for side in ("top", "left", "bottom", "right", "insideH", "insideV"):
        el = tbl.find(qn("w:tblPr") + "/" + qn("w:tblBorders") + "/" + qn("w:" + side))
        found[side] = None if el is None else el.get(qn("w:val"))
    return found


def table_dump(t):
    rows = []
    for row in t.rows:
        rows.append([{
            "text": c.text,
            "valign": None if c.vertical_alignment is None
            else str(c.vertical_alignment).split(".")[-1].split(" ")[0],
            "paragraphs": [paragraph_dump(p) for p in c.paragraphs],
        } for c in row.cells])
    return {
        "widths": [points(c.width) for c in t.rows[0].cells],
        "borders": borders(t._tbl),
        "height": points(t.rows[0].height),
        "rows": rows,
    }


def dump(path):
    d = docx.Document(path)
    s = d.sections[0]
    body = []
    for el in d.element.body.iterchildren():
        if el.tag == qn("w:p"):
            body.append(paragraph_dump(Paragraph(el, d)))
        elif el.tag == qn("w:tbl"):
            body.append(table_dump(Table(el, d)))
    return {
        "margins": [points(s.left_margin), points(s.right_margin),
                    points(s.top_margin), points(s.bottom_margin)],
        "portrait": s.page_height > s.page_width,
        "body": body,
    }


print(json.dumps({path: dump(path) for path in sys.argv[1:]}, ensure_ascii=False))
