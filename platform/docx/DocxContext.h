#pragma once

#include "platform/odt/OdtXml.h"
#include "platform/package/Package.h"
#include "platform/rtf/RtfIntern.h"
#include "platform/rtf/RtfModel.h"

#include <QHash>
#include <QString>

#include <array>
#include <map>
#include <optional>
#include <tuple>
#include <vector>

// The state of one read of a WordprocessingML package: relationships, the
// theme, styles, numbering, notes and the model being filled. Each part of
// the format reads into it from a file of its own: DocxXml.cpp (namespaces,
// relationships, units), DocxStyles.cpp (styles, run and paragraph
// properties, the theme), DocxNumbering.cpp, DocxText.cpp (paragraphs, runs,
// fields, links, bookmarks), DocxTables.cpp, DocxPictures.cpp, DocxNotes.cpp
// (footnotes, endnotes, comments), DocxSections.cpp (pages, headers and
// footers), DocxMeta.cpp (core and extended properties).
namespace docx {

using package::XmlReader;
using odt::children;
using odt::elementText;
using odt::skip;

enum class Ns : quint8 { Other, W, R, PkgRels, ContentTypes, Wp, A, Pic, V, Mc, Dc, DcTerms, Cp, Xml, Ep };

Ns nsOf(QStringView uri);

inline bool is(const XmlReader &x, Ns ns, QLatin1StringView local)
{
    return x.name() == local && nsOf(x.namespaceUri()) == ns;
}

// An attribute by namespace and local name; empty when absent.
QStringView attr(const XmlReader &x, Ns ns, QLatin1StringView local);
inline QStringView wattr(const XmlReader &x, const char *local)
{
    return attr(x, Ns::W, QLatin1StringView(local));
}
// w:val and friends as whole numbers; nothing when absent or malformed.
std::optional<int> number(QStringView value);
// An on/off property: bare, 1, true or on is true; 0, false, off, none false.
bool onOff(const XmlReader &x);
// "RRGGBB"; nothing for auto and anything else.
std::optional<QRgb> hexColour(QStringView value);

// True when the reader takes everything a Choice of mc:AlternateContent
// requires (prefixes such as "wps w14").
bool takesChoice(QStringView requires_);

// Reads the branch of mc:AlternateContent just started that this reader
// takes: the first Choice it knows, else the Fallback; only one, or what
// both hold would appear twice. each() reads one element of the branch.
template<class F>
void alternate(XmlReader &x, F &&each)
{
    bool taken = false;
    children(x, [&] {
        const bool choice = is(x, Ns::Mc, QLatin1StringView("Choice"));
        const bool fallback = is(x, Ns::Mc, QLatin1StringView("Fallback"));
        if (!taken && (fallback || (choice && takesChoice(attr(x, Ns::Other, QLatin1StringView("Requires")))))) {
            taken = true;
            children(x, each);
        } else {
            skip(x);
        }
    });
}

// One relationship of a part: its kind (the last word of its type), and
// the part it targets, resolved to a name inside the package.
struct Rel {
    QString kind;
    QString target;
    bool external = false;
};
using Rels = QHash<QString, Rel>;

// Run properties as one layer states them; unset fields leave the layer
// beneath showing.
struct RunProps {
    std::optional<QString> face, asianFace, complexFace;
    std::optional<int> halfPoints, offset;
    std::optional<rtf::Colour> colour, highlight, background;
    std::optional<rtf::Underline> underline;
    std::optional<rtf::VerticalPos> vertical;
    std::optional<bool> bold, italic, strike, doubleStrike, caps, smallCaps, hidden;
    QString charStyle;  // w:rStyle
    bool deleted = false;       // a paragraph mark deleted in a tracked change
};

struct TabOp {
    rtf::TabStop stop;
    bool clear = false;
};

struct ParaPropsLayer {
    std::optional<rtf::Align> align;
    std::optional<int> left, right, first, before, after, line;
    std::optional<int> lineRule;        // 0 auto, 1 exact, 2 at least
    std::optional<bool> pageBreakBefore, keepNext, keepLines, widowControl, bidi, contextual;
    std::optional<rtf::Colour> shading;
    std::optional<int> outline;
    std::optional<int> numId, ilvl;
    std::vector<TabOp> tabs;
    QString style;      // w:pStyle
};

struct BorderSet {
    std::optional<rtf::Border> top, left, bottom, right, insideH, insideV;
};

// Table and cell borders (DocxTables.cpp): one side, and a set of them.
rtf::Border readBorder(const XmlReader &x);
void readBorders(XmlReader &x, BorderSet &into);

// The parts of a table a table style gives a look of their own, in the
// order they apply: a later part shows over an earlier one.
enum class TablePart : quint8 {
    OddColumnBand, EvenColumnBand, OddRowBand, EvenRowBand, FirstColumn, LastColumn, FirstRow, LastRow,
    TopLeftCell, TopRightCell, BottomLeftCell, BottomRightCell, Count
};
using TableParts = quint16;     // a set of TablePart, one bit each
constexpr TableParts partBit(TablePart part) { return TableParts(1u << unsigned(part)); }

// What a table style gives the cells of one part of the table, and their text.
struct CellLook {
    BorderSet borders;
    std::optional<rtf::Colour> shading;
    std::optional<quint8> align;
    ParaPropsLayer para;
    RunProps run;
};

struct StyleEntry {
    QString id, name, basedOn, next;
    char type = 'p';                    // p paragraph, c character, t table, n numbering
    bool isDefault = false;
    ParaPropsLayer para;
    RunProps run;
    BorderSet borders;                  // a table style's
    std::optional<rtf::Colour> shading; // a table style's cells
    // A table style's looks for its parts (first row, bands...), and how
    // many rows and columns a band holds.
    std::array<std::optional<CellLook>, size_t(TablePart::Count)> parts;
    int rowBand = 0, columnBand = 0;
    int styleDef = -1;                  // into Document::styles, once made
};

// The look of paragraphs of one style and list level, resolved.
struct ParaLook {
    ParaPropsLayer para;                // defaults, the style chain and the list level, merged
    RunProps run;                       // the run properties paragraphs of the style start from
    RunProps styleRun;                  // the style chain's own, whose toggles a character style flips
    int styleDef = -1;
};

struct NumLevel {
    rtf::ListLevel level;
    bool defined = false;
    ParaPropsLayer para;                // the level's indents
};

struct AbstractNum {
    std::array<NumLevel, 9> levels;
    QString numStyleLink;
    int def = -1;                       // into Document::lists
};

struct Num {
    QString abstractId;
    std::array<int, 9> startOverride {-1, -1, -1, -1, -1, -1, -1, -1, -1};
    std::array<std::optional<NumLevel>, 9> levelOverride;
    int instance = -1;                  // into Document::listInstances
    bool resolved = false, valid = false;
};

// A complex field being read: its instruction gathered, then its result.
struct OpenField {
    QString instruction;
    int field = -1;                     // made at the separator
    bool result = false;
    qsizetype textStart = 0;
};

// A paragraph being read. A page break inside it ends the paragraph before
// the text that follows it.
struct ParaBuild {
    rtf::Paragraph p;
    std::vector<rtf::Paragraph> done;   // parts already ended by a page break
    std::vector<rtf::Block> after;      // text boxes' paragraphs, placed after it
};

// Layers over layers: what from states replaces what into held.
void mergeRun(RunProps &into, const RunProps &from);
void mergePara(ParaPropsLayer &into, const ParaPropsLayer &from);

class Context
{
public:
    Context(rtf::Document &doc, const package::Parts &parts);

