#pragma once

#include "OdtXml.h"

#include "platform/package/Package.h"
#include "platform/rtf/RtfIntern.h"
#include "platform/rtf/RtfModel.h"

#include <QHash>
#include <QString>

#include <array>
#include <vector>

// The state of one read of an OpenDocument text: the style pools, the
// looks resolved from them, lists, master pages and the model being filled.
// Each part of the format reads into it from a file of its own:
// OdtStyles.cpp (styles and fonts), OdtLists.cpp, OdtText.cpp (paragraphs,
// runs, links, bookmarks, sections, indexes), OdtTables.cpp, OdtFrames.cpp
// (pictures, text boxes), OdtNotes.cpp (notes, comments, fields),
// OdtPages.cpp (page layouts, master pages, headers), OdtMeta.cpp.
namespace odt {

// Properties by "prefix:name", as the style states them.
using Props = QHash<QString, QString>;

// Automatic styles come in two tables that may reuse names: styles.xml's
// (for headers and footers) and content.xml's (for the body). A flat file
// has one, read as the content's.
enum Pool : quint8 { Common, StylesAuto, ContentAuto, PoolCount };

struct StyleEntry {
    QString name, display, family, parent, listStyle, master, next;
    Pool pool = Common;
    int outlineLevel = 0;               // style:default-outline-level
    Props text, para, table, column, row, cell;
    std::vector<rtf::TabStop> tabs;     // positions from the paragraph's indent
    bool hasTabs = false;
    int styleDef = -1;                  // into Document::styles, once made
};

// A paragraph's look resolved from its style chain.
struct ParaLook {
    rtf::ParaProps props;               // list, tabs and outline filled in per paragraph
    std::vector<rtf::TabStop> tabs;
    int text = 0;                       // into Context::textLooks
    QString listStyle, master;
    bool breakAfter = false;
    bool ownLeft = false, ownFirst = false;     // the paragraph's own style states its indents
    int outlineLevel = 0;
};

// Character formatting: merged properties, and the model's style once interned.
struct TextLook {
    Props props;
    int charStyleDef = -1;              // the named text style among them
    int interned = -1;                  // into Document::charStyles
};

struct ListLevelDef {
    rtf::ListLevel level;
    bool defined = false;
};

struct ListStyle {
    QString name;
    std::array<ListLevelDef, 9> levels;
    int def = -1;                       // into Document::lists, once made
};

// Where a paragraph stands in a list: its instance, level and whether it
// carries the item's label.
struct ListPlace {
    int instance = -1;                  // into Document::listInstances; -1 outside lists
    int level = 0;
    bool label = false;
};

struct Master {
    QString layout, next;
    // Stories of style:header, -left, -first and the footers; -1 for none.
    int header = -1, headerLeft = -1, headerFirst = -1, footer = -1, footerLeft = -1, footerFirst = -1;
};

struct PageLayout {
    Props page, header, footer;
};

// A paragraph being read: its runs and the whitespace state of its text.
struct ParaBuild {
    rtf::Paragraph p;
    bool space = true;                  // whitespace here collapses (start, or after a space)
    bool pendingSpace = false;          // a collapsed space, written when more text follows
    int pendingText = 0, pendingField = -1;
    std::vector<rtf::Block> after;      // text boxes' paragraphs, placed after this one
    int fieldmark = -1;                 // a field marked by start and end points, its result after the separator
    bool fieldmarkResult = false;
    qsizetype fieldmarkText = 0;
};

// The items of one list, nested lists included: the instance they number,
// made when the first item needs it, and the style it continues by.
struct ListRun {
    int instance = -1;
    ListStyle *style = nullptr;
    QString key;
    int pendingStart = -1, pendingLevel = 0;
};

// Character formatting and the field whose result the text is.
struct Inline {
    int text = 0;
    int field = -1;
};

class Context
{
public:
    Context(rtf::Document &doc, const package::Parts *parts);

    rtf::Document &doc;
    const package::Parts *parts;        // for pictures; null in a flat file
    Pool pool = ContentAuto;            // the automatic styles the part in reading uses

    // -- styles (OdtStyles.cpp)
    QHash<QString, QString> fontFaces;  // style:name -> family
    std::array<QHash<QString, StyleEntry>, PoolCount> styles;      // "family\nname"
    QHash<QString, StyleEntry> defaults;                            // by family
    std::vector<TextLook> textLooks;
    std::vector<ParaLook> paraLooks;
    void readFontFaces(XmlReader &x);
    void readStyles(XmlReader &x, Pool into);
    void addBuiltinStyles();
    void readSettings(XmlReader &x);
    bool tabsFromIndent = true;         // tab stops measured from the paragraph's indent, not the margin
    const StyleEntry *style(QStringView family, QStringView name, Pool in) const;
    int paraLook(QStringView name);
    int spanLook(int parent, QStringView name);
    int charStyle(int textLook);
    int defaultTabStop = 0;
    Props tableProps(QStringView name);
    Props columnProps(QStringView name);
    Props rowProps(QStringView name);
    Props cellProps(QStringView name);
    int styleDef(StyleEntry &entry);
    int internFace(const QString &face) { return m_interned.face(doc, face); }
    int internTabs(const std::vector<rtf::TabStop> &stops) { return m_interned.tabs(doc, stops); }
    int internPara(const rtf::ParaProps &p) { return m_interned.para(doc, p); }

