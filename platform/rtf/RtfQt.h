#pragma once

#include <QByteArray>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QTextFormat>

#include "RtfModel.h"

#include <memory>
#include <optional>

class QTextDocument;

// How what RTF holds rides on Qt's text model: the properties the reader
// sets on Qt's formats beside Qt's own, and the document-level data it
// keeps on the document. The writer reads them back; undo, copy and paste
// inside the program carry them along because they are part of the formats.
namespace rtf {

enum Property {
    // Every run the reader builds carries this int, a digest of its look. Qt
    // hashes text formats coarsely (all face lists alike, all brushes of one
    // style alike); the digest keeps format lookups constant time when a
    // document uses thousands of faces or colours. Nothing else reads it.
    StyleDigestProperty = QTextFormat::UserProperty + 0x5254,

    // Characters.
    UnderlineKindProperty,      // int (Underline) where Qt has no style of its own
    DoubleStrikeProperty,       // bool
    OffsetProperty,             // int: \up (positive) or \dn, half-points
    CharStyleNameProperty,      // QString
    HighlightProperty,          // bool: the background is a highlight (\highlight)
    FieldInstructionProperty,   // QString: the text is the result of this field
    FieldIdProperty,            // int: which field, so two alike side by side stay two
    FieldLockedProperty,        // bool
    FieldOuterProperty,         // QVariantList: the fields around it, outermost first, each a
                                // QVariantList of id, instruction and locked
    AsianFaceProperty,          // QString: the face for East Asian text (\dbch)
    ComplexFaceProperty,        // QString: the face for right-to-left text (\rtlch)
    LanguageProperty,           // int: \lang
    AsianLanguageProperty,      // int: \langfe
    ComplexLanguageProperty,    // int: \alang

    // Inline objects (the character format of a U+FFFC).
    KeptBytesProperty,          // QByteArray: a group kept verbatim (bookmarks)
    HiddenTextProperty,         // QString: hidden text (\v), kept unseen
    NoteKindProperty,           // int (Note::Kind)
    NoteStoryProperty,          // StoryRef
    NoteAuthorProperty,         // QString
    NoteInitialsProperty,       // QString
    NoteDateProperty,           // QString
    NoteAutoNumberProperty,     // bool
    PictureDataProperty,        // QByteArray: the picture's bytes as the file held them
    PictureKindProperty,        // int (PictureKind)
    PictureParamsProperty,      // PictureParamsRef
    PictureTwinDataProperty,    // QByteArray: the \nonshppict stand-in
    PictureTwinKindProperty,
    PictureTwinParamsProperty,  // PictureParamsRef

    // Paragraphs.
    TabStopsProperty,           // TabStopsRef: the tab stops as written, with bars and leaders
    KeepWithNextProperty,       // bool
    WidowControlProperty,       // bool
    ShadingPercentProperty,     // int
    ParaStyleNameProperty,      // QString
    OutlineLevelProperty,       // int
    PageBreakCharProperty,      // bool: the break before came from \page
    ListFirstIndentProperty,    // double: the first-line indent of a list paragraph, in pixels
    SectionProperty,            // SectionRef: this paragraph starts a new section

    // Lists (QTextListFormat).
    ListNumberProperty,         // int: \ls
    ListLevelProperty,          // int: \ilvl
    ListFormatProperty,         // int: \levelnfc
    ListLevelTextProperty,      // QString
    ListStartProperty,          // int
    ListLevelIndentProperty,    // ListIndentRef
    ListDefinitionProperty,     // ListDefinitionRef: the list definition the list is an instance of

