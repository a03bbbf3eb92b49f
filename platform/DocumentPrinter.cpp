#include "platform/DocumentPrinter.h"

#include "platform/InlineObjects.h"
#include "platform/rtf/RtfQt.h"

#include <QAbstractTextDocumentLayout>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>

#include <memory>

namespace {

constexpr double TwipsPerPoint = 20;
constexpr int DefaultHeaderDistance = 720;  // twips from the paper's edge

struct Page {
    QSizeF paper;           // points
    QMarginsF margins;      // points
    bool landscape = false;
};

// The document's own page, when it keeps one.
bool documentPage(const QTextDocument &doc, Page &page)
{
    const std::optional<rtf::PageSetup> p = rtf::pageSetup(doc);
    if (!p)
        return false;
    double width = p->paperWidth > 0 ? p->paperWidth : 12240, height = p->paperHeight > 0 ? p->paperHeight : 15840;
    page.landscape = p->landscape;
    if (page.landscape && width < height)
        std::swap(width, height);
    page.paper = QSizeF(width, height) / TwipsPerPoint;
    const auto margin = [&](int value, int fallback) { return (value >= 0 ? value : fallback) / TwipsPerPoint; };
    page.margins = QMarginsF(margin(p->marginLeft, 1800) + std::max(0, p->gutter) / TwipsPerPoint,
                             margin(p->marginTop, 1440), margin(p->marginRight, 1800), margin(p->marginBottom, 1440));
    return true;
}

// A section keyword's number, or fallback: "\headery708" in the section's keywords.
int sectionValue(const QByteArray &properties, QByteArrayView word, int fallback)
{
    const qsizetype at = properties.indexOf(QByteArray("\\") + word.toByteArray());
    if (at < 0)
        return fallback;
    qsizetype i = at + 1 + word.size();
    qsizetype start = i;
    while (i < properties.size() && (std::isdigit(static_cast<unsigned char>(properties[i])) || properties[i] == '-'))
        ++i;
    return i > start ? properties.mid(start, i - start).toInt() : fallback;
}

bool hasWord(const QByteArray &properties, QByteArrayView word)
{
    const QByteArray key = QByteArray("\\") + word.toByteArray();
    for (qsizetype at = properties.indexOf(key); at >= 0; at = properties.indexOf(key, at + 1)) {
        const qsizetype end = at + key.size();
        if (end >= properties.size() || !std::isalpha(static_cast<unsigned char>(properties[end])))
            return true;
    }
    return false;
}

// Qt's layout takes a paragraph's indents in pixels of the screen, also on a
// printer of far finer pixels (tab stops it scales itself): they are scaled to it.
void scaleIndents(QTextDocument &doc, double factor)
{
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        QTextBlockFormat f = b.blockFormat();
        if (qIsNull(f.leftMargin()) && qIsNull(f.rightMargin()) && qIsNull(f.textIndent()))
            continue;
        f.setLeftMargin(f.leftMargin() * factor);
        f.setRightMargin(f.rightMargin() * factor);
        f.setTextIndent(f.textIndent() * factor);
        QTextCursor(b).setBlockFormat(f);
    }
}

// A copy of a document laid out for a printer's pixels, its pictures and
// notes drawn, its page edge wholly the printer's margins.
void layOutFor(QTextDocument &doc, QPaintDevice *device)
{
    scaleIndents(doc, device->logicalDpiX() / 96.0);
    doc.documentLayout()->setPaintDevice(device);
    InlineObjects::install(&doc);
    QTextFrameFormat frame = doc.rootFrame()->frameFormat();
    frame.setMargin(0);
    doc.rootFrame()->setFrameFormat(frame);
}

// A header or footer as it prints on one page: its page-number fields show
// that page's number, its page-count fields the number of pages.
std::unique_ptr<QTextDocument> storyForPage(const QTextDocument &story, int page, int pages, QPaintDevice *device,
                                            double width)
{
    std::unique_ptr<QTextDocument> copy(story.clone());
    copy->setUndoRedoEnabled(false);
    QList<QPair<QTextCursor, QString>> replacements;
    for (QTextBlock b = copy->begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            const QString instruction = f.charFormat().stringProperty(rtf::FieldInstructionProperty).trimmed();
            const QString kind = instruction.section(u' ', 0, 0).toUpper();
            if (kind != QLatin1String("PAGE") && kind != QLatin1String("NUMPAGES"))
                continue;
            QTextCursor c(copy.get());
            c.setPosition(f.position());
            c.setPosition(f.position() + f.length(), QTextCursor::KeepAnchor);
            replacements.append({c, QString::number(kind == QLatin1String("PAGE") ? page : pages)});
        }
    }
    for (auto &[cursor, text] : replacements) {
        QTextCharFormat format = cursor.charFormat();
        format.setObjectType(QTextFormat::NoObject);
        cursor.insertText(text, format);
    }
    layOutFor(*copy, device);
    copy->setTextWidth(width);
    return copy;
}

} // namespace

