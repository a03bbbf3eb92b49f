// Document information: the core properties (title, subject, author,
// keywords, description, who saved last, dates) and the extended ones
// (company, manager), as the RTF information group keeps them.

#include "DocxContext.h"

#include "platform/rtf/RtfRules.h"

#include <QDateTime>

namespace docx {

using rtf::rules::MaxInfoChars;

void Context::readCore(XmlReader &x)
{
    rtf::DocInfo &info = doc.info;
    children(x, [&] {
        const Ns ns = nsOf(x.namespaceUri());
        const QStringView n = x.name();
        if (ns == Ns::Dc && n == u"title")
            rtf::rules::addInfoText(info, QStringLiteral("title"), elementText(x, MaxInfoChars));
        else if (ns == Ns::Dc && n == u"subject")
            rtf::rules::addInfoText(info, QStringLiteral("subject"), elementText(x, MaxInfoChars));
        else if (ns == Ns::Dc && n == u"creator")
            rtf::rules::addInfoText(info, QStringLiteral("author"), elementText(x, MaxInfoChars));
        else if (ns == Ns::Cp && n == u"keywords")
            rtf::rules::addInfoText(info, QStringLiteral("keywords"), elementText(x, MaxInfoChars));
        else if (ns == Ns::Dc && n == u"description")
            rtf::rules::addInfoText(info, QStringLiteral("doccomm"), elementText(x, MaxInfoChars));
        else if (ns == Ns::Cp && n == u"lastModifiedBy")
            rtf::rules::addInfoText(info, QStringLiteral("operator"), elementText(x, MaxInfoChars));
        else if (ns == Ns::Cp && n == u"category")
            rtf::rules::addInfoText(info, QStringLiteral("category"), elementText(x, MaxInfoChars));
        else if (ns == Ns::DcTerms && n == u"created")
            rtf::rules::addInfoDate(info, "creatim", elementText(x, 64));
        else if (ns == Ns::DcTerms && n == u"modified")
            rtf::rules::addInfoDate(info, "revtim", elementText(x, 64));
        else if (ns == Ns::Cp && n == u"lastPrinted")
            rtf::rules::addInfoDate(info, "printim", elementText(x, 64));
        else
            skip(x);
    });
}

void Context::readApp(XmlReader &x)
{
    children(x, [&] {
        if (is(x, Ns::Ep, QLatin1StringView("Company")))
            rtf::rules::addInfoText(doc.info, QStringLiteral("company"), elementText(x, MaxInfoChars));
        else if (is(x, Ns::Ep, QLatin1StringView("Manager")))
            rtf::rules::addInfoText(doc.info, QStringLiteral("manager"), elementText(x, MaxInfoChars));
        else
            skip(x);
    });
}

} // namespace docx
