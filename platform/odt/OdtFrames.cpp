// Frames: pictures from the package's Pictures/ or inline base64 data, and
// text boxes, whose paragraphs follow the paragraph that anchors them.

#include "OdtContext.h"

#include "platform/rtf/RtfRules.h"


#include <algorithm>

namespace odt {

namespace {

constexpr qsizetype MaxBase64 = qsizetype(48) << 20;

bool shown(rtf::PictureKind kind)
{
    return kind == rtf::PictureKind::Png || kind == rtf::PictureKind::Jpeg;
}

// A name inside the package, or empty for a link outside it (never followed).
QString packagePath(QString href)
{
    if (href.startsWith(QLatin1String("./")))
        href = href.sliced(2);
    if (href.isEmpty() || href.contains(u':') || href.startsWith(u'/') || href.contains(QLatin1String(".."))
        || href.contains(u'\\'))
        return {};
    return href;
}

} // namespace

void Context::readFrame(XmlReader &x, ParaBuild &para, const Inline &in)
{
    rtf::Picture picture, twin;
    picture.goalWidth = std::max(0, twips(attr(x, Ns::Svg, QLatin1StringView("width"))).value_or(0));
    picture.goalHeight = std::max(0, twips(attr(x, Ns::Svg, QLatin1StringView("height"))).value_or(0));
    bool found = false, twinned = false, wanted = false, boxed = false;
    children(x, [&] {
        if (is(x, Ns::Draw, QLatin1StringView("image"))) {
            wanted = true;
            QByteArray data;
            const QString href = attrString(x, Ns::Xlink, QLatin1StringView("href"));
            children(x, [&] {
                if (is(x, Ns::Office, QLatin1StringView("binary-data")))
                    data = QByteArray::fromBase64(elementText(x, MaxBase64).toLatin1());
                else
                    skip(x);
            });
            if (data.isEmpty() && !href.isEmpty()) {
                const QString path = packagePath(href);
                if (path.isEmpty())
                    drop(QStringLiteral("linked pictures"));
                else if (parts)
                    data = parts->read(path).value_or(QByteArray());
            }
            if (data.isEmpty())
                return;
            const rtf::PictureKind kind = rtf::rules::sniffPicture(data);
            if (rtf::rules::unusableMetafile(kind, data)) {
                drop(QStringLiteral("metafiles without a header"));
                return;
            }
            // The first picture is the picture; when Qt cannot show it, the
            // first later one it can show stands in for it.
            if (!found) {
                picture.data = std::move(data);
                picture.kind = kind;
                found = true;
            } else if (!twinned && !shown(picture.kind) && shown(kind)) {
                twin.data = std::move(data);
                twin.kind = kind;
                twinned = true;
            }
        } else if (is(x, Ns::Draw, QLatin1StringView("text-box"))) {
            boxed = true;
            rtf::Story box;
            ++storyDepth;
            if (storyDepth <= MaxStoryDepth)
                readBlocks(x, box, 0);
            else
                skip(x);
            --storyDepth;
            for (rtf::Block &b : box.blocks)
                para.after.push_back(std::move(b));
        } else if (is(x, Ns::Draw, QLatin1StringView("object")) || is(x, Ns::Draw, QLatin1StringView("object-ole"))) {
            wanted = true;
            skip(x);
        } else {
            skip(x);
        }
    });
    if (boxed)
        drop(QStringLiteral("text boxes, kept as paragraphs"));
    if (!found) {
        if (wanted)
            drop(QStringLiteral("pictures or objects without data"));
        return;
    }
    rtf::rules::measurePicture(picture);
    if (twinned) {
        twin.goalWidth = picture.goalWidth;
        twin.goalHeight = picture.goalHeight;
        rtf::rules::measurePicture(twin);
        doc.pictures.push_back(std::move(twin));
        picture.twin = int(doc.pictures.size()) - 1;
    }
    doc.pictures.push_back(std::move(picture));
    addObject(para, rtf::InlineObject::Picture, int(doc.pictures.size()) - 1, in, true);
}

void Context::readBlockFrame(XmlReader &x, rtf::Story &out)
{
    // A frame anchored to the page stands in a paragraph of its own.
    const int look = paraLook({});
    ParaBuild para;
    const Inline in {paraLooks[size_t(look)].text, blockField};
    if (is(x, Ns::Draw, QLatin1StringView("a")))
        readInline(x, para, in);
    else
        readFrame(x, para, in);
    if (!para.p.runs.empty()) {
        para.p.props = 0;
        para.p.markStyle = charStyle(in.text);
        para.p.terminated = true;
        out.blocks.push_back(rtf::Block {std::move(para.p), nullptr});
    }
    for (rtf::Block &b : para.after)
        out.blocks.push_back(std::move(b));
}

} // namespace odt
