#include "platform/RichTextBox.h"

#include "platform/DocumentFile.h"
#include "platform/DocumentFormat.h"
#include "platform/EditShortcuts.h"
#include "platform/DocumentPrinter.h"
#include "platform/Failure.h"
#include "platform/InlineObjects.h"
#include "platform/PlainText.h"
#include "platform/SelectionMimeData.h"
#include "platform/Twips.h"
#include "platform/rtf/RtfPictures.h"
#include "platform/rtf/RtfQt.h"
#include "platform/rtf/RtfReader.h"
#include "platform/rtf/RtfRules.h"
#include "platform/rtf/RtfWriter.h"

#include <QContextMenuEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPrinter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QUrl>

#include <cmath>
#include <memory>

namespace {

bool isBold(const QTextCharFormat &format) { return format.fontWeight() >= QFont::Bold; }

// Folds one more value into a tri-state: the first value sets it, a
// differing one makes it mixed for good.
void fold(std::optional<bool> &state, bool &seen, bool &mixed, bool value)
{
    if (mixed)
        return;
    if (!seen) {
        state = value;
        seen = true;
    } else if (*state != value) {
        state.reset();
        mixed = true;
    }
}

int alignmentCode(Qt::Alignment alignment)
{
    switch (rtf::rules::alignment(alignment)) {
    case rtf::Align::Justify: return RichTextBox::AlignJustifyCode;
    case rtf::Align::Center: return RichTextBox::AlignCenterCode;
    case rtf::Align::Right: return RichTextBox::AlignRightCode;
    case rtf::Align::Left: break;
    }
    return RichTextBox::AlignLeftCode;
}

// The last paragraph a selection covers. A selection that ends at the very
// start of a paragraph (Shift+Down over a whole line) does not cover it.
QTextBlock lastSelectedBlock(const QTextCursor &cursor)
{
    const QTextBlock block = cursor.document()->findBlock(cursor.selectionEnd());
    if (cursor.selectionStart() < block.position() && cursor.selectionEnd() == block.position())
        return block.previous();
    return block;
}

} // namespace

RichTextBox::RichTextBox(QWidget *parent)
    : QTextEdit(parent)
{
    const QFont initial(QStringLiteral("Times New Roman"), 24);
    setFont(initial);
    document()->setDefaultFont(initial);
    setAcceptRichText(true);
    setAcceptDrops(true);
    setLineWrapMode(QTextEdit::FixedPixelWidth);
    // The design-time place and size, with lines wrapping 400 twips inside
    // it, until the window fits the surface.
    setGeometry(twips::toPixels(100), twips::toPixels(100), twips::toPixels(3000), twips::toPixels(2000));
    setRightMargin(3000 - 400);
    connect(this, &QTextEdit::cursorPositionChanged, this, &RichTextBox::raiseSelChangeIfMoved);
    connect(this, &QTextEdit::selectionChanged, this, &RichTextBox::raiseSelChangeIfMoved);
    watchDocument();
}

void RichTextBox::watchDocument()
{
    m_stateValid = false;
    InlineObjects::install(document());
    connect(document(), &QTextDocument::contentsChange, this, [this] { m_stateValid = false; });
}

void RichTextBox::raiseSelChangeIfMoved()
{
    const QTextCursor cursor = textCursor();
    if (cursor.anchor() == m_lastAnchor && cursor.position() == m_lastPosition)
        return;
    m_lastAnchor = cursor.anchor();
    m_lastPosition = cursor.position();
    emit SelChange();
}

// ---- character style ---------------------------------------------------------

const RichTextBox::SelectionLook &RichTextBox::selectionLook() const
{
    const QTextCursor cursor = textCursor();
    const int start = cursor.selectionStart();
    const int end = cursor.selectionEnd();
    if (m_stateValid && start == m_stateStart && end == m_stateEnd && start != end)
        return m_state;

    SelectionLook state;
    if (start == end) {
        const QTextCharFormat format = cursor.charFormat();
        state = {isBold(format), format.fontItalic(), rtf::rules::underlined(format)};
        m_state = state;
        m_stateValid = false; // the caret's pending format may change without a content change
        return m_state;
    }

    bool seenB = false, seenI = false, seenU = false;
    bool mixedB = false, mixedI = false, mixedU = false;
    int lastIndex = -1;
    QTextBlock block = document()->findBlock(start);
    const QTextBlock endBlock = document()->findBlock(end);
    bool anyFragment = false;
    while (block.isValid() && !(mixedB && mixedI && mixedU)) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int fStart = fragment.position();
            const int fEnd = fStart + fragment.length();
            if (fEnd <= start)
                continue;
            if (fStart >= end)
                break;
            anyFragment = true;
            const int index = fragment.charFormatIndex();
            if (index == lastIndex)
                continue; // same run formatting as the previous fragment
            lastIndex = index;
            const QTextCharFormat format = fragment.charFormat();
            fold(state.bold, seenB, mixedB, isBold(format));
            fold(state.italic, seenI, mixedI, format.fontItalic());
            fold(state.underline, seenU, mixedU, rtf::rules::underlined(format));
            if (mixedB && mixedI && mixedU)
                break;
        }
        if (block == endBlock)
            break;
        block = block.next();
    }
    if (!anyFragment) {
        const QTextCharFormat format = cursor.charFormat();
        state = {isBold(format), format.fontItalic(), rtf::rules::underlined(format)};
    }
    m_state = state;
    m_stateStart = start;
    m_stateEnd = end;
    m_stateValid = true;
    return m_state;
}

