#include "RtfPictures.h"

#include "RtfBuild.h"
#include "RtfParser.h"
#include "RtfWriting.h"
#include "RtfRules.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QUrl>

#include <algorithm>
#include <array>

namespace rtf {

using namespace pictureWords;

namespace {

using rules::MaxLength;

constexpr std::array<qint8, 256> hexTable = [] {
    std::array<qint8, 256> t {};
    for (auto &v : t)
        v = -1;
    for (int c = '0'; c <= '9'; ++c)
        t[size_t(c)] = qint8(c - '0');
    for (int c = 'a'; c <= 'f'; ++c)
        t[size_t(c)] = qint8(c - 'a' + 10);
    for (int c = 'A'; c <= 'F'; ++c)
        t[size_t(c)] = qint8(c - 'A' + 10);
    return t;
}();

class ShapeDest;

// The \pict group: its kind and sizes in words, its data in hex or \bin.
class PictDest final : public Dest
{
public:
    // twinOf >= 0: the picture is the stand-in of that one (\nonshppict);
    // a shape's picture takes the shape's size when it states none.
    PictDest(int twinOf, int depth, const ShapeDest *shape) : m_depth(depth), m_twinOf(twinOf), m_shape(shape) {}

    bool wantsBytes() const override { return true; }

    bool word(Parser &, const Keyword *k, const Token &t) override
    {
        if (!k || k->family != Family::Pictures)
            return k && k->family != Family::Skip;     // formatting here means nothing
        const int v = t.param;
        const auto length = [&](int &field) { field = std::clamp(v, 0, rules::MaxExtent); };
        switch (k->id) {
        case Png: m_pict.kind = PictureKind::Png; m_pict.kindParam = 0; break;
        case Jpeg: m_pict.kind = PictureKind::Jpeg; m_pict.kindParam = 0; break;
        case Emf: m_pict.kind = PictureKind::Emf; m_pict.kindParam = 0; break;
        case Wmf: m_pict.kind = PictureKind::Wmf; m_pict.kindParam = v > 0 ? v : 8; break;   // 8: anisotropic
        case MacPict: m_pict.kind = PictureKind::Mac; m_pict.kindParam = 0; break;
        case Dib: m_pict.kind = PictureKind::Dib; m_pict.kindParam = v; break;
        case WBitmap: m_pict.kind = PictureKind::Bitmap; m_pict.kindParam = v; break;
        case PicWidth: length(m_pict.width); break;
        case PicHeight: length(m_pict.height); break;
        case GoalWidth: length(m_pict.goalWidth); break;
        case GoalHeight: length(m_pict.goalHeight); break;
        case ScaleX: m_pict.scaleX = std::clamp(v, 1, 10000); break;
        case ScaleY: m_pict.scaleY = std::clamp(v, 1, 10000); break;
        case CropLeft: m_pict.cropLeft = std::clamp(v, -MaxLength, MaxLength); break;
        case CropRight: m_pict.cropRight = std::clamp(v, -MaxLength, MaxLength); break;
        case CropTop: m_pict.cropTop = std::clamp(v, -MaxLength, MaxLength); break;
        case CropBottom: m_pict.cropBottom = std::clamp(v, -MaxLength, MaxLength); break;
        case BitsPerPixel: m_pict.bitsPerPixel = std::clamp(v, 0, 64); break;
        case Planes: m_pict.planes = std::clamp(v, 0, 64); break;
        case WidthBytes: m_pict.widthBytes = std::clamp(v, 0, 1 << 20); break;
        default: break;
        }
        return true;
    }

    void bytes(Parser &p, QByteArrayView data) override
    {
        if (p.depth() != m_depth)
            return;     // nested groups (\*\blipuid and the like) carry no picture data
        appendHex(m_pict.data, data, m_high);
    }

    void binary(Parser &, QByteArrayView data) override { m_pict.data.append(data); }

