#include "rtftesthelpers.h"

#include "platform/rtf/RtfDump.h"
#include "platform/rtf/RtfKeywords.h"
#include "platform/rtf/RtfQt.h"
#include "platform/rtf/RtfReader.h"
#include "platform/rtf/RtfWriter.h"

#include <QFile>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>

using namespace rtftest;

namespace {

// Fills doc with text ('\n' separates paragraphs) in one format and alignment.
void fill(QTextDocument &doc, const QString &text, const QTextCharFormat &format,
          Qt::Alignment align = Qt::AlignLeft)
{
    QTextCursor cursor(&doc);
    QTextBlockFormat block;
    block.setAlignment(align);
    cursor.setBlockFormat(block);
    const QStringList paras = text.split(u'\n');
    for (int i = 0; i < paras.size(); ++i) {
        if (i > 0)
            cursor.insertBlock(block, format);
        cursor.setBlockCharFormat(format);
        cursor.insertText(paras[i], format);
    }
}

QString reread(const QByteArray &rtf)
{
    QTextDocument doc;
    (void)rtf::readIntoDocument(&doc, rtf);
    return rtf::dump(doc);
}


} // namespace

class tst_RtfWriter : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void mixedDocumentRoundTrip();
    void output_data();
    void output();
    void unsetFormatUsesDefaultFont();
    void selection_data();
    void selection();
    void fieldAcrossParagraphs_data();
    void fieldAcrossParagraphs();
    void writtenForms_data();
    void writtenForms();
    void styleFlagOffInAParagraph_data();
    void styleFlagOffInAParagraph();
    void corpusRoundTrip_data();
    void corpusRoundTrip();
};

void tst_RtfWriter::roundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("face");      // empty: unset
    QTest::addColumn<double>("points");     // 0: unset
    QTest::addColumn<QString>("colour");    // empty: automatic
    QTest::addColumn<QString>("style");
    QTest::addColumn<int>("align");

    const int left = Qt::AlignLeft;
    QTest::newRow("plain") << "Hello world" << "" << 0.0 << "" << "" << left;
    QTest::newRow("face with semicolon") << "x" << "Foo;Bar" << 12.0 << "" << "" << left;
    QTest::newRow("face with braces and backslash") << "x" << "A{b}\\c" << 12.0 << "" << "" << left;
    QTest::newRow("face non-ASCII") << "x" << "Ärial 明朝" << 12.0 << "" << "" << left;
    QTest::newRow("face outside the BMP") << "x" << "Face😀" << 12.0 << "" << "" << left;
    QTest::newRow("half points") << "x" << "Arial" << 10.5 << "" << "" << left;
    QTest::newRow("smallest size") << "x" << "Arial" << 0.5 << "" << "" << left;
    QTest::newRow("largest size") << "x" << "Arial" << 1638.0 << "" << "" << left;
    QTest::newRow("red") << "x" << "Arial" << 12.0 << "#ff0000" << "" << left;
    QTest::newRow("explicit black") << "x" << "Arial" << 12.0 << "#000000" << "" << left;
    QTest::newRow("odd colour") << "x" << "Arial" << 12.0 << "#123456" << "" << left;
    for (const char *style : {"b", "i", "u", "bi", "bu", "iu", "biu"})
        QTest::addRow("style %s", style) << "x y" << "Arial" << 12.0 << "" << style << left;
    QTest::newRow("right") << "x" << "" << 0.0 << "" << "" << int(Qt::AlignRight);
    QTest::newRow("center") << "x" << "" << 0.0 << "" << "" << int(Qt::AlignHCenter);
    QTest::newRow("justify") << "x" << "" << 0.0 << "" << "" << int(Qt::AlignJustify);
    QTest::newRow("empty paragraphs") << "a\n\nb" << "" << 0.0 << "" << "" << left;
    QTest::newRow("final empty paragraph") << "a\n" << "" << 0.0 << "" << "" << left;
    QTest::newRow("only an empty paragraph") << "" << "" << 0.0 << "" << "" << left;
    QTest::newRow("tabs and line breaks") << "\ta\tb\u2028c\u2028" << "" << 0.0 << "" << "" << left;
    QTest::newRow("escapes") << "\\{}\\\\{{}}" << "" << 0.0 << "" << "" << left;
    QTest::newRow("spaces after control words") << " x\n  y\t z" << "" << 0.0 << "" << "b" << left;
    QTest::newRow("digits and hyphen after control words") << "1\n-2\t3\u20284" << "" << 0.0 << "" << "" << left;
    QTest::newRow("question mark after unicode") << "é?€??" << "" << 0.0 << "" << "" << left;
    QTest::newRow("every plane") << "é€中😀𝐻\U0010FFFD\uFFFD\uFFFF" << "" << 0.0 << "" << "" << left;
    QTest::newRow("special spaces and hyphens") << "a\u00A0b\u00ADc\u2011d" << "" << 0.0 << "" << "" << left;
}

