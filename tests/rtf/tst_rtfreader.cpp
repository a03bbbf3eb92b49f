#include "rtftesthelpers.h"

#include "platform/rtf/RtfCodePages.h"
#include "platform/rtf/RtfDump.h"
#include "platform/rtf/RtfKeywords.h"
#include "platform/rtf/RtfReader.h"
#include "platform/rtf/RtfWriter.h"

#include <QAbstractTextDocumentLayout>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

using namespace rtftest;

class tst_RtfReader : public QObject
{
    Q_OBJECT

private slots:
    void tokenizer_data();
    void tokenizer();
    void structure_data();
    void structure();
    void notRtf_data();
    void notRtf();
    void state_data();
    void state();
    void unicode_data();
    void unicode();
    void encodings_data();
    void encodings();
    void charsetTable_data();
    void charsetTable();
    void destinations_data();
    void destinations();
    void insertAtCursor_data();
    void insertAtCursor();
    void insertIsOneUndoStep();
    void corpus_data();
    void corpus();
    void corpusFormatting();
    void families_data();
    void families();
    void wordForms_data();
    void wordForms();
    void tabStopsFromTheMargin();
    void hostile_data();
    void hostile();
};

void tst_RtfReader::tokenizer_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");

    QTest::newRow("one delimiter space eaten") << QByteArray("{\\rtf1\\pard  two}") << QString(" two");
    QTest::newRow("other delimiters kept") << QByteArray("{\\rtf1\\pard;x}") << QString(";x");
    QTest::newRow("negative parameter") << QByteArray("{\\rtf1\\li-720 x}") << QString("x");
    QTest::newRow("hyphen without digits is text") << QByteArray("{\\rtf1\\pard-x}") << QString("-x");
    QTest::newRow("overlong word ignored")
        << QByteArray("{\\rtf1\\" + QByteArray(40, 'b') + " x}") << QString("x");
    QTest::newRow("overflowing parameter consumed")
        << QByteArray("{\\rtf1\\fs99999999999999999999 x}") << QString("x");
    QTest::newRow("hex both cases") << QByteArray("{\\rtf1 \\'e9\\'E9}") << QString("éé");
    // Two characters follow \' whatever they are, as LibreOffice reads them.
    QTest::newRow("hex one digit then junk") << QByteArray("{\\rtf1 a\\'9zb}") << QString("a\tb");
    QTest::newRow("hex without digits") << QByteArray("{\\rtf1 a\\'zzb}") << QString("ab");
    QTest::newRow("hex cut by a brace") << QByteArray("{\\rtf1 a{\\'9}b}") << QString("a\tb");
    QTest::newRow("malformed hex as a unicode fallback") << QByteArray("{\\rtf1 x\\u345\\'3?x}") << QString("x\u0159x");
    QTest::newRow("escaped braces and backslash") << QByteArray("{\\rtf1 \\{\\}\\\\}") << QString("{}\\");
    QTest::newRow("blanks between the head's groups are no text")
        << QByteArray("{\\rtf1\\ansi\n    { \\fonttbl {\\f0 Times;} }\n    {\\colortbl;}\n    {\\b Hello} x}") << QString("Hello x");
    QTest::newRow("a lone space is text") << QByteArray("{\\rtf1\\pard  }") << QString(" ");
    QTest::newRow("a space before a group of the text is text")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0 Times;}}\\pard\\plain\\f0  {\\b bold}}") << QString(" bold");
    QTest::newRow("CR and LF dropped") << QByteArray("{\\rtf1 a\r\nb\nc}") << QString("abc");
    QTest::newRow("literal tab") << QByteArray("{\\rtf1 a\tb}") << QString("a\tb");
    QTest::newRow("NUL and C0 dropped") << QByteArray("{\\rtf1 a\0b\x01" "c}", 12) << QString("abc");
    QTest::newRow("bin payload skipped exactly")
        << QByteArray("{\\rtf1 a\\bin4 }{\\}b}") << QString("ab");
    QTest::newRow("bin payload starting with space")
        << QByteArray("{\\rtf1 a\\bin2  }b}") << QString("ab");
    QTest::newRow("bin zero and negative") << QByteArray("{\\rtf1 a\\bin0 b\\bin-5 c}") << QString("abc");
    QTest::newRow("bin beyond the end") << QByteArray("{\\rtf1 a\\bin2147483647 xyz}") << QString("a");
    QTest::newRow("backslash at the end") << QByteArray("{\\rtf1 a\\") << QString("a");
}

void tst_RtfReader::tokenizer()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    QCOMPARE(readText(rtf), text);
}

void tst_RtfReader::structure_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");

    const int deep = 100000;
    QTest::newRow("extra closing brace") << QByteArray("{\\rtf1 a}}") << QString("a");
    QTest::newRow("bytes after the root ignored") << QByteArray("{\\rtf1 hello}TRAILING\0", 22) << QString("hello");
    QTest::newRow("stray brace ends the document") << QByteArray("{\\rtf1 a} }b") << QString("a");
    QTest::newRow("missing closing braces keep text") << QByteArray("{\\rtf1{\\b a") << QString("a");
    QTest::newRow("unterminated skipped group") << QByteArray("{\\rtf1 a{\\*\\x{{") << QString("a");
    QTest::newRow("depth bomb closed")
        << QByteArray("{\\rtf1 a" + QByteArray(deep, '{') + "b" + QByteArray(deep, '}') + "c}")
        << QString("ac");
    QTest::newRow("depth bomb open") << QByteArray("{\\rtf1 a" + QByteArray(deep, '{')) << QString("a");
    QTest::newRow("shallow nesting kept")
        << QByteArray("{\\rtf1 " + QByteArray(1000, '{') + "b" + QByteArray(1000, '}') + "}")
        << QString("b");
    QTest::newRow("BOM and whitespace first") << QByteArray("\xEF\xBB\xBF \r\n{\\rtf1 x}") << QString("x");
    QTest::newRow("final par adds no paragraph") << QByteArray("{\\rtf1 a\\par}") << QString("a");
    QTest::newRow("second final par gives an empty one") << QByteArray("{\\rtf1 a\\par\\par }") << QString("a\n");
    QTest::newRow("text after last par") << QByteArray("{\\rtf1 a\\par b}") << QString("a\nb");
    QTest::newRow("empty document") << QByteArray("{\\rtf1}") << QString();
    QTest::newRow("destination word in the root ignored") << QByteArray("{\\rtf1 \\info a}") << QString("a");
    QTest::newRow("ignorable mark in the root ignored") << QByteArray("{\\rtf1 \\*\\foo a}") << QString("a");
}

void tst_RtfReader::structure()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    QCOMPARE(readText(rtf), text);
}

void tst_RtfReader::notRtf_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("plain text") << QByteArray("hello");
    QTest::newRow("truncated header") << QByteArray("{\\rt");
    QTest::newRow("upper case") << QByteArray("{\\RTF1 x}");
    QTest::newRow("text before the group") << QByteArray("x{\\rtf1 x}");
}

void tst_RtfReader::notRtf()
{
    QFETCH(QByteArray, data);
    QVERIFY(!rtf::rules::looksLikeRtf(data));
    QTextDocument doc;
    doc.setPlainText(QStringLiteral("kept"));
    const rtf::ReadResult r = rtf::readIntoDocument(&doc, data);
    QVERIFY(!r.ok);
    QVERIFY(!r.error.isEmpty());
    QCOMPARE(doc.toPlainText(), QStringLiteral("kept"));
    QTextCursor cursor(&doc);
    QVERIFY(!rtf::insertRtf(cursor, data).ok);
    QCOMPARE(doc.toPlainText(), QStringLiteral("kept"));
}