    void close(Parser &p) override;

private:
    int m_depth;
    Picture m_pict;
    int m_twinOf;
    const ShapeDest *m_shape;
    int m_high = -1;
    friend class ShapeDest;
};

// {\shp{\*\shpinst\shpleft..\shpbottom ...{\sp{\sn pib}{\sv {\pict ...}}}}{\shprslt ...}}:
// a drawing object; its picture (the property "pib") is read with the
// shape's size, its other properties are not.
class ShapeDest final : public Dest
{
public:
    explicit ShapeDest(Dest *outer) : m_outer(outer) {}
    Dest *outer() const { return m_outer; }
    bool gotPicture = false;
    int left = 0, top = 0, right = 0, bottom = 0;

    bool word(Parser &p, const Keyword *k, const Token &t) override
    {
        if (!k || k->family != Family::Pictures)
            return false;
        switch (k->id) {
        case ShapeLeft: left = t.param; return true;
        case ShapeTop: top = t.param; return true;
        case ShapeRight: right = t.param; return true;
        case ShapeBottom: bottom = t.param; return true;
        case ShapePropertyName:
            m_nameDepth = p.depth();
            m_name.clear();
            return true;
        default: return false;
        }
    }

    void text(Parser &p, QStringView s) override
    {
        if (m_nameDepth && p.depth() >= m_nameDepth && m_name.size() < 64)
            m_name += s;
    }

    void innerGroupEnd(Parser &p) override
    {
        if (p.depth() == m_nameDepth)
            m_nameDepth = 0;
    }

