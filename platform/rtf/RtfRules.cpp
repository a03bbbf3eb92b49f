#include "RtfRules.h"

#include "RtfKeywords.h"

#include <QBuffer>
#include <QDateTime>
#include <QImageReader>

#include <algorithm>
#include <charconv>
#include <limits>
#include <vector>

namespace rtf::rules {

bool looksLikeRtf(QByteArrayView data)
{
    qsizetype i = 0;
    if (data.startsWith("\xEF\xBB\xBF"))
        i = 3;
    while (i < data.size() && (data[i] == ' ' || data[i] == '\t' || data[i] == '\r' || data[i] == '\n'))
        ++i;
    return data.sliced(i).startsWith("{\\rtf");
}

Align alignment(Qt::Alignment alignment)
{
    const Qt::Alignment horizontal = alignment & Qt::AlignHorizontal_Mask;
    if (horizontal & Qt::AlignJustify)
        return Align::Justify;
    if (horizontal & Qt::AlignHCenter)
        return Align::Center;
    if (horizontal & Qt::AlignRight)
        return Align::Right;
    return Align::Left;
}

Qt::Alignment toQt(Align align)
{
    switch (align) {
    case Align::Right: return Qt::AlignRight;
    case Align::Center: return Qt::AlignHCenter;
    case Align::Justify: return Qt::AlignJustify;
    case Align::Left: break;
    }
    return Qt::AlignLeft;
}

bool underlined(const QTextCharFormat &format)
{
    if (format.hasProperty(QTextFormat::TextUnderlineStyle))
        return format.underlineStyle() != QTextCharFormat::NoUnderline;
    return format.fontUnderline();
}

QString printable(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text)
        if (keptInText(c.unicode()))
            out += c;
    return out;
}

void appendUnicodeEscape(QByteArray &out, char16_t unit)
{
    char buffer[16] = {'\\', 'u'};
    const auto r = std::to_chars(buffer + 2, buffer + sizeof buffer - 1, int(qint16(unit)));
    *r.ptr = '?';
    out.append(buffer, r.ptr + 1 - buffer);
}

namespace {

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Whether text ends in a control word (with its number), which a letter or
// digit after it would join.
bool endsInWord(const QByteArray &text)
{
    qsizetype i = text.size();
    while (i > 0 && ((text[i - 1] >= '0' && text[i - 1] <= '9') || text[i - 1] == '-'))
        --i;
    const qsizetype letters = i;
    while (i > 0 && isLetter(text[i - 1]))
        --i;
    if (i == letters || i == 0 || text[i - 1] != '\\')
        return false;
    // The backslash is escaped itself when an odd number of them stand before the letters.
    qsizetype slashes = 0;
    while (i - slashes > 0 && text[i - slashes - 1] == '\\')
        ++slashes;
    return slashes % 2 == 1;
}

} // namespace

QByteArray keepableGroup(QByteArrayView group)
{
    if (group.size() < 2 || group.front() != '{' || group.back() != '}' || group.contains("\\bin"))
        return {};
    static const char digits[] = "0123456789abcdef";
    QByteArray out;
    out.reserve(group.size());
    int depth = 0;
    // Per open group: it is ignorable ({\*...}), where words nobody knows may stand.
    std::vector<bool> ignorable {false};
    for (qsizetype i = 0; i < group.size(); ++i) {
        const auto c = static_cast<unsigned char>(group[i]);
        if (c >= 0x80) {
            out.append("\\'");
            out.append(digits[c >> 4]);
            out.append(digits[c & 0xF]);
            continue;
        }
        if (c < 0x20 && c != '\t' && c != '\r' && c != '\n')
            return {};      // control bytes would read differently once dropped
        if (c == '\\' && i + 1 < group.size() && isLetter(group[i + 1])) {
            // A word goes out in a form its kind allows: a flag's number is
            // dropped (other readers would take \keepn0 as on), and so is a
            // toggle's but 0.
            qsizetype end = i + 1;
            while (end < group.size() && isLetter(group[end]))
                ++end;
            qsizetype digits = end;
            if (digits < group.size() && group[digits] == '-')
                ++digits;
            while (digits < group.size() && group[digits] >= '0' && group[digits] <= '9')
                ++digits;
            const QByteArrayView name = group.sliced(i + 1, end - i - 1);
            const QByteArrayView number = group.sliced(end, digits - end);
            const Keyword *k = findKeyword(name);
            if ((k && k->kind == Kind::Value && (number.isEmpty() || number == "-")) || (!k && !ignorable.back())) {
                // A value without its number means nothing, and so does a word
                // nobody knows outside an ignorable group: it goes, with its delimiter.
                const qsizetype after = k ? end : digits;
                i = after < group.size() && group[after] == ' ' ? after : after - 1;
                // Text after it must not run into the word before it.
                if (i + 1 < group.size() && (isLetter(group[i + 1]) || (group[i + 1] >= '0' && group[i + 1] <= '9')
                                              || group[i + 1] == '-') && endsInWord(out))
                    out.append(' ');
                continue;
            }
            out.append(group.sliced(i, end - i));
            if (!number.isEmpty() && number != "-") {
                // A number past an int's range reads as the nearest end of it.
                bool fits = false;
                int value = number.toInt(&fits);
                if (!fits)
                    value = number.startsWith('-') ? -std::numeric_limits<int>::max() : std::numeric_limits<int>::max();
                if (!k || formAllowed(*k, true, value))
                    out.append(fits ? number.toByteArray() : QByteArray::number(value));
                else if (digits < group.size() && (isLetter(group[digits]) || group[digits] == '-'))
                    out.append(' ');
            } else {
                out.append(number);
            }
            i = digits - 1;
            continue;
        }
        if (c == '\\') {
            // An escaped brace or backslash is never structure.
            if (i + 1 < group.size() && static_cast<unsigned char>(group[i + 1]) - 1u < 0x7Fu) {
                if (group[i + 1] == '*')
                    ignorable.back() = true;
                out.append('\\');
                out.append(group[++i]);
            }
            continue;
        }
        if (c == '{') {
            ++depth;
            ignorable.push_back(ignorable.back());
        } else if (c == '}') {
            if (--depth < 0 || (depth == 0 && i + 1 < group.size()))
                return {};  // more than one group, or an unbalanced one
            if (ignorable.size() > 1)
                ignorable.pop_back();
        }
        out.append(char(c));
    }
    return depth == 0 ? out : QByteArray();
}

