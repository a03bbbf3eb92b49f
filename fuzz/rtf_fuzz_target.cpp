// Fuzz target for the RTF reader. The oracle is the writer: whatever the
// reader builds must survive write-then-read unchanged, and a selection
// pasted back must keep its text.

#include "fuzz/FuzzOracle.h"
#include "platform/rtf/RtfDump.h"
#include "platform/rtf/RtfKeywords.h"
#include "platform/rtf/RtfReader.h"
#include "platform/rtf/RtfWriter.h"
#include "tests/rtf/rtftesthelpers.h"

#include <QGuiApplication>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>

#include <cstdint>
#include <cstdlib>

namespace {

QString paragraphs(const QTextDocument &doc)
{
    QString out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        if (b != doc.begin())
            out += u'\n';
        out += b.text();
    }
    return out;
}

bool hasTables(const QTextDocument &doc)
{
    return !doc.rootFrame()->childFrames().isEmpty();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    fuzzoracle::ensureApplication();
    const QByteArrayView input(reinterpret_cast<const char *>(data), qsizetype(size));

    QTextDocument doc;
    if (!rtf::readIntoDocument(&doc, input).ok)
        return 0;
    const QByteArray written = rtf::writeDocument(doc);
    if (!rtftest::sevenBitAndBalanced(written))
        fuzzoracle::fail("writer output", QString::fromLatin1(written), QString());
    if (const QList<QByteArray> words = rtf::misformedWords(written); !words.isEmpty())
        fuzzoracle::fail("words in a form their kind forbids", QString::fromLatin1(words.join(' ')), QString::fromLatin1(written));

    fuzzoracle::sameAfterReadingBack(doc, written);

    // A middle third pasted between two letters keeps its text and breaks;
    // from a table, Qt's selected text has no breaks between cells to compare.
    QTextCursor cursor(&doc);
    const int end = doc.characterCount() - 1;
    // Never split a surrogate pair: the editor's own cursor does not either.
    const auto boundary = [&](int pos) { return doc.characterAt(pos).isLowSurrogate() ? pos + 1 : pos; };
    cursor.setPosition(boundary(end / 3));
    cursor.setPosition(boundary(2 * end / 3), QTextCursor::KeepAnchor);
    cursor = rtf::selectionAsWritten(cursor);
    const QString selected = cursor.selectedText().replace(QChar::ParagraphSeparator, u'\n');
    QTextDocument host;
    host.setPlainText(QStringLiteral("XY"));
    QTextCursor at(&host);
    at.setPosition(1);
    (void)rtf::insertRtf(at, rtf::writeSelection(cursor));
    QString pasted = paragraphs(host);
    QString expected = u'X' + selected + u'Y';
    if (hasTables(doc)) {
        for (QString *s : {&expected, &pasted}) {
            s->remove(u'\n');
            s->remove(QChar(0xFDD0));   // the marks Qt's selected text has for frames
            s->remove(QChar(0xFDD1));
        }
    }
    if (pasted != expected)
        fuzzoracle::fail("selection paste", expected, pasted);
    return 0;
}
