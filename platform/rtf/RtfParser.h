#pragma once

#include "RtfCodePages.h"
#include "RtfKeywords.h"
#include "RtfModel.h"
#include "RtfTokenizer.h"

#include <QByteArrayView>
#include <QHash>

#include <array>
#include <memory>
#include <vector>

// The core of the reader: the group stack with its depth cap, \uc skipping,
// \*, text decoding and dispatch of control words to the family that owns
// them. The families (RtfFonts.cpp, RtfCharProps.cpp, ...) read and change
// the parser's state through the members below; the parser itself knows no
// keyword but \* and \u.
namespace rtf {

// Parses RTF leniently: never throws, linear in the input. Requires
// rules::looksLikeRtf(data); otherwise the document is empty.
Document parse(QByteArrayView data);

class Parser;

// A destination reads the content of the group that opened it and finishes
// itself when that group closes. Text arrives decoded in the group's code page.
class Dest
{
public:
    virtual ~Dest() = default;
    // Text and special characters go to the body of the current story.
    virtual bool isBody() const { return false; }
    // Takes raw text bytes and \bin payloads instead of decoded text.
    virtual bool wantsBytes() const { return false; }
    // Ignores everything, nested groups included.
    virtual bool skipsAll() const { return false; }
    // A control word; true when the destination consumed it, otherwise its
    // family handles it as anywhere else.
    virtual bool word(Parser &, const Keyword *, const Token &) { return false; }
    virtual void text(Parser &, QStringView) {}
    virtual void bytes(Parser &, QByteArrayView) {}
    virtual void binary(Parser &, QByteArrayView) {}
    // A literal ';' in the text ends an entry (names in the font table and
    // the stylesheet, colours); one written as \'3b is part of the name.
    virtual bool endsAtSemicolon() const { return false; }
    virtual void semicolon(Parser &) {}
    // The code page for text bytes; 0 for the one of the font in effect.
    virtual int codePage(Parser &) const { return 0; }
    // A group inside the destination opens (its state already pushed) or closes.
    virtual void innerGroupStart(Parser &) {}
    virtual void innerGroupEnd(Parser &) {}
    // The group that opened the destination closes (the state is still the
    // group's own).
    virtual void close(Parser &) {}
};

// Character formatting as the file states it, before the tables resolve it.
struct CharState {
    CharStyle style;            // face, colours unresolved
    int font = -1;              // \f; -1 = \deff
    // Which script \f and \af name the font of (\loch, \hich, \dbch,
    // \ltrch, \rtlch): East Asian after \dbch, right-to-left after \rtlch,
    // the Western font otherwise (\af alone names the right-to-left one).
    enum Mode : quint8 { NoMode, Western, DoubleByte, LeftToRight, RightToLeft };
    quint8 mode = NoMode;
    int asianFont = -1;
    int complexFont = -1;
    void setFont(int number, bool associated)
    {
        if (mode == DoubleByte)
            asianFont = number;
        else if (mode == RightToLeft || (associated && (mode == NoMode || mode == LeftToRight)))
            complexFont = number;
        else
            font = number;
    }
    int colour = 0;             // \cf
    int highlight = 0;          // \highlight
    int background = 0;         // \chcbpat / \cb
};

struct ParaState {
    // Which properties the paragraph states itself since \pard: a style
    // named after them does not override them.
    enum Explicit : quint32 {
        ExplicitAlign = 1u << 0, ExplicitLeft = 1u << 1, ExplicitRight = 1u << 2, ExplicitFirst = 1u << 3,
        ExplicitBefore = 1u << 4, ExplicitAfter = 1u << 5, ExplicitLine = 1u << 6, ExplicitTabs = 1u << 7,
        ExplicitBreak = 1u << 8, ExplicitKeep = 1u << 9, ExplicitKeepNext = 1u << 10, ExplicitWidow = 1u << 11,
        ExplicitShading = 1u << 12, ExplicitOutline = 1u << 13, ExplicitDirection = 1u << 14,
        ExplicitList = 1u << 15,
    };
    quint32 explicitProps = 0;
    ParaProps props;            // shading unresolved
    int shading = 0;            // \cbpat
    TabStop pendingTab;         // kind and leader waiting for their \tx
    bool inTable = false;       // \intbl
    int depth = 0;              // \itap
    int style = -1;             // the style \s named, taken at the paragraph's end (stylesWord)
};

struct State {
    CharState chars;
    ParaState para;
    Dest *dest = nullptr;       // nullptr: the body of the current story
    int uc = 1;
    int field = -1;             // the field whose result this is
};

// What a family keeps while a file is read (tables being assembled, list
// and style lookups, notes' marks), in the family's own file. The parser
// makes it on first use and tells it when a paragraph, a story or the
// document ends.
// What ends a paragraph: its mark, a cell's, a nested cell's.
enum class ParagraphMark : int { Paragraph, Cell, NestCell };

class FamilyState
{
public:
    virtual ~FamilyState() = default;
    // A paragraph is finished, its properties and runs final but for what
    // the family does to them.
    virtual void paragraphEnd(Parser &, Paragraph &) {}
    // A story (a note, a header) opens or closes; the body's end is the document's.
    virtual void storyStart(Parser &) {}
    virtual void storyEnd(Parser &) {}
    virtual void documentEnd(Parser &) {}
};

class Parser
{
public:
    explicit Parser(QByteArrayView data);
    ~Parser();

    Document run();

