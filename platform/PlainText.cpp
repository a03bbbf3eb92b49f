#include "platform/PlainText.h"

#include <QStringDecoder>

namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F.
constexpr char16_t Cp1252High[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD,
    0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178,
};

QString decodeCp1252(QByteArrayView data)
{
    QString text(data.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (const char byte : data) {
        const auto value = static_cast<unsigned char>(byte);
        *out++ = QChar(value >= 0x80 && value < 0xA0 ? Cp1252High[value - 0x80] : char16_t(value));
    }
    return text;
}

QString decode(QByteArrayView data)
{
    const auto byteAt = [&](qsizetype i) { return static_cast<unsigned char>(data[i]); };
    if (data.size() >= 2 && byteAt(0) == 0xFF && byteAt(1) == 0xFE)
        return QStringDecoder(QStringConverter::Utf16LE)(data.sliced(2));
    if (data.size() >= 2 && byteAt(0) == 0xFE && byteAt(1) == 0xFF)
        return QStringDecoder(QStringConverter::Utf16BE)(data.sliced(2));
    if (data.size() >= 3 && byteAt(0) == 0xEF && byteAt(1) == 0xBB && byteAt(2) == 0xBF)
        return QStringDecoder(QStringConverter::Utf8)(data.sliced(3));
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8(data);
    if (!utf8.hasError())
        return text;
    return decodeCp1252(data);
}

} // namespace

QString decodePlainText(QByteArrayView data)
{
    return cleanPlainText(decode(data));
}

QString cleanPlainText(QStringView raw)
{
    QString text;
    text.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QChar ch = raw.at(i);
        if (ch == QLatin1Char('\r')) {
            text.append(QLatin1Char('\n'));
            if (i + 1 < raw.size() && raw.at(i + 1) == QLatin1Char('\n'))
                ++i;
        } else if (ch.isHighSurrogate() && i + 1 < raw.size() && raw.at(i + 1).isLowSurrogate()) {
            text.append(ch);
            text.append(raw.at(++i));
        } else if (ch.isSurrogate()) {
            text.append(QChar::ReplacementCharacter);
        } else if (ch == QLatin1Char('\n') || ch == QLatin1Char('\t')
                   || (ch.unicode() >= 0x20 && ch.unicode() != 0x7F && ch != QChar::ObjectReplacementCharacter)) {
            text.append(ch);
        }
    }
    return text;
}