void tst_RtfReader::state_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("summary");

    const QByteArray red = "{\\colortbl;\\red255\\green0\\blue0;}";
    QTest::newRow("group scoping") << QByteArray("{\\rtf1 a{\\b b}c}") << QString("left:a|b{b}|c");
    QTest::newRow("toggles and their zero forms")
        << QByteArray("{\\rtf1\\b a\\b0 b\\i1 c\\i0\\ul d\\ulnone e\\ul f\\ul0 g}")
        << QString("left:a{b}|b|c{i}|d{u}|e|f{u}|g");
    QTest::newRow("underline colour is no toggle") << QByteArray("{\\rtf1\\ulc2 a}") << QString("left:a");
    QTest::newRow("underline variants") << QByteArray("{\\rtf1\\uldb a\\ulwave0 b\\ulthdashdd c}")
                                        << QString("left:a{u}|b|c{u}");
    QTest::newRow("plain resets characters only")
        << QByteArray("{\\rtf1\\qc\\b\\i\\ul\\fs40 a\\plain b}") << QString("center:a{b,i,u,20pt}|b");
    QTest::newRow("pard resets the paragraph only")
        << QByteArray("{\\rtf1\\qc\\b a\\par\\pard b}") << QString("center:a{b} / left:b{b}");
    QTest::newRow("pard starts no paragraph") << QByteArray("{\\rtf1 a\\pard b}") << QString("left:ab");
    QTest::newRow("alignment carries over par") << QByteArray("{\\rtf1\\qr a\\par b}") << QString("right:a / right:b");
    QTest::newRow("alignment at the par counts") << QByteArray("{\\rtf1\\qc a\\qj\\par b}") << QString("justify:a / justify:b");
    QTest::newRow("qd is justified") << QByteArray("{\\rtf1\\qd a}") << QString("justify:a");
    QTest::newRow("alignment scoped to its group") << QByteArray("{\\rtf1{\\qc a\\par}b}") << QString("center:a / left:b");
    QTest::newRow("fs zero and negative keep the size")
        << QByteArray("{\\rtf1\\fs30 a\\fs0 b\\fs-10 c}") << QString("left:abc{15pt}");
    QTest::newRow("fs clamped") << QByteArray("{\\rtf1\\fs99999 a}") << QString("left:a{1638pt}");
    QTest::newRow("fs half points") << QByteArray("{\\rtf1\\fs21 a}") << QString("left:a{10.5pt}");
    QTest::newRow("cf in and out of range")
        << QByteArray("{\\rtf1" + red + "\\cf1 a\\cf0 b\\cf99 c\\cf-1 d}") << QString("left:a{#ff0000}|bcd");
    QTest::newRow("cf without a colour table") << QByteArray("{\\rtf1\\cf3 a}") << QString("left:a");
    QTest::newRow("colour table without auto entry")
        << QByteArray("{\\rtf1{\\colortbl\\red0\\green0\\blue255;\\red0\\green128\\blue0;}\\cf1 a}")
        << QString("left:a{#008000}");
    QTest::newRow("colour table with spaces and no final semicolon")
        << QByteArray("{\\rtf1{\\colortbl ;\\red10 \\green20\r\n\\blue30 ;\\red1}\\cf2 a\\cf1 b}")
        << QString("left:a{#010000}|b{#0a141e}");
    QTest::newRow("missing colour components are zero")
        << QByteArray("{\\rtf1{\\colortbl;\\green255;}\\cf1 a}") << QString("left:a{#00ff00}");
    QTest::newRow("colour clamped") << QByteArray("{\\rtf1{\\colortbl;\\red999\\green-4\\blue7;}\\cf1 a}")
                                    << QString("left:a{#ff0007}");
    QTest::newRow("undeclared font falls back to deff")
        << QByteArray("{\\rtf1\\deff1{\\fonttbl{\\f0 Zero;}{\\f1 One;}}\\f7 a\\f0 b\\plain c}")
        << QString("left:a{One}|b{Zero}|c{One}");
    QTest::newRow("text before any font uses deff")
        << QByteArray("{\\rtf1\\deff3{\\fonttbl{\\f3 Three;}}a}") << QString("left:a{Three}");
    QTest::newRow("flat font table")
        << QByteArray("{\\rtf1{\\fonttbl\\f0\\fswiss\\fcharset0 Helvetica;\\f1\\fnil Menlo-Regular;}\\f1 a\\f0 b}")
        << QString("left:a{Menlo-Regular}|b{Helvetica}");
    QTest::newRow("font name without semicolon")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0 Arial}}\\f0 a}") << QString("left:a{Arial}");
    QTest::newRow("font entry with panose and alternative")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0\\froman{\\*\\panose 02020603}Times New Roman{\\*\\falt Times};}}\\f0 a}")
        << QString("left:a{Times New Roman}");
    QTest::newRow("font entry split over lines")
        << QByteArray("{\\rtf1{\\fonttbl\r\n  {\\f0\\fbidi \\froman\\fcharset0\r\n   Times;}\r\n}\\f0 a}")
        << QString("left:a{Times}");
    QTest::newRow("NUL inside a font name")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0 Ar\0ial;}}\\f0 a}", 35) << QString("left:a{Arial}");
    QTest::newRow("special characters inside a font name")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0 A\\tab B\\emdash C;}}\\f0 x}") << QString("left:x{A\tB—C}");
    QTest::newRow("sparse font numbers")
        << QByteArray("{\\rtf1{\\fonttbl{\\f31506 Big;}}\\f31506 a}") << QString("left:a{Big}");
    QTest::newRow("hidden text kept unseen") << QByteArray("{\\rtf1 a\\v b\\v0 c}") << QString("left:a\uFFFCc");
    QTest::newRow("unknown toggles do not stick")
        << QByteArray("{\\rtf1{\\super a}b\\nosupersub c}") << QString("left:abc");
    QTest::newRow("bold survives pard") << QByteArray("{\\rtf1\\b A\\pard B}") << QString("left:AB{b}");
    QTest::newRow("empty group changes nothing before it")
        << QByteArray("{\\rtf1 A{}A\\fs16 B}") << QString("left:AA|B{8pt}");
    QTest::newRow("cell and row make a table") << QByteArray("{\\rtf1\\trowd a\\cell b\\cell\\row c}")
                                               << QString("left: / left:a / left:b / left:c");
    QTest::newRow("sect and page break paragraphs") << QByteArray("{\\rtf1 a\\sect b\\page c}")
                                                    << QString("left:a / left:b / left:c");
    QTest::newRow("backslash newline is a paragraph") << QByteArray("{\\rtf1 a\\\nb\\\rc}")
                                                      << QString("left:a / left:b / left:c");
}

void tst_RtfReader::state()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, summary);
    QCOMPARE(readSummary(rtf), summary);
}

void tst_RtfReader::unicode_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");

    QTest::newRow("one fallback by default") << QByteArray("{\\rtf1 \\u233?x}") << QString("éx");
    QTest::newRow("uc0") << QByteArray("{\\rtf1\\uc0\\u233 x}") << QString("éx");
    QTest::newRow("uc2 hex and letter") << QByteArray("{\\rtf1{\\uc2\\u228\\'E8a}b}") << QString("äb");
    QTest::newRow("hex fallback") << QByteArray("{\\rtf1\\u8216\\'93x}") << QString("‘x");
    QTest::newRow("control word fallback") << QByteArray("{\\rtf1\\u233\\emdash x}") << QString("éx");
    QTest::newRow("literal tab fallback") << QByteArray("{\\rtf1\\u8804\t\t8804}") << QString("≤\t8804");
    QTest::newRow("delimiter space is no fallback") << QByteArray("{\\rtf1\\u233  x}") << QString("éx");
    QTest::newRow("brace ends the skip") << QByteArray("{\\rtf1{\\uc3\\u233}x}") << QString("éx");
    QTest::newRow("uc scoped to its group") << QByteArray("{\\rtf1{\\uc0\\u233}\\u233?}") << QString("éé");
    QTest::newRow("bin payload is one fallback") << QByteArray("{\\rtf1\\u233\\bin2 ??x}") << QString("éx");
    QTest::newRow("CR LF are not fallbacks") << QByteArray("{\\rtf1\\u233\r\n?x}") << QString("éx");
    QTest::newRow("negative") << QByteArray("{\\rtf1\\u-3913?}") << QString(QChar(0xF0B7));
    QTest::newRow("unsigned above 32767") << QByteArray("{\\rtf1\\u61623?}") << QString(QChar(0xF0B7));
    QTest::newRow("modulo 65536") << QByteArray("{\\rtf1\\u65769?}") << QString("é");
    QTest::newRow("surrogate pair") << QByteArray("{\\rtf1\\u-10179?\\u-8704?}") << QString("😀");
    QTest::newRow("lone high surrogate") << QByteArray("{\\rtf1\\u-10179?x}") << QString("\uFFFDx");
    QTest::newRow("lone low surrogate") << QByteArray("{\\rtf1\\u-8704?x}") << QString("\uFFFDx");
    QTest::newRow("high after high") << QByteArray("{\\rtf1\\u-10179?\\u-10179?\\u-8704?}") << QString("\uFFFD😀");
    QTest::newRow("high surrogate before paragraph end") << QByteArray("{\\rtf1\\u-10179?\\par x}")
                                                         << QString("\uFFFD\nx");
    QTest::newRow("control characters dropped") << QByteArray("{\\rtf1 a\\u0?\\u10?\\u13?\\u8233?\\u65532?b}")
                                                << QString("ab");
}

