#!/usr/bin/env python3
"""What of a document survives our open and save, and what it gains, as
LibreOffice sees it.

    lo_compare.py ORIGINAL OURS [--families f1,f2,...] [--summary]
                  [--known-lost FILE] [--known-added FILE] [--name NAME]

ORIGINAL and OURS are RTF files; both are converted to flat ODT in one
LibreOffice call and read feature by feature. Every feature the original has
and ours lacks or changes is listed, grouped by family:

    lists: paragraph 3 "Second item": not in a list (was decimal level 0)

Then everything ours has where the original has none, in the same families
and marked with "+":

    +para: paragraph 4 "Apples": keep with next on

--summary prints "family kept/total +added" per family instead. ORIGINAL and
OURS may also be flat ODT files (.fodt) converted beforehand from RTF files
that lay in one folder (links to local files are compared as absolute paths).

--known-lost and --known-added name files of losses and additions that do not
fail the check (LibreOffice's own misreadings, additions with a reason); they
are still shown, marked "(listed)".

Exit status: 0 when every checked feature of the original survives and
nothing is added, 1 when one is lost or added, 2 on a usage or conversion
error, 77 when LibreOffice is missing.
"""
import argparse
import base64
import collections
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import urllib.parse
import xml.etree.ElementTree as ET

FAMILIES = ("text", "para", "lists", "chars", "links", "fields", "styles", "tables",
            "pictures", "headers", "notes", "bookmarks", "hidden", "page", "meta")

NS = {
    "office": "urn:oasis:names:tc:opendocument:xmlns:office:1.0",
    "style": "urn:oasis:names:tc:opendocument:xmlns:style:1.0",
    "text": "urn:oasis:names:tc:opendocument:xmlns:text:1.0",
    "table": "urn:oasis:names:tc:opendocument:xmlns:table:1.0",
    "draw": "urn:oasis:names:tc:opendocument:xmlns:drawing:1.0",
    "fo": "urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0",
    "xlink": "http://www.w3.org/1999/xlink",
    "dc": "http://purl.org/dc/elements/1.1/",
    "meta": "urn:oasis:names:tc:opendocument:xmlns:meta:1.0",
    "svg": "urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0",
    "field": "urn:openoffice:names:experimental:ooo-ms-interop:xmlns:field:1.0",
    "loext": "urn:org:documentfoundation:names:experimental:office:xmlns:loext:1.0",
}


def q(name):
    """'text:p' -> '{urn:...text:1.0}p'"""
    prefix, local = name.split(":")
    return "{%s}%s" % (NS[prefix], local)


# Fields: the element, the kind we report, and whether its shown value depends
# on when or as what the file was opened (then the text is not compared).
FIELD_KINDS = {"page-number": "page-number", "page-count": "page-count", "date": "date",
               "time": "time", "file-name": "file-name"}
VOLATILE = {"page-number", "page-count", "date", "time", "file-name"}
OTHER_FIELDS = {
    "author-name", "author-initials", "chapter", "sequence", "user-defined", "user-field-get",
    "user-field-input", "variable-get", "variable-set", "variable-input", "expression",
    "text-input", "drop-down", "placeholder", "title", "subject", "description", "keywords",
    "creator", "initial-creator", "creation-date", "creation-time", "modification-date",
    "modification-time", "print-date", "print-time", "printed-by", "editing-cycles",
    "editing-duration", "page-variable-get", "page-variable-set", "page-continuation",
    "reference-ref", "bookmark-ref", "sequence-ref", "note-ref", "hidden-text",
    "conditional-text", "template-name", "sheet-name", "execute-macro", "dde-connection",
    "measure", "table-formula", "word-count", "character-count", "paragraph-count",
    "table-count", "image-count", "object-count", "database-display", "database-name",
    "database-next", "database-row-number", "database-row-select", "meta-field", "script",
    "sender-firstname", "sender-lastname", "sender-initials", "sender-title",
    "sender-position", "sender-email", "sender-phone-private", "sender-fax",
    "sender-company", "sender-phone-work", "sender-street", "sender-city",
    "sender-postal-code", "sender-country", "sender-state-or-province",
}
XML_ID = "{http://www.w3.org/XML/1998/namespace}id"
SKIPPED_INLINE = {q("office:annotation-end"), q("text:bookmark-end"), q("text:soft-page-break"),
                  q("text:reference-mark-end"), q("text:change"), q("text:change-start"),
                  q("text:change-end"), q("field:fieldmark-end"), q("field:fieldmark-separator"),
                  q("text:alphabetical-index-mark-end"), q("text:toc-mark-end")}

# Symbol-font bullets arrive as private-use characters; compare what they show.
BULLETS = {"\uf0b7": "\u2022", "\u00b7": "\u2022", "\uf0a7": "\u25aa", "\uf0d8": "\u27a2",
           "\uf076": "\u2756", "\uf0fc": "\u2714", "\uf0a8": "\u25a1", "\u25cf": "\u2022"}
NUM_FORMATS = {"1": "decimal", "a": "lower-letter", "A": "upper-letter", "i": "lower-roman",
               "I": "upper-roman", "": "none"}

UNITS_CM = {"cm": 1.0, "mm": 0.1, "in": 2.54, "pt": 2.54 / 72, "pc": 2.54 / 6, "px": 2.54 / 96}


def cm(value):
    m = re.fullmatch(r"\s*(-?[0-9.]+)\s*(cm|mm|in|pt|pc|px)\s*", value or "")
    return float(m.group(1)) * UNITS_CM[m.group(2)] if m else None


def close(a, b):
    """Lengths within 0.02 cm or 1 %."""
    return abs(a - b) <= max(0.02, 0.01 * max(abs(a), abs(b)))


def same(a, b):
    """Feature values equal, lengths and sizes within tolerance."""
    if isinstance(a, float) and isinstance(b, float):
        return close(a, b)
    if isinstance(a, tuple) and isinstance(b, tuple):
        return len(a) == len(b) and all(same(x, y) for x, y in zip(a, b))
    return a == b


def show(value):
    if isinstance(value, float):
        return "%.2f" % value
    if isinstance(value, tuple):
        return "(" + ", ".join(show(v) for v in value) + ")"
    if value is None:
        return "none"
    if value is True:
        return "on"
    return str(value)


def decode_name(name):
    """Style names encode spaces and symbols as _20_ etc."""
    return re.sub(r"_([0-9a-fA-F]{2})_", lambda m: chr(int(m.group(1), 16)), name or "")


def squash(text):
    return " ".join(text.split())


# ---------------------------------------------------------------- styles