void tst_RtfWriter::roundTrip()
{
    QFETCH(QString, text);
    QFETCH(QString, face);
    QFETCH(double, points);
    QFETCH(QString, colour);
    QFETCH(QString, style);
    QFETCH(int, align);

    QTextCharFormat format;
    if (!face.isEmpty())
        format.setFontFamilies(QStringList {face});
    if (points > 0)
        format.setFontPointSize(points);
    if (!colour.isEmpty())
        format.setForeground(QColor(colour));
    format.setFontWeight(style.contains(u'b') ? QFont::Bold : QFont::Normal);
    format.setFontItalic(style.contains(u'i'));
    format.setFontUnderline(style.contains(u'u'));

    QTextDocument doc;
    fill(doc, text, format, Qt::Alignment(align));
    const QByteArray rtf = rtf::writeDocument(doc);
    QVERIFY(rtftest::sevenBitAndBalanced(rtf));
    QCOMPARE(rtf::misformedWords(rtf), QList<QByteArray> {});
    QCOMPARE(reread(rtf), rtf::dump(doc));
    // Our own output comes back byte for byte: saving again loses nothing more.
    QTextDocument again;
    QVERIFY(rtf::readIntoDocument(&again, rtf).ok);
    QCOMPARE(rtf::writeDocument(again), rtf);
}

void tst_RtfWriter::mixedDocumentRoundTrip()
{
    QTextDocument doc;
    QTextCursor cursor(&doc);
    const QStringList faces {QStringLiteral("Arial"), QStringLiteral("Times New Roman"), QStringLiteral("Noto;Sans")};
    const QList<QColor> colours {QColor(), QColor(Qt::red), QColor(0, 0, 128)};
    const Qt::Alignment aligns[] = {Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter, Qt::AlignJustify};
    for (int p = 0; p < 12; ++p) {
        QTextBlockFormat block;
        block.setAlignment(aligns[p % 4]);
        if (p > 0)
            cursor.insertBlock(block);
        else
            cursor.setBlockFormat(block);
        if (p % 5 == 4)
            continue;   // empty paragraph
        for (int r = 0; r < 9; ++r) {
            QTextCharFormat f;
            f.setFontFamilies(QStringList {faces[(p + r) % 3]});
            f.setFontPointSize(8 + (p * 9 + r) % 7 * 0.5);
            if (colours[r % 3].isValid())
                f.setForeground(colours[r % 3]);
            f.setFontWeight(r & 1 ? QFont::Bold : QFont::Normal);
            f.setFontItalic(r & 2);
            f.setFontUnderline(r & 4);
            cursor.insertText(QStringLiteral("w%1 é{\\} ").arg(r), f);
        }
    }
    const QByteArray rtf = rtf::writeDocument(doc);
    QVERIFY(rtftest::sevenBitAndBalanced(rtf));
    QCOMPARE(rtf::misformedWords(rtf), QList<QByteArray> {});
    QCOMPARE(reread(rtf), rtf::dump(doc));
    // Our own output comes back byte for byte: saving again loses nothing more.
    QTextDocument again;
    QVERIFY(rtf::readIntoDocument(&again, rtf).ok);
    QCOMPARE(rtf::writeDocument(again), rtf);
}

