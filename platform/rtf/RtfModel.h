#pragma once

#include <QByteArray>
#include <QHash>
#include <QRgb>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

// What the reader makes of an RTF file, free of Qt's text classes so parsing
// can be measured and fuzzed on its own. Qt's document is built from it in
// RtfQtBuild.cpp; the writer reads Qt's document back (RtfWriter.cpp).
//
// Units are the file's own: twips for lengths, half-points for font sizes.
// Formatting is interned: runs and paragraphs hold indexes into the tables of
// distinct character styles and paragraph properties, so a build makes one
// Qt format per distinct look.
namespace rtf {

enum class Align : quint8 { Left, Right, Center, Justify };

enum class Underline : quint8 { None, Single, Double, Dotted, Dash, Wave, Word, Thick };
enum class VerticalPos : quint8 { Normal, Super, Sub };

// A colour from the colour table; `set` false is the automatic colour.
struct Colour {
    QRgb rgb = 0;
    bool set = false;
    friend bool operator==(const Colour &, const Colour &) = default;
};

// What the font table says of a face besides its name, for readers that
// lack the face and pick another of its kind.
struct FontDef {
    int family = -1;            // 0 \fnil, 1 \froman, 2 \fswiss, 3 \fmodern, 4 \fscript, 5 \fdecor, 6 \ftech, 7 \fbidi; -1 none given
    int pitch = -1;             // \fprq: 0 default, 1 fixed, 2 variable; -1 none given
    int charset = -1;           // \fcharset; -1 none given
    QByteArray panose;          // {\*\panose}, as written
    QString alternative;        // {\*\falt}
    friend bool operator==(const FontDef &, const FontDef &) = default;
};

// The character formatting of a run.
struct CharStyle {
    int face = -1;              // into Document::faces; -1 = the document's default face
    int asianFace = -1;         // the face for East Asian text (\dbch); -1 none of its own
    int complexFace = -1;       // the face for right-to-left text (\rtlch); -1 none of its own
    int halfPoints = 24;
    Colour colour;
    Colour highlight;           // \highlight
    Colour background;          // \chcbpat, \cb
    int offset = 0;             // \up (positive) or \dn (negative), half-points
    int charStyle = -1;         // \cs: into Document::styles
    int language = -1;          // \lang, \langfe, \alang: the text's languages (line breaking,
    int asianLanguage = -1;     // hyphenation and spelling in other programs); -1 none given
    int complexLanguage = -1;
    Underline underline = Underline::None;
    VerticalPos vertical = VerticalPos::Normal;
    bool bold = false;
    bool italic = false;
    bool strike = false;
    bool doubleStrike = false;
    bool caps = false;
    bool smallCaps = false;
    bool hidden = false;        // \v

    friend bool operator==(const CharStyle &, const CharStyle &) = default;
};
size_t qHash(const CharStyle &s, size_t seed = 0) noexcept;

enum class TabKind : quint8 { Left, Right, Center, Decimal, Bar };
enum class TabLeader : quint8 { None, Dot, Hyphen, Underline, Thick, Equal, MiddleDot };

struct TabStop {
    int position = 0;
    TabKind kind = TabKind::Left;
    TabLeader leader = TabLeader::None;
    friend bool operator==(const TabStop &, const TabStop &) = default;
};

// How \sl is read: 0 single; with \slmult a multiple of N/240 lines; else
// N > 0 at least N twips, N < 0 exactly -N twips.
struct ParaProps {
    Align align = Align::Left;
    int leftIndent = 0;
    int rightIndent = 0;
    int firstIndent = 0;
    int spaceBefore = 0;
    int spaceAfter = 0;
    int lineSpacing = 0;
    bool lineMultiple = false;
    bool pageBreakBefore = false;
    bool keepTogether = false;
    bool keepWithNext = false;
    bool widowControl = false;
    bool rightToLeft = false;
    Colour shading;             // \cbpat
    int shadingPercent = 0;     // \shading, hundredths of a percent
    int tabs = 0;               // into Document::tabLists; 0 = no tab stops
    int style = -1;             // \s: into Document::styles
    int list = -1;              // into Document::listInstances
    int level = 0;              // \ilvl
    int outline = -1;           // \outlinelevel

