// Document information: the core properties (title, subject, author,
// keywords, description, who saved last, dates) and the extended ones
// (company, manager), as the RTF information group keeps them.

#include "DocxContext.h"

#include "platform/rtf/RtfRules.h"

#include <QDateTime>

namespace docx {

namespace {

using rtf::rules::MaxInfoChars;

void setString(rtf::DocInfo &info, const QString &name, const QString &value)
{
    const QString v = rtf::rules::printable(value.left(MaxInfoChars)).simplified();
    if (v.isEmpty() || info.strings.contains(name))
        return;
    info.strings.insert(name, v);
    info.order.append(name);
}

} // namespace

void Context::readCore(XmlReader &x)
{
    rtf::DocInfo &info = doc.info;
    const auto setDate = [&](const char *name, const QString &value) {
        const QString key = QLatin1StringView(name);
        const QByteArray group = rtf::rules::infoDateGroup(name, value.trimmed());
        if (group.isEmpty() || info.raw.contains(key))
            return;
        info.raw.insert(key, group);
        info.order.append(key);
    };
    children(x, [&] {
        const Ns ns = nsOf(x.namespaceUri());
        const QStringView n = x.name();
        if (ns == Ns::Dc && n == u"title")
            setString(info, QStringLiteral("title"), elementText(x, MaxInfoChars));
        else if (ns == Ns::Dc && n == u"subject")
            setString(info, QStringLiteral("subject"), elementText(x, MaxInfoChars));
        else if (ns == Ns::Dc && n == u"creator")
            setString(info, QStringLiteral("author"), elementText(x, MaxInfoChars));
        else if (ns == Ns::Cp && n == u"keywords")
            setString(info, QStringLiteral("keywords"), elementText(x, MaxInfoChars));
        else if (ns == Ns::Dc && n == u"description")
            setString(info, QStringLiteral("doccomm"), elementText(x, MaxInfoChars));
        else if (ns == Ns::Cp && n == u"lastModifiedBy")
            setString(info, QStringLiteral("operator"), elementText(x, MaxInfoChars));
        else if (ns == Ns::Cp && n == u"category")
            setString(info, QStringLiteral("category"), elementText(x, MaxInfoChars));
        else if (ns == Ns::DcTerms && n == u"created")
            setDate("creatim", elementText(x, 64));
        else if (ns == Ns::DcTerms && n == u"modified")
            setDate("revtim", elementText(x, 64));
        else if (ns == Ns::Cp && n == u"lastPrinted")
            setDate("printim", elementText(x, 64));
        else
            skip(x);
    });
}

void Context::readApp(XmlReader &x)
{
    children(x, [&] {
        if (is(x, Ns::Ep, QLatin1StringView("Company")))
            setString(doc.info, QStringLiteral("company"), elementText(x, MaxInfoChars));
        else if (is(x, Ns::Ep, QLatin1StringView("Manager")))
            setString(doc.info, QStringLiteral("manager"), elementText(x, MaxInfoChars));
        else
            skip(x);
    });
}

} // namespace docx