void tst_RtfWriter::output_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("points");
    QTest::addColumn<int>("align");
    QTest::addColumn<QByteArray>("expected");

    const int left = Qt::AlignLeft;
    QTest::newRow("header") << "x" << 12.0 << left << QByteArray("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1");
    QTest::newRow("colour table starts with auto") << "x" << 12.0 << left << QByteArray("{\\colortbl;}");
    QTest::newRow("run formatting") << "x" << 12.0 << left << QByteArray("\\pard\\ql\\plain\\f1\\fs24\\cf0 x\\par\r\n}");
    QTest::newRow("escapes") << "\\{}" << 12.0 << left << QByteArray("\\\\\\{\\}");
    QTest::newRow("tab and line") << "a\tb\u2028c" << 12.0 << left << QByteArray("a\\tab b\\line c");
    QTest::newRow("bmp character") << "é€" << 12.0 << left << QByteArray("\\u233?\\u8364?");
    QTest::newRow("signed 16-bit") << "\uF0B7" << 12.0 << left << QByteArray("\\u-3913?");
    QTest::newRow("surrogate pair") << "😀" << 12.0 << left << QByteArray("\\u-10179?\\u-8704?");
    QTest::newRow("object character dropped") << "a\uFFFCb" << 12.0 << left << QByteArray("\\cf0 ab\\par");
    QTest::newRow("no-break space") << "a\u00A0b" << 12.0 << left << QByteArray("a\\~b");
    QTest::newRow("leading space doubled") << " a" << 12.0 << left << QByteArray("\\cf0  a");
    QTest::newRow("rounded to half points") << "x" << 10.3 << left << QByteArray("\\fs21\\cf");
    QTest::newRow("half up") << "x" << 10.25 << left << QByteArray("\\fs21\\cf");
    QTest::newRow("tiny size clamped") << "x" << 0.1 << left << QByteArray("\\fs1\\cf");
    QTest::newRow("huge size clamped") << "x" << 5000.0 << left << QByteArray("\\fs3276\\cf");
    QTest::newRow("leading alignment") << "x" << 12.0 << int(Qt::AlignLeading) << QByteArray("\\pard\\ql");
    QTest::newRow("absolute right") << "x" << 12.0 << int(Qt::AlignRight | Qt::AlignAbsolute)
                                    << QByteArray("\\pard\\qr");
}

void tst_RtfWriter::output()
{
    QFETCH(QString, text);
    QFETCH(double, points);
    QFETCH(int, align);
    QFETCH(QByteArray, expected);

    QTextCharFormat format;
    format.setFontFamilies(QStringList {QStringLiteral("Arial")});
    format.setFontPointSize(points);
    QTextDocument doc;
    fill(doc, text, format, Qt::Alignment(align));
    const QByteArray rtf = rtf::writeDocument(doc);
    QVERIFY2(rtf.contains(expected), rtf.constData());
}

void tst_RtfWriter::unsetFormatUsesDefaultFont()
{
    QTextDocument doc;
    doc.setDefaultFont(QFont(QStringLiteral("Courier New"), 9));
    doc.setPlainText(QStringLiteral("x"));
    const QByteArray rtf = rtf::writeDocument(doc);
    QVERIFY2(rtf.contains("{\\f0\\fmodern\\fcharset0\\fprq1 Courier New;}"), rtf.constData());
    QVERIFY2(rtf.contains("\\f0\\fs18\\cf0 x"), rtf.constData());

    QTextDocument back;
    QVERIFY(rtf::readIntoDocument(&back, rtf).ok);
    const QTextCharFormat f = back.begin().begin().fragment().charFormat();
    QCOMPARE(f.fontFamilies().toStringList(), QStringList {QStringLiteral("Courier New")});
    QCOMPARE(f.fontPointSize(), 9.0);
}

void tst_RtfWriter::selection_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QString>("pasted");   // into "XY" between X and Y

    // Source: "ab" / "cd" / "ef", positions 0-1, 3-4, 6-7.
    QTest::newRow("empty selection") << 1 << 1 << QString("XY");
    QTest::newRow("inside one paragraph") << 0 << 2 << QString("XabY");
    QTest::newRow("across a break") << 1 << 4 << QString("Xb\ncY");
    QTest::newRow("ending after a break") << 0 << 3 << QString("Xab\nY");
    QTest::newRow("whole middle paragraph with its break") << 3 << 6 << QString("Xcd\nY");
    QTest::newRow("to the end") << 4 << 8 << QString("Xd\nefY");
}