    // The picture of the shape itself, not a fill or a line pattern.
    bool wantsPicture() const { return m_name.trimmed() == QLatin1String("pib") || m_name.isEmpty(); }

private:
    Dest *m_outer;
    QString m_name;
    int m_nameDepth = 0;
};

void PictDest::close(Parser &p)
{
    {
        if (m_pict.data.isEmpty())
            return;
        if (rules::unusableMetafile(m_pict.kind, m_pict.data)) {
            p.doc().dropped.add(QStringLiteral("metafiles without a header"));
            return;
        }
        if (m_shape && m_pict.goalWidth <= 0 && m_pict.goalHeight <= 0 && m_shape->right > m_shape->left
            && m_shape->bottom > m_shape->top) {
            m_pict.goalWidth = std::min(m_shape->right - m_shape->left, rules::MaxExtent);
            m_pict.goalHeight = std::min(m_shape->bottom - m_shape->top, rules::MaxExtent);
        }
        Document &doc = p.doc();
        doc.pictures.push_back(std::move(m_pict));
        const int index = int(doc.pictures.size()) - 1;
        if (m_twinOf >= 0)
            doc.pictures[size_t(m_twinOf)].twin = index;
        else
            p.insertObject(InlineObject::Picture, index);
    }
}

// {\nonshppict{\pict ...}}: the stand-in for readers without the picture
// before it; kept with that picture, or shown when there is none.
class NonShpPictDest final : public Dest
{
public:
    explicit NonShpPictDest(int twinOf) : m_twinOf(twinOf) {}
    int twinOf() const { return m_twinOf; }

private:
    int m_twinOf;
};

} // namespace

void appendHex(QByteArray &out, QByteArrayView hex, int &high)
{
    const qsizetype start = out.size();
    out.resize(start + hex.size() / 2 + 1);
    char *dst = out.data() + start;
    for (const char c : hex) {
        const int v = hexTable[static_cast<unsigned char>(c)];
        if (v < 0)
            continue;
        if (high < 0) {
            high = v;
        } else {
            *dst++ = char(high << 4 | v);
            high = -1;
        }
    }
    out.truncate(dst - out.constData());
}

void picturesWord(Parser &p, int id, const Token &)
{
    State &s = p.state();
    if (!p.nested())
        return;
    switch (id) {
    case PictGroup: {
        int twinOf = -1;
        if (auto *non = dynamic_cast<NonShpPictDest *>(s.dest))
            twinOf = non->twinOf();
        else if (!p.inText() && !dynamic_cast<ShapeDest *>(s.dest)) {
            p.skipGroup();
            break;
        }
        auto *shape = dynamic_cast<ShapeDest *>(s.dest);
        if (shape && !shape->wantsPicture()) {
            p.skipGroup();      // a fill or line pattern
            break;
        }
        if (shape)
            shape->gotPicture = true;
        p.open(std::make_unique<PictDest>(twinOf, p.depth(), shape));
        break;
    }
    case ShpPict:
        break;  // read as it stands: the picture inside is the one to show
    case NonShpPict: {
        const int last = p.lastObject(InlineObject::Picture);
        p.open(std::make_unique<NonShpPictDest>(last));
        break;
    }
    case Shape:
        if (p.inText())
            p.open(std::make_unique<ShapeDest>(s.dest));
        else
            p.skipGroup();
        break;
    case ShapeInstance:
    case ShapeLeft: case ShapeTop: case ShapeRight: case ShapeBottom:
        break;
    case ShapePropertyName:
        p.skipGroup();      // outside a shape there is nothing to name
        break;
    case ShapeResult:
    case ObjectResult:
        if (auto *shape = dynamic_cast<ShapeDest *>(s.dest); shape && !shape->gotPicture)
            s.dest = shape->outer();    // the stand-in is all there is to show
        else
            p.skipGroup();
        break;
    case ObjectGroup:
        // An embedded object: only its result, usually a picture, is shown.
        if (p.inText())
            p.open(std::make_unique<ShapeDest>(s.dest));
        else
            p.skipGroup();
        break;
    default:
        break;
    }
}

// ---- Qt's document ----------------------------------------------------------------------------

namespace {

constexpr qint64 MaxPixels = 64LL * 1024 * 1024;   // larger pictures are kept but not shown
constexpr double MaxShownPixels = 20000;

bool drawable(PictureKind kind)
{
    return kind == PictureKind::Png || kind == PictureKind::Jpeg || kind == PictureKind::Dib;
}

// A device-independent bitmap as a BMP file: the file header it lacks in front.
QByteArray bmpFile(const QByteArray &dib)
{
    if (dib.size() < 16)
        return {};
    const auto le32 = [&](int at) {
        return quint32(quint8(dib[at])) | quint32(quint8(dib[at + 1])) << 8 | quint32(quint8(dib[at + 2])) << 16
            | quint32(quint8(dib[at + 3])) << 24;
    };
    const quint32 headerSize = le32(0);
    if (headerSize < 12 || headerSize > quint32(dib.size()))
        return {};
    quint32 paletteEntries = 0;
    if (headerSize >= 40) {
        const int bits = quint8(dib[14]) | quint8(dib[15]) << 8;
        paletteEntries = le32(32);
        if (paletteEntries == 0 && bits <= 8)
            paletteEntries = 1u << bits;
    }
    const quint32 offset = 14 + headerSize + paletteEntries * 4;
    const quint32 size = 14 + quint32(dib.size());
    QByteArray out("BM", 2);
    for (quint32 v : {size, 0u, offset})
        for (int i = 0; i < 4; ++i)
            out.append(char(v >> (8 * i)));
    return out + dib;
}

// The picture as Qt draws it, or a null image: undrawable kinds, broken
// data and pictures beyond the pixel budget are kept but not decoded.
QImage decode(PictureKind kind, const QByteArray &data)
{
    if (!drawable(kind))
        return {};
    QByteArray bytes = kind == PictureKind::Dib ? bmpFile(data) : data;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, kind == PictureKind::Png ? "png" : kind == PictureKind::Jpeg ? "jpeg" : "bmp");
    const QSize size = reader.size();
    if (!size.isValid() || qint64(size.width()) * size.height() > MaxPixels)
        return {};
    reader.setAutoTransform(true);
    return reader.read();
}

PictureParamsRef params(const Picture &p)
{
    return {p.kindParam, p.width, p.height, p.goalWidth, p.goalHeight, p.scaleX, p.scaleY, p.cropLeft,
            p.cropRight, p.cropTop, p.cropBottom, p.bitsPerPixel, p.widthBytes, p.planes};
}

// The size the file asks for, in pixels: the goal size scaled, else the
// picture's own size, else the metafile's size in hundredths of a millimetre.
QSizeF shownSize(const Picture &p, const QImage &image)
{
    double w = 0, h = 0;
    if (p.goalWidth > 0 && p.goalHeight > 0) {
        w = rules::pixels(p.goalWidth);
        h = rules::pixels(p.goalHeight);
    } else if (!image.isNull()) {
        w = image.width();
        h = image.height();
    } else if (p.width > 0 && p.height > 0) {
        w = p.width / 100.0 / 25.4 * 96;
        h = p.height / 100.0 / 25.4 * 96;
    } else {
        w = h = 32;
    }
    w *= p.scaleX / 100.0;
    h *= p.scaleY / 100.0;
    return {std::clamp(w, 1.0, MaxShownPixels), std::clamp(h, 1.0, MaxShownPixels)};
}

QImage placeholder(QSizeF size)
{
    QImage box(QSize(int(std::min(size.width(), 400.0)), int(std::min(size.height(), 400.0))).expandedTo(QSize(2, 2)),
               QImage::Format_RGB32);
    box.fill(QColor(236, 236, 236));
    QPainter painter(&box);
    painter.setPen(QColor(160, 160, 160));
    painter.drawRect(0, 0, box.width() - 1, box.height() - 1);
    painter.drawLine(0, 0, box.width() - 1, box.height() - 1);
    painter.drawLine(0, box.height() - 1, box.width() - 1, 0);
    return box;
}

} // namespace