class Styles:
    """Named, automatic and default styles with inheritance through parents."""

    def __init__(self, root):
        self.named, self.auto, self.defaults = {}, {}, {}
        self.lists, self.layouts, self.masters, self.fonts = {}, {}, {}, {}
        self.master_order = []
        for face in root.iter(q("style:font-face")):
            family = face.get(q("svg:font-family")) or face.get(q("style:name"))
            self.fonts[face.get(q("style:name"))] = family.strip("'\"")
        for section, table in ((q("office:styles"), self.named), (q("office:automatic-styles"), self.auto)):
            for holder in root.iter(section):
                for el in holder:
                    name = el.get(q("style:name"))
                    if el.tag == q("style:style"):
                        table[(el.get(q("style:family")), name)] = el
                    elif el.tag == q("style:default-style"):
                        self.defaults[el.get(q("style:family"))] = el
                    elif el.tag == q("text:list-style"):
                        self.lists[name] = el
                    elif el.tag == q("style:page-layout"):
                        self.layouts[name] = el
        for master in root.iter(q("style:master-page")):
            self.masters[master.get(q("style:name"))] = master
            self.master_order.append(master.get(q("style:name")))

    def element(self, family, name):
        # An element without children is false: test for None.
        el = self.auto.get((family, name))
        return el if el is not None else self.named.get((family, name))

    def chain(self, family, name):
        """The style and its parents, the most specific first."""
        out, seen = [], set()
        while name and name not in seen:
            seen.add(name)
            el = self.element(family, name)
            if el is None:
                break
            out.append(el)
            name = el.get(q("style:parent-style-name"))
        return out

    def named_style(self, family, name):
        """The first named (not automatic) style in the chain: its display name."""
        for el in self.chain(family, name):
            key = (family, el.get(q("style:name")))
            if key in self.named and self.named[key] is el:
                return el.get(q("style:display-name")) or decode_name(el.get(q("style:name")))
        return None

    def attribute(self, family, name, attr):
        for el in self.chain(family, name):
            if el.get(attr) is not None:
                return el.get(attr)
        return None

    def props(self, family, name, kind, base=None, with_default=True):
        """Merged attributes of the <style:KIND> children along the chain."""
        layers = list(reversed(self.chain(family, name)))
        if with_default and family in self.defaults:
            layers.insert(0, self.defaults[family])
        merged = dict(base or {})
        for el in layers:
            for sub in el.findall(q("style:" + kind)):
                merge_props(merged, sub.attrib)
                tabs = sub.find(q("style:tab-stops"))
                if tabs is not None:
                    merged["tabs"] = tabs
        return merged


LINE_SPACING = (q("fo:line-height"), q("style:line-height-at-least"), q("style:line-spacing"))


def merge_props(merged, attrs):
    for key, value in attrs.items():
        if key in LINE_SPACING:     # one kind of line spacing replaces the others
            for other in LINE_SPACING:
                merged.pop(other, None)
        if key == q("fo:color"):
            merged.pop(q("style:use-window-font-color"), None)
        elif key == q("style:use-window-font-color") and value == "true":
            merged.pop(q("fo:color"), None)
        elif key == q("fo:font-size") and value.endswith("%") and key in merged:
            size = cm(merged[key])
            if size is not None:
                value = "%.4fpt" % (size / UNITS_CM["pt"] * float(value[:-1]) / 100)
        merged[key] = value


# ---------------------------------------------------------------- document model

class Para:
    def __init__(self, index, where):
        self.index = index          # position among the body's paragraphs
        self.where = where          # None, or (table, row, column) of the innermost cell
        self.chars = []             # (character, character-props key, kind)
        self.style = None
        self.props = {}
        self.list = None
        self.links, self.fields, self.notes, self.bookmarks = [], [], [], []
        self.char_styles = []
        self.master = None
        self.compact = []           # (character, key, kind, index in chars) without white space

    def add(self, text, key, kind):
        self.chars.extend((c, key, kind) for c in text)

    @property
    def text(self):
        return "".join(c for c, _, kind in self.chars if kind != "hidden")

    def visible(self):
        """The shown characters without white space."""
        return "".join(c for c, _, kind in self.chars if not c.isspace() and kind != "hidden")

    def label(self):
        words = squash(self.text)
        if len(words) > 32:
            words = words[:30] + "…"
        return 'paragraph %d "%s"' % (self.index + 1, words)


class Table:
    def __init__(self, index, depth, parent):
        self.index, self.depth, self.parent = index, depth, parent
        self.rows, self.header_rows, self.widths = 0, 0, []
        self.cells = {}             # (row, column) -> dict(span, shading, valign, border)
        self.paras = collections.defaultdict(list)

    def cell_text(self, pos):
        return " / ".join(squash(p.text) for p in self.paras[pos] if squash(p.text))

    def first_text(self):
        for pos in sorted(self.cells):
            if self.cell_text(pos):
                return self.cell_text(pos)
        return ""