std::optional<bool> RichTextBox::SelBold() const { return selectionLook().bold; }
std::optional<bool> RichTextBox::SelItalic() const { return selectionLook().italic; }
std::optional<bool> RichTextBox::SelUnderline() const { return selectionLook().underline; }

void RichTextBox::applyCharFormat(const QTextCharFormat &format)
{
    mergeCurrentCharFormat(format);
    m_stateValid = false;
}

// A style write applies true or false; a mixed value cannot be applied.
template <typename Apply>
static QTextCharFormat styleFormat(std::optional<bool> value, Apply apply)
{
    if (!value)
        throw Failure(RichTextBox::tr("A mixed style cannot be applied."));
    QTextCharFormat format;
    apply(format, *value);
    return format;
}

void RichTextBox::setSelBold(std::optional<bool> value)
{
    applyCharFormat(styleFormat(value, [](QTextCharFormat &format, bool on) {
        format.setFontWeight(on ? QFont::Bold : QFont::Normal);
    }));
}

void RichTextBox::setSelItalic(std::optional<bool> value)
{
    applyCharFormat(styleFormat(value, [](QTextCharFormat &format, bool on) { format.setFontItalic(on); }));
}

void RichTextBox::setSelUnderline(std::optional<bool> value)
{
    applyCharFormat(styleFormat(value, [](QTextCharFormat &format, bool on) { format.setFontUnderline(on); }));
}

// ---- paragraph alignment -------------------------------------------------------

std::optional<int> RichTextBox::SelAlignment() const
{
    const QTextCursor cursor = textCursor();
    QTextBlock block = document()->findBlock(cursor.selectionStart());
    const QTextBlock endBlock = lastSelectedBlock(cursor);
    const int first = alignmentCode(block.blockFormat().alignment());
    while (block.isValid() && block != endBlock) {
        block = block.next();
        if (block.isValid() && alignmentCode(block.blockFormat().alignment()) != first)
            return std::nullopt;
    }
    return first;
}

void RichTextBox::setSelAlignment(std::optional<int> code)
{
    if (!code)
        throw Failure(tr("A mixed alignment cannot be applied."));
    Qt::Alignment alignment;
    switch (*code) {
    case AlignLeftCode: alignment = Qt::AlignLeft; break;
    case AlignRightCode: alignment = Qt::AlignRight; break;
    case AlignCenterCode: alignment = Qt::AlignHCenter; break;
    case AlignJustifyCode: alignment = Qt::AlignJustify; break;
    default: throw Failure(tr("%1 is not an alignment.").arg(*code));
    }
    QTextBlockFormat format;
    format.setAlignment(alignment);
    const QTextCursor cursor = textCursor();
    QTextCursor paragraphs = cursor;
    paragraphs.setPosition(cursor.selectionStart());
    paragraphs.setPosition(lastSelectedBlock(cursor).position(), QTextCursor::KeepAnchor);
    paragraphs.mergeBlockFormat(format);
    setTextCursor(cursor);
}

// ---- colour, size, face --------------------------------------------------------

