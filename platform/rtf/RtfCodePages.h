#pragma once

#include <QByteArrayView>
#include <QString>

#include <array>
#include <memory>
#include <unordered_map>

namespace rtf {

// The code page a font's \fcharset selects; charsets without a code page of
// their own (1 "default" and unknown numbers) follow the document's.
int codePageForCharset(int charset, int documentCodePage);

// Normalises \ansicpg values: negative numbers wrap (some writers store the
// unsigned value as signed 16 bits), 0 means the Western default.
int normalisedCodePage(int codePage);

// Turns bytes of a Windows or Mac code page into UTF-16. Single-byte code
// pages go through a 256-entry table built once per code page; multi-byte
// ones through an ICU-backed QStringDecoder. Unknown code pages fall back to
// Windows-1252 so text is never lost outright.
class ByteDecoder
{
public:
    ByteDecoder();
    ~ByteDecoder();
    ByteDecoder(const ByteDecoder &) = delete;
    ByteDecoder &operator=(const ByteDecoder &) = delete;

    // A null table means the code page needs multi-byte decoding.
    const std::array<char16_t, 256> *singleByteTable(int codePage);
    // Decodes a complete byte run; an incomplete trailing lead byte is dropped.
    QString decodeMultiByte(int codePage, QByteArrayView bytes);

    static bool isMultiByte(int codePage);

private:
    struct Entry;
    Entry &entry(int codePage);
    std::unordered_map<int, std::unique_ptr<Entry>> m_entries;
};

} // namespace rtf