class Document:
    def __init__(self, styles, base):
        self.styles, self.base = styles, base
        self.paras, self.tables, self.pictures = [], [], []
        self.list_instances, self.list_ids = [], {}
        self.char_cache = {}
        self.first_master = None
        self.meta, self.headers, self.page = {}, {}, {}
        self.indexes = collections.Counter()   # tables of contents and other index sections

    @classmethod
    def read(cls, path):
        root = ET.parse(path).getroot()
        doc = cls(Styles(root), os.path.dirname(os.path.abspath(path)))
        body = root.find(q("office:body") + "/" + q("office:text"))
        if body is not None:
            doc.walk(body, None)
        doc.meta = doc.read_meta(root)
        doc.headers = doc.read_headers()
        doc.page = doc.read_page()
        return doc

    # ---- block level

    def walk(self, el, where):
        """Block content; where is the innermost table cell, (table, row, column), or None."""
        for child in el:
            tag = child.tag
            if tag in (q("text:p"), q("text:h")):
                self.paragraph(child, where)
            elif tag == q("text:list"):
                self.walk_list(child, where, 0, None, None)
            elif tag == q("table:table"):
                self.walk_table(child, where)
            elif tag == q("draw:frame"):
                self.frame(child)
            elif tag in (q("text:section"), q("text:index-body"), q("text:table-of-content"),
                         q("text:alphabetical-index"), q("text:illustration-index"),
                         q("text:bibliography"), q("text:user-index"), q("text:object-index"),
                         q("text:table-index"), q("text:index-title")):
                if tag not in (q("text:section"), q("text:index-body"), q("text:index-title")):
                    self.indexes[tag.split("}")[1]] += 1
                self.walk(child, where)

    def paragraph(self, el, where, list_info=None):
        para = Para(len(self.paras), where)
        self.paras.append(para)
        name = el.get(q("text:style-name"))
        st = self.styles
        para.style = st.named_style("paragraph", name)
        para.props = st.props("paragraph", name, "paragraph-properties")
        master = st.attribute("paragraph", name, q("style:master-page-name"))
        if master and self.first_master is None and para.index == 0:
            self.first_master = master
        para.master = master
        para.list = list_info
        if where is not None:
            where[0].paras[(where[1], where[2])].append(para)
        base = st.props("paragraph", name, "text-properties")
        self.inline(el, para, self.char_key(base), None, None)
        para.compact = [(c, key, kind, i) for i, (c, key, kind) in enumerate(para.chars) if not c.isspace()]
        return para

    def walk_list(self, el, where, level, instance, style):
        style = el.get(q("text:style-name")) or style
        if instance is None:
            cont = el.get(q("text:continue-list"))
            if cont and cont in self.list_ids:
                instance = self.list_ids[cont]
            elif el.get(q("text:continue-numbering")) == "true" and self.list_instances:
                same_style = [i for i in self.list_instances if i["style"] == style]
                instance = (same_style or self.list_instances)[-1]
            else:
                instance = {"style": style, "counters": [None] * 10}
                self.list_instances.append(instance)
        if el.get(XML_ID):
            self.list_ids[el.get(XML_ID)] = instance
        for item in el:
            header = item.tag == q("text:list-header")
            if item.tag not in (q("text:list-item"), q("text:list-header")):
                continue
            start = item.get(q("text:start-value"))
            labelled = False
            for child in item:
                if child.tag in (q("text:p"), q("text:h")):
                    info = None
                    if not header and not labelled:
                        info = self.list_label(instance, style, level, start)
                        labelled = True
                    self.paragraph(child, where, info)
                elif child.tag == q("text:list"):
                    self.walk_list(child, where, level + 1, instance, style)
                elif child.tag == q("table:table"):
                    self.walk_table(child, where)

    def list_label(self, instance, style, level, start_override):
        """Counts the item and describes its label: format, level, number or bullet, indent."""
        level = min(level, 9)
        fmt, bullet, start, indent = "none", None, 1, None
        for sub in self.styles.lists.get(style, ()):
            if sub.get(q("text:level")) != str(level + 1):
                continue
            if sub.tag == q("text:list-level-style-bullet"):
                fmt = "bullet"
                char = sub.get(q("text:bullet-char")) or "?"
                bullet = BULLETS.get(char, char)
            elif sub.tag == q("text:list-level-style-image"):
                fmt, bullet = "bullet", "picture"
            else:
                num = sub.get(q("style:num-format")) or ""
                fmt = NUM_FORMATS.get(num, num)
                start = int(sub.get(q("text:start-value")) or 1)
            props = sub.find(q("style:list-level-properties"))
            if props is not None:
                align = props.find(q("style:list-level-label-alignment"))
                src = props if align is None else align
                indent = (cm(src.get(q("fo:margin-left"))), cm(src.get(q("fo:text-indent"))))
        counters = instance["counters"]
        if start_override:
            counters[level] = int(start_override)
        elif counters[level] is None:
            counters[level] = start
        else:
            counters[level] += 1
        counters[level + 1:] = [None] * (len(counters) - level - 1)
        if fmt == "none":
            return None
        info = {"format": fmt, "level": level, "indent": indent}
        if fmt == "bullet":
            info["bullet"] = bullet
        else:
            info["number"] = counters[level]
        return info

    def walk_table(self, el, where):
        parent = where[0] if where else None
        table = Table(len(self.tables), 0 if parent is None else parent.depth + 1, parent)
        self.tables.append(table)
        st = self.styles
        if where is None and not self.paras and self.first_master is None:
            self.first_master = st.attribute("table", el.get(q("table:style-name")), q("style:master-page-name"))
        for col in self.table_columns(el):
            width = st.props("table-column", col.get(q("table:style-name")),
                             "table-column-properties").get(q("style:column-width"))
            table.widths += [cm(width)] * int(col.get(q("table:number-columns-repeated")) or 1)
        covered = set()
        row = 0
        for row_el, header in self.table_rows(el):
            col = 0
            for cell in row_el:
                repeat = int(cell.get(q("table:number-columns-repeated")) or 1)
                if cell.tag == q("table:covered-table-cell"):
                    col += repeat
                    continue
                if cell.tag != q("table:table-cell"):
                    continue
                for _ in range(repeat):
                    while (row, col) in covered:
                        col += 1
                    span = (int(cell.get(q("table:number-columns-spanned")) or 1),
                            int(cell.get(q("table:number-rows-spanned")) or 1))
                    for r in range(row, row + span[1]):
                        for c in range(col, col + span[0]):
                            if (r, c) != (row, col):
                                covered.add((r, c))
                    p = st.props("table-cell", cell.get(q("table:style-name")),
                                 "table-cell-properties", with_default=False)
                    valign = p.get(q("style:vertical-align"))
                    table.cells[(row, col)] = {
                        "span": span,
                        "shading": colour(p.get(q("fo:background-color"))),
                        "valign": valign if valign in ("middle", "bottom") else None,
                        "border": any(visible_border(v) for k, v in p.items() if k.startswith(q("fo:border"))),
                    }
                    self.walk(cell, (table, row, col))
                    col += span[0]
            if header:
                table.header_rows += 1
            row += 1
        table.rows = row

    def table_columns(self, el):
        for child in el:
            if child.tag == q("table:table-column"):
                yield child
            elif child.tag in (q("table:table-columns"), q("table:table-header-columns"),
                               q("table:table-column-group")):
                yield from self.table_columns(child)

    def table_rows(self, table):
        for child in table:
            if child.tag == q("table:table-row"):
                yield child, False
            elif child.tag in (q("table:table-header-rows"), q("table:table-rows"), q("table:table-row-group")):
                header = child.tag == q("table:table-header-rows")
                for row, inner_header in self.table_rows(child):
                    yield row, header or inner_header

    def frame(self, el):
        """A picture: its shown size and its bytes. Frames in text boxes count too."""
        image = el.find(q("draw:image"))
        if image is None:
            for inner in el.iter(q("draw:frame")):
                if inner is not el:
                    self.frame(inner)
            return
        data = image.find(q("office:binary-data"))
        blob = base64.b64decode("".join(data.text.split())) if data is not None and data.text else b""
        self.pictures.append({"size": (cm(el.get(q("svg:width"))) or 0.0, cm(el.get(q("svg:height"))) or 0.0),
                              "data": blob})

    # ---- inline level

    def char_key(self, props):
        """The character features that matter, from merged text properties."""
        weight = props.get(q("fo:font-weight"), "normal")
        underline = props.get(q("style:text-underline-style"), "none")
        if underline != "none":
            underline = "double" if props.get(q("style:text-underline-type")) == "double" else \
                ("single" if underline == "solid" else underline)
        strike = props.get(q("style:text-line-through-style"), "none")
        if strike != "none":
            strike = "double" if props.get(q("style:text-line-through-type")) == "double" else "single"
        font = props.get(q("style:font-name"))
        font = self.styles.fonts.get(font, font) or props.get(q("fo:font-family"), "").strip("'\"")
        size = cm(props.get(q("fo:font-size")))
        col = colour(props.get(q("fo:color")))
        if props.get(q("style:use-window-font-color")) == "true" or col == "#000000":
            col = None
        caps = "all" if props.get(q("fo:text-transform")) == "uppercase" else \
            ("small" if props.get(q("fo:font-variant")) == "small-caps" else None)
        return (
            ("bold", weight in ("bold", "600", "700", "800", "900")),
            ("italic", props.get(q("fo:font-style"), "normal") in ("italic", "oblique")),
            ("underline", None if underline == "none" else underline),
            ("strike", None if strike == "none" else strike),
            ("position", position(props.get(q("style:text-position")))),
            ("background", colour(props.get(q("fo:background-color")))),
            ("caps", caps),
            ("size", round(size / UNITS_CM["pt"], 1) if size else None),
            ("colour", col),
            ("font", font.lower() if font else None),
            ("hidden", props.get(q("text:display")) == "none"),
        ), props

    def span_key(self, name, parent):
        cache_key = (name, id(parent[1]))
        if cache_key not in self.char_cache:
            props = self.styles.props("text", name, "text-properties", base=parent[1], with_default=False)
            self.char_cache[cache_key] = self.char_key(props)
        return self.char_cache[cache_key]

    def inline(self, el, para, key, href, field):
        kind = "volatile" if field in VOLATILE else "text"
        hidden = dict(key[0])["hidden"]

        def add(text):
            if text:
                para.add(text, key[0], "hidden" if hidden else kind)
        add(el.text)
        for child in el:
            tag = child.tag
            local = tag.split("}")[1] if "}" in tag else tag
            ns = tag[1:].split("}")[0] if tag.startswith("{") else ""
            if tag == q("text:span"):
                name = child.get(q("text:style-name"))
                named = self.styles.named_style("text", name)
                if named and href is None and named not in para.char_styles:
                    para.char_styles.append(named)
                self.inline(child, para, self.span_key(name, key), href, field)
            elif tag == q("text:a"):
                link = normalise_href(child.get(q("xlink:href")), self.base)
                start = len(para.chars)
                sub = self.span_key(child.get(q("text:style-name")), key) if child.get(q("text:style-name")) else key
                self.inline(child, para, sub, link, field)
                para.links.append((link, squash("".join(c for c, _, _ in para.chars[start:]))))
            elif tag == q("text:s"):
                add(" " * int(child.get(q("text:c")) or 1))
            elif tag == q("text:tab"):
                add("\t")
            elif tag == q("text:line-break"):
                add("\n")
            elif tag == q("text:note"):
                body = child.find(q("text:note-body"))
                para.notes.append((child.get(q("text:note-class")) or "footnote", None,
                                   block_text(body)))
            elif tag == q("office:annotation"):
                creator = child.find(q("dc:creator"))
                para.notes.append(("comment", creator.text if creator is not None else None,
                                   block_text(child)))
            elif tag in (q("text:bookmark"), q("text:bookmark-start")):
                para.bookmarks.append(child.get(q("text:name")))
            elif tag == q("draw:frame"):
                self.frame(child)
            elif tag == q("field:fieldmark-start") or tag == q("field:fieldmark"):
                para.fields.append("other")
            elif ns == NS["text"] and (local in FIELD_KINDS or local in OTHER_FIELDS):
                kind_name = FIELD_KINDS.get(local, "other")
                para.fields.append(kind_name)
                self.inline(child, para, key, href, kind_name)
            elif tag not in SKIPPED_INLINE:
                self.inline(child, para, key, href, field)
            add(child.tail)

    # ---- document level

    def read_meta(self, root):
        meta = root.find(q("office:meta"))
        out = {}
        if meta is None:
            return out
        def first(*names):
            for name in names:
                el = meta.find(q(name))
                if el is not None and el.text and el.text.strip():
                    return squash(el.text)
            return None
        out["title"] = first("dc:title")
        out["author"] = first("meta:initial-creator", "dc:creator")
        out["subject"] = first("dc:subject")
        out["comment"] = first("dc:description")
        words = [w for el in meta.findall(q("meta:keyword")) for w in re.split(r"[\s,;]+", el.text or "") if w]
        out["keywords"] = " ".join(sorted(words)) or None
        return {k: v for k, v in out.items() if v}

    def used_masters(self):
        """(master page shown first, the one used after it)."""
        masters = self.styles.masters
        first = self.first_master if self.first_master in masters else \
            ("Standard" if "Standard" in masters else (self.styles.master_order or [None])[0])
        if first is None:
            return None, None
        nxt = masters[first].get(q("style:next-style-name"))
        if nxt and nxt != first and nxt in masters:
            return first, nxt
        return None, first

    def read_headers(self):
        """Header and footer paragraphs by kind: header, footer, -left, and -first for the first page."""
        first, regular = self.used_masters()
        out = {}
        for master, first_page in ((first, True), (regular, False)):
            for kind in ("header", "footer", "header-left", "footer-left", "header-first", "footer-first"):
                el = self.styles.masters[master].find(q("style:" + kind)) if master else None
                if el is None or el.get(q("style:display")) == "false":
                    continue
                if first_page:
                    if kind not in ("header", "footer"):
                        continue
                    kind += "-first"
                part = Document(self.styles, self.base)
                part.walk(el, None)
                out.setdefault(kind, part.paras)
        return out

    def read_page(self):
        first, regular = self.used_masters()
        master = self.styles.masters.get(first or regular)
        if master is None:
            return {}
        layout = self.styles.layouts.get(master.get(q("style:page-layout-name")))
        if layout is None:
            return {}
        p = layout.find(q("style:page-layout-properties"))
        width, height = cm(p.get(q("fo:page-width"))), cm(p.get(q("fo:page-height")))
        top, bottom = cm(p.get(q("fo:margin-top"))) or 0.0, cm(p.get(q("fo:margin-bottom"))) or 0.0
        # The body starts below the header: the header's height includes its spacing.
        for kind, part in (("header", "top"), ("footer", "bottom")):
            shown = master.find(q("style:" + kind))
            hf = layout.find(q("style:%s-style" % kind))
            if shown is None or shown.get(q("style:display")) == "false" or hf is None:
                continue
            props = hf.find(q("style:header-footer-properties"))
            if props is not None:
                extra = cm(props.get(q("fo:min-height"))) or cm(props.get(q("svg:height"))) or 0.0
                if part == "top":
                    top += extra
                else:
                    bottom += extra
        orientation = p.get(q("style:print-orientation")) or \
            ("landscape" if width and height and width > height else "portrait")
        return {"width": width, "height": height, "margin-left": cm(p.get(q("fo:margin-left"))) or 0.0,
                "margin-right": cm(p.get(q("fo:margin-right"))) or 0.0, "margin-top": top,
                "margin-bottom": bottom, "orientation": orientation}


