#pragma once

#include "RtfModel.h"
#include "RtfQt.h"

#include <QHash>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>

#include <memory>
#include <vector>

class QTextDocument;
class QTextList;
class QTextTable;

// Builds Qt's document from the reader's model. The families add their
// parts: RtfCharProps.cpp and RtfParaProps.cpp the formats, RtfLists.cpp
// the lists, RtfTables.cpp the tables, RtfPictures.cpp the pictures,
// RtfStories.cpp the notes and headers, RtfDocInfo.cpp and RtfStyles.cpp
// what the document keeps as a whole.
namespace rtf {

class Builder
{
public:
    Builder(const Document &model, QTextDocument *doc);
    ~Builder();

    // Inserts the body at cursor, replacing its selection. A paragraph ended
    // by \par keeps its break, except at the very end of the document.
    void insertBody(QTextCursor &cursor);
    // Keeps what the document holds as a whole (styles, page setup,
    // information, first section); merge only adds missing styles, as a
    // paste does.
    void keepDocumentData(bool merge);

    // A story built at cursor, which stands in an empty block of its own.
    // In a table cell the first block's character format is the cell's
    // format and is left alone.
    void buildStory(QTextCursor &cursor, const Story &story, bool inCell = false);
    // A story built into a document of its own (a note, a header).
    std::shared_ptr<QTextDocument> storyDocument(int story);

    const Document &model() const { return m_model; }
    QTextDocument *document() const { return m_doc; }
    QString defaultFace() const { return m_defaultFace; }
    const QTextCharFormat &charFormat(int style, int field);
    const QTextBlockFormat &blockFormat(int props);
    QTextBlockFormat paragraphFormat(const Paragraph &p);

private:
    void insertParagraph(QTextCursor &cursor, const Paragraph &p);
    void insertRuns(QTextCursor &cursor, const Paragraph &p);
    void joinList(QTextCursor &cursor, int props);
    QTextCharFormat objectFormat(const Run &run, QStringView text);

    const Document &m_model;
    QTextDocument *m_doc;
    QString m_defaultFace;
    std::vector<QTextCharFormat> m_charFormats;
    std::vector<bool> m_charBuilt;
    std::vector<QTextBlockFormat> m_blockFormats;
    std::vector<bool> m_blockBuilt;
    QHash<quint64, QTextCharFormat> m_fieldFormats;
    QHash<quint64, QTextList *> m_lists;    // list instance and level -> Qt's list
};

// Replaces doc's content with the model, the whole document's data with
// it, as a document window's load does; no undo step is left.
void buildDocument(const Document &model, QTextDocument *doc);

// The family parts of a build.
QTextCharFormat buildCharFormat(const Document &model, const CharStyle &s, const QString &defaultFace);
QTextBlockFormat buildBlockFormat(const Document &model, const ParaProps &p);
QTextListFormat buildListFormat(const Document &model, const ParaProps &p);
QTextTable *buildTable(Builder &b, QTextCursor &cursor, const Table &table);
QTextCharFormat buildPicture(Builder &b, const Picture &picture, QTextCharFormat format);
QTextCharFormat buildNote(Builder &b, const Note &note, QTextCharFormat format);
void buildStyles(Builder &b, bool merge);
void buildFonts(Builder &b, bool merge);
void buildDocumentInfo(Builder &b);
SectionRef buildSection(Builder &b, const Section &section, int number);

} // namespace rtf