    friend bool operator==(const ParaProps &, const ParaProps &) = default;
};
size_t qHash(const ParaProps &p, size_t seed = 0) noexcept;

// One entry of the stylesheet.
struct StyleDef {
    enum Kind : quint8 { Paragraph, Character, Table };
    QString name;
    Kind kind = Paragraph;
    int number = 0;             // the number the file gave it
    int basedOn = -1;           // numbers, as in the file
    int next = -1;
    ParaProps para;             // with style = -1, list = -1
    int chars = 0;              // into Document::charStyles
    bool additive = false;
};

// One level of a list definition. The level text is as in the file: its
// characters U+0000..U+0008 stand for the numbers of levels 1 to 9.
struct ListLevel {
    int format = 0;             // \levelnfc: 0 decimal, 1 I, 2 i, 3 A, 4 a, 23 bullet, 255 none
    int start = 1;
    int leftIndent = 0;
    int firstIndent = 0;
    int follow = 0;             // \levelfollow: 0 tab, 1 space, 2 nothing
    QString text;
    QString written;            // the text as the file wrote it, where that differs (symbol-font bullets)
    QString face;               // the level's font, where it names one
    bool legal = false;
    bool noRestart = false;
};

struct ListDef {
    int id = 0;                 // \listid
    int templateId = 0;
    bool hybrid = false;        // \listhybrid; \listsimple and neither are not
    QString name;
    std::vector<ListLevel> levels;
};

// A paragraph's \ls: a list definition with optional start overrides.
struct ListInstance {
    int number = 0;             // \ls
    int list = -1;              // into Document::lists
    std::vector<int> startOverride;  // per level; -1 = none
};

struct Field {
    QString instruction;
    bool locked = false;
    int parent = -1;    // the field whose result holds this one (a page number in a table of contents)
};

enum class PictureKind : quint8 { Png, Jpeg, Emf, Wmf, Mac, Dib, Bitmap, Unknown };

struct Picture {
    QByteArray data;
    PictureKind kind = PictureKind::Unknown;
    int kindParam = 0;          // \wmetafileN mapping mode, \dibitmapN, \wbitmapN
    int width = 0, height = 0;  // \picw \pich
    int goalWidth = 0, goalHeight = 0;  // \picwgoal \pichgoal, twips
    int scaleX = 100, scaleY = 100;
    int cropLeft = 0, cropRight = 0, cropTop = 0, cropBottom = 0;
    int bitsPerPixel = 0, widthBytes = 0, planes = 0;   // \wbmbitspixel \wbmwidthbytes \wbmplanes
    int twin = -1;              // the \nonshppict stand-in, into Document::pictures
};

struct Note {
    enum Kind : quint8 { Footnote, Endnote, Comment };
    Kind kind = Footnote;
    int story = -1;             // into Document::stories
    QString author;             // comments
    QString initials;
    QString date;
    bool autoNumber = true;     // \chftn
};

// A run of text, or one inline object standing on one U+FFFC in the text.
struct Run {
    qsizetype start = 0;        // into Document::text
    qsizetype length = 0;
    int style = 0;              // into Document::charStyles
    int field = -1;             // into Document::fields, for field results
    int object = -1;            // into Document::objects