def block_text(el):
    if el is None:
        return ""
    parts = []
    for p in el.iter():
        if p.tag in (q("text:p"), q("text:h")):
            parts.append(squash("".join(t for t in p.itertext())))
    return " / ".join(x for x in parts if x)


def visible_border(value):
    """fo:border values such as "0.5pt solid #000000"; none, hidden or zero width draw nothing."""
    words = (value or "none").split()
    if any(w in ("none", "hidden") for w in words):
        return False
    widths = [cm(w) for w in words if cm(w) is not None]
    return not widths or widths[0] > 0


def colour(value):
    if not value or value == "transparent":
        return None
    return value.lower()


def position(value):
    """style:text-position -> super, sub, raised, lowered or None."""
    if not value:
        return None
    parts = value.split()
    raise_by, size = parts[0], (parts[1] if len(parts) > 1 else "100%")
    if raise_by in ("super", "sub"):
        return raise_by
    try:
        amount, scale = float(raise_by.rstrip("%")), float(size.rstrip("%"))
    except ValueError:
        return None
    if amount == 0:
        return None
    if scale < 100:
        return "super" if amount > 0 else "sub"
    return "raised" if amount > 0 else "lowered"


def normalise_href(href, base):
    """Links to local files as absolute paths, so two files in one folder compare."""
    href = href or ""
    parsed = urllib.parse.urlparse(href)
    if parsed.scheme in ("", "file") and not href.startswith("#"):
        path = urllib.parse.unquote(parsed.path)
        if parsed.scheme == "":
            path = os.path.normpath(os.path.join(base, path))
        return "file://" + path
    return href


# ---------------------------------------------------------------- paragraph features

