#!/usr/bin/env python3
"""Writes the archives the package tests open into the folder given: small
documents of each kind, and hostile ones made at test time so that nothing
big is kept in the repository.

    make_archives.py FOLDER
"""
import os
import struct
import sys
import zipfile

OUT = sys.argv[1]
MiB = 1 << 20

WORD_TYPES = (
    '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
    '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
    '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>'
    '<Default Extension="xml" ContentType="application/xml"/>'
    '<Override PartName="/word/document.xml" ContentType="%s"/></Types>')
WORD_MAIN = 'application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml'
SHEET_MAIN = 'application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml'
RELS = ('<?xml version="1.0" encoding="UTF-8"?>'
        '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
        '<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/'
        'officeDocument" Target="word/document.xml"/></Relationships>')
DOCUMENT = ('<?xml version="1.0" encoding="UTF-8"?>'
            '<w:document xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main">'
            '<w:body><w:p><w:r><w:t>Hello</w:t></w:r></w:p></w:body></w:document>')
ODT_CONTENT = ('<?xml version="1.0" encoding="UTF-8"?>'
               '<office:document-content xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"'
               ' xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" office:version="1.3">'
               '<office:body><office:text><text:p>Hello from an odt</text:p></office:text></office:body>'
               '</office:document-content>')
MANIFEST = ('<?xml version="1.0" encoding="UTF-8"?>'
            '<manifest:manifest xmlns:manifest="urn:oasis:names:tc:opendocument:xmlns:manifest:1.0"'
            ' manifest:version="1.3"><manifest:file-entry manifest:full-path="/" manifest:media-type="%s"/>'
            '<manifest:file-entry manifest:full-path="content.xml" manifest:media-type="text/xml"/>'
            '</manifest:manifest>')
ODT = 'application/vnd.oasis.opendocument.text'
ODS = 'application/vnd.oasis.opendocument.spreadsheet'


def path(name):
    return os.path.join(OUT, name)


def write(name, entries, compression=zipfile.ZIP_DEFLATED):
    """entries: (name, bytes or str[, compression]) in order."""
    with zipfile.ZipFile(path(name), 'w', compression) as z:
        for entry in entries:
            info = zipfile.ZipInfo(entry[0], date_time=(2024, 1, 1, 0, 0, 0))
            info.compress_type = entry[2] if len(entry) > 2 else compression
            z.writestr(info, entry[1])
    with open(path(name), 'rb') as f:
        return f.read()


def docx(name, main=WORD_MAIN, document=DOCUMENT, extra=()):
    return write(name, [('[Content_Types].xml', WORD_TYPES % main), ('_rels/.rels', RELS),
                        ('word/document.xml', document)] + list(extra))


def odt(name, mimetype=ODT, content=ODT_CONTENT, manifest=True):
    entries = []
    if mimetype is not None:
        entries.append(('mimetype', mimetype, zipfile.ZIP_STORED))
    if manifest:
        entries.append(('META-INF/manifest.xml', MANIFEST % (mimetype or ODT)))
    if content is not None:
        entries.append(('content.xml', content))
    return write(name, entries)


# Documents of each kind, and zips of other kinds.
good = docx('word.docx', extra=[('word/media/image1.png', b'\x89PNG\r\n\x1a\n' + bytes(64))])
docx('word-template.dotx', main=WORD_MAIN.replace('document.main', 'template.main'))
docx('sheet.xlsx', main=SHEET_MAIN)
write('default-type.docx', [('[Content_Types].xml', WORD_TYPES.replace(
    '<Default Extension="xml" ContentType="application/xml"/>',
    '<Default Extension="xml" ContentType="%s"/>' % WORD_MAIN).replace(
    '<Override PartName="/word/document.xml" ContentType="%s"/>', '')), ('word/document.xml', DOCUMENT)])
odt('text.odt')
odt('no-mimetype.odt', mimetype=None)
odt('sheet.ods', mimetype=ODS)
write('plain.zip', [('readme.txt', 'just some text')])
write('empty.zip', [])

# Hostile: damaged, lying or oversized.
with open(path('truncated.docx'), 'wb') as f:
    f.write(good[:len(good) // 2])
central = good.find(b'PK\x01\x02')
with open(path('corrupt-directory.docx'), 'wb') as f:
    f.write(good[:central] + b'PK\xff\xff' + good[central + 4:])
# The first entry's recorded data start moved into the middle of nowhere.
offset_field = central + 42
with open(path('wrong-offset.docx'), 'wb') as f:
    f.write(good[:offset_field] + struct.pack('<I', 7) + good[offset_field + 4:])

odt('missing-content.odt', content=None)
docx('bomb.docx', document=b'\0' * (300 * MiB))
odt('bomb.odt', content=b' ' * (300 * MiB))
# Eight megabytes of one byte in bzip2 shrink to a few dozen bytes.
write('ratio.docx', [('[Content_Types].xml', WORD_TYPES % WORD_MAIN),
                     ('word/document.xml', b' ' * (8 * MiB), zipfile.ZIP_BZIP2)])
# Headers that say a part inflates to 1000 bytes while it inflates to 8 MB.
liar = bytearray(write('understated.zip', [('big.xml', b'\0' * (8 * MiB))]))
for signature, field in ((b'PK\x03\x04', 22), (b'PK\x01\x02', 24)):
    at = liar.find(signature)
    liar[at + field:at + field + 4] = struct.pack('<I', 1000)
with open(path('understated.zip'), 'wb') as f:
    f.write(liar)
write('traversal.zip', [('../evil.xml', 'x'), ('/etc/passwd.xml', 'x'), ('a\\..\\b.xml', 'x'),
                        ('word/../../up.xml', 'x'), ('word/./here.xml', 'x'), ('word//twice.xml', 'x'),
                        ('C:/drive.xml', 'x'), ('folder/', ''), ('good.xml', 'kept')])
write('duplicate.docx', [('[Content_Types].xml', WORD_TYPES % WORD_MAIN), ('word/document.xml', DOCUMENT),
                         ('Word/Document.xml', DOCUMENT)])
write('four-parts.zip', [('part%d.xml' % i, b'a' * (400 * 1024)) for i in range(4)])
with zipfile.ZipFile(path('many.zip'), 'w', zipfile.ZIP_STORED) as z:
    for i in range(100000):
        z.writestr('f%d' % i, b'')