void tst_RtfWriter::selection()
{
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QString, pasted);

    QTextDocument source;
    source.setPlainText(QStringLiteral("ab\ncd\nef"));
    QTextCursor cursor(&source);
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    const QByteArray rtf = rtf::writeSelection(cursor);
    QVERIFY(rtf.startsWith("{\\rtf1"));
    QVERIFY(rtftest::sevenBitAndBalanced(rtf));

    QTextDocument target;
    target.setPlainText(QStringLiteral("XY"));
    QTextCursor at(&target);
    at.setPosition(1);
    QVERIFY(rtf::insertRtf(at, rtf).ok);
    QCOMPARE(paragraphs(target), pasted);
}

void tst_RtfWriter::fieldAcrossParagraphs_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<int>("from");      // the copied range; -1 for the whole document
    QTest::addColumn<int>("to");
    QTest::addColumn<int>("fields");    // field groups written
    QTest::addColumn<QString>("copied"); // the copied range's paragraphs, read back

    const QByteArray toc = "{\\rtf1\\pard Before\\par{\\field{\\*\\fldinst TOC \\\\o}{\\fldrslt \\pard\\li0 One\\tab 1\\par"
                           "\\pard\\li720 Two\\tab 2\\par\\pard\\par\\pard\\li1440 Three\\tab 3\\par}}\\pard After\\par}";
    // One table of contents stays one field: written as one per line, it
    // comes back as several tables of contents in other programs.
    QTest::newRow("table of contents") << toc << -1 << -1 << 1 << QString();
    QTest::newRow("copied from its middle") << toc << 9 << 22 << 1 << QString("e\t1\nTwo\t2\n\nTh");
    QTest::newRow("copied up to a line of it") << toc << 9 << 20 << 1 << QString("e\t1\nTwo\t2\n");
    QTest::newRow("ends inside a paragraph")
        << QByteArray("{\\rtf1{\\field{\\*\\fldinst TOC}{\\fldrslt \\pard\\qc A\\par\\pard\\li720 B}} tail\\par}") << -1 << -1 << 1 << QString();
    // As Word writes one: each line a link around its text and page number.
    QTest::newRow("fields inside a table of contents")
        << QByteArray("{\\rtf1{\\field{\\*\\fldinst TOC \\\\h}{\\fldrslt "
                      "{\\field{\\*\\fldinst HYPERLINK \\\\l \"a\"}{\\fldrslt One\\tab{\\field{\\*\\fldinst PAGEREF a}{\\fldrslt 1}}}}\\par"
                      "\\pard\\li720{\\field{\\*\\fldinst HYPERLINK \\\\l \"b\"}{\\fldrslt Two\\tab{\\field{\\*\\fldinst PAGEREF b}{\\fldrslt 2}}}}\\par}}"
                      "\\pard After\\par}")
        << -1 << -1 << 5 << QString();
    QTest::newRow("two fields alike stay two")
        << QByteArray("{\\rtf1\\pard{\\field{\\*\\fldinst PAGE}{\\fldrslt 1}}\\par{\\field{\\*\\fldinst PAGE}{\\fldrslt 2}}\\par}")
        << -1 << -1 << 2 << QString();
    QTest::newRow("up to a table")
        << QByteArray("{\\rtf1{\\field{\\*\\fldinst TOC}{\\fldrslt A\\par\\trowd\\cellx1000\\pard\\intbl B\\cell\\row}}\\pard C\\par}")
        << -1 << -1 << 2 << QString();
}