QColor RichTextBox::colorFromBgr(qint64 bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

qint64 RichTextBox::bgrFromColor(const QColor &color)
{
    return qint64(color.red()) | (qint64(color.green()) << 8) | (qint64(color.blue()) << 16);
}

void RichTextBox::setSelColor(qint64 bgr)
{
    if (bgr < 0 || bgr > 0xFFFFFF)
        throw Failure(tr("%1 is not a colour.").arg(bgr));
    QTextCharFormat format;
    format.setForeground(colorFromBgr(bgr));
    applyCharFormat(format);
}

void RichTextBox::setSelFontSize(const QVariant &points)
{
    bool ok = false;
    double size = 0;
    if (points.typeId() == QMetaType::QString)
        size = points.toString().trimmed().toDouble(&ok);
    else
        size = points.toDouble(&ok);
    if (!ok || !std::isfinite(size))
        throw Failure(tr("\"%1\" is not a font size.").arg(points.toString()));
    if (size <= 0 || size > rtf::rules::MaxPointSize)
        throw Failure(tr("%1 points is not a font size that can be shown.").arg(size));
    QTextCharFormat format;
    format.setFontPointSize(size);
    applyCharFormat(format);
}

void RichTextBox::setFontName(const QString &face)
{
    if (face.isEmpty())
        throw Failure(tr("A font needs a name."));
    QFont font = document()->defaultFont();
    // The surface's face is written with the document, but Qt keeps no undo
    // step for it: a new face is a change until the next save.
    if (font.family() != face)
        document()->setModified(true);
    font.setFamilies({face});
    document()->setDefaultFont(font);
    QTextCharFormat format;
    format.setFontFamilies(QStringList{face});
    QTextCursor all(document());
    all.select(QTextCursor::Document);
    all.mergeCharFormat(format);
    QTextCursor cursor = textCursor();
    cursor.mergeCharFormat(format);
    setTextCursor(cursor);
    mergeCurrentCharFormat(format);
}

QString RichTextBox::FontName() const
{
    return document()->defaultFont().family();
}

// ---- selection as markup or text -----------------------------------------------------

QString RichTextBox::SelRTF() const
{
    return QString::fromLatin1(rtf::writeSelection(textCursor()));
}

void RichTextBox::setSelRTF(const QString &markup)
{
    QTextCursor cursor = textCursor();
    const QByteArray bytes = rtf::rules::markupBytes(markup);
    if (rtf::rules::looksLikeRtf(bytes)) {
        if (const rtf::ReadResult result = rtf::insertRtf(cursor, bytes); !result.ok)
            throw Failure(result.error);
    } else {
        cursor.insertText(cleanPlainText(markup));
    }
    setTextCursor(cursor);
    m_stateValid = false;
}

QString RichTextBox::SelText() const
{
    return textCursor().selectedText();
}

void RichTextBox::setSelText(const QString &text)
{
    QTextCursor cursor = textCursor();
    cursor.insertText(text);
    setTextCursor(cursor);
    m_stateValid = false;
}

int RichTextBox::SelLength() const
{
    const QTextCursor cursor = textCursor();
    return cursor.selectionEnd() - cursor.selectionStart();
}

// ---- printing and files -----------------------------------------------------------

void RichTextBox::SelPrint(QPrinter *printer) const
{
    if (!printer)
        throw Failure(tr("No printer was chosen."));
    const QTextCursor cursor = textCursor();
    if (cursor.hasSelection()) {
        QTextDocument part;
        part.setDefaultFont(document()->defaultFont());
        rtf::setFragmentKeys(part, rtf::fragmentKeys(*document()));
        QTextCursor(&part).insertFragment(cursor.selection());
        rtf::ensurePictures(&part);
        InlineObjects::install(&part);
        printDocument(part, printer);
    } else {
        printDocument(*document(), printer);
    }
    if (printer->printerState() == QPrinter::Error)
        throw Failure(tr("The document could not be printed."));
}

void RichTextBox::LoadFile(const QString &path)
{
    const QByteArray data = documentfile::read(path);
    // Known by its content, whatever its name.
    const documentformat::Recognised file = documentformat::recognise(data);
    auto refuse = [&path](QString reason) {
        if (!reason.endsWith(u'.'))
            reason += u'.';
        throw Failure(tr("Cannot open %1:\n%2").arg(QFileInfo(path).absoluteFilePath(), reason));
    };
    if (file.format == documentformat::Format::Unreadable)
        refuse(file.reason);

    // Build the new content apart from the widget and swap it in whole, so a
    // failure leaves the old content and a big file does not lay out piecemeal.
    auto *loaded = new QTextDocument(this);
    std::unique_ptr<QTextDocument> pending(loaded);
    loaded->setDefaultFont(document()->defaultFont());
    loaded->setUndoRedoEnabled(false);
    rtf::ReadResult result {true, {}, {}};
    if (file.format == documentformat::Format::Rtf) {
        if (result = rtf::readIntoDocument(loaded, data); !result.ok)
            refuse(result.error);
    } else if (documentformat::foreign(file.format)) {
        if (result = documentformat::readForeign(file, data, loaded); !result.ok)
            refuse(result.error);
    } else {
        const QFont font = loaded->defaultFont();
        QTextCharFormat format;
        format.setFontFamilies(QStringList{font.family()});
        format.setFontPointSize(font.pointSizeF());
        QTextCursor cursor(loaded);
        cursor.beginEditBlock();
        cursor.setBlockCharFormat(format);
        cursor.insertText(decodePlainText(data), format);
        cursor.endEditBlock();
    }
    loaded->setUndoRedoEnabled(true);
    loaded->setModified(false);

    // Laid out once, at the editor's width: a layout made with no page size
    // lays nothing out (a table would otherwise be laid out twice).
    loaded->setPageSize(QSizeF(0, 0));
    setDocument(pending.release());   // deletes the previous document, a child of this editor
    watchDocument();
    m_foreignFile = documentformat::foreign(file.format) ? path : QString();
    m_lastLoad = result;
    m_lastAnchor = m_lastPosition = -1;
    raiseSelChangeIfMoved();
}

void RichTextBox::SaveFile(const QString &path)
{
    documentfile::write(path, rtf::writeDocument(*document()));
    document()->setModified(false);   // only once the file is whole
}

// ---- placement --------------------------------------------------------------------

void RichTextBox::Move(double left, double top, double width, double height)
{
    if (!(width >= 0) || !(height >= 0))
        throw Failure(tr("The surface cannot take a negative size."));
    setGeometry(twips::toPixels(left), twips::toPixels(top), twips::toPixels(width), twips::toPixels(height));
}

double RichTextBox::Width() const
{
    return twips::fromPixels(width());
}

void RichTextBox::setRightMargin(double twipsValue)
{
    if (!(twipsValue >= 0))
        throw Failure(tr("The right margin cannot be negative."));
    m_rightMargin = twipsValue;
    setLineWrapColumnOrWidth(std::max(1, twips::toPixels(twipsValue)));
}

// ---- keyboard, context menu, drag and drop ---------------------------------------------

static bool isClipboardKey(QKeyEvent *event)
{
    return event->matches(QKeySequence::Copy) || event->matches(QKeySequence::Cut)
        || event->matches(QKeySequence::Paste);
}

bool RichTextBox::event(QEvent *event)
{
    if (leaveEditShortcutToWindow(event))
        return false;
    return QTextEdit::event(event);
}

void RichTextBox::keyPressEvent(QKeyEvent *event)
{
    if (isClipboardKey(event)) {
        // The other standard clipboard keys (Ctrl+Insert, Shift+Insert,
        // Shift+Delete) run the same commands as the menu.
        if (event->matches(QKeySequence::Copy))
            emit copyRequested();
        else if (event->matches(QKeySequence::Cut))
            emit cutRequested();
        else
            emit pasteRequested();
        event->accept();
        return;
    }
    QTextEdit::keyPressEvent(event);
}

void RichTextBox::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu menu(this);
    const bool selected = textCursor().hasSelection();
    QAction *cut = menu.addAction(tr("Cu&t"), this, &RichTextBox::cutRequested);
    cut->setEnabled(selected && !isReadOnly());
    QAction *copy = menu.addAction(tr("&Copy"), this, &RichTextBox::copyRequested);
    copy->setEnabled(selected);
    menu.addAction(tr("&Paste"), this, &RichTextBox::pasteRequested)->setEnabled(!isReadOnly());
    menu.addSeparator();
    menu.addAction(tr("Select &All"), this, &QTextEdit::selectAll);
    menu.exec(event->globalPos());
}