void tst_RtfReader::unicode()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    QCOMPARE(readText(rtf), text);
}

void tst_RtfReader::encodings_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");

    const QByteArray sjisFont = "{\\fonttbl{\\f0\\fcharset128 M;}}\\f0";
    QTest::newRow("default is 1252") << QByteArray("{\\rtf1 \\'80\\'e9}") << QString("€é");
    QTest::newRow("ansicpg1251") << QByteArray("{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0\\'e8}") << QString("При");
    QTest::newRow("raw 8-bit bytes") << QByteArray("{\\rtf1\\ansi\\ansicpg1251 \xcf\xf0\xe8}") << QString("При");
    QTest::newRow("font charset over ansicpg")
        << QByteArray("{\\rtf1\\ansi\\ansicpg950{\\fonttbl{\\f0\\fcharset0 A;}}\\f0\\'a9}") << QString("©");
    QTest::newRow("cpg over font charset")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0\\fcharset128\\cpg1251 A;}}\\f0\\'cf}") << QString("П");
    QTest::newRow("charset 1 follows ansicpg")
        << QByteArray("{\\rtf1\\ansicpg1253{\\fonttbl{\\f0\\fcharset1 A;}}\\f0\\'d9}") << QString("Ω");
    QTest::newRow("negative ansicpg wraps") << QByteArray("{\\rtf1\\ansicpg-535 \\'c3\\'a9}") << QString("é");
    QTest::newRow("ansicpg0 is 1252") << QByteArray("{\\rtf1\\ansicpg0 \\'e9}") << QString("é");
    QTest::newRow("unknown code page falls back") << QByteArray("{\\rtf1\\ansicpg12345 \\'e9}") << QString("é");
    QTest::newRow("mac") << QByteArray("{\\rtf1\\mac \\'8e}") << QString("é");
    QTest::newRow("pc") << QByteArray("{\\rtf1\\pc \\'82\\'e1}") << QString("éß");
    QTest::newRow("pca") << QByteArray("{\\rtf1\\pca \\'82\\'d5}") << QString("éı");
    QTest::newRow("shift-jis pairs") << QByteArray("{\\rtf1" + sjisFont + "\\'92\\'86\\'9a\\'a0}") << QString("中國");
    QTest::newRow("shift-jis literal trail byte") << QByteArray("{\\rtf1" + sjisFont + "\\'83e}") << QString("テ");
    QTest::newRow("gbk") << QByteArray("{\\rtf1\\ansicpg936 \\'d3\\'a1\\'cb\\'a2}") << QString("印刷");
    QTest::newRow("big5") << QByteArray("{\\rtf1\\ansicpg950 \\'a4\\'a4}") << QString("中");
    QTest::newRow("korean") << QByteArray("{\\rtf1\\ansicpg949 \\'c7\\'d1}") << QString("한");
    QTest::newRow("font switch mid text")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0\\fcharset0 A;}{\\f1\\fcharset161 G;}}\\f0\\'80\\f1\\'d9}")
        << QString("€Ω");
    QTest::newRow("code page back after group")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0\\fcharset0 A;}{\\f1\\fcharset204 C;}}\\f0{\\f1\\'cf}\\'cf}")
        << QString("ПÏ");
    QTest::newRow("unicode between dbcs bytes")
        << QByteArray("{\\rtf1" + sjisFont + "\\'92\\'86\\u12354?\\'9a\\'a0}") << QString("中あ國");
}

void tst_RtfReader::encodings()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    QCOMPARE(readText(rtf), text);
}

void tst_RtfReader::charsetTable_data()
{
    QTest::addColumn<int>("charset");
    QTest::addColumn<int>("codePage");
    const int rows[][2] = {{0, 1252}, {1, 777}, {2, 1252}, {77, 10000}, {128, 932}, {129, 949},
                           {130, 1361}, {134, 936}, {136, 950}, {161, 1253}, {162, 1254},
                           {163, 1258}, {177, 1255}, {178, 1256}, {186, 1257}, {204, 1251},
                           {222, 874}, {238, 1250}, {254, 437}, {255, 850}, {99, 777}};
    for (const auto &row : rows)
        QTest::addRow("fcharset%d", row[0]) << row[0] << row[1];
}

void tst_RtfReader::charsetTable()
{
    QFETCH(int, charset);
    QFETCH(int, codePage);
    QCOMPARE(rtf::codePageForCharset(charset, 777), codePage);
}

void tst_RtfReader::destinations_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");

    QTest::newRow("field result kept, instruction skipped")
        << QByteArray("{\\rtf1{\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt link}}}") << QString("link");
    QTest::newRow("field without groups")
        << QByteArray("{\\rtf1{\\field\\fldinst HYPERLINK x\\fldrslt link}}") << QString("link");
    QTest::newRow("field instruction without star")
        << QByteArray("{\\rtf1{\\field{\\fldinst PAGE}{\\fldrslt 1}}}") << QString("1");
    QTest::newRow("object result kept")
        << QByteArray("{\\rtf1{\\object\\objemb{\\*\\objdata 0102}{\\objclass X}{\\result r}}}") << QString("r");
    QTest::newRow("picture is an object, its hex never leaks")
        << QByteArray("{\\rtf1 a{\\pict\\pngblip 0102abcdef}b}") << QString("a\uFFFCb");
    QTest::newRow("unknown ignorable group")
        << QByteArray("{\\rtf1 a{\\*\\unknown text{\\b nested}\\par}b}") << QString("ab");
    QTest::newRow("headers kept apart, a footnote is its marker")
        << QByteArray("{\\rtf1{\\header h}{\\footerl f}a{\\footnote n\\par}}") << QString("a\uFFFC");
    QTest::newRow("list text kept") << QByteArray("{\\rtf1{\\listtext 1.\\tab}item}") << QString("1.\titem");
    QTest::newRow("old list understood, its label is no text")
        << QByteArray("{\\rtf1{\\pntext\\'b7\\tab}{\\*\\pn\\pnlvlblt{\\pntxtb\\'b7}}item}") << QString("item");
    QTest::newRow("stylesheet and info skipped")
        << QByteArray("{\\rtf1{\\stylesheet{\\s1 Heading;}}{\\info{\\title T}{\\author A}}a}") << QString("a");
    QTest::newRow("bin inside a skipped group")
        << QByteArray("{\\rtf1{\\*\\shprslt\\bin4 }{x}a}b}") << QString("b");
    QTest::newRow("upr keeps its first part") << QByteArray("{\\rtf1{\\upr{a}{\\*\\ud{b}}}}") << QString("a");
    QTest::newRow("hidden text") << QByteArray("{\\rtf1 This is hidden: {\\v secret}}") << QString("This is hidden: \uFFFC");
    QTest::newRow("special characters")
        << QByteArray("{\\rtf1\\emdash\\endash\\bullet\\lquote\\rquote\\ldblquote\\rdblquote"
                      "\\emspace\\enspace\\qmspace\\~\\-\\_}")
        << QString("—–•‘’“”\u2003\u2002\u2005\u00A0\u00AD\u2011");
    QTest::newRow("line break") << QByteArray("{\\rtf1 a\\line b}") << QString("a\u2028b");
    QTest::newRow("index and formula marks") << QByteArray("{\\rtf1 a\\:b\\|c}") << QString("abc");
    QTest::newRow("colour table text never shows")
        << QByteArray("{\\rtf1{\\colortbl;junk\\red1;}a}") << QString("a");
}

void tst_RtfReader::destinations()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    QCOMPARE(readText(rtf), text);
}

void tst_RtfReader::insertAtCursor_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("anchor");
    QTest::addColumn<QString>("summary");

    // Host document: "Hello world" right-aligned.
    QTest::newRow("run inside a paragraph")
        << QByteArray("{\\rtf1\\qc{\\b big }}") << 6 << 6 << QString("right:Hello |big {b}|world");
    QTest::newRow("paragraph mark splits the host")
        << QByteArray("{\\rtf1\\qc A\\par}") << 6 << 6 << QString("center:Hello A / right:world");
    QTest::newRow("two paragraphs inside")
        << QByteArray("{\\rtf1\\qc A\\par\\qj B}") << 6 << 6 << QString("center:Hello A / right:Bworld");
    QTest::newRow("replaces the selection")
        << QByteArray("{\\rtf1 X}") << 0 << 5 << QString("right:X world");
    QTest::newRow("paragraph at the end adds no block")
        << QByteArray("{\\rtf1\\qc A\\par}") << 11 << 11 << QString("center:Hello worldA");
}