QTextCharFormat buildPicture(Builder &b, const Picture &pict, QTextCharFormat format)
{
    const Picture *twin = pict.twin >= 0 ? &b.model().pictures[size_t(pict.twin)] : nullptr;
    const Picture *shown = &pict;
    QImage image = decode(pict.kind, pict.data);
    if (image.isNull() && twin) {
        image = decode(twin->kind, twin->data);
        if (!image.isNull())
            shown = twin;
    }
    const QSizeF size = shownSize(image.isNull() ? pict : *shown, image);
    if (image.isNull())
        image = placeholder(size);

    const QByteArray digest = QCryptographicHash::hash(shown->data, QCryptographicHash::Md5).toHex();
    const QString name = QStringLiteral("rtfpict:%1:%2").arg(QString::fromLatin1(digest)).arg(image.width());
    QTextDocument *doc = b.document();
    if (!doc->resource(QTextDocument::ImageResource, QUrl(name)).isValid())
        doc->addResource(QTextDocument::ImageResource, QUrl(name), image);

    format.setObjectType(QTextFormat::ImageObject);
    QTextImageFormat f = format.toImageFormat();
    f.setName(name);
    f.setWidth(size.width());
    f.setHeight(size.height());
    f.setProperty(PictureDataProperty, pict.data);
    f.setProperty(PictureKindProperty, int(pict.kind));
    f.setProperty(PictureParamsProperty, QVariant::fromValue(params(pict)));
    if (twin) {
        f.setProperty(PictureTwinDataProperty, twin->data);
        f.setProperty(PictureTwinKindProperty, int(twin->kind));
        f.setProperty(PictureTwinParamsProperty, QVariant::fromValue(params(*twin)));
    }
    f.setProperty(StyleDigestProperty, int(qHash(digest) & 0x7fffffff));
    return f;
}

