#include "platform/InlineObjects.h"

#include "platform/rtf/RtfModel.h"
#include "platform/rtf/RtfQt.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>

namespace {

QString roman(int n)
{
    static const std::pair<int, const char *> digits[] = {{1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"},
                                                          {100, "c"},  {90, "xc"},  {50, "l"},  {40, "xl"},
                                                          {10, "x"},   {9, "ix"},   {5, "v"},   {4, "iv"},
                                                          {1, "i"}};
    QString out;
    for (const auto &[value, text] : digits)
        while (n >= value && out.size() < 32) {
            out += QLatin1String(text);
            n -= value;
        }
    return out;
}

} // namespace

void InlineObjects::install(QTextDocument *doc)
{
    QAbstractTextDocumentLayout *layout = doc->documentLayout();
    if (layout->findChild<InlineObjects *>())
        return;
    auto *handler = new InlineObjects(layout);
    layout->registerHandler(rtf::NoteObject, handler);
    layout->registerHandler(rtf::KeptObject, handler);
    connect(doc, &QTextDocument::contentsChange, handler, [handler] { handler->m_numbersValid = false; });
}

QFont InlineObjects::markerFont(QTextDocument *doc, const QTextFormat &format) const
{
    QFont font = format.toCharFormat().font();
    if (font.pointSizeF() <= 0)
        font.setPointSizeF(doc->defaultFont().pointSizeF());
    font.setPointSizeF(std::max(1.0, font.pointSizeF() * 0.6));
    return font;
}

QString InlineObjects::label(QTextDocument *doc, int posInDocument, const QTextFormat &format)
{
    if (!format.boolProperty(rtf::NoteAutoNumberProperty) && format.intProperty(rtf::NoteKindProperty) != rtf::Note::Comment)
        return QString();   // the note's own mark is in the text before it
    if (!m_numbersValid) {
        m_numbers.clear();
        int counts[3] = {0, 0, 0};
        for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
            for (auto it = b.begin(); !it.atEnd(); ++it) {
                const QTextFragment f = it.fragment();
                const QTextCharFormat cf = f.charFormat();
                if (cf.objectType() != rtf::NoteObject)
                    continue;
                const int kind = std::clamp(cf.intProperty(rtf::NoteKindProperty), 0, 2);
                for (int i = 0; i < f.length(); ++i)
                    m_numbers[f.position() + i] = ++counts[kind];
            }
        }
        m_numbersValid = true;
    }
    const auto it = m_numbers.find(posInDocument);
    const int number = it == m_numbers.end() ? 1 : it->second;
    switch (format.intProperty(rtf::NoteKindProperty)) {
    case rtf::Note::Endnote: return roman(number);
    case rtf::Note::Comment: return QStringLiteral("[%1]").arg(number);
    default: return QString::number(number);
    }
}

QSizeF InlineObjects::intrinsicSize(QTextDocument *doc, int posInDocument, const QTextFormat &format)
{
    if (format.objectType() != rtf::NoteObject)
        return QSizeF(0, 1);
    const QFontMetricsF metrics(markerFont(doc, format));
    return QSizeF(metrics.horizontalAdvance(label(doc, posInDocument, format)) + 1, metrics.height());
}

void InlineObjects::drawObject(QPainter *painter, const QRectF &rect, QTextDocument *doc, int posInDocument,
                               const QTextFormat &format)
{
    if (format.objectType() != rtf::NoteObject)
        return;
    const QFont font = markerFont(doc, format);
    painter->save();
    painter->setFont(font);
    const QTextCharFormat cf = format.toCharFormat();
    painter->setPen(cf.foreground().style() != Qt::NoBrush ? cf.foreground().color() : painter->pen().color());
    // Raised by a third of the line: the marker reads as a superscript.
    const QFontMetricsF metrics(font);
    painter->drawText(QPointF(rect.left(), rect.bottom() - rect.height() * 0.35 - metrics.descent()),
                      label(doc, posInDocument, format));
    painter->restore();
}
