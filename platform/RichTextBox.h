#pragma once

#include "platform/rtf/RtfReader.h"

#include <QTextCharFormat>
#include <QTextEdit>
#include <QVariant>

#include <optional>

class QPrinter;

// The rich-text surface of a document window. It offers the members the
// program's commands use, in the program's own units: positions in twips,
// colours as 0x00BBGGRR, sizes in points, alignment codes 0 left, 1 right,
// 2 centre (3 for justified text read from another writer's file).
// Selection reads answer std::nullopt when the selection mixes values.
// A member that cannot do what is asked throws Failure and changes nothing.
class RichTextBox : public QTextEdit
{
    Q_OBJECT

public:
    enum Alignment { AlignLeftCode = 0, AlignRightCode = 1, AlignCenterCode = 2, AlignJustifyCode = 3 };

    explicit RichTextBox(QWidget *parent = nullptr);

    std::optional<bool> SelBold() const;
    std::optional<bool> SelItalic() const;
    std::optional<bool> SelUnderline() const;
    void setSelBold(std::optional<bool> value);
    void setSelItalic(std::optional<bool> value);
    void setSelUnderline(std::optional<bool> value);

    std::optional<int> SelAlignment() const;
    void setSelAlignment(std::optional<int> code);

    void setSelColor(qint64 bgr);
    void setSelFontSize(const QVariant &points);   // a number, or text such as "125"
    void setFontName(const QString &face);          // the whole surface takes the face
    QString FontName() const;

    QString SelRTF() const;
    void setSelRTF(const QString &markup);
    QString SelText() const;
    void setSelText(const QString &text);
    int SelLength() const;

    void SelPrint(QPrinter *printer) const;
    void LoadFile(const QString &path);
    void SaveFile(const QString &path);

    // Whether the content differs from what was last loaded or saved (a new
    // surface counts as saved). Typing, deleting, pasting and formatting
    // change it; undo and redo back to the saved state make it unchanged.
    bool Modified() const { return document()->isModified(); }
    // The path LoadFile last read when that file was a format this program
    // reads but does not write (a .docx, an .odt): writing RTF under that
    // name would replace the original. Empty otherwise.
    QString ForeignFile() const { return m_foreignFile; }
    // What the last LoadFile read, with what it could not keep and dropped,
    // by kind: a caller can tell the user what a file lost.
    const rtf::ReadResult &LastLoad() const { return m_lastLoad; }

    void Move(double left, double top, double width, double height);
    double Width() const;
    double RightMargin() const { return m_rightMargin; }
    void setRightMargin(double twips);

    static QColor colorFromBgr(qint64 bgr);
    static qint64 bgrFromColor(const QColor &color);

signals:
    // Raised once whenever the selection or the caret position changes.
    void SelChange();
    // Ctrl+Insert, Shift+Insert, Shift+Delete and the context menu ask the
    // window's owner to run its clipboard commands, so that every clipboard
    // route carries the same markup.
    void copyRequested();
    void cutRequested();
    void pasteRequested();
    // Ctrl+click on a link to the web or to an e-mail address; links to
    // files, programs or anything else are shown but never followed.
    void linkActivated(const QUrl &url);

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    QMimeData *createMimeDataFromSelection() const override;
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void insertFromMimeData(const QMimeData *source) override;

private:
    struct SelectionLook {
        std::optional<bool> bold, italic, underline;
    };
    const SelectionLook &selectionLook() const;
    void applyCharFormat(const QTextCharFormat &format);
    void watchDocument();
    void raiseSelChangeIfMoved();

    double m_rightMargin = 0;
    QString m_foreignFile;
    rtf::ReadResult m_lastLoad {true, {}, {}};
    int m_lastAnchor = -1;
    int m_lastPosition = -1;

    // The tri-state reads walk the selection's formatting runs once and keep
    // the answer until the selection or the content changes, so the toolbar
    // reflection costs one scan per caret move even on large documents.
    mutable bool m_stateValid = false;
    mutable int m_stateStart = -1;
    mutable int m_stateEnd = -1;
    mutable SelectionLook m_state;
};