def para_features(para):
    p = para.props
    out = {}
    align = {"center": "centre", "end": "right", "right": "right", "justify": "justify"}.get(
        p.get(q("fo:text-align")))
    if align:
        out["alignment"] = align
    left, first = cm(p.get(q("fo:margin-left"))), cm(p.get(q("fo:text-indent")))
    if para.list and para.list["indent"]:
        if q("fo:margin-left") not in p:
            left = para.list["indent"][0]
        if q("fo:text-indent") not in p:
            first = para.list["indent"][1]
    for name, value in (("left indent", left), ("right indent", cm(p.get(q("fo:margin-right")))),
                        ("first-line indent", first), ("space before", cm(p.get(q("fo:margin-top")))),
                        ("space after", cm(p.get(q("fo:margin-bottom"))))):
        if value and abs(value) >= 0.005:
            out[name] = value
    height = p.get(q("fo:line-height"))
    if height and height.endswith("%") and height != "100%":
        out["line spacing"] = ("multiple", float(height[:-1]) / 100)
    elif height and cm(height):
        out["line spacing"] = ("exactly", cm(height))
    elif cm(p.get(q("style:line-height-at-least"))):
        out["line spacing"] = ("at least", cm(p.get(q("style:line-height-at-least"))))
    elif cm(p.get(q("style:line-spacing"))):
        out["line spacing"] = ("leading", cm(p.get(q("style:line-spacing"))))
    tabs = p.get("tabs")
    if tabs is not None and len(tabs):
        stops = []
        for tab in tabs:
            style, leader = tab.get(q("style:leader-style"), "none"), tab.get(q("style:leader-text"))
            if not (leader and leader.strip()):
                leader = "." if style == "dotted" else (None if style == "none" else style)
            kind = tab.get(q("style:type"), "left")
            stops.append((cm(tab.get(q("style:position"))) or 0.0,
                          {"char": "decimal", "center": "centre"}.get(kind, kind), leader))
        out["tab stops"] = tuple(stops)
    if p.get(q("fo:break-before")) in ("page", "column"):
        out["break before"] = p.get(q("fo:break-before"))
    if p.get(q("fo:keep-with-next")) == "always":
        out["keep with next"] = True
    if p.get(q("fo:keep-together")) == "always":
        out["keep together"] = True
    if max(int(p.get(q("fo:widows")) or 0), int(p.get(q("fo:orphans")) or 0)) > 0:
        out["widow control"] = True
    shade = colour(p.get(q("fo:background-color")))
    if shade:
        out["shading"] = shade
    return out


def paragraph_features(doc):
    """Per paragraph; a break after one, or a new page style, is a break before the next."""
    feats = [para_features(p) for p in doc.paras]
    for i, para in enumerate(doc.paras):
        if q("fo:break-after") in para.props and para.props[q("fo:break-after")] == "page" and i + 1 < len(feats):
            feats[i + 1]["break before"] = "page"
        if i > 0 and para.master and para.where is None:
            feats[i]["break before"] = "page"
    return feats


# ---------------------------------------------------------------- matching

def pattern(chars):
    """A regular expression for the original paragraph: literal runs as groups,
    fields whose value depends on the moment as wildcards, hidden text optional."""
    parts, groups = [], []
    i = 0
    while i < len(chars):
        kind = chars[i][2]
        j = i
        while j < len(chars) and chars[j][2] == kind:
            j += 1
        text = "".join(c[0] for c in chars[i:j])
        if kind == "text":
            parts.append("(" + re.escape(text) + ")")
            groups.append(i)
        elif kind == "volatile":
            parts.append(".*?")
        else:
            parts.append("(?:" + re.escape(text) + ")?")
        i = j
    return "".join(parts), groups


class Match:
    """Which paragraph of ours holds each paragraph of the original, and where."""

    def __init__(self, orig, ours):
        self.orig, self.ours = orig, ours
        self.found = {}             # original index -> (ours index, {orig char -> ours char})
        self.joined = set()         # original indices that share an ours paragraph with the one before
        self.spans = {}             # original index -> (start, end) of its match in ours' characters
        ours_text = ["".join(c[0] for c in p.compact) for p in ours.paras]
        k, pos = 0, 0
        for para in orig.paras:
            chars = para.compact
            if not any(c[2] == "text" for c in chars):
                continue
            regex, groups = pattern(chars)
            compiled = re.compile(regex, re.S)
            hit = None
            for cand in range(k, len(ours.paras)):
                start = pos if cand == k else 0
                m = compiled.fullmatch(ours_text[cand], start) if start == 0 else None
                if m is None:
                    m = self.search(compiled, ours.paras[cand], ours_text[cand], start)
                if m is not None:
                    hit = (cand, m)
                    break
            if hit is None:
                continue
            cand, m = hit
            mapping = {}
            for g, orig_start in enumerate(groups, 1):
                for offset in range(m.end(g) - m.start(g)):
                    mapping[orig_start + offset] = m.start(g) + offset
            self.found[para.index] = (cand, mapping)
            self.spans[para.index] = (m.start(), m.end())
            if cand == k and pos > 0:
                self.joined.add(para.index)
            k, pos = cand, m.end()
            if pos >= len(ours_text[cand]):
                k, pos = cand + 1, 0
        self.place_empty()

    @staticmethod
    def search(compiled, para, text, start):
        """A match that starts and ends at word boundaries of ours."""
        raw, chars = para.chars, para.compact
        for m in compiled.finditer(text, start):
            if m.end() == m.start():
                continue
            first = chars[m.start()][3]
            last = chars[m.end() - 1][3]
            before_ok = first == 0 or raw[first - 1][0].isspace()
            after_ok = last + 1 >= len(raw) or raw[last + 1][0].isspace()
            if before_ok and after_ok:
                return m
        return None

    def place_empty(self):
        """Paragraphs without text: the empty paragraphs of ours between the same neighbours."""
        found = sorted(self.found.items())
        bounds = [(-1, -1)] + [(i, v[0]) for i, v in found] + [(len(self.orig.paras), len(self.ours.paras))]
        for (i0, k0), (i1, k1) in zip(bounds, bounds[1:]):
            empties = [i for i in range(i0 + 1, i1) if i not in self.found]
            spare = [k for k in range(k0 + 1, k1) if not self.ours.paras[k].visible()]
            for i, k in zip(empties, spare):
                self.found[i] = (k, {})

    def ours_para(self, para):
        hit = self.found.get(para.index)
        return None if hit is None else self.ours.paras[hit[0]]


# ---------------------------------------------------------------- the checks

class Report:
    """Losses and additions per family. An entry whose line holds a text
    listed for this file (known misreadings, known additions) is shown but
    does not fail the check."""

    def __init__(self, families, known_lost=(), known_added=()):
        self.families = families
        self.kept = collections.Counter()
        self.total = collections.Counter()
        self.lost = collections.defaultdict(list)
        self.added = collections.defaultdict(list)
        self.known = {"lost": list(known_lost), "added": list(known_added)}

    def check(self, family, ok, where, what):
        if family not in self.families:
            return
        self.total[family] += 1
        if ok:
            self.kept[family] += 1
        else:
            self.lost[family].append((where, what))

    def lose_all(self, family, where, what, count):
        for _ in range(count):
            self.check(family, False, where, what)

    def add(self, family, where, what):
        """Something ours has where the original has none."""
        if family in self.families:
            self.added[family].append((where, what))

    @staticmethod
    def line(family, where, what, added=False):
        return "%s%s: %s%s" % ("+" if added else "", family, where + ": " if where else "", what)

    def listed(self, kind, family, where, what):
        text = self.line(family, where, what, kind == "added")
        return any(k in text for k in self.known[kind])

    def failed(self):
        return any(not self.listed(kind, family, where, what)
                   for kind, table in (("lost", self.lost), ("added", self.added))
                   for family, entries in table.items() for where, what in entries)

    def print_lost(self, out):
        """Losses, then additions ("+family: ..."), in order; one repeated in more
        than three paragraphs on one line; listed ones marked."""
        for kind, table in (("lost", self.lost), ("added", self.added)):
            for family in FAMILIES:
                self.print_entries(out, kind, family, table.get(family, []))

    def print_entries(self, out, kind, family, entries):
        by_what = collections.defaultdict(list)
        for where, what in entries:
            by_what[what].append(where)
        printed = set()
        for where, what in entries:
            mark = " (listed)" if self.listed(kind, family, where, what) else ""
            wheres = by_what[what]
            if len(wheres) > 3 and all(w and w.startswith("paragraph ") for w in wheres):
                if what not in printed:
                    numbers = [w.split()[1] for w in wheres]
                    shown = ", ".join(numbers[:10]) + (", …" if len(numbers) > 10 else "")
                    out.write("%s in %d paragraphs (%s)%s\n" % (
                        self.line(family, None, what, kind == "added"), len(wheres), shown, mark))
            elif (where, what) not in printed:
                n = wheres.count(where)
                out.write("%s%s%s\n" % (self.line(family, where, what, kind == "added"),
                                         " (%d features)" % n if n > 1 else "", mark))
            printed.update((what, (where, what)))

    def print_summary(self, out):
        """family kept/total +added"""
        for family in FAMILIES:
            if family in self.families:
                out.write("%-10s %d/%d +%d\n" % (family, self.kept[family], self.total[family],
                                                 len(self.added[family])))


