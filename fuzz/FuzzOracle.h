#pragma once

// What the fuzz targets share: a headless application, the oracle's way of
// failing, the "=== NAME" split of an input into a package's parts, and the
// oracle of the readers into the model: what is read, built and written as
// RTF reads back the same, every word written in a form its kind allows.

#include "platform/package/Package.h"
#include "platform/rtf/RtfBuild.h"
#include "platform/rtf/RtfDump.h"
#include "platform/rtf/RtfKeywords.h"
#include "platform/rtf/RtfReader.h"
#include "platform/rtf/RtfWriter.h"
#include "tests/rtf/rtftesthelpers.h"

#include <QGuiApplication>
#include <QTextCursor>
#include <QTextDocument>

#include <cstdio>
#include <cstdlib>

namespace fuzzoracle {

inline void ensureApplication()
{
    static QGuiApplication *app = [] {
        static int argc = 3;
        static char arg0[] = "fuzz", arg1[] = "-platform", arg2[] = "minimal";
        static char *argv[] = {arg0, arg1, arg2, nullptr};
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
        return new QGuiApplication(argc, argv);
    }();
    Q_UNUSED(app);
}

[[noreturn]] inline void fail(const char *what, const QString &a, const QString &b)
{
    std::fprintf(stderr, "oracle failed: %s\n--- first\n%s\n--- second\n%s\n", what, a.toUtf8().constData(),
                 b.toUtf8().constData());
    std::abort();
}

// "=== name\n" lines split the input into named parts.
inline package::MemoryParts splitParts(QByteArrayView input)
{
    package::MemoryParts parts;
    qsizetype at = 0;
    while (at < input.size()) {
        const qsizetype eol = input.indexOf('\n', at);
        const QByteArrayView header = input.sliced(at, (eol < 0 ? input.size() : eol) - at);
        const qsizetype start = eol < 0 ? input.size() : eol + 1;
        qsizetype next = input.indexOf(QByteArrayView("\n=== "), start);
        const qsizetype end = next < 0 ? input.size() : next;
        parts.add(QString::fromUtf8(header.sliced(std::min<qsizetype>(4, header.size()))).trimmed(),
                  input.sliced(start, end - start).toByteArray());
        at = next < 0 ? input.size() : next + 1;
    }
    return parts;
}

// What was written reads back as doc; SCRIBVALE_SHOW_WRITTEN prints it on failure.
inline void sameAfterReadingBack(const QTextDocument &doc, const QByteArray &written)
{
    QTextDocument again;
    (void)rtf::readIntoDocument(&again, written);
    const QString first = rtf::dump(doc);
    const QString second = rtf::dump(again);
    if (first != second) {
        if (qEnvironmentVariableIsSet("SCRIBVALE_SHOW_WRITTEN"))
            std::fprintf(stderr, "%s\n", written.constData());
        fail("document round trip", first, second);
    }
}

// A model a reader filled, built, written as RTF and read back: the same.
inline void modelRoundTrip(const rtf::Document &model)
{
    QTextDocument doc;
    doc.setUndoRedoEnabled(false);
    rtf::buildDocument(model, &doc);
    const QByteArray written = rtf::writeDocument(doc);
    if (!rtftest::sevenBitAndBalanced(written))
        fail("writer output", QString::fromLatin1(written), QString());
    if (const QList<QByteArray> misformed = rtf::misformedWords(written); !misformed.isEmpty())
        fail("a word written in a form its kind forbids", QString::fromLatin1(misformed.join(' ')),
             QString::fromLatin1(written));
    sameAfterReadingBack(doc, written);
}

} // namespace fuzzoracle