    rtf::Document &doc;
    const package::Parts &parts;
    QString part;                       // the part in reading, for its relationships

    // -- package (DocxXml.cpp)
    QHash<QString, Rels> relsCache;
    const Rels &relsOf(const QString &partName);
    // The first relationship of the kind from the part, or empty.
    QString target(const QString &from, QLatin1StringView kind);
    std::optional<QByteArray> readPart(const QString &name, QString *error = nullptr);

    // -- styles (DocxStyles.cpp)
    QHash<QString, QString> themeFonts;     // "minorHAnsi" -> face
    QHash<QString, QRgb> themeColours;      // "accent1" -> colour
    RunProps defaultRun;
    ParaPropsLayer defaultPara;
    QHash<QString, StyleEntry> styles;
    QString defaultParaStyle;
    QString tableStyle;                 // the style of the table in reading, beneath its paragraphs' own
    TableParts tableParts = 0;          // the parts of that table the cell in reading stands in
    int defaultTabStop = 720;
    bool evenAndOdd = false;
    void readTheme(XmlReader &x);
    void readStyles(XmlReader &x);
    void readSettings(XmlReader &x);
    void readRunProps(XmlReader &x, RunProps &into);
    void readParaProps(XmlReader &x, ParaPropsLayer &into, RunProps *markRun, bool *sections);
    // Paragraphs of the style, in the list level when numId is not 0;
    // directNum: the paragraph names the list itself, so the level's
    // indents win over the style's.
    const ParaLook &paraLook(const QString &styleId, int numId, int ilvl, bool directNum);
    // The run properties a run of the character style starts from.
    RunProps baseRun(const ParaLook &look, const QString &charStyleId);
    int charStyle(const RunProps &base, const RunProps &direct);
    rtf::ParaProps paraProps(const ParaPropsLayer &p);
    int styleDef(const QString &id);
    int internFace(const QString &face) { return m_interned.face(doc, face); }
    int internTabs(const std::vector<rtf::TabStop> &stops) { return m_interned.tabs(doc, stops); }
    int internPara(const rtf::ParaProps &p) { return m_interned.para(doc, p); }
    std::vector<const StyleEntry *> chain(const QString &id) const;