void tst_RtfReader::insertAtCursor()
{
    QFETCH(QByteArray, rtf);
    QFETCH(int, position);
    QFETCH(int, anchor);
    QFETCH(QString, summary);

    QTextDocument doc;
    QFont font = doc.defaultFont();
    font.setPointSize(12);
    doc.setDefaultFont(font);
    QTextCursor cursor(&doc);
    QTextBlockFormat right;
    right.setAlignment(Qt::AlignRight);
    cursor.setBlockFormat(right);
    cursor.insertText(QStringLiteral("Hello world"));
    cursor.setPosition(anchor);
    cursor.setPosition(position, QTextCursor::KeepAnchor);
    QVERIFY(rtf::insertRtf(cursor, rtf).ok);
    QCOMPARE(rtftest::summary(doc), summary);
}

void tst_RtfReader::insertIsOneUndoStep()
{
    QTextDocument doc;
    doc.setPlainText(QStringLiteral("Hello"));
    QTextCursor cursor(&doc);
    cursor.movePosition(QTextCursor::End);
    QVERIFY(rtf::insertRtf(cursor, "{\\rtf1 a\\par b{\\b c}\\par d}").ok);
    QCOMPARE(paragraphs(doc), QStringLiteral("Helloa\nbc\nd"));
    doc.undo();
    QCOMPARE(doc.toPlainText(), QStringLiteral("Hello"));
}

void tst_RtfReader::corpus_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("contains");   // paragraphs joined by \n
    QTest::addColumn<int>("paragraphCount"); // -1: not checked

    QTest::newRow("pandoc unicode") << "pandoc_unicode.rtf"
        << QString("“hi”‘hi’\uF0B7αä𝐻\uFFFDunpaired") << 1;
    QTest::newRow("pandoc accent") << "pandoc_accent.rtf" << QString("le café où on ne fume pas") << 1;
    QTest::newRow("invalid hex") << "libreoffice_invalid-hex.rtf" << QString("xřx") << 1;
    QTest::newRow("bin skipping") << "libreoffice_bin-skipping.rtf" << QString("text") << 1;
    QTest::newRow("hello") << "striprtf_hello.rtf" << QString("Hello") << 1;
    QTest::newRow("french quotes") << "striprtf_french.rtf" << QString("a a a 10´000 d?") << 7;
    QTest::newRow("nbsp") << "striprtf_nbsp.rtf" << QString("This is some bold text with non\u00A0breaking") << 1;
    QTest::newRow("special chars") << "striprtf_specialchars.rtf"
        << QString("Optional hyphen\u00ADfoo. Non breaking hyphen\u2011foo.") << 1;
    QTest::newRow("invalid code page") << "striprtf_issue_20.rtf" << QString("Test") << 1;
    QTest::newRow("gbk pairs") << "striprtf_issue_28.rtf" << QString("印刷情况反映：\n201-003-00155 (Multiple)") << 5;
    QTest::newRow("uc0 and backslash newline") << "striprtf_issue_37.rtf" << QString("≤\n≤") << 2;
    QTest::newRow("cocoa paragraphs") << "striprtf_line_break_textedit_mac.rtf" << QString("A\nB\nC") << 3;
    QTest::newRow("tab fallback") << "striprtf_TX_RTF32_18.0.541.501.rtf"
        << QString("<=\t\t≤\t8804\n>=\t\t≥\t8805") << 14;
    QTest::newRow("hex fallback") << "striprtf_unicode.rtf" << QString("柔道") << 1;
    QTest::newRow("cp1251 body") << "striprtf_bytes.rtf" << QString("27 грудня 2018 року\nм. Київ") << -1;
    QTest::newRow("hyperlink") << "striprtf_hyperlink.rtf" << QString("google.com") << 1;
    QTest::newRow("list text") << "striprtf_issue_63.rtf" << QString("Trade and other receivables\t\t") << 1;
    QTest::newRow("line breaks in tables") << "striprtf_test_line_breaks_google_docs.rtf"
        << QString("Asdf\nAsdf\nAsdf\n") << 4;
    QTest::newRow("damaged file") << "striprtf_encoding.rtf" << QString("TOMOGRAFIA COMPUTADORIZADA") << -1;
    QTest::newRow("indented font table") << "striprtf_issue_55.rtf" << QString("ü") << 1;
    QTest::newRow("special chars words") << "rtfparserkit_testSpecialChars.rtf"
        << QString("CR A\nB\nLF A\nB\nThis is a line break.\u2028Here is the new line.\nEmdash: —") << 17;
    QTest::newRow("unicode scripts") << "rtfparserkit_testUnicode.rtf"
        << QString("Johann Strauß\nBelgië\tRené Magritte") << 9;
    QTest::newRow("negative unicode") << "rtfparserkit_testNegativeUnicode.rtf" << QString("F700\uF700\uF701") << 4;
    QTest::newRow("greek font charset") << "rtfparserkit_testGreekEncoding.rtf" << QString("Unicode €Ω") << 1;
    QTest::newRow("turkish") << "rtfparserkit_testTurkishEncoding.rtf" << QString("Turkish Encoding.") << 1;
    QTest::newRow("shift-jis body") << "rtfparserkit_testMultiByteHex.rtf" << QString("お元気ですか？") << 1;
    QTest::newRow("japanese second font") << "rtfparserkit_testJapaneseJisEncodingTwoFonts.rtf" << QString("中國") << 1;
    QTest::newRow("font charset 0 under 950") << "rtfparserkit_test950Encoding.rtf"
        << QString("Copyright © 2004-2013 Test Project") << 2;
    QTest::newRow("mac cyrillic") << "rtfparserkit_test10007Encoding.rtf" << QString("Комманда разработчиков") << 1;
    QTest::newRow("437 document") << "rtfparserkit_test437Encoding.rtf" << QString("Test Document") << -1;
    QTest::newRow("no encoding, trailing NUL") << "rtfparserkit_testDefaultEncodingParse.rtf" << QString("Test1") << 1;
    QTest::newRow("header skipped") << "rtfparserkit_testGitHubIssue6.rtf"
        << QString("\tINNEN. KÜCHE - TAG\nEin Absatz mit Line-Separator:\u2028Der geht") << 4;
    QTest::newRow("font table in upr") << "rtfparserkit_testUpr.rtf" << QString("TEST\nEnd User License Agreement") << -1;
    QTest::newRow("czech font in a 1252 document") << "tika_testRTFWordPadCzechCharacters.rtf"
        << QString("Článek týdne\nČást svitku s textem Knihy Izajáš") << 3;
    QTest::newRow("escaped braces") << "tika_testRTFWithCurlyBraces.rtf"
        << QString("{ some text inside curly brackets }") << 2;
    QTest::newRow("everything in the header") << "tika_testRTFBoldPlain.rtf" << QString() << 1;
    QTest::newRow("bin in object") << "tika_testBinControlWord.rtf" << QString() << 1;
}

void tst_RtfReader::corpus()
{
    QFETCH(QString, file);
    QFETCH(QString, contains);
    QFETCH(int, paragraphCount);

    const QString dir = corpusDir();
    if (dir.isEmpty() || !QDir(dir).exists())
        QSKIP("corpus not available");
    QFile f(dir + u'/' + file);
    QVERIFY2(f.open(QIODevice::ReadOnly), qPrintable(f.fileName()));
    QTextDocument doc;
    QVERIFY(rtf::readIntoDocument(&doc, f.readAll()).ok);
    const QString text = paragraphs(doc);
    QVERIFY2(text.contains(contains), qPrintable(text));
    if (paragraphCount >= 0)
        QCOMPARE(doc.blockCount(), paragraphCount);
    for (QChar c : text)
        QVERIFY2(c.unicode() >= 0x20 || c == u'\t' || c == u'\n', "control character leaked");
}