QByteArray markupBytes(QStringView markup)
{
    QByteArray bytes;
    bytes.reserve(markup.size());
    for (const QChar ch : markup) {
        const char16_t unit = ch.unicode();
        if (unit < 0x80) {
            bytes.append(char(unit));
        } else {
            bytes.append("{\\uc1");
            appendUnicodeEscape(bytes, unit);
            bytes.append('}');
        }
    }
    return bytes;
}

PictureKind sniffPicture(QByteArray &data)
{
    if (data.startsWith("\x89PNG\r\n\x1a\n"))
        return PictureKind::Png;
    if (data.startsWith("\xFF\xD8\xFF"))
        return PictureKind::Jpeg;
    if (data.size() > 44 && data.mid(40, 4) == " EMF")
        return PictureKind::Emf;
    if (data.startsWith("\xD7\xCD\xC6\x9A") && data.size() > 22) {
        data.remove(0, 22);     // the placeable header, which RTF does not hold
        return PictureKind::Wmf;
    }
    if (data.startsWith(QByteArray("\x01\x00\x09\x00", 4)) || data.startsWith(QByteArray("\x02\x00\x09\x00", 4)))
        return PictureKind::Wmf;
    if (data.startsWith("BM") && data.size() > 14) {
        data.remove(0, 14);     // the file header: a device-independent bitmap remains
        return PictureKind::Dib;
    }
    return PictureKind::Unknown;
}

bool unusableMetafile(PictureKind kind, const QByteArray &d)
{
    const auto u16 = [&](qsizetype at) { return quint16(quint8(d[at]) | quint8(d[at + 1]) << 8); };
    const auto u32 = [&](qsizetype at) { return quint32(u16(at)) | quint32(u16(at + 2)) << 16; };
    switch (kind) {
    case PictureKind::Wmf:
        if (d.size() >= 22 && u32(0) == 0x9AC6CDD7u)     // placeable, then the standard header
            return d.size() < 22 + 18;
        return d.size() < 18 || (u16(0) != 1 && u16(0) != 2) || u16(2) != 9;
    case PictureKind::Emf:
        return d.size() < 88 || u32(0) != 1 || u32(40) != 0x464D4520u;     // EMR_HEADER, " EMF"
    default:
        return false;
    }
}

QByteArray infoDateGroup(const char *name, QStringView iso)
{
    const QDateTime when = QDateTime::fromString(iso.left(19).toString(), Qt::ISODate);
    if (!when.isValid())
        return {};
    const QDate d = when.date();
    const QTime t = when.time();
    return QStringLiteral("{\\%1\\yr%2\\mo%3\\dy%4\\hr%5\\min%6}")
        .arg(QLatin1StringView(name))
        .arg(std::clamp(d.year(), 0, 9999))
        .arg(d.month())
        .arg(d.day())
        .arg(t.hour())
        .arg(t.minute())
        .toLatin1();
}

void measurePicture(Picture &picture)
{
    if (picture.kind == PictureKind::Png || picture.kind == PictureKind::Jpeg) {
        QBuffer buffer(&picture.data);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer);
        const QSize size = reader.size();
        if (size.isValid()) {
            picture.width = std::clamp(size.width(), 0, 1 << 20);
            picture.height = std::clamp(size.height(), 0, 1 << 20);
        }
    } else {
        if (picture.kind == PictureKind::Wmf)
            picture.kindParam = 8;      // scaled to the frame, as metafiles in RTF are
        picture.width = int(qint64(picture.goalWidth) * 2540 / 1440);
        picture.height = int(qint64(picture.goalHeight) * 2540 / 1440);
    }
}

void addInfoText(DocInfo &info, const QString &name, const QString &value)
{
    const QString v = printable(value.left(MaxInfoChars)).simplified();
    if (v.isEmpty() || info.strings.contains(name))
        return;
    info.strings.insert(name, v);
    info.order.append(name);
}

void addInfoDate(DocInfo &info, const char *name, QStringView iso)
{
    const QString key = QLatin1StringView(name);
    const QByteArray group = infoDateGroup(name, iso.trimmed());
    if (group.isEmpty() || info.raw.contains(key))
        return;
    info.raw.insert(key, group);
    info.order.append(key);
}

} // namespace rtf::rules
