#include "RtfReader.h"

#include "RtfBuild.h"
#include "RtfParser.h"
#include "RtfRules.h"

#include <QTextCursor>
#include <QTextDocument>

namespace rtf {

namespace {

ReadResult notRtf()
{
    return ReadResult {false, QStringLiteral("The data is not RTF: it does not start with {\\rtf."), {}};
}

} // namespace

ReadResult insertRtf(QTextCursor &cursor, QByteArrayView data)
{
    if (!rules::looksLikeRtf(data))
        return notRtf();
    if (cursor.isNull())
        return ReadResult {false, QStringLiteral("No document to insert into."), {}};
    Document model = parse(data);
    Builder builder(model, cursor.document());
    builder.insertBody(cursor);
    builder.keepDocumentData(true);
    return ReadResult {true, {}, std::move(model.dropped)};
}

ReadResult readIntoDocument(QTextDocument *doc, QByteArrayView data)
{
    if (!rules::looksLikeRtf(data))
        return notRtf();
    if (!doc)
        return ReadResult {false, QStringLiteral("No document to read into."), {}};
    Document model = parse(data);
    buildDocument(model, doc);
    return ReadResult {true, {}, std::move(model.dropped)};
}

} // namespace rtf