    bool isObject() const { return object >= 0; }
};

struct InlineObject {
    enum Kind : quint8 { Picture, Note, Kept, EmptyField };
    Kind kind = Kept;
    int index = 0;              // into pictures, notes, kept or fields
};

struct Paragraph {
    std::vector<Run> runs;
    int props = 0;              // into Document::paraProps
    int markStyle = 0;          // the formatting in effect at the paragraph mark
    bool terminated = false;    // ended by \par or a stand-in; false only for trailing text
    bool pageBreak = false;     // a \page stands before it
};

struct Table;

// A story is a sequence of paragraphs and tables: the body, a cell, a note,
// a header.
struct Block {
    Paragraph paragraph;        // when table is null
    std::unique_ptr<Table> table;
};

struct Story {
    std::vector<Block> blocks;
};

struct Border {
    quint8 style = 0;           // 0 none, 1 single, 2 double, 3 dotted, 4 dashed, 5 thick
    int width = 0;              // twips
    Colour colour;
    friend bool operator==(const Border &, const Border &) = default;
};

struct CellProps {
    int edge = 0;               // \cellx: the right edge, from the left margin
    Border top, left, bottom, right;
    Colour shading;
    int shadingPercent = 0;
    quint8 verticalAlign = 0;   // 0 top, 1 centre, 2 bottom
    bool mergeFirst = false, merged = false;          // \clmgf \clmrg
    bool vmergeFirst = false, vmerged = false;        // \clvmgf \clvmrg
    QByteArray kept;            // padding and preferred width, as written
};

struct RowProps {
    int gap = 0;                // \trgaph: half the space between cells
    int left = 0;               // \trleft
    int height = 0;             // \trrh
    bool header = false;        // \trhdr
    bool keep = false;          // \trkeep
    Align align = Align::Left;  // \trql \trqc \trqr
    QByteArray kept;            // padding, spacing, preferred widths, as written
    std::vector<CellProps> cells;
};

struct Cell {
    CellProps props;
    Story content;
};

struct Row {
    RowProps props;
    std::vector<Cell> cells;
};

struct Table {
    std::vector<Row> rows;
};

// Information the program keeps for the writer: the info group, page
// setup, groups it does not read.
struct DocInfo {
    QHash<QString, QString> strings;    // title, subject, author, ...
    QHash<QString, QByteArray> raw;     // dates and other groups, verbatim
    QStringList order;                  // names in file order
};

struct PageSetup {
    int paperWidth = 0, paperHeight = 0;
    int marginLeft = -1, marginRight = -1, marginTop = -1, marginBottom = -1;
    int gutter = 0;
    bool landscape = false;
    bool facingPages = false;
    bool any() const { return paperWidth > 0 || paperHeight > 0 || marginLeft >= 0 || marginRight >= 0
                                || marginTop >= 0 || marginBottom >= 0 || gutter > 0 || landscape; }
    friend bool operator==(const PageSetup &, const PageSetup &) = default;
};

struct Section {
    QByteArray properties;      // the section's own keywords, verbatim, after \sectd
    std::vector<std::pair<QByteArray, int>> headers;   // keyword ("header", "footerf"...), story
    qsizetype firstBlock = 0;   // index into the body story where it starts
};

// What the reader dropped, by kind, so a file that loses something says so.
struct Dropped {
    QHash<QString, int> counts;
    void add(const QString &what, int n = 1) { counts[what] += n; }
};

struct Document {
    QString text;
    QStringList faces;
    QHash<QString, FontDef> fonts;      // by face name: what the font table said of it
    std::vector<CharStyle> charStyles;
    std::vector<ParaProps> paraProps;
    std::vector<std::vector<TabStop>> tabLists {{}};
    std::vector<StyleDef> styles;
    std::vector<ListDef> lists;
    std::vector<ListInstance> listInstances;
    std::vector<Field> fields;
    std::vector<Picture> pictures;
    std::vector<Note> notes;
    std::vector<QByteArray> kept;       // inline groups kept verbatim
    std::vector<InlineObject> objects;
    std::vector<Story> stories;         // notes and headers
    Story body;
    std::vector<Section> sections;
    DocInfo info;
    PageSetup page;
    std::vector<QByteArray> keptGroups; // document-level groups kept verbatim
    int defaultLanguage = -1;           // \deflang
    QByteArray documentProperties;      // document formatting keywords, as written
    Dropped dropped;
};

// Appends text to the paragraph, extending its last run where that has the
// same look and field and ends where the text does, and leaving out the
// characters text does not keep. True when anything was added.
bool appendText(Document &doc, Paragraph &paragraph, QStringView text, int style, int field);

// A page break can stand before a row, not within one: other readers ignore
// a break inside a cell. Drops (and counts) those of the row's paragraphs
// but its first, and all of a nested row's.
void dropBreaksWithinRow(Row &row, bool nested, Dropped &dropped);

} // namespace rtf