void ensurePictures(QTextDocument *doc)
{
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            if (!f.isImageFormat() || !f.hasProperty(PictureDataProperty))
                continue;
            const QUrl url(f.toImageFormat().name());
            if (doc->resource(QTextDocument::ImageResource, url).isValid())
                continue;
            QImage image = decode(PictureKind(f.intProperty(PictureKindProperty)), f.property(PictureDataProperty).toByteArray());
            if (image.isNull() && f.hasProperty(PictureTwinDataProperty))
                image = decode(PictureKind(f.intProperty(PictureTwinKindProperty)),
                               f.property(PictureTwinDataProperty).toByteArray());
            if (image.isNull())
                image = placeholder(QSizeF(f.toImageFormat().width(), f.toImageFormat().height()));
            doc->addResource(QTextDocument::ImageResource, url, image);
        }
    }
}

// ---- writing ------------------------------------------------------------------------------------

namespace {

void writePict(RtfOut &out, PictureKind kind, const QByteArray &data, const PictureParamsRef &p)
{
    out.open();
    out.word("pict");
    const int param = p.kindParam;
    switch (kind) {
    case PictureKind::Png: out.word("pngblip"); break;
    case PictureKind::Jpeg: out.word("jpegblip"); break;
    case PictureKind::Emf: out.word("emfblip"); break;
    case PictureKind::Wmf: out.word("wmetafile", param > 0 ? param : 8); break;
    case PictureKind::Mac: out.word("macpict"); break;
    case PictureKind::Dib: out.word("dibitmap", param); break;
    case PictureKind::Bitmap: out.word("wbitmap", param); break;
    case PictureKind::Unknown: break;
    }
    // The sizes always, the rest where it is not the default.
    const std::pair<const char *, int> sizes[] = {{"picw", p.width}, {"pich", p.height}, {"picwgoal", p.goalWidth},
                                                  {"pichgoal", p.goalHeight}};
    for (const auto &[word, value] : sizes)
        out.word(word, value);
    if (p.scaleX != 100)
        out.word("picscalex", p.scaleX);
    if (p.scaleY != 100)
        out.word("picscaley", p.scaleY);
    const std::pair<const char *, int> rest[] = {{"piccropl", p.cropLeft}, {"piccropr", p.cropRight},
                                                 {"piccropt", p.cropTop}, {"piccropb", p.cropBottom},
                                                 {"wbmbitspixel", p.bitsPerPixel}, {"wbmwidthbytes", p.widthBytes},
                                                 {"wbmplanes", p.planes}};
    for (const auto &[word, value] : rest)
        if (value)
            out.word(word, value);
    out.hex(data);
    out.close();
}

} // namespace

void writePicture(Writer &w, const QTextCharFormat &format)
{
    RtfOut &out = w.out();
    const QTextImageFormat f = format.toImageFormat();
    QByteArray data = f.property(PictureDataProperty).toByteArray();
    PictureKind kind = PictureKind(f.intProperty(PictureKindProperty));
    PictureParamsRef params = f.property(PictureParamsProperty).value<PictureParamsRef>();
    if (data.isEmpty()) {
        // A picture only Qt knows: written as PNG at the size it is shown.
        const QImage image = w.doc().resource(QTextDocument::ImageResource, QUrl(f.name())).value<QImage>();
        if (image.isNull())
            return;
        QBuffer buffer(&data);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        kind = PictureKind::Png;
        const double width = f.width() > 0 ? f.width() : image.width();
        const double height = f.height() > 0 ? f.height() : image.height();
        params = PictureParamsRef {};
        params.width = image.width();
        params.height = image.height();
        params.goalWidth = rules::twips(width);
        params.goalHeight = rules::twips(height);
    }
    if (!f.hasProperty(PictureTwinDataProperty)) {
        writePict(out, kind, data, params);
        return;
    }
    out.open();
    out.star();
    out.word("shppict");
    writePict(out, kind, data, params);
    out.close();
    out.open();
    out.word("nonshppict");
    writePict(out, PictureKind(f.intProperty(PictureTwinKindProperty)), f.property(PictureTwinDataProperty).toByteArray(),
              f.property(PictureTwinParamsProperty).value<PictureParamsRef>());
    out.close();
}

} // namespace rtf