void printDocument(const QTextDocument &doc, QPrinter *printer)
{
    const rtf::SectionRef section = doc.property(rtf::FirstSectionKey).value<rtf::SectionRef>();
    Page page;
    const bool ownPage = documentPage(doc, page);
    // A document without a page of its own takes the printer's paper with
    // the margins RTF gives by default, and no page numbers it does not hold.
    if (ownPage)
        printer->setPageLayout(QPageLayout(QPageSize(page.paper, QPageSize::Point), QPageLayout::Portrait,
                                           QMarginsF(), QPageLayout::Point));
    else
        page = Page {printer->pageLayout().fullRect(QPageLayout::Point).size(),
                     QMarginsF(1800, 1440, 1800, 1440) / TwipsPerPoint, false};
    printer->setFullPage(true);

    QPainter painter(printer);
    if (!painter.isActive())
        return;
    const double scale = printer->resolution() / 72.0;    // device pixels to the point
    const QRectF paper(QPointF(0, 0), page.paper * scale);
    QRectF body = paper.marginsRemoved(page.margins * scale);

    const auto story = [&](QByteArrayView keyword) -> const QTextDocument * {
        for (const rtf::HeaderRef &h : section.headers)
            if (h.keyword == keyword && h.story.doc)
                return h.story.doc.get();
        return nullptr;
    };
    // The first page's own header and footer, left and right pages', or everyone's.
    const bool titlePage = hasWord(section.properties, "titlepg");
    const auto storyOf = [&](bool header, int pageNumber) {
        const QByteArray base = header ? "header" : "footer";
        if (pageNumber == 1 && titlePage)
            return story(base + 'f');
        const QTextDocument *sided = story(base + (pageNumber % 2 ? 'r' : 'l'));
        return sided ? sided : story(base);
    };
    const double headerY = sectionValue(section.properties, "headery", DefaultHeaderDistance) / TwipsPerPoint * scale;
    const double footerY = sectionValue(section.properties, "footery", DefaultHeaderDistance) / TwipsPerPoint * scale;

    // The text starts below the tallest header and ends above the tallest
    // footer, where the margins leave them too little room.
    const double gap = 6 * scale;
    for (const rtf::HeaderRef &h : section.headers) {
        if (!h.story.doc)
            continue;
        const double height = storyForPage(*h.story.doc, 1, 1, painter.device(), body.width())->size().height();
        if (h.keyword.startsWith("header"))
            body.setTop(std::max(body.top(), headerY + height + gap));
        else
            body.setBottom(std::min(body.bottom(), paper.height() - footerY - height - gap));
    }
    if (body.height() < paper.height() / 4)
        body = paper.marginsRemoved(page.margins * scale);   // headers too tall to leave room: over them

    std::unique_ptr<QTextDocument> clone(doc.clone());
    clone->setUndoRedoEnabled(false);
    layOutFor(*clone, printer);
    clone->setPageSize(body.size());
    const int pages = std::max(1, clone->pageCount());

    for (int i = 1; i <= pages; ++i) {
        if (i > 1)
            printer->newPage();
        painter.save();
        painter.translate(body.left(), body.top() - (i - 1) * body.height());
        const QRectF view(0, (i - 1) * body.height(), body.width(), body.height());
        painter.setClipRect(view);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = view;
        context.palette.setColor(QPalette::Text, Qt::black);
        clone->documentLayout()->draw(&painter, context);
        painter.restore();

        for (const bool header : {true, false}) {
            const QTextDocument *source = storyOf(header, i);
            if (!source)
                continue;
            const std::unique_ptr<QTextDocument> onPage = storyForPage(*source, i, pages, painter.device(), body.width());
            const double height = onPage->size().height();
            painter.save();
            painter.translate(body.left(), header ? headerY : paper.height() - footerY - height);
            QAbstractTextDocumentLayout::PaintContext storyContext;
            storyContext.palette.setColor(QPalette::Text, Qt::black);
            onPage->documentLayout()->draw(&painter, storyContext);
            painter.restore();
        }
    }
}