void tst_RtfReader::corpusFormatting()
{
    const QString dir = corpusDir();
    if (dir.isEmpty() || !QDir(dir).exists())
        QSKIP("corpus not available");
    const auto load = [&](const char *name) {
        QFile f(dir + u'/' + QLatin1String(name));
        if (!f.open(QIODevice::ReadOnly))
            return QString();
        return readSummary(f.readAll());
    };
    QCOMPARE(load("rtfparserkit_testStyles.rtf"),
             QString("left:Test 1 - normal.{11pt,Calibri} / left:Test 2 - italic.{i,11pt,Calibri}"
                     " / left:Test 3 - bold.{b,11pt,Calibri} / left:Test 4 -normal.{11pt,Calibri}"
                     " / left:Test 5 - Calibri 11.{11pt,Calibri} / left:Test 6 - Arial 11.{11pt,Arial}"
                     " / left:Test 7 - Calibri 11.{11pt,Calibri} / left:Test 6 - Arial 12.{Arial}"
                     " / left:Test 7 - Calibri 11.{11pt,Calibri} / left:"));
    QCOMPARE(load("rtfparserkit_testKoreanEncoding.rtf"),
             QString("left:MS Project Addin ProjectPlus{10pt,맑은 고딕}"));
    QVERIFY(load("rtfparserkit_testMultiByteHex.rtf").contains(QString("{9pt,ＭＳ Ｐゴシック}")));
    QVERIFY(load("striprtf_bytes.rtf").startsWith(QString("center: / justify:УХВАЛА{b,#000000,Calibri}")));
}