def compare(orig, ours, report):
    match = Match(orig, ours)
    ours_feats = paragraph_features(ours)
    orig_feats = paragraph_features(orig)
    missing = "paragraph not found"
    defaults = body_defaults(orig)

    for para in orig.paras:
        theirs = match.ours_para(para)
        where = para.label()
        has_text = bool(para.visible())

        # text
        if has_text:
            if theirs is None:
                report.check("text", False, where, "text lost or changed")
            elif para.index in match.joined and not same_table(para, orig.paras[para.index - 1]):
                report.check("text", False, where, "joined with the paragraph before")
            else:
                report.check("text", True, where, "")

        # para
        other = ours_feats[theirs.index] if theirs is not None else {}
        for name, value in orig_feats[para.index].items():
            got = other.get(name)
            report.check("para", theirs is not None and got is not None and same(value, got), where,
                         missing if theirs is None else "%s %s → %s" % (name, show(value), show(got)))

        # lists
        if para.list:
            want = describe_list(para.list)
            if theirs is None:
                report.check("lists", False, where, missing)
            elif not theirs.list:
                report.check("lists", False, where, "not in a list (was %s)" % want)
            else:
                got = describe_list(theirs.list)
                report.check("lists", got == want, where, "%s → %s" % (want, got))

        # chars
        check_chars(para, theirs, match, defaults, report, where)

        # links
        for href, text in para.links:
            ok = theirs is not None and (href, text) in theirs.links
            what = missing if theirs is None else 'link "%s" to %s lost' % (text, href)
            if theirs is not None and not ok:
                near = [h for h, t in theirs.links if t == text]
                if near:
                    what = 'link "%s" goes to %s instead of %s' % (text, near[0], href)
            report.check("links", ok, where, what)

        # fields
        have = collections.Counter(theirs.fields) if theirs is not None else collections.Counter()
        for kind in para.fields:
            report.check("fields", have[kind] > 0, where,
                         missing if theirs is None else "%s field lost" % kind)
            have[kind] -= 1

        # styles
        if para.style and para.style.lower() not in ("standard", "default paragraph style", "default"):
            got = theirs.style if theirs is not None else None
            report.check("styles", theirs is not None and (got or "").lower() == para.style.lower(), where,
                         missing if theirs is None else 'paragraph style "%s" → "%s"' % (para.style, got))
        for name in para.char_styles:
            ok = theirs is not None and name.lower() in (n.lower() for n in theirs.char_styles)
            report.check("styles", ok, where, missing if theirs is None else 'character style "%s" lost' % name)

        # notes
        for note in para.notes:
            kind, author, text = note
            if theirs is not None and note in theirs.notes:
                report.check("notes", True, where, "")
                continue
            elsewhere = [p.index + 1 for p in ours.paras if note in p.notes]
            what = '%s "%s" %s' % (kind, squash(text)[:40], "anchored at paragraph %d of ours" % elsewhere[0]
                                   if elsewhere else "lost")
            report.check("notes", False, where, what)

        # bookmarks
        for name in para.bookmarks:
            ok = theirs is not None and name in theirs.bookmarks
            report.check("bookmarks", ok, where, missing if theirs is None else 'bookmark "%s" lost' % name)

        # hidden
        hidden = squash("".join(c for c, _, kind in para.chars if kind == "hidden"))
        if hidden:
            got = squash("".join(c for c, _, kind in theirs.chars if kind == "hidden")) if theirs else ""
            report.check("hidden", got == hidden, where,
                         missing if theirs is None else 'hidden text "%s" → "%s"' % (hidden, got))

    # A table of contents is one field: written back as one per line it
    # becomes several tables of contents.
    for kind in sorted(set(orig.indexes) | set(ours.indexes)):
        report.check("fields", orig.indexes[kind] == ours.indexes[kind], None,
                     "%s: %d → %d" % (kind, orig.indexes[kind], ours.indexes[kind]))
    check_tables(orig, ours, report)
    check_pictures(orig, ours, report)
    check_headers(orig, ours, report)
    for name, value in orig.page.items():
        got = ours.page.get(name)
        report.check("page", got is not None and same(value, got), None,
                     "%s %s → %s" % (name, show(value), show(got)))
    for name, value in orig.meta.items():
        got = ours.meta.get(name)
        report.check("meta", got == value, None, '%s "%s" → "%s"' % (name, value, got or ""))
    check_body_chars(orig, ours, report)
    check_additions(orig, ours, match, orig_feats, ours_feats, report)


def same_table(a, b):
    def top(p):
        if p.where is None:
            return None
        t = p.where[0]
        while t.parent is not None:
            t = t.parent
        return t
    return a.where is not None and top(a) is top(b)


def describe_list(info):
    what = info["format"]
    if "number" in info:
        what += " %d" % info["number"]
    if "bullet" in info:
        what += " " + info["bullet"]
    return "%s level %d" % (what, info["level"])


def char_runs(para):
    """Maximal runs of visible, non-space characters with the same features."""
    runs = []
    for pos, (c, key, kind, raw) in enumerate(para.compact):
        if kind != "text":
            continue
        if runs and runs[-1][0] == key and runs[-1][2] == pos - 1:
            runs[-1][2] = pos
        else:
            runs.append([key, pos, pos])
    return runs


BODY_FEATURES = ("size", "font")


def body_defaults(doc):
    counts = {name: collections.Counter() for name in BODY_FEATURES}
    for para in doc.paras:
        for c, key, kind in para.chars:
            if kind == "text" and not c.isspace():
                props = dict(key)
                for name in BODY_FEATURES:
                    counts[name][props[name]] += 1
    return {name: (counts[name].most_common(1)[0][0] if counts[name] else None) for name in BODY_FEATURES}


def check_chars(para, theirs, match, defaults, report, where):
    if "chars" not in report.families:
        return
    mapping = match.found.get(para.index, (None, {}))[1]
    ours_chars = theirs.compact if theirs is not None else []
    for key, first, last in char_runs(para):
        props = dict(key)
        text = squash("".join(c for c, _, _ in para.chars[para.compact[first][3]:para.compact[last][3] + 1]))
        for name, value in props.items():
            if name == "hidden" or value in (None, False):
                continue
            if name in BODY_FEATURES and value == defaults[name]:
                continue
            got = set()
            for i in range(first, last + 1):
                j = mapping.get(i)
                got.add(dict(ours_chars[j][1])[name] if j is not None and j < len(ours_chars) else "?")
            ok = "?" not in got and len(got) == 1 and same(value, next(iter(got)))
            shown = "/".join(sorted(show(g) for g in got))
            report.check("chars", ok, where, "text not found" if theirs is None else
                         '%s %s → %s on "%s"' % (name, show(value), shown, text[:24]))


