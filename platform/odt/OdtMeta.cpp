// Document information from office:meta: title, subject, authors,
// keywords, description and the dates, as the RTF information group keeps them.

#include "OdtContext.h"

#include "platform/rtf/RtfRules.h"

#include <QDateTime>

namespace odt {

using rtf::rules::MaxInfoChars;

void Context::readMeta(XmlReader &x)
{
    rtf::DocInfo &info = doc.info;
    QStringList keywords;
    children(x, [&] {
        const Ns ns = nsOf(x.namespaceUri());
        const QStringView n = x.name();
        if (ns == Ns::Dc && n == u"title")
            rtf::rules::addInfoText(info, QStringLiteral("title"), elementText(x, MaxInfoChars));
        else if (ns == Ns::Dc && n == u"subject")
            rtf::rules::addInfoText(info, QStringLiteral("subject"), elementText(x, MaxInfoChars));
        else if (ns == Ns::Dc && n == u"description")
            rtf::rules::addInfoText(info, QStringLiteral("doccomm"), elementText(x, MaxInfoChars));
        else if (ns == Ns::Meta && n == u"initial-creator")
            rtf::rules::addInfoText(info, QStringLiteral("author"), elementText(x, MaxInfoChars));
        else if (ns == Ns::Dc && n == u"creator")
            rtf::rules::addInfoText(info, QStringLiteral("operator"), elementText(x, MaxInfoChars));
        else if (ns == Ns::Meta && n == u"keyword" && keywords.size() < 1000)
            keywords.append(elementText(x, 1024).simplified());
        else if (ns == Ns::Meta && n == u"creation-date")
            rtf::rules::addInfoDate(info, "creatim", elementText(x, 64));
        else if (ns == Ns::Dc && n == u"date")
            rtf::rules::addInfoDate(info, "revtim", elementText(x, 64));
        else if (ns == Ns::Meta && n == u"print-date")
            rtf::rules::addInfoDate(info, "printim", elementText(x, 64));
        else
            skip(x);
    });
    keywords.removeAll(QString());
    if (!keywords.isEmpty())
        rtf::rules::addInfoText(info, QStringLiteral("keywords"), keywords.join(u' '));
}

void Context::readSettings(XmlReader &x)
{
    int depth = 1;
    while (depth > 0) {
        const auto token = x.next();
        if (token == XmlReader::EndElement) {
            --depth;
        } else if (token == XmlReader::StartElement) {
            ++depth;
            if (is(x, Ns::Config, QLatin1StringView("config-item"))
                && attr(x, Ns::Config, QLatin1StringView("name")) == u"TabsRelativeToIndent") {
                tabsFromIndent = elementText(x, 16).trimmed() != u"false";
                --depth;
            }
        } else if (token == XmlReader::Invalid || token == XmlReader::EndDocument) {
            return;
        }
    }
}

} // namespace odt