// What each family reads, as the dump shows it; written back, it reads the same.
void tst_RtfReader::families_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");

    QTest::newRow("indents")
        << QByteArray("{\\rtf1\\li720\\ri360\\fi-360 x\\par}")
        << QStringLiteral("paragraph left li=720 ri=360 fi=-360");
    QTest::newRow("spacing")
        << QByteArray("{\\rtf1\\sb120\\sa240 x\\par}")
        << QStringLiteral("paragraph left sb=120 sa=240");
    QTest::newRow("lines multiple")
        << QByteArray("{\\rtf1\\sl360\\slmult1 x\\par}")
        << QStringLiteral("sl=150%");
    QTest::newRow("lines exact")
        << QByteArray("{\\rtf1\\sl-300\\slmult0 x\\par}")
        << QStringLiteral("sl=exactly300");
    QTest::newRow("lines at least")
        << QByteArray("{\\rtf1\\sl300 x\\par}")
        << QStringLiteral("sl=atleast300");
    QTest::newRow("tab stops")
        << QByteArray("{\\rtf1\\tqr\\tldot\\tx6480\\tqc\\tx3000\\tb500\\tx720 x\\par}")
        << QStringLiteral("tabs=r6480.1;c3000.0;b500.0;l720.0");
    QTest::newRow("pard clears tabs")
        << QByteArray("{\\rtf1\\tx720 a\\par\\pard b\\par}")
        << QStringLiteral("text=\"a\"\nparagraph left\n");
    QTest::newRow("page char")
        << QByteArray("{\\rtf1 a\\par\\page b\\par}")
        << QStringLiteral("paragraph left page\n");
    QTest::newRow("pagebb keep")
        << QByteArray("{\\rtf1\\pagebb\\keep\\keepn\\widctlpar x\\par}")
        << QStringLiteral("paragraph left pagebb keep keepnext widow");
    QTest::newRow("shading")
        << QByteArray("{\\rtf1{\\colortbl;\\red255\\green255\\blue0;}\\cbpat1\\shading5000 x\\par}")
        << QStringLiteral("paragraph left shade=#ffff00");
    // A paragraph naming a style without restating it, as the common
    // readers show it: alignment, line spacing and flags from the style,
    // its spacing, indents and character formatting only where the style
    // inherits them.
    QTest::newRow("style applied")
        << QByteArray("{\\rtf1{\\stylesheet{\\s1\\sb240\\li720\\qc\\sl360\\slmult1\\keepn\\b heading 1;}}\\pard\\s1 x\\par}")
        << QStringLiteral("paragraph center sl=150% keepnext style=\"heading 1\"\n  run face=\"Times New Roman\" size=12 color=auto style=- text=\"x\"");
    QTest::newRow("style inherited")
        << QByteArray("{\\rtf1{\\stylesheet{\\s1\\sb240\\li720\\b\\fs40 Base;}{\\s2\\sbasedon1\\li360\\i Child;}}\\pard\\s2 x\\par}")
        << QStringLiteral("paragraph left sb=240 style=\"Child\"\n  run face=\"Times New Roman\" size=20 color=auto style=b text=\"x\"");
    QTest::newRow("styles based on each other")
        << QByteArray("{\\rtf1{\\stylesheet{\\s1\\sbasedon2\\sb240 A;}{\\s2\\sbasedon1\\sa120 B;}}\\pard\\s2 x\\par}")
        << QStringLiteral("paragraph left sb=240 style=\"B\"");
    QTest::newRow("spacing of the default style stays its own")
        << QByteArray("{\\rtf1{\\stylesheet{\\s0\\sl276\\slmult1\\sa200\\widctlpar\\fs22 Normal;}{\\s2\\sbasedon0\\keepn H;}}\\pard\\plain\\s2\\ql\\sb240 x\\par}")
        << QStringLiteral("paragraph left sb=240 keepnext widow style=\"H\"\n  run face=\"Times New Roman\" size=11 ");
    QTest::newRow("formatting carried over a paragraph mark stays")
        << QByteArray("{\\rtf1{\\colortbl;\\red255\\green0\\blue0;}{\\stylesheet{\\s1\\i Q;}{\\s2\\sbasedon1 R;}}\\pard\\plain\\s2\\cf1 a\\par\\pard\\s2 b\\par}")
        << QStringLiteral("paragraph left style=\"R\"\n  run face=\"Times New Roman\" size=12 color=#ff0000 style=i text=\"b\"");
    QTest::newRow("style restated")
        << QByteArray("{\\rtf1{\\stylesheet{\\s1\\sb240\\b heading 1;}}\\pard\\plain\\s1\\sb240\\b x\\par}")
        << QStringLiteral("paragraph left sb=240 style=\"heading 1\"\n  run face=\"Times New Roman\" size=12 color=auto style=b text=\"x\"");
    QTest::newRow("style keeps own")
        << QByteArray("{\\rtf1{\\stylesheet{\\s1\\li720 Quote;}}\\pard\\li100\\s1 x\\par}")
        << QStringLiteral("paragraph left li=100 style=\"Quote\"");
    QTest::newRow("char style")
        << QByteArray("{\\rtf1{\\stylesheet{\\*\\cs5\\b Strong;}}{\\cs5\\b x}\\par}")
        << QStringLiteral("style=b cs=\"Strong\" text=\"x\"");
    QTest::newRow("strike")
        << QByteArray("{\\rtf1{\\strike a}{\\striked1 b}\\par}")
        << QStringLiteral("strike text=\"a\"\n  run face=\"Times New Roman\" size=12 color=auto style=- dstrike text=\"b\"");
    QTest::newRow("super sub up dn")
        << QByteArray("{\\rtf1 a{\\super 2}{\\sub 3}{\\up6 u}{\\dn4 d}x\\nosupersub y\\par}")
        << QStringLiteral("super text=\"2\"\n  run face=\"Times New Roman\" size=12 color=auto style=- sub text=\"3\"\n  run face=\"Times New Roman\" size=12 color=auto style=- offset=6 text=\"u\"\n  run face=\"Times New Roman\" size=12 color=auto style=- offset=-4 text=\"d\"\n  run face=\"Times New Roman\" size=12 color=auto style=- text=\"xy\"");
    QTest::newRow("highlight shading")
        << QByteArray("{\\rtf1{\\colortbl;\\red255\\green255\\blue0;\\red0\\green255\\blue0;}{\\highlight1 h}{\\chcbpat2 s}{\\cb2 c}\\par}")
        << QStringLiteral("hl=#ffff00 text=\"h\"\n  run face=\"Times New Roman\" size=12 color=auto style=- bg=#00ff00 text=\"sc\"");
    QTest::newRow("caps")
        << QByteArray("{\\rtf1{\\caps a}{\\scaps b}\\par}")
        << QStringLiteral("caps text=\"a\"\n  run face=\"Times New Roman\" size=12 color=auto style=- scaps text=\"b\"");
    QTest::newRow("underlines")
        << QByteArray("{\\rtf1{\\uldb a}{\\ulwave b}{\\uld c}\\par}")
        << QStringLiteral("ul=102 text=\"a\"\n  run face=\"Times New Roman\" size=12 color=auto style=u ul=6 text=\"b\"\n  run face=\"Times New Roman\" size=12 color=auto style=u ul=3 text=\"c\"");
    QTest::newRow("list modern")
        << QByteArray("{\\rtf1{\\*\\listtable{\\list{\\listlevel\\levelnfc0\\levelstartat1{\\leveltext\\'02\\'00.;}{\\levelnumbers\\'01;}\\fi-360\\li720}\\listid7}}{\\*\\listoverridetable{\\listoverride\\listid7\\listoverridecount0\\ls1}}{\\listtext 1.\\tab}\\pard\\ls1 one\\par{\\listtext 2.\\tab}\\pard\\ls1 two\\par}")
        << QStringLiteral("list=1:0 label=\"1.\"\n  run face=\"Times New Roman\" size=12 color=auto style=- text=\"one\"\nparagraph left list=1:0 label=\"2.\"");
    QTest::newRow("list start")
        << QByteArray("{\\rtf1{\\*\\listtable{\\list{\\listlevel\\levelnfc4\\levelstartat5{\\leveltext\\'02\\'00);;}{\\levelnumbers\\'01;}}\\listid7}}{\\*\\listoverridetable{\\listoverride\\listid7\\listoverridecount0\\ls1}}\\pard\\ls1 one\\par}")
        << QStringLiteral("label=\"a)\" start=5");
    QTest::newRow("symbol bullet")
        << QByteArray("{\\rtf1{\\fonttbl{\\f2\\fcharset2 Symbol;}}{\\*\\listtable{\\list{\\listlevel\\levelnfc23{\\leveltext\\'01\\u-3913 ?;}{\\levelnumbers;}\\f2}\\listid7}}{\\*\\listoverridetable{\\listoverride\\listid7\\listoverridecount0\\ls1}}{\\listtext\\f2\\u-3913 ?\\tab}\\pard\\ls1 dot\\par}")
        << QStringLiteral("list=1:0 label=\"1\"\n  run face=\"Times New Roman\" size=12 color=auto style=- text=\"dot\"");
    QTest::newRow("list nowhere")
        << QByteArray("{\\rtf1{\\listtext 1.\\tab}\\pard\\ls99 orphan\\par}")
        << QStringLiteral("style=- text=\"orphan\"");
    QTest::newRow("level clamped")
        << QByteArray("{\\rtf1{\\*\\listtable{\\list{\\listlevel\\levelnfc0{\\leveltext\\'02\\'00.;}}\\listid7}}{\\*\\listoverridetable{\\listoverride\\listid7\\listoverridecount0\\ls1}}\\pard\\ls1\\ilvl99 deep\\par}")
        << QStringLiteral("list=1:8");
    QTest::newRow("old pn")
        << QByteArray("{\\rtf1{\\pntext 1.\\tab}{\\*\\pn\\pnlvlbody\\pnucrm\\pnstart3{\\pntxta .}}first\\par}")
        << QStringLiteral("label=\"I.\" start=3\n  run face=\"Times New Roman\" size=12 color=auto style=- text=\"first\"");
    QTest::newRow("hyperlink")
        << QByteArray("{\\rtf1{\\field{\\*\\fldinst HYPERLINK \"http://example.org/a\"}{\\fldrslt link}}\\par}")
        << QStringLiteral("field=\"HYPERLINK \\\"http://example.org/a\\\"\" text=\"link\"");
    QTest::newRow("hyperlink bookmark")
        << QByteArray("{\\rtf1{\\field{\\*\\fldinst HYPERLINK \\\\l \"top\"}{\\fldrslt up}}\\par}")
        << QStringLiteral("field=\"HYPERLINK \\\\l \\\"top\\\"\" text=\"up\"");
    QTest::newRow("page field")
        << QByteArray("{\\rtf1{\\field{\\*\\fldinst PAGE}{\\fldrslt 7}}\\par}")
        << QStringLiteral("field=\"PAGE\" text=\"7\"");
    QTest::newRow("field in a field")
        << QByteArray("{\\rtf1{\\field{\\*\\fldinst HYPERLINK \\\\l \"t\"}{\\fldrslt Intro {\\field{\\*\\fldinst PAGEREF t}{\\fldrslt 4}}}}\\par}")
        << QStringLiteral("field=\"HYPERLINK \\\\l \\\"t\\\"\" text=\"Intro \"\n"
                          "  run face=\"Times New Roman\" size=12 color=auto style=- in=\"HYPERLINK \\\\l \\\"t\\\"\" field=\"PAGEREF t\" text=\"4\"");
    QTest::newRow("empty field")
        << QByteArray("{\\rtf1 a{\\field{\\*\\fldinst NUMPAGES}{\\fldrslt }}b\\par}")
        << QStringLiteral("text=\"a\"\n  field \"NUMPAGES\"\n  run");
    QTest::newRow("table")
        << QByteArray("{\\rtf1\\trowd\\cellx1000\\cellx2000\\pard\\intbl a\\cell b\\cell\\row}")
        << QStringLiteral("table rows=1 cols=2\n  cell 0,0\n    paragraph left\n      run face=\"Times New Roman\" size=12 color=auto style=- text=\"a\"\n  cell 0,1");
    QTest::newRow("hmerge")
        << QByteArray("{\\rtf1\\trowd\\clmgf\\cellx1000\\clmrg\\cellx2000\\cellx3000\\pard\\intbl a\\cell\\cell c\\cell\\row}")
        << QStringLiteral("table rows=1 cols=3\n  cell 0,0 span=1x2");
    QTest::newRow("wider cell")
        << QByteArray("{\\rtf1\\trowd\\cellx1000\\cellx2000\\pard\\intbl a\\cell b\\cell\\row\\trowd\\cellx2000\\pard\\intbl c\\cell\\row}")
        << QStringLiteral("cell 1,0 span=1x2");
    QTest::newRow("vmerge")
        << QByteArray("{\\rtf1\\trowd\\clvmgf\\cellx1000\\cellx2000\\pard\\intbl a\\cell b\\cell\\row\\trowd\\clvmrg\\cellx1000\\cellx2000\\pard\\intbl\\cell d\\cell\\row}")
        << QStringLiteral("cell 0,0 span=2x1");
    QTest::newRow("nested")
        << QByteArray("{\\rtf1\\trowd\\cellx3000\\pard\\intbl outer\\par\\pard\\intbl\\itap2 in\\nestcell{\\*\\nesttableprops\\trowd\\cellx1000\\nestrow}{\\nonesttables\\par}\\pard\\intbl\\cell\\row}")
        << QStringLiteral("text=\"outer\"\n    table rows=1 cols=1\n      cell 0,0\n        paragraph left\n          run face=\"Times New Roman\" size=12 color=auto style=- text=\"in\"");
    QTest::newRow("table in a note inside a cell")
        << QByteArray("{\\rtf1\\trowd\\cellx1000\\cellx2000\\pard\\intbl a{\\*\\footnote\\trowd\\cellx300\\cellx600\\pard\\intbl y\\cell z\\cell\\row}"
                      "\\cell b\\cell\\row\\trowd\\cellx1000\\cellx2000\\pard\\intbl c\\cell d\\cell\\row}")
        << QStringLiteral("table rows=2 cols=2\n  cell 0,0");
    QTest::newRow("cell style")
        << QByteArray("{\\rtf1{\\colortbl;\\red255\\green0\\blue0;}\\trowd\\clbrdrt\\brdrs\\brdrw20\\clcbpat1\\clvertalc\\cellx1000\\pard\\intbl a\\cell\\row}")
        << QStringLiteral("cell 0,0 borders=1000 shade=#ff0000 valign=middle");
    QTest::newRow("picture png")
        << QByteArray("{\\rtf1{\\pict\\pngblip\\picw1\\pich1\\picwgoal300\\pichgoal150 89504e470d0a1a0a0000000d4948445200000001000000010802000000907753de0000000c49444154789c63f8cfc0000003010100c9fe92ef0000000049454e44ae426082}\\par}")
        << QStringLiteral("picture kind=0 bytes=69 md5=ee76702403cd size=20x10");
    // The smallest metafiles: a standard header and an end record, an EMF header.
    const QByteArray wmf = "010009000003150000000000030000000000030000000000";
    const QByteArray emf = "0100000058000000000000000000000001000000010000000000000000000000640000006400000020454d460000010058000000010000000100000000000000000000000000000001000000010000000100000001000000";
    QTest::newRow("picture wmf")
        << QByteArray("{\\rtf1{\\pict\\wmetafile8\\picw2000\\pich1000 " + wmf + "}\\par}")
        << QStringLiteral("picture kind=3 bytes=24 md5=25fa159da215 size=76x38");
    QTest::newRow("shppict pair")
        << QByteArray("{\\rtf1{\\*\\shppict{\\pict\\emfblip " + emf + "}}{\\nonshppict{\\pict\\wmetafile8 " + wmf + "}}\\par}")
        << QStringLiteral("picture kind=2 bytes=88 md5=8eb1786f3dac size=32x32 params=0,0,0,0,0,100,100,0,0,0,0,0,0,0 twin=3:24");
    // Metafiles without a header: no reader shows them, LibreOffice refuses
    // a document that holds one; a stand-in shows in their place.
    QTest::newRow("metafiles without a header")
        << QByteArray("{\\rtf1 a{\\pict\\wmetafile8 0102}b{\\*\\shppict{\\pict\\emfblip 0102}}{\\nonshppict{\\pict\\wmetafile8 " + wmf + "}}\\par}")
        << QStringLiteral("text=\"ab\"\n  picture kind=3 bytes=24 md5=25fa159da215 size=32x32 params=8,0,0,0,0,100,100,0,0,0,0,0,0,0\n");
    QTest::newRow("footnote")
        << QByteArray("{\\rtf1 a{\\super\\chftn}{\\footnote\\pard{\\super\\chftn} note text}b\\par}")
        << QStringLiteral("text=\"a\"\n  note footnote auto\n    paragraph left\n      run face=\"Times New Roman\" size=12 color=auto style=- text=\" note text\"\n  run");
    QTest::newRow("endnote")
        << QByteArray("{\\rtf1 a{\\super\\chftn}{\\footnote\\ftnalt\\pard end}\\par}")
        << QStringLiteral("note endnote auto");
    QTest::newRow("comment")
        << QByteArray("{\\rtf1{\\*\\atnid AW}{\\*\\atnauthor Ada}\\chatn{\\*\\annotation{\\*\\atndate 1}said}x\\par}")
        << QStringLiteral("note comment auto author=\"Ada\"\n    paragraph left\n      run face=\"Times New Roman\" size=12 color=auto style=- text=\"said\"");
    QTest::newRow("bookmark")
        << QByteArray("{\\rtf1 a{\\*\\bkmkstart b1}b{\\*\\bkmkend b1}c\\par}")
        << QStringLiteral("kept \"{\\\\*\\\\bkmkstart b1}\"\n  run face=\"Times New Roman\" size=12 color=auto style=- text=\"b\"\n  kept \"{\\\\*\\\\bkmkend b1}\"");
    QTest::newRow("header")
        << QByteArray("{\\rtf1{\\header\\pard head\\par}body\\par}")
        << QStringLiteral("section \"\"\n  header\n    paragraph left\n      run face=\"Times New Roman\" size=12 color=auto style=- text=\"head\"");
    QTest::newRow("header in mid-paragraph")
        << QByteArray("{\\rtf1 a{\\header h}b\\par}")
        << QStringLiteral("text=\"ab\"");
    QTest::newRow("info")
        << QByteArray("{\\rtf1{\\info{\\title T}{\\author A}}x\\par}")
        << QStringLiteral("info author=\"A\"\ninfo title=\"T\"");
    QTest::newRow("page setup")
        << QByteArray("{\\rtf1\\paperw11906\\paperh16838\\margl1134\\margr1134\\margt1134\\margb1134\\landscape x\\par}")
        << QStringLiteral("page 11906,16838,1134,1134,1134,1134,0,1,0");
    QTest::newRow("kept known groups")
        << QByteArray("{\\rtf1{\\*\\generator Me;}{\\*\\userprops {\\propname Client}{\\staticval Acme}}x\\par}")
        << QStringLiteral("kept \"{\\\\*\\\\userprops {\\\\propname Client}{\\\\staticval Acme}}\"");
    QTest::newRow("kept group")
        << QByteArray("{\\rtf1{\\*\\unknownthing abc}x\\par}")
        << QStringLiteral("kept \"{\\\\*\\\\unknownthing abc}\"");
    // Each script its face: \f and \af name the font of the script the last
    // of \loch, \hich, \dbch, \ltrch and \rtlch chose.
    QTest::newRow("associated fonts, as LibreOffice writes them")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0 Times New Roman;}{\\f2\\fcharset128 MS Mincho;}{\\f3 Arial;}}"
                      "{\\loch\\af3\\hich\\af3\\dbch\\f2 \\u26085?\\u26412? text}\\par}")
        << QStringLiteral("run face=\"Arial\" size=12 color=auto style=- asian=\"MS Mincho\" text=\"\u65E5\u672C text\"");
    QTest::newRow("associated fonts, as Word writes them")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0 Times New Roman;}{\\f2\\fcharset128 MS Mincho;}{\\f3 Arial;}{\\f4 Arabic Typesetting;}}"
                      "\\rtlch\\fcs1\\af4\\afs24\\ltrch\\fcs0\\f3\\hich\\af3\\dbch\\af2\\loch\\f3 a\\u26085?\\par}")
        << QStringLiteral("face=\"Arial\" size=12 color=auto style=- asian=\"MS Mincho\" complex=\"Arabic Typesetting\" text=\"a\u65E5\"");
    QTest::newRow("double-byte text in its font's code page")
        << QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f2\\fcharset128 MS Mincho;}}\\loch\\f0\\dbch\\f2 \\'93\\'fa\\loch  abc\\par}")
        << QStringLiteral("asian=\"MS Mincho\" text=\"\u65E5 abc\"");
    // Words read as their kinds say, as other readers read them: a flag's
    // number is ignored, a toggle is off with 0 only.
    QTest::newRow("flags with a number are on")
        << QByteArray("{\\rtf1\\pard\\pagebb0\\keep0\\keepn0 x\\par}")
        << QStringLiteral("paragraph left pagebb keep keepnext");
    QTest::newRow("toggles and flags in runs")
        << QByteArray("{\\rtf1{\\b1 a}{\\b0 b}{\\striked1 c}{\\super0 d}\\par}")
        << QStringLiteral("style=b text=\"a\"\n  run face=\"Times New Roman\" size=12 color=auto style=- text=\"b\"\n"
                          "  run face=\"Times New Roman\" size=12 color=auto style=- dstrike text=\"c\"\n"
                          "  run face=\"Times New Roman\" size=12 color=auto style=- super text=\"d\"");
    QTest::newRow("kept groups keep only words someone knows")
        << QByteArray("{\\rtf1{\\info{\\creatim\\yr2024\\foo7 \\mo1}}{\\*\\mine\\bar2 x}x\\par}")
        << QStringLiteral("info creatim=\"{\\\\creatim\\\\yr2024\\\\mo1}\"\nkept \"{\\\\*\\\\mine\\\\bar2 x}\"");
    QTest::newRow("kept group words in their forms")
        << QByteArray("{\\rtf1{\\*\\unknownthing\\keepn0\\b1\\b0\\fs20\\li \\pard0x abc}x\\par}")
        << QStringLiteral("kept \"{\\\\*\\\\unknownthing\\\\keepn\\\\b\\\\b0\\\\fs20\\\\pard x abc}\"");
}

