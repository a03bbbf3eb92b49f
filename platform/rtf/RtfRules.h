#pragma once

#include "RtfModel.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QTextCharFormat>

#include <cmath>

// Rules the reader, the writer and the surface must agree on, written once.
namespace rtf::rules {

// The largest font size RTF can carry (\fs32767) that Qt's layout handles well.
inline constexpr double MaxPointSize = 1638.0;
inline constexpr int MaxHalfPoints = 3276;

// The longest length the reader takes: 22 inches, the widest page RTF writers allow.
inline constexpr int MaxLength = 31680;
// The largest page or picture side the reader takes, in twips.
inline constexpr int MaxExtent = MaxLength * 10;
// Fields inside fields' results; a field deeper than this stands on its own.
inline constexpr int MaxFieldDepth = 8;

// Lengths in Qt's text formats are pixels of 96 to the inch; RTF's are twips.
inline constexpr double TwipsPerPixel = 15.0;
inline double pixels(int twips) { return twips / TwipsPerPixel; }
inline int twips(double pixels) { return int(std::lround(pixels * TwipsPerPixel)); }

// True when data starts with "{\rtf" after an optional UTF-8 BOM and whitespace.
bool looksLikeRtf(QByteArrayView data);

// The four alignments the editor offers, from a Qt alignment: justified wins
// over centred, centred over right; anything else is left.
Align alignment(Qt::Alignment alignment);
Qt::Alignment toQt(Align align);

// Underlined in any style: Qt's fontUnderline() answers for a single line only.
bool underlined(const QTextCharFormat &format);

// A name or a string from a table or the information group with only the
// characters text keeps (below): the writer writes nothing else back.
QString printable(QStringView text);

// Characters a QTextDocument holds as text: the others would split blocks,
// or stand for frames and objects the model holds on its own.
constexpr bool keptInText(char16_t c)
{
    if (c < 0x20)
        return c == u'\t';
    return c != 0x2029 && c != 0xFFFC && c != 0xFDD0 && c != 0xFDD1;
}

// Appends \uN? for one UTF-16 unit: N signed 16-bit, '?' the fallback for
// readers without Unicode (read with \uc1).
void appendUnicodeEscape(QByteArray &out, char16_t unit);

// A group read verbatim, as it may be written back: balanced, 7-bit (other
// bytes become \'hh), without \bin data or control bytes. Empty when it is
// none of these: a group cut off by the end of the file is not kept.
QByteArray keepableGroup(QByteArrayView group);

// A picture file's kind by its first bytes; the headers RTF does not hold
// (a metafile's placeable header, a bitmap's file header) are taken off.
// An information date as RTF keeps it, from an ISO 8601 time as packaged
// documents hold it: "2024-03-05T10:00:00Z" -> {\creatim\yr2024\mo3\dy5\hr10\min0}.
// Empty when the time is no time.
QByteArray infoDateGroup(const char *name, QStringView iso);
// The longest text an information entry keeps.
inline constexpr qsizetype MaxInfoChars = 65536;
// An information entry a packaged document gives, kept as RTF keeps it; the
// first of a name counts, and one that says nothing is no entry.
void addInfoText(DocInfo &info, const QString &name, const QString &value);
void addInfoDate(DocInfo &info, const char *name, QStringView iso);

PictureKind sniffPicture(QByteArray &data);
// A packaged picture's own size, given its goal size: pixels for what Qt
// shows, read from its header alone; hundredths of a millimetre from the
// goal size for metafiles and the rest, which scale to it as in RTF.
void measurePicture(Picture &picture);
// Metafile bytes without a metafile's header: no reader shows anything for
// them, LibreOffice refuses a whole document that holds one, and a save
// would lose them; readers drop them.
bool unusableMetafile(PictureKind kind, const QByteArray &data);

// RTF markup that arrived as text (the clipboard's plain text): characters
// beyond ASCII become \u escapes, so the reader sees the characters the text held.
QByteArray markupBytes(QStringView markup);

} // namespace rtf::rules