void tst_RtfWriter::fieldAcrossParagraphs()
{
    QFETCH(QByteArray, rtf);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(int, fields);
    QFETCH(QString, copied);

    QTextDocument doc;
    QVERIFY(rtf::readIntoDocument(&doc, rtf).ok);
    QTextCursor cursor(&doc);
    if (from >= 0) {
        cursor.setPosition(from);
        cursor.setPosition(to, QTextCursor::KeepAnchor);
    }
    const QByteArray out = from >= 0 ? rtf::writeSelection(cursor) : rtf::writeDocument(doc);
    QVERIFY2(sevenBitAndBalanced(out), out.constData());
    QCOMPARE(out.count("{\\field"), fields);

    // Every paragraph keeps its layout and its place in the field.
    QTextDocument back;
    QVERIFY(rtf::readIntoDocument(&back, out).ok);
    if (from < 0)
        QCOMPARE(rtf::dump(back), rtf::dump(doc));
    else
        QCOMPARE(paragraphs(back), copied);
}

// Files read and written again, in the forms other readers keep: breaks
// where LibreOffice and AbiWord see them, flags without numbers.
void tst_RtfWriter::writtenForms_data()
{
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<QByteArray>("written");    // in the output
    QTest::addColumn<QByteArray>("notWritten");

    QTest::newRow("page break before a table")
        << QByteArray("{\\rtf1 A\\par\\page\\trowd\\cellx2000\\pard\\intbl x\\cell\\row\\pard B\\par}")
        << QByteArray("\\par\r\n\\page\\trowd") << QByteArray("\\cellx2000\\page");
    QTest::newRow("section starting with a table")
        << QByteArray("{\\rtf1 A\\par\\sect\\sectd\\sbkpage\\trowd\\cellx2000\\pard\\intbl x\\cell\\row\\pard B\\par}")
        << QByteArray("\\sect\\sectd\\sbkpage\r\n\\trowd") << QByteArray("B\\par\r\n\\sect");
    QTest::newRow("section between two tables")
        << QByteArray("{\\rtf1\\trowd\\cellx2000\\pard\\intbl x\\cell\\row\\sect\\sectd\\sbkpage\\trowd\\cellx2000\\pard\\intbl y\\cell\\row}")
        << QByteArray("\\sect\\sectd\\sbkpage\r\n\\trowd") << QByteArray("\\sbkpage\r\n\\pard");
    QTest::newRow("blank page between two breaks")
        << QByteArray("{\\rtf1 A\\par\\page\\page B\\par}")
        << QByteArray("\\pard\\ql\\page\\plain\\f0\\fs24\\cf0\\par\r\n\\pard\\ql\\page\\plain") << QByteArray();
    QTest::newRow("page break after the paragraph's own tab stops")
        << QByteArray("{\\rtf1\\pard\\tx720 A\\par\\page\\pard\\tx1440 B\\par}")
        << QByteArray("\\pard\\ql\\tx1440\\page\\plain") << QByteArray("\\page\\pard");
    const QByteArray lists = "{\\rtf1{\\fonttbl{\\f0 Times;}{\\f2\\fcharset2 Symbol;}}{\\*\\listtable{\\list"
        "{\\listlevel\\levelnfc23{\\leveltext\\'01\\u-3913 ?;}{\\levelnumbers;}\\f2\\fi-360\\li720}"
        "{\\listlevel\\levelnfc0{\\leveltext\\'04\\'00.\\'01.;}{\\levelnumbers\\'01\\'03;}}\\listid7}}"
        "{\\*\\listoverridetable{\\listoverride\\listid7\\listoverridecount0\\ls1}"
        "{\\listoverride\\listid7\\listoverridecount1{\\lfolevel\\listoverridestartat\\levelstartat5}\\ls2}}"
        "\\pard\\ls1 dot\\par\\pard\\ls2 five\\par\\pard\\ls2\\ilvl1 sub\\par}";
    QTest::newRow("instances of one list share its definition")
        << lists << QByteArray("\\listid7\\listoverridecount1{\\lfolevel\\listoverridestartat\\levelstartat5}\\ls2}")
        << QByteArray("\\listid1002");
    QTest::newRow("levels no paragraph uses kept")
        << lists << QByteArray("{\\leveltext\\'04\\'00.\\'01.;}{\\levelnumbers\\'01\\'03;}") << QByteArray();
    QTest::newRow("symbol bullet written in its font")
        << lists << QByteArray("{\\leveltext\\'01\\u-3913?;}{\\levelnumbers;}\\f2\\fi-360\\li720")
        << QByteArray("\\u8226?;}{\\levelnumbers;}\\f2");
    QTest::newRow("table padding and widths kept")
        << QByteArray("{\\rtf1\\trowd\\trpaddl108\\trpaddfl3\\trwWidth2000\\clpadl57\\clpadfl3\\cellx1000\\pard\\intbl a\\cell\\row}")
        << QByteArray("\\trpaddl108\\trpaddfl3\\trwWidth2000\\clpadl57\\clpadfl3\\cellx1000") << QByteArray();
    QTest::newRow("font table keeps each face's kind")
        << QByteArray("{\\rtf1{\\fonttbl{\\f3\\froman\\fcharset238\\fprq2{\\*\\panose 02020603050405020304}Times New Roman CE"
                      "{\\*\\falt Times New Roman};}{\\f4\\fswiss\\fprq2 Univers;}}\\f3 a\\f4 b\\par}")
        << QByteArray("\\froman\\fcharset238\\fprq2{\\*\\panose 02020603050405020304}Times New Roman CE{\\*\\falt Times New Roman};}"
                      "{\\f2\\fswiss\\fcharset0\\fprq2 Univers;}")
        << QByteArray("\\fnil");
    QTest::newRow("faces the program offers get their kind")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1 Courier New;}{\\f2 Times New Roman;}}\\f0 a\\f1 b\\f2 c\\par}")
        << QByteArray("\\fswiss\\fcharset0\\fprq2 Arial;}{\\f2\\fmodern\\fcharset0\\fprq1 Courier New;}{\\f3\\froman\\fcharset0\\fprq2 Times New Roman;}")
        << QByteArray();
    // East Asian characters in a group that names their face last (readers
    // that take one face for a run), the rest after the Western face.
    QTest::newRow("east asian text with its face")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f2\\fcharset128 MS Mincho;}}\\f0\\dbch\\af2\\loch Tokyo \\u26481?\\u20140? to\\par}")
        << QByteArray("\\dbch\\af1\\loch\\f2\\fs24\\cf0 Tokyo {\\loch\\af2\\hich\\af2\\dbch\\f1\\u26481?\\u20140?} to\\par")
        << QByteArray();
    QTest::newRow("a pair beyond the basic plane is never split from its half")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f2\\fcharset128 MS Mincho;}}\\f0\\dbch\\af2\\loch a\\u-10179?\\u-8704? b\\par}")
        << QByteArray("a\\u-10179?\\u-8704? b") << QByteArray("\\u-3?");
    QTest::newRow("an ideograph beyond the basic plane goes whole with its face")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f2\\fcharset128 MS Mincho;}}\\f0\\dbch\\af2\\loch a\\u-10176?\\u-9216? b\\par}")
        << QByteArray("\\dbch\\f1\\u-10176?\\u-9216?}") << QByteArray("\\u-3?");
    QTest::newRow("compatibility settings kept")
        << QByteArray("{\\rtf1\\htmautsp\\lytcalctblwd\\themelang2057\\pard x\\par}")
        << QByteArray("\\htmautsp\\lytcalctblwd\\themelang2057") << QByteArray();
    QTest::newRow("flag off in a styled paragraph")
        << QByteArray("{\\rtf1{\\stylesheet{\\s1 Body;}}\\pard\\s1\\keepn A\\par\\pard\\s1 B\\par}")
        << QByteArray("\\keepn") << QByteArray("\\keepn0");
}