def check_body_chars(orig, ours, report):
    want, got = body_defaults(orig), body_defaults(ours)
    for name in BODY_FEATURES:
        if want[name] is not None:
            report.check("chars", same(want[name], got[name]), None,
                         "body text %s %s → %s" % (name, show(want[name]), show(got[name])))


def pair_tables(orig, ours):
    """Tables paired in order, by depth and first cell text: (original, ours or None)."""
    unused = list(ours.tables)
    pairs = []
    for table in orig.tables:
        candidates = [t for t in unused if t.depth == table.depth]
        other = next((t for t in candidates if t.first_text() == table.first_text()),
                     candidates[0] if candidates else None)
        if other is not None:
            unused.remove(other)
        pairs.append((table, other))
    return pairs


def table_label(table):
    return "table %d (%s)" % (table.index + 1, table.first_text()[:24] or "empty")


def check_tables(orig, ours, report):
    """Size, cells, merges and looks of each table."""
    for table, other in pair_tables(orig, ours):
        where = table_label(table)
        if other is None:
            report.lose_all("tables", where, "table lost", len(table_features(table, table)))
            continue
        for label, want, got in table_features(table, other):
            report.check("tables", got is not None and same(want, got), where,
                         "%s %s → %s" % (label, show(want), show(got)))


def table_features(table, other):
    """(what, ours value, their value) for every feature the table has."""
    feats = [("rows x columns", (table.rows, len(table.widths)), (other.rows, len(other.widths)))]
    if table.depth:
        feats.append(("nested depth", table.depth, other.depth))
    for pos, cell in sorted(table.cells.items()):
        theirs = other.cells.get(pos)
        label = "cell %d,%d " % (pos[0] + 1, pos[1] + 1)
        if table.cell_text(pos):
            feats.append((label + "text", table.cell_text(pos), other.cell_text(pos) if theirs else None))
        for name, what in (("span", "span (columns, rows)"), ("shading", "shading"), ("valign", "vertical alignment")):
            if cell[name] and cell[name] != (1, 1):
                feats.append((label + what, cell[name], theirs[name] if theirs else None))
    if any(c["border"] for c in table.cells.values()):
        feats.append(("borders", True, any(c["border"] for c in other.cells.values())))
    if table.header_rows:
        feats.append(("header rows", table.header_rows, other.header_rows))
    if table.widths and None not in table.widths:
        feats.append(("column widths (cm)", tuple(table.widths),
                      tuple(other.widths) if None not in other.widths else None))
    return feats


def image_size(blob):
    """(kind, width, height) in pixels for raster images; metafiles by kind only."""
    if blob[:8] == b"\x89PNG\r\n\x1a\n" and len(blob) >= 24:
        return ("raster",) + struct.unpack(">II", blob[16:24])
    if blob[:2] == b"\xff\xd8":
        i = 2
        while i + 9 < len(blob):
            if blob[i] != 0xFF:
                i += 1
                continue
            marker = blob[i + 1]
            if marker in (0xC0, 0xC1, 0xC2, 0xC3, 0xC5, 0xC6, 0xC7, 0xC9, 0xCA, 0xCB, 0xCD, 0xCE, 0xCF):
                h, w = struct.unpack(">HH", blob[i + 5:i + 9])
                return ("raster", w, h)
            i += 2 + struct.unpack(">H", blob[i + 2:i + 4])[0]
        return ("raster", None, None)
    if blob[:6] in (b"GIF87a", b"GIF89a"):
        return ("raster",) + struct.unpack("<HH", blob[6:10])
    if blob[:2] == b"BM" and len(blob) >= 26:
        return ("raster",) + struct.unpack("<ii", blob[18:26])
    if blob[40:44] == b" EMF":
        return ("emf", None, None)
    if blob[:4] == b"\xd7\xcd\xc6\x9a" or blob[:2] in (b"\x01\x00", b"\x02\x00"):
        return ("wmf", None, None)
    return ("other", None, None)


def check_pictures(orig, ours, report):
    for i, pic in enumerate(orig.pictures):
        where = "picture %d" % (i + 1)
        other = ours.pictures[i] if i < len(ours.pictures) else None
        if other is None:
            report.lose_all("pictures", where, "picture lost", 3)    # presence, size, data
            continue
        report.check("pictures", True, where, "")
        report.check("pictures", same(pic["size"], other["size"]), where,
                     "shown size %s cm → %s cm" % (show(pic["size"]), show(other["size"])))
        want, got = image_size(pic["data"]), image_size(other["data"])
        ok = pic["data"] == other["data"] or (want[0] == "raster" and want == got and want[1] is not None)
        report.check("pictures", ok, where, "image data %s %sx%s → %s %sx%s" % (want + got))


def check_headers(orig, ours, report):
    for kind, paras in orig.headers.items():
        other = ours.headers.get(kind)
        text = " / ".join(squash(p.text) for p in paras if squash(p.text))
        fields = sorted(f for p in paras for f in p.fields)
        if not text and not fields:
            continue
        if other is None:
            report.check("headers", False, kind, 'lost: "%s"' % text)
            for f in fields:
                report.check("headers", False, kind, "%s field lost" % f)
            continue
        want = pattern([c for p in paras for c in p.compact])[0]
        got = "".join(c[0] for p in other for c in p.compact)
        got_text = " / ".join(squash(p.text) for p in other if squash(p.text))
        report.check("headers", re.fullmatch(want, got, re.S) is not None, kind,
                     'text "%s" → "%s"' % (text, got_text))
        have = collections.Counter(f for p in other for f in p.fields)
        for f in fields:
            report.check("headers", have[f] > 0, kind, "%s field lost" % f)
            have[f] -= 1


# ---------------------------------------------------------------- what ours adds

CHAR_EFFECTS = ("bold", "italic", "underline", "strike", "position", "background", "caps", "colour", "hidden")