    // -- numbering (DocxNumbering.cpp)
    QHash<QString, AbstractNum> abstractNums;
    QHash<int, Num> nums;
    void readNumbering(XmlReader &x);
    // The list instance numId stands for and the level's properties; -1 when
    // it points nowhere.
    int listInstance(int numId);
    const NumLevel *numLevel(int numId, int ilvl);

    // -- text (DocxText.cpp)
    void readBlocks(XmlReader &x, rtf::Story &out, int tableDepth);
    void readBlock(XmlReader &x, rtf::Story &out, int tableDepth);
    void readParagraph(XmlReader &x, rtf::Story &out, int tableDepth);
    void readInline(XmlReader &x, ParaBuild &para, const ParaLook &look, int link);
    void inlineElement(XmlReader &x, ParaBuild &para, const ParaLook &look, int link);
    void readRun(XmlReader &x, ParaBuild &para, const ParaLook &look, int link);
    void addText(ParaBuild &para, QStringView text, int style, int link);
    void addObject(ParaBuild &para, rtf::InlineObject::Kind kind, int index, int style, int link);
    void addKept(ParaBuild &para, const QByteArray &group, int style, int link);
    int addField(const QString &instruction, int parent);
    int currentField(int link) const;
    bool suppressed() const;
    void pageBreak(ParaBuild &para);
    std::vector<OpenField> fields;          // complex fields open in the story in reading
    std::vector<QByteArray> pendingMarks;   // bookmarks between paragraphs, placed in the next
    QHash<QString, QString> bookmarkNames;  // id -> name
    // A paragraph whose mark a tracked change deleted: it joins the next one.
    struct Carried {
        ParaBuild para;
        const rtf::Story *story = nullptr;
        int props = 0, markStyle = 0;
    };
    std::optional<Carried> carried;
    void flushCarried(rtf::Story &out);
    // The empty rest of a paragraph that ends in a page break: the next
    // paragraph of the story starts the page instead, as Word shows it.
    struct BrokenRest {
        rtf::Block rest;
        const rtf::Story *story = nullptr;
    };
    std::optional<BrokenRest> brokenRest;
    void flushBrokenRest(rtf::Story &out);
    const rtf::Story *lastStory = nullptr;  // where the last paragraph went, for contextual spacing
    QString lastStyle;
    bool lastContextual = false;

    // -- tables (DocxTables.cpp)
    void readTable(XmlReader &x, rtf::Story &out, int tableDepth);
    rtf::Block emptyParagraph();
    qint64 cellBudget = 0;

    // -- pictures (DocxPictures.cpp)
    void readDrawing(XmlReader &x, ParaBuild &para, int style, int link);
    void readVml(XmlReader &x, ParaBuild &para, int style, int link);
    void addPicture(ParaBuild &para, const QString &relId, int goalWidth, int goalHeight, int style, int link);
    void readTextBox(XmlReader &x, ParaBuild &para);

    // -- notes and comments (DocxNotes.cpp)
    QHash<QString, int> footnotes, endnotes;        // id -> story
    struct Comment {
        int story = -1;
        QString author, initials, date;
    };
    QHash<QString, Comment> comments;
    void readNotes(const QString &partName, QLatin1StringView element, QHash<QString, int> &into);
    void readComments(const QString &partName);
    void addNote(ParaBuild &para, rtf::Note::Kind kind, const QString &id, int style, int link);
    int readStory(XmlReader &x);
    int storyDepth = 0;

    // -- sections (DocxSections.cpp)
    struct SectionMark {
        qsizetype endBlock = 0;         // blocks of the body before the section's end
        QByteArray pageProps;
        int width = 0, height = 0, left = -1, right = -1, top = -1, bottom = -1, gutter = 0, header = -1, footer = -1;
        bool landscape = false, titlePage = false;
        QByteArray breakKind;
        std::array<int, 6> stories {-1, -1, -1, -1, -1, -1};    // header, even, first; footer, even, first
        std::array<bool, 6> referenced {};
    };
    std::vector<SectionMark> sectionMarks;
    QHash<QString, int> headerStories;  // part -> story
    void readSectPr(XmlReader &x);
    void finishSections();

    // -- information (DocxMeta.cpp)
    void readCore(XmlReader &x);
    void readApp(XmlReader &x);

    void drop(const QString &what, int n = 1) { doc.dropped.add(what, n); }

private:
    QHash<rtf::CharStyle, int> m_charIds;
    rtf::ModelInterner m_interned;
    std::map<std::tuple<QString, int, int, bool, QString, TableParts>, ParaLook> m_looks;
    QHash<QString, RunProps> m_baseRuns;
};

// Limits beyond what any real document needs, as the other readers keep them.
inline constexpr int MaxTableDepth = 8;
inline constexpr int MaxColumns = 63;
inline constexpr qint64 MaxCells = 200000;
inline constexpr int MaxStoryDepth = 3;
inline constexpr int MaxStories = 10000;
inline constexpr int MaxChain = 64;
inline constexpr int MaxStyles = 4096;

} // namespace docx