void tst_RtfReader::families()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    QTextDocument doc;
    doc.setDefaultFont(QFont(QStringLiteral("Times New Roman"), 24));   // as a document window's
    QVERIFY(rtf::readIntoDocument(&doc, rtf).ok);
    const QString dump = rtf::dump(doc);
    const QString shown = rtf::dump(doc, rtf::Detail::Shown);
    QVERIFY2(shown.contains(expected), qPrintable(shown));
    QTextDocument again;
    again.setDefaultFont(doc.defaultFont());
    const QByteArray written = rtf::writeDocument(doc);
    QCOMPARE(rtf::misformedWords(written), QList<QByteArray> {});
    QVERIFY(rtf::readIntoDocument(&again, written).ok);
    QCOMPARE(rtf::dump(again), dump);
}

void tst_RtfReader::wordForms_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QByteArray>("misformed");  // space-separated

    QTest::newRow("each kind in its form")
        << QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0\\froman Times;}}\\pard\\keepn\\sb120{\\b\\i0 x}\\tab\\par}") << QByteArray();
    QTest::newRow("flag with a number")
        << QByteArray("{\\rtf1\\pard\\pagebb0\\keepn1 x\\par}") << QByteArray("\\pagebb0 \\keepn1");
    QTest::newRow("toggle on with a number") << QByteArray("{\\rtf1{\\b1 x}\\striked1\\par}") << QByteArray("\\b1 \\striked1");
    QTest::newRow("value without one") << QByteArray("{\\rtf1\\fs\\li x\\par}") << QByteArray("\\fs \\li");
    QTest::newRow("symbol or destination with a number")
        << QByteArray("{\\rtf1 x\\par0{\\info1}}") << QByteArray("\\par0 \\info1");
    QTest::newRow("unknown word only in an ignorable group")
        << QByteArray("{\\rtf1{\\*\\mine\\other1{\\inner}}\\stray x}") << QByteArray("\\stray");
}

