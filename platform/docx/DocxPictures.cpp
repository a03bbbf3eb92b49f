// Pictures: DrawingML (wp:inline, wp:anchor) and VML (v:imagedata), their
// data through the part's relationships, PNG and JPEG shown, other kinds
// kept as placeholders; text boxes, whose paragraphs follow their anchor.

#include "DocxContext.h"

#include "platform/rtf/RtfRules.h"


#include <algorithm>
#include <functional>

namespace docx {

namespace {

constexpr qint64 EmuPerTwip = 635;

int extent(QStringView emu)
{
    bool ok = false;
    const qint64 v = emu.toLongLong(&ok);
    if (!ok || v <= 0)
        return 0;
    return int(std::min<qint64>(v / EmuPerTwip, rtf::rules::MaxExtent));
}

// "width:100pt;height:1.5in" -> twips of one side.
int vmlLength(QStringView style, QStringView side)
{
    for (QStringView decl : style.split(u';')) {
        const qsizetype colon = decl.indexOf(u':');
        if (colon < 0 || decl.first(colon).trimmed() != side)
            continue;
        if (const auto tw = odt::twips(decl.sliced(colon + 1)))
            return std::clamp(*tw, 0, rtf::rules::MaxExtent);
    }
    return 0;
}

} // namespace

void Context::addPicture(ParaBuild &para, const QString &relId, int goalWidth, int goalHeight, int style, int link)
{
    const Rel rel = relsOf(part).value(relId);
    if (rel.external) {
        drop(QStringLiteral("linked pictures"));
        return;
    }
    QByteArray data;
    if (!rel.target.isEmpty())
        data = readPart(rel.target).value_or(QByteArray());
    if (data.isEmpty()) {
        drop(QStringLiteral("pictures without data"));
        return;
    }
    rtf::Picture picture;
    picture.kind = rtf::rules::sniffPicture(data);
    picture.data = std::move(data);
    if (rtf::rules::unusableMetafile(picture.kind, picture.data)) {
        drop(QStringLiteral("metafiles without a header"));
        return;
    }
    picture.goalWidth = std::clamp(goalWidth, 0, rtf::rules::MaxExtent);
    picture.goalHeight = std::clamp(goalHeight, 0, rtf::rules::MaxExtent);
    rtf::rules::measurePicture(picture);
    doc.pictures.push_back(std::move(picture));
    addObject(para, rtf::InlineObject::Picture, int(doc.pictures.size()) - 1, style, link);
}

void Context::readTextBox(XmlReader &x, ParaBuild &para)
{
    drop(QStringLiteral("text boxes, kept as paragraphs"));
    if (storyDepth >= MaxStoryDepth) {
        skip(x);
        return;
    }
    rtf::Story box;
    auto openFields = std::exchange(fields, {});
    auto outerCarried = std::exchange(carried, std::nullopt);
    ++storyDepth;
    readBlocks(x, box, 0);
    --storyDepth;
    fields = std::move(openFields);
    carried = std::move(outerCarried);
    lastStory = nullptr;
    for (rtf::Block &b : box.blocks)
        para.after.push_back(std::move(b));
}

void Context::readDrawing(XmlReader &x, ParaBuild &para, int style, int link)
{
    QString relId;
    int width = 0, height = 0;
    bool anchored = false;
    std::function<void()> walk = [&] {
        const Ns ns = nsOf(x.namespaceUri());
        const QStringView n = x.name();
        if (ns == Ns::W && n == u"txbxContent") {
            readTextBox(x, para);
            return;
        }
        if (ns == Ns::Wp && n == u"anchor")
            anchored = true;
        else if (ns == Ns::Wp && n == u"extent") {
            width = extent(attr(x, Ns::Other, QLatin1StringView("cx")));
            height = extent(attr(x, Ns::Other, QLatin1StringView("cy")));
        } else if (ns == Ns::A && n == u"blip" && relId.isEmpty()) {
            relId = attr(x, Ns::R, QLatin1StringView("embed")).toString();
            if (relId.isEmpty() && !attr(x, Ns::R, QLatin1StringView("link")).isEmpty())
                drop(QStringLiteral("linked pictures"));
        } else if (ns == Ns::Mc && n == u"AlternateContent") {
            alternate(x, walk);
            return;
        }
        children(x, walk);
    };
    children(x, walk);
    if (relId.isEmpty())
        return;
    if (anchored)
        drop(QStringLiteral("floating pictures placed in the line"));
    addPicture(para, relId, width, height, style, link);
}

void Context::readVml(XmlReader &x, ParaBuild &para, int style, int link)
{
    QString relId;
    int width = 0, height = 0;
    if (x.name() == u"object")
        drop(QStringLiteral("embedded objects, shown as their picture"));
    std::function<void()> walk = [&] {
        const Ns ns = nsOf(x.namespaceUri());
        const QStringView n = x.name();
        if (ns == Ns::W && n == u"txbxContent") {
            readTextBox(x, para);
            return;
        }
        if (ns == Ns::V && (n == u"shape" || n == u"rect") && width == 0) {
            const QStringView css = attr(x, Ns::Other, QLatin1StringView("style"));
            width = vmlLength(css, u"width");
            height = vmlLength(css, u"height");
        } else if (ns == Ns::V && n == u"imagedata" && relId.isEmpty()) {
            relId = attr(x, Ns::R, QLatin1StringView("id")).toString();
        }
        children(x, walk);
    };
    children(x, walk);
    if (!relId.isEmpty())
        addPicture(para, relId, width, height, style, link);
}

} // namespace docx