// ---- links ---------------------------------------------------------------------------------

static bool followable(const QString &href)
{
    const QString scheme = QUrl(href).scheme();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https") || scheme == QLatin1String("mailto");
}

void RichTextBox::mouseMoveEvent(QMouseEvent *event)
{
    QTextEdit::mouseMoveEvent(event);
    const bool overLink = (event->modifiers() & Qt::ControlModifier) && followable(anchorAt(event->position().toPoint()));
    viewport()->setCursor(overLink ? Qt::PointingHandCursor : Qt::IBeamCursor);
}

void RichTextBox::mouseReleaseEvent(QMouseEvent *event)
{
    QTextEdit::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton || !(event->modifiers() & Qt::ControlModifier))
        return;
    const QString href = anchorAt(event->position().toPoint());
    if (followable(href))
        emit linkActivated(QUrl(href));
}

QMimeData *RichTextBox::createMimeDataFromSelection() const
{
    // Drags and the selection clipboard carry the same markup as Copy.
    return new SelectionMimeData(textCursor().selection(), *document());
}

bool RichTextBox::canInsertFromMimeData(const QMimeData *source) const
{
    return source->hasText();
}

void RichTextBox::insertFromMimeData(const QMimeData *source)
{
    if (source->hasText() && !source->text().isEmpty())
        setSelRTF(source->text());
}
