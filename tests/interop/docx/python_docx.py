#!/usr/bin/python3
"""Writes .docx files with python-docx (Debian's python3-docx), which starts
from Word's default template: its styles, theme fonts and numbering.

    python_docx.py FOLDER
"""
import os
import sys

from docx import Document
from docx.enum.section import WD_ORIENT
from docx.enum.table import WD_TABLE_ALIGNMENT
from docx.enum.text import WD_ALIGN_PARAGRAPH, WD_BREAK, WD_COLOR_INDEX, WD_TAB_ALIGNMENT, WD_UNDERLINE
from docx.shared import Cm, Inches, Pt, RGBColor

OUT = sys.argv[1]
PICTURE = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'corpus', 'src', 'stripes.png')


def save(doc, name):
    doc.core_properties.author = 'Scribvale tests'
    doc.core_properties.title = name
    doc.save(os.path.join(OUT, 'pydocx-%s.docx' % name))


# Runs: faces, sizes, colours, toggles, underline kinds, raised and lowered, highlight.
doc = Document()
doc.add_heading('Character formatting', level=1)
p = doc.add_paragraph('Plain, ')
p.add_run('bold, ').bold = True
p.add_run('italic, ').italic = True
p.add_run('underlined, ').underline = True
r = p.add_run('double underlined, ')
r.font.underline = WD_UNDERLINE.DOUBLE
p.add_run('struck through, ').font.strike = True
r = p.add_run('red 14 pt Arial, ')
r.font.color.rgb = RGBColor(0xC0, 0x00, 0x00)
r.font.size = Pt(14)
r.font.name = 'Arial'
r = p.add_run('Courier New, ')
r.font.name = 'Courier New'
p.add_run('E=mc')
p.add_run('2').font.superscript = True
p.add_run(' and H')
p.add_run('2').font.subscript = True
p.add_run('O, ')
r = p.add_run('highlighted')
r.font.highlight_color = WD_COLOR_INDEX.YELLOW
p.add_run('.')
p = doc.add_paragraph('A paragraph in the Quote style.', style='Quote')
p = doc.add_paragraph()
p.add_run('Small caps ').font.small_caps = True
p.add_run('and all caps.').font.all_caps = True
save(doc, 'chars')

# Paragraphs: alignment, indents, spacing, line spacing, tab stops, page breaks.
doc = Document()
doc.add_heading('Paragraph formatting', level=1)
for align, words in ((WD_ALIGN_PARAGRAPH.LEFT, 'Left aligned.'), (WD_ALIGN_PARAGRAPH.CENTER, 'Centred.'),
                     (WD_ALIGN_PARAGRAPH.RIGHT, 'Right aligned.'),
                     (WD_ALIGN_PARAGRAPH.JUSTIFY, 'Justified text that runs long enough to wrap over more than '
                                                  'one line, so that the spacing between words shows. ' * 2)):
    doc.add_paragraph(words).alignment = align
p = doc.add_paragraph('Indented 2 cm left, 1 cm right, first line 1 cm more. ' * 3)
p.paragraph_format.left_indent = Cm(2)
p.paragraph_format.right_indent = Cm(1)
p.paragraph_format.first_line_indent = Cm(1)
p = doc.add_paragraph('Hanging indent of 1 cm under a left indent of 2 cm. ' * 3)
p.paragraph_format.left_indent = Cm(2)
p.paragraph_format.first_line_indent = Cm(-1)
p = doc.add_paragraph('Twelve points before, six after, one and a half lines. ' * 3)
p.paragraph_format.space_before = Pt(12)
p.paragraph_format.space_after = Pt(6)
p.paragraph_format.line_spacing = 1.5
p = doc.add_paragraph('Name\tCentred\tRight\t1234.56')
stops = p.paragraph_format.tab_stops
stops.add_tab_stop(Cm(6), WD_TAB_ALIGNMENT.CENTER)
stops.add_tab_stop(Cm(11), WD_TAB_ALIGNMENT.RIGHT)
stops.add_tab_stop(Cm(14), WD_TAB_ALIGNMENT.DECIMAL)
doc.add_paragraph('Before the page break.').add_run().add_break(WD_BREAK.PAGE)
doc.add_paragraph('After the page break.')
save(doc, 'para')

# Lists from the template's list styles.
doc = Document()
doc.add_heading('Lists', level=1)
for words in ('First bullet', 'Second bullet', 'Third bullet'):
    doc.add_paragraph(words, style='List Bullet')
doc.add_paragraph('Nested bullet', style='List Bullet 2')
doc.add_paragraph('Between the lists.')
for words in ('First step', 'Second step', 'Third step'):
    doc.add_paragraph(words, style='List Number')
doc.add_paragraph('Nested step', style='List Number 2')
save(doc, 'lists')

# Tables: the grid style, merged cells, widths, shading by style, a heading row.
doc = Document()
doc.add_heading('Tables', level=1)
table = doc.add_table(rows=4, cols=3)
table.style = 'Table Grid'
table.alignment = WD_TABLE_ALIGNMENT.CENTER
for c, words in enumerate(('Item', 'Count', 'Note')):
    table.cell(0, c).text = words
    table.cell(0, c).paragraphs[0].runs[0].bold = True
for r in range(1, 4):
    table.cell(r, 0).text = 'Row %d' % r
    table.cell(r, 1).text = str(r * 7)
table.cell(1, 2).merge(table.cell(3, 2)).text = 'Merged down three rows'
for row in table.rows:
    row.cells[0].width = Cm(5)
doc.add_paragraph('Between the tables.')
table = doc.add_table(rows=2, cols=4)
table.style = 'Light Grid Accent 1'
table.cell(0, 0).merge(table.cell(0, 3)).text = 'Across four columns'
for c in range(4):
    table.cell(1, c).text = 'Cell %d' % (c + 1)
save(doc, 'tables')

# A picture, headers and footers, a landscape section, document information.
doc = Document()
doc.add_heading('Pages and pictures', level=1)
section = doc.sections[0]
section.header.paragraphs[0].text = 'The header of every page'
section.footer.paragraphs[0].text = 'The footer of every page'
section.left_margin = Cm(3)
section.top_margin = Cm(2)
doc.add_paragraph('A picture two inches wide follows.')
doc.add_picture(PICTURE, width=Inches(2))
doc.add_paragraph('Text after the picture.')
landscape = doc.add_section()
landscape.orientation = WD_ORIENT.LANDSCAPE
landscape.page_width, landscape.page_height = landscape.page_height, landscape.page_width
doc.add_paragraph('This page is landscape.')
doc.core_properties.subject = 'Pages'
doc.core_properties.keywords = 'header, footer, picture'
save(doc, 'pages')