    // -- lists (OdtLists.cpp)
    QHash<QString, ListStyle> listStyles;   // "pool\nname"
    ListStyle outline;                      // headings' numbering
    QHash<QString, int> lastInstance;       // per list style: the list numbering continues
    QHash<QString, int> listById;           // xml:id -> instance
    int lastList = -1;
    void readListStyle(XmlReader &x, Pool into, ListStyle *target = nullptr);
    ListStyle *listStyle(QStringView name);
    int listDef(ListStyle &style);
    int newInstance(int def);

    // -- text (OdtText.cpp)
    void readBody(XmlReader &x);
    void readBlocks(XmlReader &x, rtf::Story &out, int tableDepth);
    void readBlock(XmlReader &x, rtf::Story &out, int tableDepth);
    void readList(XmlReader &x, rtf::Story &out, int tableDepth, ListRun *outer, int level);
    void readIndex(XmlReader &x, rtf::Story &out, int tableDepth, bool contents);
    void readParagraph(XmlReader &x, rtf::Story &out, bool heading, ListPlace list);
    void readInline(XmlReader &x, ParaBuild &para, Inline in);
    void addText(ParaBuild &para, QStringView text, const Inline &in);
    void flushSpace(ParaBuild &para);
    void addCollapsed(ParaBuild &para, QStringView text, const Inline &in);
    void addObject(ParaBuild &para, rtf::InlineObject::Kind kind, int index, const Inline &in, bool visible);
    void addKept(ParaBuild &para, const QByteArray &group, const Inline &in);
    int addField(const QString &instruction, int parent);
    bool pageBreakPending = false;          // before the body's next paragraph
    int blockField = -1;                    // the field paragraphs are the result of (a table of contents)
    int outlineInstance = -1;
    int storyDepth = 0;

    // -- tables (OdtTables.cpp)
    void readTable(XmlReader &x, rtf::Story &out, int tableDepth);
    rtf::Block emptyParagraph();
    qint64 cellBudget = 0;
    int availableWidth = 9638;          // what a table of relative width is relative to

    // -- pictures and text boxes (OdtFrames.cpp)
    void readFrame(XmlReader &x, ParaBuild &para, const Inline &in);
    void readBlockFrame(XmlReader &x, rtf::Story &out);

    // -- notes, comments and fields (OdtNotes.cpp)
    void readNote(XmlReader &x, ParaBuild &para, const Inline &in);
    void readAnnotation(XmlReader &x, ParaBuild &para, const Inline &in);
    bool readField(XmlReader &x, ParaBuild &para, const Inline &in);
    void readFieldmark(XmlReader &x, ParaBuild &para, const Inline &in);
    int fieldOf(const ParaBuild &para, const Inline &in) const;
    int readStory(XmlReader &x);

    // -- pages (OdtPages.cpp)
    QHash<QString, PageLayout> pageLayouts;
    QHash<QString, Master> masters;
    QStringList masterOrder;
    QString currentMaster;
    void readPageLayout(XmlReader &x);
    void readMasterStyles(XmlReader &x);
    void startMaster(const QString &name, bool first);
    void finishPages();

    // -- information (OdtMeta.cpp)
    void readMeta(XmlReader &x);

    void drop(const QString &what, int n = 1) { doc.dropped.add(what, n); }

private:
    QHash<rtf::CharStyle, int> m_charIds;
    rtf::ModelInterner m_interned;
    QHash<QString, int> m_paraLookIds;
    QHash<QString, int> m_spanLookIds;
};

// A link's target as RTF states it: relative to the document's folder.
QString linkTarget(QStringView href);

// Limits beyond what any real document needs.
inline constexpr int MaxTableDepth = 8;         // as the RTF reader: deeper nesting costs Qt time doubling
inline constexpr int MaxColumns = 63;           // cells in a row, as the RTF reader
inline constexpr qint64 MaxCells = 200000;      // cells in one document, repeats included: Qt lays out no more in time
inline constexpr int MaxRowRepeat = 1000;       // one row element's copies
inline constexpr int MaxSpaces = 1024;          // one text:s
inline constexpr int MaxStoryDepth = 3;         // the body, a note, a note in a note's table
inline constexpr int MaxStories = 10000;

} // namespace odt
