#include "RtfCodePages.h"

#include <QByteArray>
#include <QStringDecoder>
#include <QStringList>

#include <optional>

namespace rtf {

int codePageForCharset(int charset, int documentCodePage)
{
    switch (charset) {
    case 0: return 1252;
    case 2: return 1252;     // Symbol: keep the byte values readable
    case 77: return 10000;
    case 78: return 10001;
    case 79: return 10003;
    case 80: return 10008;
    case 81: return 10002;
    case 83: return 10005;
    case 84: return 10004;
    case 85: return 10006;
    case 86: return 10081;
    case 87: return 10021;
    case 88: return 10029;
    case 89: return 10007;
    case 128: return 932;
    case 129: return 949;
    case 130: return 1361;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    case 254: return 437;
    case 255: return 850;
    default: return documentCodePage;
    }
}

int normalisedCodePage(int codePage)
{
    if (codePage < 0 && codePage >= -65535)
        codePage += 65536;
    if (codePage <= 0)
        return 1252;
    return codePage;
}

bool ByteDecoder::isMultiByte(int codePage)
{
    switch (codePage) {
    case 932: case 936: case 949: case 950: case 1361:
    case 10001: case 10002: case 10003: case 10008:
    case 20932: case 50220: case 50221: case 50222: case 51932: case 51936: case 51949:
    case 52936: case 54936: case 65000: case 65001:
        return true;
    default:
        return false;
    }
}

namespace {

// ICU names for the Windows and Mac code page numbers RTF uses.
QStringList decoderNames(int codePage)
{
    switch (codePage) {
    case 932: return {QStringLiteral("windows-31j"), QStringLiteral("Shift_JIS")};
    case 936: return {QStringLiteral("windows-936"), QStringLiteral("GBK")};
    case 949: return {QStringLiteral("windows-949")};
    case 950: return {QStringLiteral("windows-950"), QStringLiteral("Big5")};
    case 1361: return {QStringLiteral("ibm-1361"), QStringLiteral("johab")};
    case 10000: return {QStringLiteral("macintosh")};
    case 10001: return {QStringLiteral("Shift_JIS")};
    case 10002: return {QStringLiteral("Big5")};
    case 10003: return {QStringLiteral("EUC-KR")};
    case 10006: return {QStringLiteral("x-mac-greek")};
    case 10007: return {QStringLiteral("x-mac-cyrillic")};
    case 10008: return {QStringLiteral("GB2312")};
    case 10029: return {QStringLiteral("x-mac-centraleurroman"), QStringLiteral("x-mac-ce")};
    case 10081: return {QStringLiteral("x-mac-turkish")};
    case 20127: return {QStringLiteral("US-ASCII")};
    case 20866: return {QStringLiteral("KOI8-R")};
    case 20932: case 51932: return {QStringLiteral("EUC-JP")};
    case 21866: return {QStringLiteral("KOI8-U")};
    case 50220: case 50221: case 50222: return {QStringLiteral("ISO-2022-JP")};
    case 51936: case 52936: return {QStringLiteral("GB2312")};
    case 51949: return {QStringLiteral("EUC-KR")};
    case 54936: return {QStringLiteral("GB18030")};
    case 65000: return {QStringLiteral("UTF-7")};
    case 65001: return {QStringLiteral("UTF-8")};
    default: break;
    }
    if (codePage >= 28591 && codePage <= 28606)
        return {QStringLiteral("ISO-8859-%1").arg(codePage - 28590)};
    if (codePage >= 1250 && codePage <= 1258)
        return {QStringLiteral("windows-%1").arg(codePage)};
    if (codePage == 874)
        return {QStringLiteral("windows-874")};
    if (codePage < 1000)
        return {QStringLiteral("IBM%1").arg(codePage), QStringLiteral("ibm-%1").arg(codePage)};
    return {QStringLiteral("windows-%1").arg(codePage), QStringLiteral("cp%1").arg(codePage)};
}

std::optional<QStringDecoder> openDecoder(int codePage)
{
    for (const QString &name : decoderNames(codePage)) {
        const QByteArray latin1 = name.toLatin1();
        QStringDecoder decoder(latin1.constData(), QStringConverter::Flag::Stateless);
        if (decoder.isValid())
            return decoder;
    }
    return std::nullopt;
}

} // namespace

struct ByteDecoder::Entry {
    bool multiByte = false;
    std::array<char16_t, 256> table {};
    std::optional<QStringDecoder> decoder;
};

ByteDecoder::ByteDecoder() = default;
ByteDecoder::~ByteDecoder() = default;

ByteDecoder::Entry &ByteDecoder::entry(int codePage)
{
    auto it = m_entries.find(codePage);
    if (it != m_entries.end())
        return *it->second;

    auto e = std::make_unique<Entry>();
    e->decoder = openDecoder(codePage);
    if (!e->decoder && codePage != 1252)
        e->decoder = openDecoder(1252);
    e->multiByte = isMultiByte(codePage) && e->decoder && codePage != 1252;
    if (!e->multiByte) {
        for (int b = 0; b < 0x80; ++b)
            e->table[b] = char16_t(b);
        for (int b = 0x80; b < 0x100; ++b) {
            char16_t c = u'\xfffd';
            if (e->decoder) {
                const char byte = char(b);
                const QString s = (*e->decoder)(QByteArrayView(&byte, 1));
                if (s.size() == 1)
                    c = s.at(0).unicode();
            } else if (codePage == 1252) {
                c = char16_t(b);    // no ICU at all: Latin-1 is the closest
            }
            e->table[b] = c;
        }
    }
    Entry &ref = *e;
    m_entries.emplace(codePage, std::move(e));
    return ref;
}

const std::array<char16_t, 256> *ByteDecoder::singleByteTable(int codePage)
{
    Entry &e = entry(codePage);
    return e.multiByte ? nullptr : &e.table;
}

QString ByteDecoder::decodeMultiByte(int codePage, QByteArrayView bytes)
{
    Entry &e = entry(codePage);
    if (!e.multiByte || !e.decoder)
        return QString();
    return (*e.decoder)(bytes);
}

} // namespace rtf
