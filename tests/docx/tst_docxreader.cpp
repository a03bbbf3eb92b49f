#include "platform/docx/DocxReader.h"
#include "platform/package/Package.h"
#include "platform/rtf/RtfBuild.h"
#include "platform/rtf/RtfDump.h"
#include "platform/rtf/RtfWriter.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QImage>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {

struct Read {
    rtf::ReadResult result;
    QString dump;
    QString text;       // paragraphs joined by '\n', objects left out
};

const QString W = QStringLiteral(
    "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
    "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\" "
    "xmlns:wp=\"http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing\" "
    "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\" "
    "xmlns:pic=\"http://schemas.openxmlformats.org/drawingml/2006/picture\" "
    "xmlns:v=\"urn:schemas-microsoft-com:vml\" "
    "xmlns:mc=\"http://schemas.openxmlformats.org/markup-compatibility/2006\"");

QByteArray wrap(const QString &root, const QString &inner)
{
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<w:%1 %2>%3</w:%1>")
        .arg(root, W, inner)
        .toUtf8();
}

QByteArray rels(const QList<std::array<QString, 3>> &entries)
{
    QString out = QStringLiteral("<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">");
    for (const auto &[id, type, target] : entries) {
        const bool external = target.startsWith(u"http");
        out += QStringLiteral("<Relationship Id=\"%1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
                              "relationships/%2\" Target=\"%3\"%4/>")
                   .arg(id, type, target, external ? QStringLiteral(" TargetMode=\"External\"") : QString());
    }
    return (out + QStringLiteral("</Relationships>")).toUtf8();
}

const QString Png1x1 = QStringLiteral(
    "iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR42mP8z8BQDwAEhQGAhKmMIQAAAABJRU5ErkJggg==");

// A PNG whose header claims width x height; its data is cut short.
QByteArray pngHeader(quint32 width, quint32 height)
{
    QByteArray png = QByteArray::fromBase64(Png1x1.toLatin1());
    for (int i = 0; i < 4; ++i) {
        png[16 + i] = char(width >> (24 - 8 * i));
        png[20 + i] = char(height >> (24 - 8 * i));
    }
    quint32 crc = 0xFFFFFFFF;
    for (int i = 12; i < 29; ++i) {
        crc ^= quint8(png[i]);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    crc = ~crc;
    for (int i = 0; i < 4; ++i)
        png[29 + i] = char(crc >> (24 - 8 * i));
    return png;
}

// A package around body (the content of w:body), with styles, numbering
// and the other parts a document relates to.
package::MemoryParts packageOf(const QString &body, const QString &styles = {}, const QString &numbering = {},
                          const QString &notes = {})
{
    package::MemoryParts p;
    p.add(QStringLiteral("[Content_Types].xml"),
          "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
          "<Override PartName=\"/word/document.xml\" ContentType=\"application/vnd.openxmlformats-officedocument."
          "wordprocessingml.document.main+xml\"/></Types>");
    p.add(QStringLiteral("_rels/.rels"),
          QByteArray(rels({{"rId1", "officeDocument", "word/document.xml"}}))
              .replace("</Relationships>", "<Relationship Id=\"rId2\" Type=\"http://schemas.openxmlformats.org/package/"
                                           "2006/relationships/metadata/core-properties\" Target=\"docProps/core.xml\"/>"
                                           "</Relationships>"));
    p.add(QStringLiteral("word/_rels/document.xml.rels"),
          rels({{"rId1", "styles", "styles.xml"},
                {"rId2", "numbering", "numbering.xml"},
                {"rId3", "footnotes", "footnotes.xml"},
                {"rId4", "comments", "comments.xml"},
                {"rId5", "image", "media/image1.png"},
                {"rId6", "hyperlink", "http://example.com/a"},
                {"rId7", "header", "header1.xml"},
                {"rId8", "footer", "/word/footer1.xml"},
                {"rId9", "theme", "theme/theme1.xml"},
                {"rId10", "image", "../../outside.png"},
                {"rId11", "image", "media/image2.emf"},
                {"rId12", "header", "header2.xml"}}));
    p.add(QStringLiteral("word/document.xml"), wrap(QStringLiteral("document"), "<w:body>" + body + "</w:body>"));
    p.add(QStringLiteral("word/styles.xml"), wrap(QStringLiteral("styles"), styles));
    if (!numbering.isEmpty())
        p.add(QStringLiteral("word/numbering.xml"), wrap(QStringLiteral("numbering"), numbering));
    p.add(QStringLiteral("word/footnotes.xml"),
          wrap(QStringLiteral("footnotes"),
               "<w:footnote w:type=\"separator\" w:id=\"-1\"><w:p><w:r><w:separator/></w:r></w:p></w:footnote>"
               "<w:footnote w:id=\"1\"><w:p><w:r><w:footnoteRef/></w:r><w:r><w:t xml:space=\"preserve\"> the note</w:t>"
               "</w:r></w:p></w:footnote>" + notes));
    p.add(QStringLiteral("word/comments.xml"),
          wrap(QStringLiteral("comments"), "<w:comment w:id=\"0\" w:author=\"Ada\" w:initials=\"AL\" "
                                           "w:date=\"2024-03-05T10:20:00Z\"><w:p><w:r><w:t>remark</w:t></w:r></w:p></w:comment>"));
    p.add(QStringLiteral("word/header1.xml"), wrap(QStringLiteral("hdr"), "<w:p><w:r><w:t>head</w:t></w:r></w:p>"));
    p.add(QStringLiteral("word/header2.xml"), wrap(QStringLiteral("hdr"), "<w:p><w:r><w:t>first head</w:t></w:r></w:p>"));
    p.add(QStringLiteral("word/footer1.xml"),
          wrap(QStringLiteral("ftr"), "<w:p><w:fldSimple w:instr=\" PAGE \"><w:r><w:t>1</w:t></w:r></w:fldSimple></w:p>"));
    p.add(QStringLiteral("word/media/image1.png"), QByteArray::fromBase64(Png1x1.toLatin1()));
    p.add(QStringLiteral("word/media/image2.emf"), QByteArray(60, 'e'));
    p.add(QStringLiteral("word/theme/theme1.xml"),
          "<a:theme xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\"><a:themeElements>"
          "<a:clrScheme name=\"x\"><a:dk1><a:sysClr val=\"windowText\" lastClr=\"000000\"/></a:dk1>"
          "<a:accent1><a:srgbClr val=\"4472C4\"/></a:accent1></a:clrScheme>"
          "<a:fontScheme name=\"x\"><a:majorFont><a:latin typeface=\"Calibri Light\"/><a:ea typeface=\"\"/></a:majorFont>"
          "<a:minorFont><a:latin typeface=\"Calibri\"/></a:minorFont></a:fontScheme></a:themeElements></a:theme>");
    return p;
}

Read readParts(const package::Parts &parts)
{
    Read r;
    rtf::Document model;
    r.result = docx::read(parts, model);
    if (!r.result.ok)
        return r;
    QTextDocument doc;
    doc.setUndoRedoEnabled(false);
    rtf::buildDocument(model, &doc);
    r.dump = rtf::dump(doc, rtf::Detail::Shown);
    QStringList paras;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        paras << b.text().remove(QChar::ObjectReplacementCharacter);
    r.text = paras.join(u'\n');
    // What is built writes as RTF that reads back the same.
    QTextDocument again;
    if (!rtf::readIntoDocument(&again, rtf::writeDocument(doc)).ok || rtf::dump(again) != rtf::dump(doc))
        r.dump = QStringLiteral("RTF ROUND TRIP DIFFERS\n") + r.dump;
    return r;
}

QString run(const QString &props, const QString &text)
{
    return QStringLiteral("<w:r><w:rPr>%1</w:rPr><w:t xml:space=\"preserve\">%2</w:t></w:r>").arg(props, text);
}

QString para(const QString &props, const QString &content)
{
    return QStringLiteral("<w:p><w:pPr>%1</w:pPr>%2</w:p>").arg(props, content);
}

} // namespace

class tst_DocxReader : public QObject
{
    Q_OBJECT

private slots:
    void text_data();
    void text();
    void document_data();
    void document();
    void dropped_data();
    void dropped();
    void package_data();
    void package();
    void hostile_data();
    void hostile();
};

// What the text holds, paragraph by paragraph.
void tst_DocxReader::text_data()
{
    QTest::addColumn<QString>("body");
    QTest::addColumn<QString>("text");

    QTest::newRow("runs join") << "<w:p><w:r><w:t>one </w:t></w:r><w:r><w:t xml:space=\"preserve\"> two</w:t></w:r></w:p>"
                               << "one two";
    QTest::newRow("tab, line breaks, hyphens")
        << "<w:p><w:r><w:t>a</w:t><w:tab/><w:t>b</w:t><w:br/><w:t>c</w:t><w:cr/><w:noBreakHyphen/><w:softHyphen/></w:r></w:p>"
        << "a\tb\u2028c\u2028\u2011\u00AD";
    QTest::newRow("symbol from a symbol font") << "<w:p><w:r><w:sym w:font=\"Symbol\" w:char=\"F0B7\"/></w:r></w:p>"
                                               << "\u2022";
    QTest::newRow("deleted text left out, inserted shown")
        << "<w:p><w:del><w:r><w:delText>gone</w:delText></w:r></w:del><w:ins><w:r><w:t>new</w:t></w:r></w:ins></w:p>"
        << "new";
    QTest::newRow("a deleted paragraph mark joins the next paragraph")
        << "<w:p><w:pPr><w:rPr><w:del w:id=\"1\" w:author=\"a\"/></w:rPr></w:pPr><w:r><w:t xml:space=\"preserve\">one </w:t></w:r></w:p>"
           "<w:p><w:r><w:t>two</w:t></w:r></w:p>"
           "<w:tbl><w:tr><w:tc><w:p><w:pPr><w:rPr><w:del w:id=\"2\" w:author=\"a\"/></w:rPr></w:pPr><w:r><w:t>cell</w:t></w:r>"
           "</w:p></w:tc></w:tr></w:tbl>"
        << "one two\ncell\n";
    QTest::newRow("content controls, smart tags and custom XML unwrapped")
        << "<w:sdt><w:sdtPr/><w:sdtContent><w:p><w:smartTag><w:r><w:t>a</w:t></w:r></w:smartTag>"
           "<w:customXml><w:r><w:t>b</w:t></w:r></w:customXml><w:sdt><w:sdtContent><w:r><w:t>c</w:t></w:r></w:sdtContent>"
           "</w:sdt></w:p></w:sdtContent></w:sdt>"
        << "abc";
    QTest::newRow("one branch of alternate content")
        << "<w:p><mc:AlternateContent><mc:Choice Requires=\"zz\"><w:r><w:t>choice</w:t></w:r></mc:Choice>"
           "<mc:Fallback><w:r><w:t>fallback</w:t></w:r></mc:Fallback></mc:AlternateContent></w:p>"
        << "fallback";
    QTest::newRow("a page break ends the paragraph before what follows")
        << "<w:p><w:r><w:t>a</w:t><w:br w:type=\"page\"/><w:t>b</w:t></w:r></w:p>" << "a\nb";
    QTest::newRow("field instructions are no text; results are")
        << "<w:p><w:r><w:fldChar w:fldCharType=\"begin\"/></w:r><w:r><w:instrText>PAGE</w:instrText></w:r>"
           "<w:r><w:fldChar w:fldCharType=\"separate\"/></w:r><w:r><w:t>7</w:t></w:r><w:r><w:fldChar w:fldCharType=\"end\"/>"
           "</w:r></w:p>"
        << "7";
    QTest::newRow("a field nested in an instruction")
        << "<w:p><w:r><w:fldChar w:fldCharType=\"begin\"/><w:instrText>IF </w:instrText><w:fldChar w:fldCharType=\"begin\"/>"
           "<w:instrText>PAGE</w:instrText><w:fldChar w:fldCharType=\"separate\"/><w:t>1</w:t><w:fldChar w:fldCharType=\"end\"/>"
           "<w:instrText> = 1 \"yes\"</w:instrText><w:fldChar w:fldCharType=\"separate\"/><w:t>yes</w:t>"
           "<w:fldChar w:fldCharType=\"end\"/></w:r></w:p>"
        << "yes";
    QTest::newRow("a field left open keeps its text")
        << "<w:p><w:r><w:fldChar w:fldCharType=\"begin\"/><w:instrText>TOC</w:instrText>"
           "<w:fldChar w:fldCharType=\"separate\"/><w:t>entry</w:t></w:r></w:p><w:p><w:r><w:t>after</w:t></w:r></w:p>"
        << "entry\nafter";
    QTest::newRow("ruby keeps its base")
        << "<w:p><w:r><w:ruby><w:rt><w:r><w:t>r</w:t></w:r></w:rt><w:rubyBase><w:r><w:t>base</w:t></w:r></w:rubyBase></w:ruby></w:r></w:p>"
        << "base";
    QTest::newRow("a note's own mark follows as text")
        << "<w:p><w:r><w:footnoteReference w:customMarkFollows=\"1\" w:id=\"1\"/><w:t>*</w:t></w:r></w:p>" << "*";
    QTest::newRow("a field without separator or end loses only its instruction")
        << "<w:p><w:r><w:t>a</w:t><w:fldChar w:fldCharType=\"begin\"/><w:instrText>PAGE</w:instrText><w:t>b</w:t></w:r></w:p>"
           "<w:p><w:r><w:t>c</w:t><w:fldChar w:fldCharType=\"end\"/><w:t>d</w:t></w:r></w:p>"
        << "a\ncd";
    QTest::newRow("a page break that ends a paragraph adds none")
        << "<w:p><w:r><w:t>a</w:t><w:br w:type=\"page\"/></w:r></w:p><w:p><w:r><w:t>b</w:t></w:r></w:p>" << "a\nb";
    QTest::newRow("before a table the first cell starts the page; at the end the empty rest stays")
        << "<w:p><w:r><w:t>a</w:t><w:br w:type=\"page\"/></w:r></w:p><w:tbl><w:tr><w:tc><w:p><w:r><w:t>c</w:t></w:r></w:p></w:tc>"
           "</w:tr></w:tbl><w:p><w:r><w:t>d</w:t><w:br w:type=\"page\"/></w:r></w:p>"
        << "a\nc\nd\n";
    QTest::newRow("whitespace trimmed unless preserved")
        << "<w:p><w:r><w:t> a </w:t><w:t xml:space=\"preserve\"> b </w:t></w:r></w:p>" << "a b ";
}

void tst_DocxReader::text()
{
    QFETCH(QString, body);
    QFETCH(QString, text);
    const Read r = readParts(packageOf(body));
    QVERIFY2(r.result.ok, qPrintable(r.result.error));
    QCOMPARE(r.text, text);
    QVERIFY2(!r.dump.startsWith(u"RTF ROUND"), qPrintable(r.dump));
}

// What the editor keeps, as its dump shows it: each of `present` stands in
// it, none of `absent`.
void tst_DocxReader::document_data()
{
    QTest::addColumn<QString>("styles");
    QTest::addColumn<QString>("numbering");
    QTest::addColumn<QString>("body");
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QStringList>("absent");

    const QString base = QStringLiteral(
        "<w:docDefaults><w:rPrDefault><w:rPr><w:rFonts w:asciiTheme=\"minorHAnsi\" w:hAnsiTheme=\"minorHAnsi\"/>"
        "<w:sz w:val=\"22\"/></w:rPr></w:rPrDefault><w:pPrDefault><w:pPr><w:spacing w:after=\"160\"/></w:pPr>"
        "</w:pPrDefault></w:docDefaults>"
        "<w:style w:type=\"paragraph\" w:default=\"1\" w:styleId=\"Normal\"><w:name w:val=\"Normal\"/></w:style>"
        "<w:style w:type=\"paragraph\" w:styleId=\"Heading1\"><w:name w:val=\"heading 1\"/><w:basedOn w:val=\"Normal\"/>"
        "<w:next w:val=\"Normal\"/><w:pPr><w:keepNext/><w:spacing w:before=\"240\"/><w:outlineLvl w:val=\"0\"/></w:pPr>"
        "<w:rPr><w:rFonts w:asciiTheme=\"majorHAnsi\"/><w:b/><w:color w:val=\"2F5496\"/><w:sz w:val=\"32\"/></w:rPr></w:style>"
        "<w:style w:type=\"paragraph\" w:styleId=\"Sub\"><w:name w:val=\"Sub\"/><w:basedOn w:val=\"Heading1\"/>"
        "<w:rPr><w:color w:val=\"FF0000\"/></w:rPr></w:style>"
        "<w:style w:type=\"paragraph\" w:styleId=\"LoopA\"><w:name w:val=\"LoopA\"/><w:basedOn w:val=\"LoopB\"/></w:style>"
        "<w:style w:type=\"paragraph\" w:styleId=\"LoopB\"><w:name w:val=\"LoopB\"/><w:basedOn w:val=\"LoopA\"/>"
        "<w:rPr><w:i/></w:rPr></w:style>"
        "<w:style w:type=\"character\" w:styleId=\"Strong\"><w:name w:val=\"Strong\"/><w:rPr><w:b/></w:rPr></w:style>"
        "<w:style w:type=\"paragraph\" w:styleId=\"Tight\"><w:name w:val=\"Tight\"/><w:pPr><w:spacing w:before=\"100\" "
        "w:after=\"100\"/><w:contextualSpacing/></w:pPr></w:style>"
        "<w:style w:type=\"paragraph\" w:styleId=\"ListPara\"><w:name w:val=\"List Paragraph\"/><w:pPr><w:numPr>"
        "<w:numId w:val=\"1\"/></w:numPr></w:pPr></w:style>");
    const auto runs = [&](const char *name, const QString &props, const QStringList &present) {
        QTest::newRow(name) << base << QString() << "<w:p><w:r><w:t xml:space=\"preserve\">plain </w:t></w:r>"
                                                    + run(props, "X") + "</w:p>"
                            << present << QStringList();
    };
    runs("bold italic", "<w:b/><w:i/>", {"style=bi text=\"X\""});
    runs("off values", "<w:b w:val=\"0\"/><w:i w:val=\"false\"/>", {"style=- text=\"plain X\""});
    runs("underline", "<w:u w:val=\"single\"/>", {"style=u"});
    runs("underline none", "<w:u w:val=\"none\"/>", {"text=\"plain X\""});
    runs("strike", "<w:strike/>", {"strike text=\"X\""});
    runs("double strike", "<w:dstrike/>", {"dstrike"});
    runs("superscript", "<w:vertAlign w:val=\"superscript\"/>", {"super text=\"X\""});
    runs("subscript", "<w:vertAlign w:val=\"subscript\"/>", {"sub text=\"X\""});
    runs("raised", "<w:position w:val=\"6\"/>", {"offset=6 text=\"X\""});
    runs("colour and highlight", "<w:color w:val=\"123456\"/><w:highlight w:val=\"yellow\"/>", {"color=#123456", "hl=#ffff00"});
    runs("automatic colour", "<w:color w:val=\"auto\"/>", {"color=auto style=- text=\"plain X\""});
    runs("theme colour without a value", "<w:color w:themeColor=\"accent1\"/>", {"color=#4472c4"});
    runs("shading fill, auto is none", "<w:shd w:val=\"clear\" w:color=\"auto\" w:fill=\"auto\"/>", {"text=\"plain X\""});
    runs("face and size", "<w:rFonts w:ascii=\"Courier New\" w:hAnsi=\"Courier New\"/><w:sz w:val=\"15\"/>",
         {"face=\"Courier New\" size=7.5 "});
    runs("theme face", "<w:rFonts w:asciiTheme=\"majorHAnsi\"/>", {"face=\"Calibri Light\""});
    runs("defaults: theme face, 11 pt", "", {"run face=\"Calibri\" size=11 color=auto style=- text=\"plain X\""});
    runs("caps", "<w:caps/>", {"caps"});
    runs("hidden", "<w:vanish/>", {"hidden"});

    const auto paragraph = [&](const char *name, const QString &props, const QStringList &present) {
        QTest::newRow(name) << base << QString() << para(props, "<w:r><w:t>X</w:t></w:r>") + "<w:p><w:r><w:t>next</w:t></w:r></w:p>"
                            << present << QStringList();
    };
    paragraph("centred", "<w:jc w:val=\"center\"/>", {"paragraph center"});
    paragraph("end is right", "<w:jc w:val=\"end\"/>", {"paragraph right"});
    paragraph("justified", "<w:jc w:val=\"both\"/>", {"paragraph justify"});
    paragraph("indents and spacing",
              "<w:ind w:left=\"1440\" w:right=\"720\" w:hanging=\"360\"/><w:spacing w:before=\"120\" w:after=\"240\"/>",
              {"li=1440 ri=720 fi=-360 sb=120 sa=240"});
    paragraph("first line", "<w:ind w:firstLine=\"360\"/>", {"fi=360"});
    paragraph("proportional line spacing", "<w:spacing w:line=\"360\" w:lineRule=\"auto\"/>", {"sl=150%"});
    paragraph("exact line spacing", "<w:spacing w:line=\"360\" w:lineRule=\"exact\"/>", {"sl=exactly360"});
    paragraph("at least line spacing", "<w:spacing w:line=\"300\" w:lineRule=\"atLeast\"/>", {"sl=atleast300"});
    paragraph("page break before, keeps", "<w:pageBreakBefore/><w:keepNext/><w:keepLines/>", {"pagebb", "keep keepnext"});
    paragraph("tab stops, a style's cleared",
              "<w:tabs><w:tab w:val=\"right\" w:leader=\"dot\" w:pos=\"4320\"/><w:tab w:val=\"decimal\" w:pos=\"5760\"/>"
              "<w:tab w:val=\"clear\" w:pos=\"5760\"/></w:tabs>",
              {"tabs=r4320.1 widow style"});
    paragraph("shading", "<w:shd w:val=\"clear\" w:fill=\"EEEEEE\"/>", {"shade=#eeeeee"});
    QTest::newRow("widow control unless a style or the paragraph turns it off")
        << base + "<w:style w:type=\"paragraph\" w:styleId=\"Loose\"><w:name w:val=\"Loose\"/><w:pPr><w:widowControl "
                  "w:val=\"0\"/></w:pPr></w:style>"
        << QString()
        << para({}, "<w:r><w:t>on</w:t></w:r>") + para("<w:widowControl w:val=\"false\"/>", "<w:r><w:t>off</w:t></w:r>")
               + para("<w:pStyle w:val=\"Loose\"/>", "<w:r><w:t>styled</w:t></w:r>")
        << QStringList {"sa=160 widow style=\"Normal\"\n  run face=\"Calibri\" size=11 color=auto style=- text=\"on\"",
                        "sa=160 style=\"Normal\"\n  run face=\"Calibri\" size=11 color=auto style=- text=\"off\"",
                        "sa=160 style=\"Loose\"\n"}
        << QStringList();
    QTest::newRow("a page break that ends a paragraph starts the next")
        << base << QString()
        << para({}, "<w:r><w:t>a</w:t><w:br w:type=\"page\"/></w:r>") + para("<w:jc w:val=\"center\"/>", "<w:r><w:t>b</w:t></w:r>")
        << QStringList {"paragraph center sa=160 page widow style=\"Normal\"\n  run face=\"Calibri\" size=11 color=auto style=- text=\"b\""}
        << QStringList {"paragraph left sa=160 page"};
    QTest::newRow("a page break before a table breaks before its first cell")
        << base << QString()
        << para({}, "<w:r><w:t>a</w:t><w:br w:type=\"page\"/></w:r>")
               + "<w:tbl><w:tr><w:tc><w:p><w:r><w:t>c</w:t></w:r></w:p></w:tc></w:tr></w:tbl>"
        << QStringList {"cell 0,0\n    paragraph left sa=160 pagebb widow style=\"Normal\""} << QStringList {"page widow style=\"Normal\"\ntable"};
    paragraph("autospacing", "<w:spacing w:beforeAutospacing=\"1\" w:after=\"0\"/>", {"sb=280"});

    // Styles resolved in their layers, names kept.
    QTest::newRow("style chain over the defaults")
        << base << QString() << para("<w:pStyle w:val=\"Sub\"/>", "<w:r><w:t>H</w:t></w:r>")
        << QStringList {"keepnext", "sb=240 sa=160 keepnext widow style=\"Sub\"", "face=\"Calibri Light\" size=16 color=#ff0000 style=b text=\"H\"",
                        "style \"Sub\" kind=0 based=\"heading 1\"", "style \"heading 1\" kind=0 based=\"Normal\""}
        << QStringList();
    QTest::newRow("a character style's bold flips a bold heading's")
        << base << QString()
        << para("<w:pStyle w:val=\"Heading1\"/>", "<w:r><w:rPr><w:rStyle w:val=\"Strong\"/></w:rPr><w:t>flipped</w:t></w:r>"
                                                    "<w:r><w:rPr><w:rStyle w:val=\"Strong\"/><w:b/></w:rPr><w:t>direct</w:t></w:r>")
        << QStringList {"style=- cs=\"Strong\" text=\"flipped\"", "style=b cs=\"Strong\" text=\"direct\""} << QStringList();
    QTest::newRow("a character style's bold in plain text")
        << base << QString() << para({}, "<w:r><w:rPr><w:rStyle w:val=\"Strong\"/></w:rPr><w:t>s</w:t></w:r>")
        << QStringList {"style=b cs=\"Strong\" text=\"s\"", "style \"Strong\" kind=1"} << QStringList();
    QTest::newRow("styles based on each other end the chain")
        << base << QString() << para("<w:pStyle w:val=\"LoopA\"/>", "<w:r><w:t>x</w:t></w:r>")
        << QStringList {"style=i text=\"x\""} << QStringList();
    QTest::newRow("styles of the wrong kind are not used")
        << base << QString()
        << para("<w:pStyle w:val=\"Strong\"/>", "<w:r><w:rPr><w:rStyle w:val=\"Heading1\"/></w:rPr><w:t>x</w:t></w:r>")
        << QStringList {"paragraph left sa=160 widow style=\"Normal\"\n  run face=\"Calibri\" size=11 color=auto style=- text=\"x\""}
        << QStringList {"kind=1"};
    QTest::newRow("a missing style is the default paragraph style")
        << base << QString() << para("<w:pStyle w:val=\"Nowhere\"/>", "<w:r><w:t>x</w:t></w:r>")
        << QStringList {"style=\"Normal\""} << QStringList {"Nowhere"};
    QTest::newRow("contextual spacing between paragraphs of one style")
        << base << QString()
        << para("<w:pStyle w:val=\"Tight\"/>", "<w:r><w:t>a</w:t></w:r>") + para("<w:pStyle w:val=\"Tight\"/>", "<w:r><w:t>b</w:t></w:r>")
               + para({}, "<w:r><w:t>c</w:t></w:r>")
        << QStringList {"paragraph left sb=100 widow style=\"Tight\"", "paragraph left sa=100 widow style=\"Tight\""}
        << QStringList {"sb=100 sa=100"};

    // Lists.
    const QString numbering = QStringLiteral(
        "<w:abstractNum w:abstractNumId=\"0\"><w:lvl w:ilvl=\"0\"><w:start w:val=\"1\"/><w:numFmt w:val=\"decimal\"/>"
        "<w:lvlText w:val=\"%1.\"/><w:pPr><w:ind w:left=\"720\" w:hanging=\"360\"/></w:pPr></w:lvl>"
        "<w:lvl w:ilvl=\"1\"><w:start w:val=\"1\"/><w:numFmt w:val=\"lowerLetter\"/><w:lvlText w:val=\"%1.%2)\"/>"
        "<w:pPr><w:ind w:left=\"1440\" w:hanging=\"360\"/></w:pPr></w:lvl>"
        "<w:lvl w:ilvl=\"2\"><w:numFmt w:val=\"bullet\"/><w:lvlText w:val=\"\uF0B7\"/><w:rPr><w:rFonts w:ascii=\"Symbol\"/>"
        "</w:rPr></w:lvl>"
        "<w:lvl w:ilvl=\"3\"><w:numFmt w:val=\"decimal\"/><w:lvlText w:val=\"\uF0A7%4\"/><w:rPr>"
        "<w:rFonts w:ascii=\"Wingdings\"/></w:rPr></w:lvl></w:abstractNum>"
        "<w:abstractNum w:abstractNumId=\"5\"><w:numStyleLink w:val=\"Linked\"/></w:abstractNum>"
        "<w:num w:numId=\"1\"><w:abstractNumId w:val=\"0\"/></w:num>"
        "<w:num w:numId=\"2\"><w:abstractNumId w:val=\"0\"/><w:lvlOverride w:ilvl=\"0\"><w:startOverride w:val=\"5\"/>"
        "</w:lvlOverride></w:num>"
        "<w:num w:numId=\"3\"><w:abstractNumId w:val=\"99\"/></w:num>"
        "<w:num w:numId=\"4\"><w:abstractNumId w:val=\"5\"/></w:num>");
    const QString linked = base + QStringLiteral("<w:style w:type=\"numbering\" w:styleId=\"Linked\"><w:name w:val=\"Linked\"/>"
                                                 "<w:pPr><w:numPr><w:numId w:val=\"4\"/></w:numPr></w:pPr></w:style>");
    const auto item = [](int numId, int level, const QString &text) {
        return para(QStringLiteral("<w:numPr><w:ilvl w:val=\"%1\"/><w:numId w:val=\"%2\"/></w:numPr>").arg(level).arg(numId),
                    "<w:r><w:t>" + text + "</w:t></w:r>");
    };
    QTest::newRow("numbered list with level indents")
        << base << numbering << item(1, 0, "one") + item(1, 0, "two") + item(1, 1, "sub") + item(1, 2, "dot")
        << QStringList {"li=720 fi=-360 sa=160 widow style=\"Normal\" list=1:0 label=\"1.\"", "list=1:0 label=\"2.\"", "li=1440 fi=-360 sa=160 widow style=\"Normal\" list=1:1 label=\"a)\"",
                        "list=1:2 label=\"1\""}
        << QStringList();
    QTest::newRow("the same number continues across other paragraphs")
        << base << numbering << item(1, 0, "one") + para({}, "<w:r><w:t>x</w:t></w:r>") + item(1, 0, "two")
        << QStringList {"label=\"2.\""} << QStringList();
    QTest::newRow("a symbol font's character in a numbered level shows as itself")
        << base << numbering << item(1, 3, "w") << QStringList {"list=1:3 label=\"\u25AA1\""} << QStringList();
    QTest::newRow("start override")
        << base << numbering << item(2, 0, "five") << QStringList {"label=\"1.\" start=5"} << QStringList();
    QTest::newRow("list from the paragraph style; numId 0 turns it off")
        << base << numbering
        << para("<w:pStyle w:val=\"ListPara\"/>", "<w:r><w:t>styled</w:t></w:r>")
               + para("<w:pStyle w:val=\"ListPara\"/><w:numPr><w:numId w:val=\"0\"/></w:numPr>", "<w:r><w:t>off</w:t></w:r>")
        << QStringList {"list=1:0 label=\"1.\"", "text=\"off\""} << QStringList {"label=\"2.\""};
    QTest::newRow("numbering that points nowhere is plain")
        << base << numbering << item(3, 0, "a") + item(77, 0, "b") << QStringList {"text=\"a\"", "text=\"b\""}
        << QStringList {"list="};
    QTest::newRow("numbering through a numbering style that names itself")
        << linked << numbering << item(4, 0, "loop") << QStringList {"text=\"loop\""} << QStringList {"list="};

    // Tables.
    const QString cell = QStringLiteral("<w:tc><w:tcPr>%1</w:tcPr><w:p><w:r><w:t>%2</w:t></w:r></w:p></w:tc>");
    QTest::newRow("grid widths, borders, shading, header row")
        << base << QString()
        << "<w:tbl><w:tblPr><w:tblBorders><w:top w:val=\"single\" w:sz=\"8\" w:color=\"FF0000\"/><w:insideH w:val=\"single\" "
           "w:sz=\"4\"/></w:tblBorders></w:tblPr><w:tblGrid><w:gridCol w:w=\"2000\"/><w:gridCol w:w=\"3000\"/></w:tblGrid>"
           "<w:tr><w:trPr><w:tblHeader/></w:trPr>" + cell.arg("<w:shd w:val=\"clear\" w:fill=\"CCCCCC\"/>", "a") + cell.arg("", "b")
           + "</w:tr><w:tr>" + cell.arg("<w:vAlign w:val=\"bottom\"/>", "c") + cell.arg("", "d") + "</w:tr></w:tbl>"
        << QStringList {"table rows=2 cols=2 header=1", "borders=1010 shade=#cccccc", "text=\"d\""} << QStringList();
    QTest::newRow("a table style's spacing and borders under its paragraphs' own")
        << base + "<w:style w:type=\"table\" w:styleId=\"Grid\"><w:name w:val=\"Table Grid\"/><w:pPr><w:spacing w:after=\"0\"/>"
                  "</w:pPr><w:rPr><w:i/></w:rPr><w:tblPr><w:tblBorders><w:insideV w:val=\"single\" w:sz=\"4\"/></w:tblBorders>"
                  "</w:tblPr></w:style>"
        << QString()
        << "<w:tbl><w:tblPr><w:tblStyle w:val=\"Grid\"/></w:tblPr><w:tblGrid><w:gridCol w:w=\"2000\"/><w:gridCol w:w=\"2000\"/>"
           "</w:tblGrid><w:tr>" + cell.arg("", "a") + cell.arg("", "b") + "</w:tr></w:tbl>" + para({}, "<w:r><w:t>after</w:t></w:r>")
        << QStringList {"cell 0,0 borders=0001\n    paragraph left widow style=\"Normal\"\n      run face=\"Calibri\" size=11 color=auto style=i",
                        "cell 0,1 borders=0100", "paragraph left sa=160 widow style=\"Normal\"\n  run face=\"Calibri\" size=11 color=auto style=- text=\"after\""}
        << QStringList();
    const QString firstRowStyle = base + QStringLiteral(
        "<w:style w:type=\"table\" w:styleId=\"Head\"><w:name w:val=\"Head\"/><w:tblStylePr w:type=\"firstRow\"><w:tcPr>"
        "<w:vAlign w:val=\"bottom\"/><w:tcBorders><w:bottom w:val=\"single\"/></w:tcBorders><w:shd w:val=\"clear\" "
        "w:fill=\"DDDDDD\"/></w:tcPr></w:tblStylePr></w:style>");
    const QString twoRows = "<w:tblGrid><w:gridCol w:w=\"2000\"/><w:gridCol w:w=\"2000\"/></w:tblGrid><w:tr>"
        + cell.arg("", "h1") + cell.arg("<w:vAlign w:val=\"top\"/><w:tcBorders><w:bottom w:val=\"nil\"/></w:tcBorders>", "h2")
        + "</w:tr><w:tr>" + cell.arg("", "a") + cell.arg("", "b") + "</w:tr></w:tbl>";
    QTest::newRow("a table style's first row under the cell's own look")
        << firstRowStyle << QString()
        << "<w:tbl><w:tblPr><w:tblStyle w:val=\"Head\"/><w:tblLook w:val=\"0020\"/></w:tblPr>" + twoRows
        << QStringList {"cell 0,0 borders=0010 shade=#dddddd valign=bottom\n", "cell 0,1 shade=#dddddd\n", "cell 1,0\n"}
        << QStringList();
    QTest::newRow("a table that does not look for its first row")
        << firstRowStyle << QString()
        << "<w:tbl><w:tblPr><w:tblStyle w:val=\"Head\"/><w:tblLook w:firstRow=\"0\" w:val=\"0020\"/></w:tblPr>" + twoRows
        << QStringList {"cell 0,0\n"} << QStringList {"shade=#dddddd"};
    const QString bandStyle = base + QStringLiteral(
        "<w:style w:type=\"table\" w:styleId=\"Bands\"><w:name w:val=\"Bands\"/>"
        "<w:tblStylePr w:type=\"firstCol\"><w:rPr><w:b/></w:rPr></w:tblStylePr>"
        "<w:tblStylePr w:type=\"band1Horz\"><w:tcPr><w:shd w:val=\"clear\" w:fill=\"EEEEEE\"/></w:tcPr></w:tblStylePr>"
        "<w:tblStylePr w:type=\"lastRow\"><w:tcPr><w:shd w:val=\"clear\" w:fill=\"999999\"/></w:tcPr></w:tblStylePr>"
        "<w:tblStylePr w:type=\"firstRow\"><w:tcPr><w:shd w:val=\"clear\" w:fill=\"DDDDDD\"/></w:tcPr></w:tblStylePr></w:style>");
    QString fourRows = "<w:tblGrid><w:gridCol w:w=\"2000\"/><w:gridCol w:w=\"2000\"/></w:tblGrid>";
    for (int r = 0; r < 4; ++r)
        fourRows += "<w:tr>" + cell.arg("", QStringLiteral("r%1").arg(r)) + cell.arg("", QStringLiteral("c%1").arg(r)) + "</w:tr>";
    fourRows += "</w:tbl>";
    QTest::newRow("a table style's bands, first column and last row")
        << bandStyle << QString()
        << "<w:tbl><w:tblPr><w:tblStyle w:val=\"Bands\"/><w:tblLook w:firstRow=\"1\" w:lastRow=\"1\" w:firstColumn=\"1\" "
           "w:noHBand=\"0\" w:noVBand=\"1\"/></w:tblPr>" + fourRows
        << QStringList {"cell 0,1 shade=#dddddd\n", "cell 1,0 shade=#eeeeee\n", "style=b text=\"r1\"", "cell 1,1 shade=#eeeeee\n",
                        "cell 2,1\n", "cell 3,1 shade=#999999\n", "style=- text=\"c1\""}
        << QStringList();
    QTest::newRow("a table that looks for none of its parts")
        << bandStyle << QString() << "<w:tbl><w:tblPr><w:tblStyle w:val=\"Bands\"/><w:tblLook w:val=\"0200\"/></w:tblPr>" + fourRows
        << QStringList {"cell 1,0\n"} << QStringList {"shade=", "style=b"};
    QTest::newRow("spans over columns and rows")
        << base << QString()
        << "<w:tbl><w:tblGrid><w:gridCol w:w=\"1000\"/><w:gridCol w:w=\"1000\"/><w:gridCol w:w=\"1000\"/></w:tblGrid><w:tr>"
           + cell.arg("<w:gridSpan w:val=\"2\"/>", "wide") + cell.arg("<w:vMerge w:val=\"restart\"/>", "tall") + "</w:tr><w:tr>"
           + cell.arg("", "a") + cell.arg("", "b") + cell.arg("<w:vMerge/>", "") + "</w:tr></w:tbl>"
        << QStringList {"table rows=2 cols=3", "span=1x2", "span=2x1"} << QStringList();

    // Links, bookmarks, notes, comments, pictures.
    QTest::newRow("external link and anchor")
        << base << QString()
        << para({}, "<w:hyperlink r:id=\"rId6\"><w:r><w:t>out</w:t></w:r></w:hyperlink> "
                    "<w:hyperlink w:anchor=\"here\"><w:r><w:t>in</w:t></w:r></w:hyperlink>")
        << QStringList {"HYPERLINK \\\"http://example.com/a\\\"", "HYPERLINK \\\\l \\\"here\\\""} << QStringList();
    QTest::newRow("bookmarks across paragraphs")
        << base << QString()
        << "<w:bookmarkStart w:id=\"1\" w:name=\"mark\"/>" + para({}, "<w:r><w:t>a</w:t></w:r><w:bookmarkEnd w:id=\"1\"/>")
        << QStringList {"bkmkstart mark", "bkmkend mark"} << QStringList();
    QTest::newRow("a bookmark that ends after the last paragraph")
        << base << QString()
        << "<w:bookmarkStart w:id=\"1\" w:name=\"tail\"/>" + para({}, "<w:r><w:t>a</w:t></w:r>")
               + "<w:bookmarkEnd w:id=\"1\"/><w:sectPr/>"
        << QStringList {"bkmkstart tail", "text=\"a\"\n  kept \"{\\\\*\\\\bkmkend tail}\""} << QStringList();
    QTest::newRow("footnote and comment")
        << base << QString()
        << para({}, "<w:r><w:t>text</w:t></w:r><w:r><w:footnoteReference w:id=\"1\"/></w:r>"
                    "<w:r><w:commentReference w:id=\"0\"/></w:r><w:r><w:footnoteReference w:id=\"99\"/></w:r>")
        << QStringList {"footnote", "text=\" the note\"", "note comment auto author=\"Ada\"", "text=\"remark\""} << QStringList();
    QTest::newRow("picture shown from the package")
        << base << QString()
        << para({}, "<w:r><w:drawing><wp:inline><wp:extent cx=\"914400\" cy=\"457200\"/><wp:docPr id=\"1\" name=\"p\"/>"
                    "<a:graphic><a:graphicData><pic:pic><pic:blipFill><a:blip r:embed=\"rId5\"/></pic:blipFill></pic:pic>"
                    "</a:graphicData></a:graphic></wp:inline></w:drawing></w:r>")
        << QStringList {"picture kind=0 bytes=70", "size=96x48"} << QStringList();
    QTest::newRow("fields: page in the footer, date kept")
        << base << QString()
        << para({}, "<w:fldSimple w:instr=\" DATE \\@ &quot;d MMMM yyyy&quot; \"><w:r><w:t>5 March 2024</w:t></w:r></w:fldSimple>")
               + "<w:sectPr><w:headerReference w:type=\"default\" r:id=\"rId7\"/><w:footerReference w:type=\"default\" r:id=\"rId8\"/>"
                 "<w:pgSz w:w=\"11906\" w:h=\"16838\"/><w:pgMar w:top=\"1440\" w:right=\"1000\" w:bottom=\"1440\" w:left=\"1800\" "
                 "w:header=\"708\" w:footer=\"500\" w:gutter=\"0\"/></w:sectPr>"
        << QStringList {"field=\"DATE \\\\@ \\\"d MMMM yyyy\\\"\"", "page 11906,16838,1800,1000,1440,1440", "headery708",
                        "  header\n", "text=\"head\"", "field=\"PAGE\""}
        << QStringList();
    QTest::newRow("a second section on a wide page with a first-page header")
        << base << QString()
        << para("<w:sectPr><w:pgSz w:w=\"12240\" w:h=\"15840\"/></w:sectPr>", "<w:r><w:t>one</w:t></w:r>")
               + para({}, "<w:r><w:t>two</w:t></w:r>")
               + "<w:sectPr><w:headerReference w:type=\"first\" r:id=\"rId12\"/><w:titlePg/>"
                 "<w:pgSz w:w=\"15840\" w:h=\"12240\" w:orient=\"landscape\"/></w:sectPr>"
        << QStringList {"\\\\sbkpage\\\\pgwsxn15840\\\\pghsxn12240", "lndscpsxn", "titlepg", "headerf", "text=\"first head\""}
        << QStringList();
}

void tst_DocxReader::document()
{
    QFETCH(QString, styles);
    QFETCH(QString, numbering);
    QFETCH(QString, body);
    QFETCH(QStringList, present);
    QFETCH(QStringList, absent);
    const Read r = readParts(packageOf(body, styles, numbering));
    QVERIFY2(r.result.ok, qPrintable(r.result.error));
    QVERIFY2(!r.dump.startsWith(u"RTF ROUND"), qPrintable(r.dump));
    for (const QString &s : present)
        QVERIFY2(r.dump.contains(s), qPrintable(QStringLiteral("missing: %1\nin:\n%2").arg(s, r.dump)));
    for (const QString &s : absent)
        QVERIFY2(!r.dump.contains(s), qPrintable(QStringLiteral("unexpected: %1\nin:\n%2").arg(s, r.dump)));
}

// What the model cannot hold is named in the load's dropped list; what it
// holds is not.
void tst_DocxReader::dropped_data()
{
    QTest::addColumn<QString>("body");
    QTest::addColumn<QString>("dropped");       // empty: nothing

    const QString plain = para("<w:jc w:val=\"center\"/>", run("<w:b/>", "x"));
    QTest::newRow("nothing lost") << plain << QString();
    QTest::newRow("a style's paragraph borders unused") << plain << QString();
    QTest::newRow("paragraph borders")
        << para("<w:pBdr><w:top w:val=\"single\" w:sz=\"4\"/></w:pBdr>", run("", "x")) << "paragraph borders";
    QTest::newRow("column break") << para({}, "<w:r><w:br w:type=\"column\"/></w:r>") << "column breaks";
    QTest::newRow("text box")
        << para({}, "<w:r><w:pict><v:shape><v:textbox><w:txbxContent><w:p><w:r><w:t>box</w:t></w:r></w:p></w:txbxContent>"
                    "</v:textbox></v:shape></w:pict></w:r>")
        << "text boxes, kept as paragraphs";
    QTest::newRow("linked picture")
        << para({}, "<w:r><w:drawing><wp:inline><a:graphic><a:graphicData><pic:pic><pic:blipFill><a:blip r:link=\"rId6\"/>"
                    "</pic:blipFill></pic:pic></a:graphicData></a:graphic></wp:inline></w:drawing></w:r>")
        << "linked pictures";
    QTest::newRow("picture outside the package") << para({}, "<w:r><w:pict><v:shape><v:imagedata r:id=\"rId10\"/></v:shape></w:pict></w:r>")
                                                 << "pictures without data";
    QTest::newRow("note that is nowhere") << para({}, "<w:r><w:endnoteReference w:id=\"4\"/></w:r>")
                                          << "note references that point nowhere";
    QTest::newRow("effects") << para({}, run("<w:outline/>", "x")) << "character effects (emboss, engrave, outline, shadow)";
    QTest::newRow("page borders and columns")
        << plain + "<w:sectPr><w:pgBorders><w:top w:val=\"single\"/></w:pgBorders><w:cols w:num=\"2\"/></w:sectPr>"
        << "page borders";
}

void tst_DocxReader::dropped()
{
    QFETCH(QString, body);
    QFETCH(QString, dropped);
    const Read r = readParts(packageOf(body, QStringLiteral("<w:style w:type=\"paragraph\" w:styleId=\"B\"><w:pPr><w:pBdr>"
                                                            "<w:top w:val=\"single\"/></w:pBdr></w:pPr></w:style>")));
    QVERIFY2(r.result.ok, qPrintable(r.result.error));
    const QStringList names = r.result.dropped.counts.keys();
    if (dropped.isEmpty())
        QVERIFY2(names.isEmpty(), qPrintable(names.join(u", ")));
    else
        QVERIFY2(names.contains(dropped), qPrintable(names.join(u", ")));
}

// Packages: the main part found by its relationship, what is refused.
void tst_DocxReader::package_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QList<QByteArray>>("bytes");
    QTest::addColumn<QString>("error");         // empty: read
    QTest::addColumn<QStringList>("present");

    const QByteArray document = wrap(QStringLiteral("document"), "<w:body><w:p><w:r><w:t>body</w:t></w:r></w:p></w:body>");
    const QByteArray types = "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                             "<Override PartName=\"/word/main.xml\" ContentType=\"application/vnd.openxmlformats-"
                             "officedocument.wordprocessingml.document.main+xml\"/></Types>";
    QTest::newRow("main part named by the relationships, rooted target")
        << QStringList {"_rels/.rels", "Word/Document2.XML"}
        << QList<QByteArray> {rels({{"r", "officeDocument", "/word/document2.xml"}}), document} << QString()
        << QStringList {"text=\"body\""};
    QTest::newRow("main part named by the content types")
        << QStringList {"[Content_Types].xml", "word/main.xml"} << QList<QByteArray> {types, document} << QString()
        << QStringList {"text=\"body\""};
    QTest::newRow("strict namespaces")
        << QStringList {"[Content_Types].xml", "word/main.xml"}
        << QList<QByteArray> {types, QByteArray(document).replace("http://schemas.openxmlformats.org/wordprocessingml/2006/main",
                                                                  "http://purl.oclc.org/ooxml/wordprocessingml/main")}
        << QString() << QStringList {"text=\"body\""};
    QTest::newRow("no main part") << QStringList {"[Content_Types].xml", "word/other.xml"}
                                  << QList<QByteArray> {types, document} << "no main part" << QStringList();
    QTest::newRow("relationship to a missing part")
        << QStringList {"_rels/.rels"} << QList<QByteArray> {rels({{"r", "officeDocument", "word/document.xml"}})}
        << "no main part" << QStringList();
    QTest::newRow("damaged text") << QStringList {"[Content_Types].xml", "word/main.xml"}
                                  << QList<QByteArray> {types, document.left(document.size() - 30)} << "is damaged"
                                  << QStringList();
    QTest::newRow("damaged styles")
        << QStringList {"[Content_Types].xml", "word/main.xml", "word/_rels/main.xml.rels", "word/styles.xml"}
        << QList<QByteArray> {types, document, rels({{"s", "styles", "styles.xml"}}), "<w:styles"}
        << "word/styles.xml is damaged" << QStringList();
    QTest::newRow("a damaged theme is left out")
        << QStringList {"[Content_Types].xml", "word/main.xml", "word/_rels/main.xml.rels", "word/theme/t.xml"}
        << QList<QByteArray> {types, document, rels({{"t", "theme", "theme/t.xml"}}), "<a:theme><"} << QString()
        << QStringList {"text=\"body\""};
    QTest::newRow("main part of another kind")
        << QStringList {"[Content_Types].xml", "word/main.xml"}
        << QList<QByteArray> {types, "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"/>"}
        << "not a Word document" << QStringList();
}

void tst_DocxReader::package()
{
    QFETCH(QStringList, names);
    QFETCH(QList<QByteArray>, bytes);
    QFETCH(QString, error);
    QFETCH(QStringList, present);
    package::MemoryParts parts;
    for (qsizetype i = 0; i < names.size(); ++i)
        parts.add(names[i], bytes[i]);
    const Read r = readParts(parts);
    if (!error.isEmpty()) {
        QVERIFY(!r.result.ok);
        QVERIFY2(r.result.error.contains(error), qPrintable(r.result.error));
        return;
    }
    QVERIFY2(r.result.ok, qPrintable(r.result.error));
    for (const QString &s : present)
        QVERIFY2(r.dump.contains(s), qPrintable(QStringLiteral("missing: %1\nin:\n%2").arg(s, r.dump)));
}

// Hostile documents end quickly with a clear error, or read within limits.
void tst_DocxReader::hostile_data()
{
    QTest::addColumn<QString>("body");
    QTest::addColumn<QString>("numbering");
    QTest::addColumn<QString>("error");         // empty: read
    QTest::addColumn<QString>("present");

    QTest::newRow("nested a million deep")
        << QString("<w:sdt><w:sdtContent>").repeated(1000000) << QString() << "nested too deeply" << QString();
    QTest::newRow("entity expansion")
        << "<?xml version=\"1.0\"?><!DOCTYPE d [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;\">"
           "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;\">]>" + QString::fromUtf8(wrap("document", "<w:body><w:p><w:r><w:t>&c;&c;</w:t>"
                                                                                     "</w:r></w:p></w:body>")).section(u'\n', 1)
        << QString() << "declares a DTD" << QString();
    QTest::newRow("an entity that is nowhere")
        << QString::fromUtf8(wrap("document", "<w:body><w:p><w:r><w:t>&nowhere;</w:t></w:r></w:p></w:body>")) << QString()
        << "is damaged" << QString();
    QString attributes = QStringLiteral("<w:p");
    for (int i = 0; i < 2000000; ++i)
        attributes += QStringLiteral(" a%1=\"\"").arg(i);
    QTest::newRow("two million attributes") << attributes + "/>" << QString() << "too many attributes" << QString();
    QTest::newRow("a table of 100,000 cells")
        << "<w:tbl>" + QStringLiteral("<w:tr>%1</w:tr>").arg(QStringLiteral("<w:tc><w:p/></w:tc>").repeated(50)).repeated(2000)
               + "</w:tbl>"
        << QString() << QString() << "table rows=2000 cols=50";
    QTest::newRow("a row of 5,000 cells and spans beyond belief")
        << "<w:tbl><w:tr>" + QStringLiteral("<w:tc><w:tcPr><w:gridSpan w:val=\"2147483647\"/></w:tcPr><w:p/></w:tc>").repeated(5000)
               + "</w:tr></w:tbl>"
        << QString() << QString() << "table rows=1 cols=";
    QTest::newRow("numbering that refers to itself")
        << para("<w:numPr><w:numId w:val=\"1\"/></w:numPr>", "<w:r><w:t>x</w:t></w:r>")
        << "<w:abstractNum w:abstractNumId=\"0\"><w:numStyleLink w:val=\"S\"/></w:abstractNum>"
           "<w:num w:numId=\"1\"><w:abstractNumId w:val=\"1\"/></w:num><w:num w:numId=\"2\"><w:abstractNumId w:val=\"0\"/></w:num>"
           "<w:abstractNum w:abstractNumId=\"1\"><w:numStyleLink w:val=\"T\"/></w:abstractNum>"
        << QString() << "text=\"x\"";
    QTest::newRow("levels and numbers out of range")
        << para("<w:numPr><w:ilvl w:val=\"99999\"/><w:numId w:val=\"-5\"/></w:numPr>", "<w:r><w:t>x</w:t></w:r>")
        << "<w:abstractNum w:abstractNumId=\"0\"><w:lvl w:ilvl=\"12\"/><w:lvl w:ilvl=\"0\"><w:start w:val=\"-9999999999\"/>"
           "</w:lvl></w:abstractNum><w:num w:numId=\"-5\"><w:abstractNumId w:val=\"0\"/></w:num>"
        << QString() << "text=\"x\"";
    QTest::newRow("a million field starts")
        << para({}, QString("<w:r><w:fldChar w:fldCharType=\"begin\"/></w:r>").repeated(100000) + "<w:r><w:t>x</w:t></w:r>")
        << QString() << QString() << "paragraph";
    QTest::newRow("a picture claiming 100,000 x 100,000 pixels")
        << para({}, "<w:r><w:drawing><wp:inline><wp:extent cx=\"99999999999999\" cy=\"914400\"/><a:graphic><a:graphicData>"
                    "<pic:pic><pic:blipFill><a:blip r:embed=\"rId5\"/></pic:blipFill></pic:pic></a:graphicData></a:graphic>"
                    "</wp:inline></w:drawing></w:r>")
        << QString() << QString() << "picture kind=0";
}

void tst_DocxReader::hostile()
{
    QFETCH(QString, body);
    QFETCH(QString, numbering);
    QFETCH(QString, error);
    QFETCH(QString, present);
    QElapsedTimer timer;
    timer.start();
    package::MemoryParts parts = packageOf(body, {}, numbering);
    if (body.startsWith(u"<?xml"))
        parts.add(QStringLiteral("word/document.xml"), body.toUtf8());     // the whole part, as it stands
    if (body.contains(u"rId5"))
        parts.add(QStringLiteral("word/media/image1.png"), pngHeader(100000, 100000));
    const Read r = readParts(parts);
    QVERIFY2(timer.elapsed() < 60000, qPrintable(QString::number(timer.elapsed())));
    if (!error.isEmpty()) {
        QVERIFY(!r.result.ok);
        QVERIFY2(r.result.error.contains(error), qPrintable(r.result.error));
        return;
    }
    QVERIFY2(r.result.ok, qPrintable(r.result.error));
    QVERIFY2(r.dump.contains(present), qPrintable(r.dump.left(3000)));
}

QTEST_MAIN(tst_DocxReader)
#include "tst_docxreader.moc"