void tst_RtfWriter::writtenForms()
{
    QFETCH(QByteArray, source);
    QFETCH(QByteArray, written);
    QFETCH(QByteArray, notWritten);
    QTextDocument doc;
    QVERIFY(rtf::readIntoDocument(&doc, source).ok);
    const QByteArray rtf = rtf::writeDocument(doc);
    QVERIFY2(rtf.contains(written), rtf.constData());
    QVERIFY2(notWritten.isEmpty() || !rtf.contains(notWritten), rtf.constData());
    QCOMPARE(rtf::misformedWords(rtf), QList<QByteArray> {});
    QCOMPARE(reread(rtf), rtf::dump(doc));
}

// RTF cannot say "off" for a flag a paragraph's style turns on: the flag
// leaves the style's definition (and its parent's) and goes on each
// paragraph that has it, so every reader shows each paragraph as it was.
void tst_RtfWriter::styleFlagOffInAParagraph_data()
{
    QTest::addColumn<QByteArray>("flag");
    QTest::newRow("keep with next") << QByteArray("\\keepn");
    QTest::newRow("keep together") << QByteArray("\\keep");
    QTest::newRow("page break before") << QByteArray("\\pagebb");
}

void tst_RtfWriter::styleFlagOffInAParagraph()
{
    QFETCH(QByteArray, flag);
    // "Sub" is based on "Heading 1" and takes the flag from it.
    const QByteArray source = "{\\rtf1{\\stylesheet{\\s1" + flag + " Heading 1;}{\\s2\\sbasedon1 Sub;}}"
                              "\\pard\\s1 A\\par\\pard\\s2 B\\par\\pard\\s1 C\\par}";
    QTextDocument doc;
    QVERIFY(rtf::readIntoDocument(&doc, source).ok);
    // B, of a style based on one with the flag, has it turned off.
    QTextCursor b(doc.findBlockByNumber(1));
    QTextBlockFormat off = b.blockFormat();
    off.clearProperty(QTextFormat::PageBreakPolicy);
    off.clearProperty(QTextFormat::BlockNonBreakableLines);
    off.clearProperty(rtf::KeepWithNextProperty);
    b.setBlockFormat(off);
    const QByteArray rtf = rtf::writeDocument(doc);
    const qsizetype sheet = rtf.indexOf("{\\stylesheet");
    const QByteArray definition = rtf.mid(sheet, rtf.indexOf("Heading 1;}", sheet) - sheet);
    QVERIFY2(!definition.contains(flag + '\\') && !definition.contains(flag + ' '), rtf.constData());
    const QByteArray body = rtf.mid(rtf.indexOf("\\pard", rtf.indexOf("Sub;}")));
    QCOMPARE(body.count(flag + '\\') + body.count(flag + ' '), 2);     // A and C
    // Every paragraph reads as it was; the style's definition no longer has the flag.
    QTextDocument back;
    QVERIFY(rtf::readIntoDocument(&back, rtf).ok);
    QCOMPARE(rtf::dump(back, rtf::Detail::Shown), rtf::dump(doc, rtf::Detail::Shown));
}