def check_additions(orig, ours, match, orig_feats, ours_feats, report):
    """Every feature ours has where the original has none."""
    held = collections.defaultdict(list)        # ours index -> the original paragraphs found in it
    for i, (k, _) in sorted(match.found.items()):
        held[k].append(orig.paras[i])
    for k, para in enumerate(ours.paras):
        where = para.label()
        origs = held.get(k, [])
        if not origs:
            report.add("text", where, "paragraph added" if para.visible() else "empty paragraph added")
        first_feats = orig_feats[origs[0].index] if origs else {}
        for name, value in ours_feats[k].items():
            if name not in first_feats:
                report.add("para", where, "%s %s" % (name, show(value)))
        if para.list and not any(o.list for o in origs):
            report.add("lists", where, "in a list (%s)" % describe_list(para.list))
        for href, text in para.links:
            if not any((href, text) in o.links for o in origs):
                report.add("links", where, 'link "%s" to %s' % (text, href))
        fields = collections.Counter(para.fields)
        for o in origs:
            fields.subtract(o.fields)
        for kind, n in sorted(fields.items()):
            for _ in range(n):
                report.add("fields", where, "%s field" % kind)
        if origs:
            added_text(para, origs, match, report, where)
            added_chars(para, origs, match, report, where)

    kinds = lambda doc: {describe_list(p.list).rsplit(" level", 1)[0].split(" ")[0]
                         for p in doc.paras if p.list}
    for kind in sorted(kinds(ours) - kinds(orig)):
        report.add("lists", None, "list kind %s, which the original does not use" % kind)
    for kind in sorted(ours.indexes):
        for _ in range(ours.indexes[kind] - orig.indexes[kind]):
            report.add("fields", None, "%s added" % kind)

    paired = {id(other): table for table, other in pair_tables(orig, ours) if other is not None}
    for other in ours.tables:
        table = paired.get(id(other))
        if table is None:
            report.add("tables", table_label(other), "table added")
            continue
        where = table_label(table)
        for pos, cell in sorted(other.cells.items()):
            mine = table.cells.get(pos, {"span": (1, 1), "shading": None, "valign": None})
            for name, what in (("span", "span (columns, rows)"), ("shading", "shading"),
                               ("valign", "vertical alignment")):
                if cell[name] and cell[name] != (1, 1) and not (mine[name] and mine[name] != (1, 1)):
                    report.add("tables", where, "cell %d,%d %s %s" % (pos[0] + 1, pos[1] + 1, what,
                                                                     show(cell[name])))
        if any(c["border"] for c in other.cells.values()) and not any(c["border"] for c in table.cells.values()):
            report.add("tables", where, "borders")
        if other.header_rows and not table.header_rows:
            report.add("tables", where, "header rows %d" % other.header_rows)

    for i in range(len(orig.pictures), len(ours.pictures)):
        report.add("pictures", "picture %d" % (i + 1), "picture added")

    notes = collections.Counter(n for p in ours.paras for n in p.notes)
    notes.subtract(n for p in orig.paras for n in p.notes)
    for p in ours.paras:
        for note in p.notes:
            if notes[note] > 0:
                notes[note] -= 1
                report.add("notes", p.label(), '%s "%s"' % (note[0], squash(note[2])[:40]))

    for kind, paras in ours.headers.items():
        text = " / ".join(squash(p.text) for p in paras if squash(p.text))
        fields = collections.Counter(f for p in paras for f in p.fields)
        mine = orig.headers.get(kind)
        if mine is None or not (any(squash(p.text) for p in mine) or any(p.fields for p in mine)):
            if text or fields:
                report.add("headers", kind, 'added: "%s"' % text)
            continue
        fields.subtract(f for p in mine for f in p.fields)
        for f, n in sorted(fields.items()):
            for _ in range(n):
                report.add("headers", kind, "%s field" % f)


def added_text(para, origs, match, report, where):
    """Characters of ours that no original character lands on, and white space
    put in front of the first."""
    covered = set()
    for o in origs:
        start, end = match.spans.get(o.index, (0, 0))
        covered.update(range(start, end))
    extra = "".join(c if j not in covered and kind == "text" else " "
                    for j, (c, _, kind, _) in enumerate(para.compact))
    for words in re.findall(r"\S+(?: +\S+)*", extra):
        report.add("text", where, 'text "%s" added' % squash(words)[:40])
    first = origs[0]
    if match.spans.get(first.index, (None,))[0] == 0:
        lead = lambda p: len(p.text) - len(p.text.lstrip(" \t"))
        if lead(para) > lead(first):
            report.add("text", where, "%d spaces added in front" % (lead(para) - lead(first)))


def added_chars(para, origs, match, report, where):
    """Character effects on text that the original shows without them, one entry
    per effect and paragraph."""
    found = collections.OrderedDict()
    for o in origs:
        for i, j in sorted(match.found[o.index][1].items()):
            if j >= len(para.compact) or o.compact[i][2] != "text":
                continue
            mine, theirs = dict(o.compact[i][1]), dict(para.compact[j][1])
            for name in CHAR_EFFECTS:
                if mine[name] in (None, False) and theirs[name] not in (None, False):
                    found.setdefault((name, theirs[name]), []).append(o.compact[i][0])
    for (name, value), chars in found.items():
        shown = "" if value is True else " " + show(value)
        report.add("chars", where, '%s%s on "%s"' % (name, shown, "".join(chars)[:24]))


# ---------------------------------------------------------------- running

def convert(files, outdir):
    """One LibreOffice call for all files; returns the flat ODT paths."""
    profile = tempfile.mkdtemp(prefix="lo-profile-")
    try:
        env = dict(os.environ, HOME=profile)
        subprocess.run(["soffice", "--headless", "--norestore", "-env:UserInstallation=file://" + profile,
                        "--convert-to", "fodt", "--outdir", outdir] + files,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, env=env, timeout=600)
    except subprocess.TimeoutExpired:
        sys.stderr.write("lo_compare: LibreOffice did not finish converting\n")
    finally:
        shutil.rmtree(profile, ignore_errors=True)
    return [os.path.join(outdir, os.path.splitext(os.path.basename(f))[0] + ".fodt") for f in files]


def load(path):
    try:
        return Document.read(path)
    except (OSError, ET.ParseError) as err:
        sys.stderr.write("lo_compare: cannot read %s: %s\n" % (path, err))
        return None


def known(path, name):
    """The texts listed for one file: lines "name<TAB>text[<TAB>reason]", # for comments."""
    if not path:
        return []
    out = []
    with open(path, encoding="utf-8") as f:
        for line in f:
            if line.startswith("#") or "\t" not in line:
                continue
            fields = line.rstrip("\n").split("\t")
            if fields[0] == name and fields[1]:
                out.append(fields[1])
    return out


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("original")
    parser.add_argument("ours")
    parser.add_argument("--families", default=",".join(FAMILIES),
                        help="comma-separated families to check (default: all)")
    parser.add_argument("--summary", action="store_true", help='print "family kept/total +added" per family')
    parser.add_argument("--known-lost", metavar="FILE",
                        help="losses that do not fail the check: name<TAB>text of the line")
    parser.add_argument("--known-added", metavar="FILE",
                        help="additions that do not fail the check: name<TAB>text of the line<TAB>reason")
    parser.add_argument("--name", help="this file's name in those lists (default: ORIGINAL's, "
                                       "without .orig and the extension)")
    args = parser.parse_args(argv)
    families = [f for f in args.families.split(",") if f]
    unknown = [f for f in families if f not in FAMILIES]
    if unknown:
        parser.error("unknown families: %s (known: %s)" % (", ".join(unknown), ", ".join(FAMILIES)))

    work = None
    paths = [args.original, args.ours]
    try:
        if not all(p.endswith(".fodt") for p in paths):
            if shutil.which("soffice") is None:
                print("SKIP: LibreOffice (soffice) is not installed")
                return 77
            work = tempfile.mkdtemp(prefix="lo-compare-")
            # One folder for both, so links to local files resolve alike.
            copies = [os.path.join(work, "original.rtf"), os.path.join(work, "ours.rtf")]
            for src, dst in zip(paths, copies):
                shutil.copyfile(src, dst)
            paths = convert(copies, os.path.join(work, "fodt"))
        orig = load(paths[0])
        if orig is None:
            return 2
        ours = load(paths[1])
        if ours is None:
            print("LibreOffice could not read ours: every feature is lost")
            return 1
        name = args.name or re.sub(r"(\.orig)?\.(rtf|fodt)$", "", os.path.basename(args.original))
        report = Report(families, known(args.known_lost, name), known(args.known_added, name))
        compare(orig, ours, report)
        if args.summary:
            report.print_summary(sys.stdout)
        else:
            report.print_lost(sys.stdout)
        return 1 if report.failed() else 0
    finally:
        if work:
            shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