    // Tables (the first cell of a row carries the row's properties).
    RowPropertiesProperty,      // RowRef
    CellShadingPercentProperty, // int
    CellBorderKindsProperty,    // CellBordersRef: the four borders as written
    CellFillerProperty,         // bool: a grid cell no cell of the file covers
    CellMergedProperty,         // int: 1 \clmgf/\clmrg, 2 \clvmgf/\clvmrg: how the file merged it
    CellColumnWidthsProperty,   // QList<int>: the widths of the columns the cell spans, twips
    CellKeptWordsProperty,      // QByteArray: the cell's padding and preferred width, as written
    RowKeptWordsProperty,       // QByteArray: the row's (on its first cell), as written
};

// Custom objects drawn by the surface's handlers.
enum ObjectType {
    NoteObject = QTextFormat::UserObject + 1,   // a note's marker: its number, superscript
    KeptObject,                                 // bookmarks, hidden text, empty fields: nothing
    PlaceholderObject,                          // a picture Qt cannot draw: a box of its size
};

// A story kept with the document: a note's text, a header.
struct StoryRef {
    std::shared_ptr<QTextDocument> doc;
    friend bool operator==(const StoryRef &a, const StoryRef &b) { return a.doc == b.doc; }
};

struct HeaderRef {
    QByteArray keyword;         // "header", "footerf", ...
    StoryRef story;
    friend bool operator==(const HeaderRef &, const HeaderRef &) = default;
};

// A section's own keywords and its headers and footers.
struct SectionRef {
    QByteArray properties;
    QList<HeaderRef> headers;
    int number = 0;     // among the document's sections: two alike in all else are still two
    friend bool operator==(const SectionRef &, const SectionRef &) = default;
};

// One level of a list definition, as the file had it.
struct ListLevelRef {
    int format = 0;             // \levelnfc
    int start = 1;
    int leftIndent = 0, firstIndent = 0;    // twips
    int follow = 0;             // \levelfollow
    bool legal = false, noRestart = false;
    QString text;               // characters U+0000..U+0008 stand for the levels' numbers
    QString written;            // the text as the file wrote it, where that differs
    QString face;               // the level's font, where it names one
    friend bool operator==(const ListLevelRef &, const ListLevelRef &) = default;
};

// A list definition: every level, also those the document does not use,
// so instances of one list keep sharing their numbering in other readers.
struct ListDefinitionRef {
    int id = 0;                 // \listid
    int templateId = 0;
    bool hybrid = true;
    QList<ListLevelRef> levels;
    friend bool operator==(const ListDefinitionRef &, const ListDefinitionRef &) = default;
};

// A face as the font table described it, for readers that lack it.
struct FontRef {
    QString name;
    int family = -1;            // as FontDef
    int pitch = -1;
    int charset = -1;
    QByteArray panose;
    QString alternative;
    friend bool operator==(const FontRef &, const FontRef &) = default;
};

// Document-level data, kept as dynamic properties of the QTextDocument.
inline constexpr char StylesKey[] = "rtf.styles";         // QList<StyleRef>
inline constexpr char InfoKey[] = "rtf.info";             // QVariantMap
inline constexpr char PageKey[] = "rtf.page";             // PageSetup: read it with pageSetup()
inline constexpr char FirstSectionKey[] = "rtf.section";  // SectionRef
inline constexpr char KeptGroupsKey[] = "rtf.kept";       // QList<QByteArray>
inline constexpr char LanguageKey[] = "rtf.deflang";      // int
inline constexpr char DocumentKeywordsKey[] = "rtf.document";  // QByteArray: formatting keywords as written
inline constexpr char FontsKey[] = "rtf.fonts";           // QList<FontRef>
// The builder's count of the fields it numbered, so fields pasted in later
// take new ids; bookkeeping, not content.
inline constexpr char FieldIdBaseKey[] = "rtf.nextField";  // int

// A row's own properties, kept on its first cell.
struct RowRef {
    int gap = 108;              // \trgaph, twips
    int left = 0;               // \trleft
    int height = 0;             // \trrh
    bool header = false;        // \trhdr
    bool keep = false;          // \trkeep
    Align align = Align::Left;  // \trqc \trqr
    friend bool operator==(const RowRef &, const RowRef &) = default;
};

// A cell's four borders as the file wrote them.
struct CellBordersRef {
    struct Side {
        int style = 0;          // 0 none, 1 single, 2 double, 3 dotted, 4 dashed, 5 thick
        int width = 0;          // twips
        friend bool operator==(const Side &, const Side &) = default;
    };
    Side top, left, bottom, right;
    bool any() const { return top.style || left.style || bottom.style || right.style; }
    friend bool operator==(const CellBordersRef &, const CellBordersRef &) = default;
};

// The indents of a list level, twips, and what follows its label.
struct ListIndentRef {
    int left = 0, first = 0;
    int follow = 0;             // \levelfollow
    friend bool operator==(const ListIndentRef &, const ListIndentRef &) = default;
};

// A picture's sizes and kind parameter as the file gave them.
struct PictureParamsRef {
    int kindParam = 0;          // \wmetafileN, \dibitmapN, \wbitmapN
    int width = 0, height = 0;  // \picw \pich
    int goalWidth = 0, goalHeight = 0;  // twips
    int scaleX = 100, scaleY = 100;
    int cropLeft = 0, cropRight = 0, cropTop = 0, cropBottom = 0;
    int bitsPerPixel = 0, widthBytes = 0, planes = 0;
    friend bool operator==(const PictureParamsRef &, const PictureParamsRef &) = default;
};

// A paragraph's tab stops, positions from the margin in twips.
struct TabStopsRef {
    QList<TabStop> stops;
    friend bool operator==(const TabStopsRef &, const TabStopsRef &) = default;
};

// The document's own page, when it keeps one.
std::optional<PageSetup> pageSetup(const QTextDocument &doc);

struct StyleRef {
    QString name;
    int kind = 0;               // StyleDef::Kind
    QString basedOn, next;
    bool additive = false;
    QTextFormat block;          // a QTextBlockFormat
    QTextFormat chars;          // a QTextCharFormat
    friend bool operator==(const StyleRef &, const StyleRef &) = default;
};

} // namespace rtf

Q_DECLARE_METATYPE(rtf::StoryRef)
Q_DECLARE_METATYPE(rtf::SectionRef)
Q_DECLARE_METATYPE(rtf::StyleRef)
Q_DECLARE_METATYPE(rtf::ListDefinitionRef)
Q_DECLARE_METATYPE(rtf::FontRef)
Q_DECLARE_METATYPE(rtf::RowRef)
Q_DECLARE_METATYPE(rtf::CellBordersRef)
Q_DECLARE_METATYPE(rtf::ListIndentRef)
Q_DECLARE_METATYPE(rtf::PictureParamsRef)
Q_DECLARE_METATYPE(rtf::TabStopsRef)
Q_DECLARE_METATYPE(rtf::PageSetup)