void tst_RtfReader::wordForms()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QByteArray, misformed);
    QCOMPARE(rtf::misformedWords(rtf), misformed.isEmpty() ? QList<QByteArray> {} : misformed.split(' '));
}

// A right tab stop lines the page numbers of a table of contents up at one
// place, whatever each line's indent, as in the program that wrote it.
void tst_RtfReader::tabStopsFromTheMargin()
{
    QTextDocument doc;
    doc.setTextWidth(2000);
    QVERIFY(rtf::readIntoDocument(&doc, "{\\rtf1\\pard\\tqr\\tx9000 One\\tab 1\\par"
                                        "\\pard\\li720\\tqr\\tx9000 Two\\tab 2\\par"
                                        "\\pard\\li1440\\fi-720\\tqr\\tx9000 Three\\tab 3\\par}").ok);
    QList<qreal> ends;
    for (QTextBlock b = doc.begin(); b.isValid() && b.length() > 1; b = b.next()) {
        const QRectF box = doc.documentLayout()->blockBoundingRect(b);
        ends << box.left() + b.layout()->lineAt(0).cursorToX(b.length() - 1);
    }
    QCOMPARE(ends.size(), 3);
    QCOMPARE(ends[1], ends[0]);
    QCOMPARE(ends[2], ends[0]);
    QVERIFY(qAbs(ends[0] - 600 - doc.documentMargin()) < 1);   // 9000 twips at 96 dpi
}

// Hostile input is clamped or dropped, in time, and the reader says what it dropped.
void tst_RtfReader::hostile_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");   // in the dump
    QTest::addColumn<QString>("dropped");    // a kind the reader reports dropping

    const QByteArray png = "89504e470d0a1a0a0000000d49484452";
    QTest::newRow("indent of 2^31") << QByteArray("{\\rtf1\\li2147483647\\fi-2147483648 x\\par}")
                                    << QString("li=31680 fi=-31680") << QString();
    QByteArray tabs;
    for (int i = 1; i <= 10000; ++i)
        tabs += "\\tx" + QByteArray::number(i);
    QTest::newRow("10,000 tab stops") << "{\\rtf1" + tabs + " x\\par}" << QString("tabs=l1.0;l2.0;")
                                      << QString("tab stops beyond 64");
    QTest::newRow("100,000 cells in a row")
        << "{\\rtf1\\trowd\\cellx100" + QByteArray(" a\\cell").repeated(100000) + "\\row}"
        << QString("table rows=1 cols=") << QString("cells beyond 63 in a row");
    QTest::newRow("cellx out of order and absurd")
        << QByteArray("{\\rtf1\\trowd\\cellx5000\\cellx100\\cellx-99999\\cellx2147483647\\pard\\intbl a\\cell b\\cell c\\cell d\\cell\\row}")
        << QString("table rows=1 cols=4") << QString();
    QTest::newRow("rows without row")
        << "{\\rtf1" + QByteArray("\\trowd\\cellx100\\pard\\intbl x\\cell").repeated(2000) + "}"
        << QString("table rows=1") << QString("cells beyond 63 in a row");
    QTest::newRow("cell and row outside a table")
        << QByteArray("{\\rtf1 a\\cell b\\row c\\nestcell d\\nestrow e}") << QString("text=\"e\"") << QString();
    QTest::newRow("nesting beyond the cap")
        << QByteArray("{\\rtf1\\pard\\intbl\\itap100 x\\nestcell\\nestrow}") << QString("text=\"x\"") << QString();
    QTest::newRow("picture claiming 100,000 x 100,000 pixels")
        << "{\\rtf1{\\pict\\pngblip " + png + "000186a0000186a00806000000" + "}}" << QString("picture kind=0 bytes=29")
        << QString();
    QTest::newRow("truncated picture") << QByteArray("{\\rtf1{\\pict\\jpegblip ffd8ffe000104a46}}")
                                       << QString("picture kind=1 bytes=8") << QString();
    QTest::newRow("100,000 footnotes") << "{\\rtf1 " + QByteArray("a{\\footnote n}").repeated(100000) + "}"
                                       << QString("note footnote") << QString("notes and headers beyond the limits");
    QTest::newRow("a header in a footnote in a header")
        << QByteArray("{\\rtf1{\\header h{\\footnote f{\\header x}}}y}") << QString("text=\"y\"")
        << QString("notes and headers beyond the limits");
    QTest::newRow("an info of 8 MB") << "{\\rtf1{\\info{\\title " + QByteArray(8 << 20, 'x') + "}}y}"
                                     << QString("info title=\"xxxx") << QString();
    QTest::newRow("unbalanced groups in a kept destination")
        << QByteArray("{\\rtf1{\\*\\foo {{{ x}y}") << QString("paragraph") << QString("unbalanced groups");
    QTest::newRow("fields nested 1,000 deep")
        << "{\\rtf1" + QByteArray("{\\field{\\*\\fldinst X}{\\fldrslt a").repeated(1000) + QByteArray("}}").repeated(1000) + "}"
        << QString("in=\"X > X > X > X > X > X > X\" field=\"X\" text=\"a\"") << QString();
    QTest::newRow("a field over 100,000 empty paragraphs")
        << "{\\rtf1{\\field{\\*\\fldinst TOC}{\\fldrslt A\\par " + QByteArray("\\par ").repeated(100000) + "B}}\\par}"
        << QString("field=\"TOC\" text=\"B\"") << QString();
    QByteArray narrow = "{\\rtf1\\trowd";
    for (int i = 1; i <= 63; ++i)
        narrow += "\\cellx" + QByteArray::number(i);
    for (int i = 0; i < 63; ++i)
        narrow += " c" + QByteArray::number(i) + "\\cell";
    narrow += "\\row\\trowd\\cellx30000\\cellx31000\\pard\\intbl a\\cell b\\cell\\row"
              "\\trowd\\cellx64\\cellx65\\cellx66\\pard\\intbl x\\cell y\\cell z\\cell\\row}";
    QTest::newRow("more edges than columns, every cell's text kept")
        << narrow << QString("text=\"c62\"") << QString();
    QTest::newRow("a comment's date word in a footnote, outside a group")
        << QByteArray("{\\rtf1 a{\\footnote\\atndate note text}b{\\*\\annotation{\\*\\atndate 12345}said}}")
        << QString("style=- text=\"note text\"")
        << QString();
    QTest::newRow("page break inside a cell")
        << QByteArray("{\\rtf1\\trowd\\cellx1000\\cellx2000\\pard\\intbl A\\cell\\pard\\intbl B\\page C\\cell\\row}")
        << QString("text=\"B\"\n    paragraph left\n") << QString("page breaks inside table cells");
    QTest::newRow("list level out of range and a list pointing nowhere")
        << QByteArray("{\\rtf1{\\*\\listoverridetable{\\listoverride\\listid9\\ls1}}\\pard\\ls1\\ilvl99 a\\par}")
        << QString("paragraph left\n") << QString();
}

void tst_RtfReader::hostile()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    QFETCH(QString, dropped);
    QElapsedTimer timer;
    timer.start();
    QTextDocument doc;
    const rtf::ReadResult result = rtf::readIntoDocument(&doc, rtf);
    QVERIFY(result.ok);
    const QByteArray written = rtf::writeDocument(doc);
    QVERIFY(rtftest::sevenBitAndBalanced(written));
    QVERIFY2(timer.elapsed() < 30000, "hostile input took too long");
    const QString dump = rtf::dump(doc, rtf::Detail::Shown);
    QVERIFY2(dump.contains(expected), qPrintable(dump.left(2000)));
    if (!dropped.isEmpty())
        QVERIFY2(result.dropped.counts.contains(dropped), qPrintable(QStringList(result.dropped.counts.keys()).join(u',')));
}

QTEST_MAIN(tst_RtfReader)
#include "tst_rtfreader.moc"