    // -- for the families ---------------------------------------------------
    Document &doc() { return m_doc; }
    State &state() { return m_state; }
    int depth() const { return m_depth; }
    bool nested() const { return m_depth > 1; }     // destinations never swallow the root group
    // Text goes to the body of a story here, not to a destination.
    bool inText() const { return !m_state.dest || m_state.dest->isBody(); }
    // A destination that holds a table of the file's head (fonts, colours,
    // styles, lists, information) may open here: in a group, outside any other.
    bool mayOpenTable() const { return nested() && !m_state.dest; }
    // One that belongs to the text (a field, a note, a picture) may open here.
    bool mayOpenInText() const { return nested() && inText(); }
    // The input bytes of the group now open (from its '{' up to here).
    QByteArrayView groupBytesSoFar() const;
    // The control word just read is the group's first (after \* perhaps):
    // only then can the group be kept whole without what came before it.
    bool wordOpensGroup(QByteArrayView word) const;

    // Opens a destination for the current group; it closes with the group.
    Dest *open(std::unique_ptr<Dest> dest);
    void skipGroup();

    // Text for the current target (body or destination), in the state's code page.
    void appendText(QStringView text);
    void appendChar(char16_t c) { appendUnits(&c, 1); }

    // The character formatting in effect, interned.
    int currentCharStyle();
    void charStyleChanged() { m_styleDirty = true; m_codePageDirty = true; }
    int internCharStyle(const CharStyle &s);
    int internParaProps(const ParaProps &p);
    int internFace(const QString &name);
    Colour colour(int index) const;
    CharStyle resolve(const CharState &c);
    int documentCodePage() const { return m_docCodePage; }
    void setDocumentCodePage(int codePage) { m_docCodePage = codePage; charStyleChanged(); }
    void setDefaultFont(int number) { m_deff = number; charStyleChanged(); }

    // Fonts and colours, filled by their tables.
    struct Font {
        int face = -1;
        int codePage = 1252;
    };
    void addFont(int number, const Font &font) { m_fonts.insert(number, font); charStyleChanged(); }
    std::vector<Colour> &colours() { return m_colours; }

    // Structure: paragraphs, cells, rows, stories.
    using Mark = ParagraphMark;
    void endParagraph(Mark mark = Mark::Paragraph);
    void pageBreak();
    void insertObject(InlineObject::Kind kind, int index);
    // The index of the object of that kind that ends the paragraph in progress, or -1.
    int lastObject(InlineObject::Kind kind);
    // Stories: a note or header reads into its own story until its group closes.
    int beginStory();
    void endStory();
    bool inMainStory() const { return m_stories.size() == 1; }
    int storyDepth() const { return int(m_stories.size()); }
    // The state the current group returns to when it closes.
    State &parentState() { return m_stack.empty() ? m_state : m_stack.back().state; }

    // A family's state, made on first use: T derives from FamilyState and
    // names its family as T::Slot.
    template <typename T>
    T &family()
    {
        std::unique_ptr<FamilyState> &slot = m_families[size_t(T::Slot)];
        if (!slot)
            slot = std::make_unique<T>();
        return static_cast<T &>(*slot);
    }
    // The paragraph in progress in the current story.
    Paragraph &paragraph();
    // A finished block at the top level of the current story.
    void addBlock(Block block);
    // The paragraph in progress, finished: its properties, its mark's look.
    Paragraph finishParagraph(bool terminated);

private:
    // The story being read: its blocks and the paragraph in progress.
    struct StoryBuilder {
        int index;                  // into Document::stories; -1 for the body
        Paragraph paragraph;
        bool runOpen = false;
        bool pageBreakPending = false;
    };

    void groupStart();
    void groupEnd();
    void textBytes(QByteArrayView bytes);
    void word(const Token &t);
    void symbol(char c);
    void unicode(int value);
    void dispatch(const Keyword *k, const Token &t);
    bool atDocumentStart();
    static bool isBlank(QByteArrayView bytes);
    void flushLeadingBlank();

    int targetCodePage();
    void appendBytes(QByteArrayView bytes);
    void appendUnits(const char16_t *units, qsizetype n);
    void flushPending();
    void resolveSurrogate();
    void appendBody(const char16_t *units, qsizetype n);
    int currentParaProps();
    const Font *font(int number) const;

    StoryBuilder &story() { return *m_stories.back(); }
    Story &target(const StoryBuilder &s);
    template <typename Hook>
    void tellFamilies(Hook hook);

    QByteArrayView m_data;
    Tokenizer m_tokenizer;
    QByteArrayView m_leadingBlank;      // blanks in the file's head, text only if text follows
    bool m_head = true;                 // no formatting or content yet: tables, information, settings
    Document m_doc;

    State m_state;
    struct Frame {
        State state;
        qsizetype start;        // offset of the group's '{'
    };
    std::vector<Frame> m_stack;
    int m_depth = 0;
    int m_overflow = 0;
    bool m_done = false;
    qsizetype m_groupStart = 0;

    struct OpenDest {
        std::unique_ptr<Dest> dest;
        int depth;
    };
    std::vector<OpenDest> m_dests;

    QHash<CharStyle, int> m_charStyleIds;
    QHash<ParaProps, int> m_paraPropsIds;
    int m_lastParaPropsId = -1;
    QHash<QString, int> m_faceIds;
    CharStyle m_lastStyle;
    int m_lastStyleId = -1;
    bool m_styleDirty = true;
    bool m_codePageDirty = true;
    int m_bodyCodePage = 1252;
    const std::array<char16_t, 256> *m_bodyTable = nullptr;

    int m_docCodePage = 1252;
    int m_deff = 0;
    QHash<int, Font> m_fonts;
    std::vector<Colour> m_colours;

    int m_skip = 0;
    char16_t m_highSurrogate = 0;
    QByteArray m_pending;
    int m_pendingCodePage = 0;
    ByteDecoder m_decoder;

    std::vector<std::unique_ptr<StoryBuilder>> m_stories;
    std::array<std::unique_ptr<FamilyState>, FamilyCount> m_families;
};

} // namespace rtf
