#pragma once

#include "RtfModel.h"
#include "RtfOut.h"
#include "RtfRunLook.h"

#include <QHash>
#include <QStringList>
#include <QTextBlock>

#include <climits>
#include <vector>

class QTextDocument;
class QTextFrame;
class QTextList;
class QTextTable;
class QTextTableCell;

// Writes Qt's document as RTF in one pass: the body first, into its own
// buffer, gathering the fonts, colours, styles and lists it uses; then the
// tables in front of it. The families write their parts: RtfCharProps.cpp
// and RtfParaProps.cpp the formats, RtfLists.cpp the lists, RtfTables.cpp
// the tables, RtfPictures.cpp the pictures, RtfStories.cpp notes and
// headers, RtfFields.cpp fields, RtfStyles.cpp the stylesheet,
// RtfDocInfo.cpp what the document keeps as a whole.
namespace rtf {

class Writer
{
public:
    explicit Writer(const QTextDocument &doc);
    ~Writer();

    // The whole document, every paragraph ended by its mark; a fragment's
    // last paragraph has none.
    QByteArray document(bool fragment = false);
    // [from, to) of the document, paragraphs without tables; a paragraph
    // mark inside the range is written, the one at its end is not.
    QByteArray range(int from, int to);

    // -- for the families ---------------------------------------------------------------
    RtfOut &out() { return *m_out; }
    const QTextDocument &doc() const { return m_doc; }
    const RunLookResolver &resolver() const { return m_resolver; }
    int face(const QString &name);
    int colour(QRgb rgb);               // entry 0 is the automatic colour
    int styleNumber(const QString &name, int kind = StyleDef::Paragraph);    // kind: StyleDef::Kind
    // The document has \widowctrl: a paragraph without widow control says so.
    bool widowControlByDefault() const { return m_widowDefault; }
    // RTF has no word for a flag that is off: a paragraph leaves it out and
    // so takes its style's. A flag goes into a style's definition only when
    // no paragraph of the style (or of a style based on it) has it off.
    enum StyleFlag : quint8 { PageBreakBefore = 1, KeepTogether = 2, KeepWithNext = 4 };
    void flagsOffInStyle(const QString &style, quint8 flags);
    quint8 flagsOffInStyle(const QString &style) const { return m_styleFlagsOff.value(style); }
    // The paragraphs and tables of a document; a story's last paragraph has no mark.
    void frame(QTextFrame *frame, bool story = false);
    // A cell's paragraphs and tables at table depth `depth`; the last
    // paragraph ends with the cell's mark.
    void cell(const QTextTableCell &cell, int depth);
    // Another document written here: a note's or a header's story.
    void story(const QTextDocument &doc);
    void runs(const QTextBlock &block, int from, int to);
    // Text of a run with a face of its own for East Asian characters.
    void asianText(QStringView text, const QTextCharFormat &f);
    enum FormatTrait : quint8 { Known = 1, InField = 2, EastAsianFace = 4 };
    quint8 formatTraits(int index, const QTextCharFormat &f);
    // A run's formatting, written out once per format and then repeated.
    void runFormat(int formatIndex, const QTextCharFormat &f);
    // Output is written into another buffer for a while (the stylesheet).
    RtfOut *redirect(RtfOut *out);

    struct ListEntry {
        int number = 0;     // \ls as written
        int level = 0;
        QTextList *list = nullptr;
        int source = 0;     // \ls as the file had it, 0 for a list of the program's
    };
    std::vector<ListEntry> &lists() { return m_lists; }

private:
    enum class Mark { Paragraph, Cell, NestCell, Section, None };
    void paragraph(const QTextBlock &block, int from, int to, int depth, Mark mark);
    QByteArray header();
    void start(qsizetype expected);
    QByteArray finish();
    static constexpr qsizetype HeaderRoom = 64 * 1024;
    // A field around the text being written, as its group opens.
    struct OpenField {
        int id = 0;
        QString instruction;
        bool locked = false;
    };
    // The fields around a run, outermost first.
    static void fieldChain(const QTextCharFormat &f, std::vector<OpenField> &chain);
    size_t commonFields(const std::vector<OpenField> &chain) const;
    void openFields(const std::vector<OpenField> &chain);
    // Closes the fields inside the first `keep`; the paragraph's layout is
    // written again when a closed result held a paragraph mark.
    void closeFields(size_t keep, bool restate = true);
    // How many of the open fields go on in the next paragraph.
    size_t fieldsContinuing(const QTextBlock &block);

    const QTextDocument &m_doc;
    RunLookResolver m_resolver;
    RtfOut m_body;
    RtfOut *m_out = &m_body;
    QHash<QString, int> m_faceIds;
    QStringList m_faces;
    QHash<QRgb, int> m_colourIds;
    std::vector<QRgb> m_colours;
    QHash<QString, int> m_styleNumbers;
    QHash<QString, quint8> m_styleFlagsOff;
    std::vector<ListEntry> m_lists;
    std::vector<QByteArray> m_runFormats;   // format index -> its run format as written
    std::vector<quint8> m_formatTraits;     // format index -> FormatTrait bits, 0 not yet known
    QHash<qint64, QByteArray> m_paragraphFormats;   // format index and depth -> \pard and the rest as written
    struct FieldState {
        std::vector<OpenField> open;        // the fields whose results are being written
        // How many of them, from the outermost, hold a paragraph mark (a
        // table of contents): closing such a group brings back the layout
        // of the paragraph it opened in.
        size_t spanning = 0;
        QTextBlock block;                   // the paragraph being written, and its table depth
        int depth = 0;
        int limit = INT_MAX;                // the end of the range being written
        std::vector<OpenField> chain;       // scratch: a run's fields
        // What fieldsContinuing found from the paragraph at aheadFrom up to aheadTo.
        int aheadFrom = -1;
        int aheadTo = -1;
        size_t aheadKeep = 0;
    };
    FieldState m_fields;
    bool m_wholeDocument = false;
    bool m_lastUnmarked = false;            // the document's last paragraph keeps no mark
    bool m_widowDefault = false;
};

// The family parts of writing.
void writeRunFormat(Writer &w, const QTextCharFormat &f);
// restate: the layout again in the middle of the paragraph, without its
// page break and list label (after a group that changed it closes).
void writeParagraphFormat(Writer &w, const QTextBlock &block, int depth, bool restate = false);
// style: the paragraph style the paragraph names, or null for a style's own definition.
void writeParagraphProperties(Writer &w, const QTextBlockFormat &f, bool inList, const QString *style = nullptr);
// The paragraph's list and level, and with `label` the label as text for
// readers without lists.
void writeListLabel(Writer &w, const QTextBlock &block, bool label = true);
void writeListTables(Writer &w, RtfOut &out);
void writeTable(Writer &w, QTextTable *table, int depth);
void writePicture(Writer &w, const QTextCharFormat &f);
void writeNote(Writer &w, const QTextCharFormat &f);
void writeKept(Writer &w, const QTextCharFormat &f);
void writeSectionData(Writer &w, const QVariant &section);
void writeStyleSheet(Writer &w, RtfOut &out);
void writeFontTable(Writer &w, RtfOut &out, const QStringList &faces);
void writeDocumentInfo(Writer &w, RtfOut &out);
bool isTableArtifact(const QTextBlock &block);

} // namespace rtf
