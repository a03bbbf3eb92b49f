// Fuzz target for the WordprocessingML (.docx) reader. An input is the parts
// of a package, each after a line "=== NAME" (_rels/.rels,
// word/document.xml, word/styles.xml, word/media/a.png, ...), so mutations
// reach the XML without a zip around it; any other input is the main part
// of a package that holds nothing else. The oracle is the RTF route's: what
// is read, built and written as RTF reads back the same.

#include "platform/docx/DocxReader.h"
#include "platform/rtf/RtfBuild.h"
#include "platform/rtf/RtfDump.h"
#include "platform/rtf/RtfReader.h"
#include "platform/rtf/RtfWriter.h"
#include "tests/rtf/rtftesthelpers.h"

#include <QGuiApplication>
#include <QTextCursor>
#include <QTextDocument>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void ensureApplication()
{
    static QGuiApplication *app = [] {
        static int argc = 3;
        static char arg0[] = "docx_fuzz", arg1[] = "-platform", arg2[] = "minimal";
        static char *argv[] = {arg0, arg1, arg2, nullptr};
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
        return new QGuiApplication(argc, argv);
    }();
    Q_UNUSED(app);
}

// "=== name\n" lines split the input into named parts.
package::MemoryParts split(QByteArrayView input)
{
    package::MemoryParts parts;
    qsizetype at = 0;
    while (at < input.size()) {
        const qsizetype eol = input.indexOf('\n', at);
        const QByteArrayView header = input.sliced(at, (eol < 0 ? input.size() : eol) - at);
        const qsizetype start = eol < 0 ? input.size() : eol + 1;
        qsizetype next = input.indexOf(QByteArrayView("\n=== "), start);
        const qsizetype end = next < 0 ? input.size() : next;
        parts.add(QString::fromUtf8(header.sliced(4)).trimmed(), input.sliced(start, end - start).toByteArray());
        at = next < 0 ? input.size() : next + 1;
    }
    return parts;
}

[[noreturn]] void fail(const char *what, const QString &a, const QString &b)
{
    std::fprintf(stderr, "oracle failed: %s\n--- first\n%s\n--- second\n%s\n", what, a.toUtf8().constData(),
                 b.toUtf8().constData());
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    ensureApplication();
    const QByteArrayView input(reinterpret_cast<const char *>(data), qsizetype(size));
    rtf::Document model;
    package::MemoryParts parts;
    if (input.startsWith("=== ")) {
        parts = split(input);
    } else {
        parts.add(QStringLiteral("_rels/.rels"),
                  "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                  "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
                  "relationships/officeDocument\" Target=\"word/document.xml\"/></Relationships>");
        parts.add(QStringLiteral("word/document.xml"), input.toByteArray());
    }
    const rtf::ReadResult result = docx::read(parts, model);
    if (!result.ok)
        return 0;

    QTextDocument doc;
    doc.setUndoRedoEnabled(false);
    {
        rtf::Builder builder(model, &doc);
        QTextCursor cursor(&doc);
        builder.insertBody(cursor);
        builder.keepDocumentData(false);
    }
    const QByteArray written = rtf::writeDocument(doc);
    if (!rtftest::sevenBitAndBalanced(written))
        fail("writer output", QString::fromLatin1(written), QString());
    QTextDocument again;
    (void)rtf::readIntoDocument(&again, written);
    const QString first = rtf::dump(doc);
    const QString second = rtf::dump(again);
    if (first != second)
        fail("document round trip", first, second);
    return 0;
}