void tst_RtfWriter::corpusRoundTrip_data()
{
    QTest::addColumn<QString>("path");
    // Files other programs wrote: the public corpus when it is there, and our
    // interchange corpus and showcase letter.
    const QStringList dirs = {corpusDir(), QStringLiteral(SCRIBVALE_SOURCE_DIR "/tests/interop/corpus"),
                              QStringLiteral(SCRIBVALE_SOURCE_DIR "/tests/e2e/data")};
    for (const QString &dir : dirs) {
        if (dir.isEmpty() || !QDir(dir).exists())
            continue;
        const QStringList files = QDir(dir).entryList({QStringLiteral("*.rtf")}, QDir::Files, QDir::Name);
        for (const QString &file : files)
            QTest::newRow(qPrintable(file)) << dir + u'/' + file;
    }
}

void tst_RtfWriter::corpusRoundTrip()
{
    QFETCH(QString, path);
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QTextDocument doc;
    QVERIFY(rtf::readIntoDocument(&doc, f.readAll()).ok);
    const QByteArray rtf = rtf::writeDocument(doc);
    QVERIFY(rtftest::sevenBitAndBalanced(rtf));
    QCOMPARE(rtf::misformedWords(rtf), QList<QByteArray> {});
    QCOMPARE(reread(rtf), rtf::dump(doc));
    // Our own output comes back byte for byte: saving again loses nothing more.
    QTextDocument again;
    QVERIFY(rtf::readIntoDocument(&again, rtf).ok);
    QCOMPARE(rtf::writeDocument(again), rtf);
}

QTEST_MAIN(tst_RtfWriter)
#include "tst_rtfwriter.moc"
