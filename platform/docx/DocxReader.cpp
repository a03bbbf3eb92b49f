// The package: the main part found through the package's relationships (or
// its content types), then the theme, settings, styles, numbering, notes
// and comments it relates to, the body, and the document information.

#include "DocxReader.h"

#include "DocxContext.h"

namespace docx {

namespace {

rtf::ReadResult failure(rtf::Document &out, const QString &why)
{
    out = rtf::Document {};
    return rtf::ReadResult {false, why, {}};
}

QString xmlError(const QString &part, const XmlReader &x)
{
    return QStringLiteral("The document's %1 is damaged (line %2: %3).").arg(part).arg(x.lineNumber()).arg(x.errorString());
}

// The main part named by [Content_Types].xml, for packages whose
// relationships do not name it.
QString mainFromContentTypes(Context &c)
{
    const auto bytes = c.readPart(QStringLiteral("[Content_Types].xml"));
    if (!bytes)
        return {};
    XmlReader x(*bytes);
    while (!x.atEnd()) {
        if (x.next() != XmlReader::StartElement || x.name() != u"Override")
            continue;
        const QStringView type = x.attributes().value(QLatin1StringView("ContentType"));
        if (type.startsWith(u"application/vnd.openxmlformats-officedocument.wordprocessingml.")
            || type.startsWith(u"application/vnd.ms-word.")) {
            if (type.endsWith(u".main+xml")) {
                QString name = x.attributes().value(QLatin1StringView("PartName")).toString();
                if (name.startsWith(u'/'))
                    name.remove(0, 1);
                return name;
            }
        }
    }
    return {};
}

// Reads an optional part with reader; a damaged one fails the read when
// required, else only counts as dropped.
template<class F>
std::optional<QString> readOptional(Context &c, const QString &name, const QString &label, bool required, F &&reader)
{
    if (name.isEmpty() || !c.parts.contains(name))
        return std::nullopt;
    QString error;
    const auto bytes = c.readPart(name, &error);
    if (!bytes) {
        if (required)
            return QStringLiteral("The document's %1 cannot be read: %2.").arg(name, error);
        c.drop(QStringLiteral("unreadable %1").arg(label));
        return std::nullopt;
    }
    const QString outer = std::exchange(c.part, name);
    XmlReader x(*bytes);
    if (x.readRoot())
        reader(x);
    c.part = outer;
    if (x.hasError()) {
        if (required)
            return xmlError(name, x);
        c.drop(QStringLiteral("damaged %1").arg(label));
    }
    return std::nullopt;
}

} // namespace

rtf::ReadResult read(const package::Parts &parts, rtf::Document &out)
{
    out = rtf::Document {};
    Context c(out, parts);
    QString main = c.target(QString(), QLatin1StringView("officeDocument"));
    if (main.isEmpty() || !parts.contains(main))
        main = mainFromContentTypes(c);
    if (main.isEmpty() || !parts.contains(main))
        return failure(out, QStringLiteral("The document has no main part: its package names no Word document "
                                           "text, or the part it names is missing."));

    const auto optional = [&](QLatin1StringView kind, const QString &label, bool required, auto &&reader) {
        return readOptional(c, c.target(main, kind), label, required, reader);
    };
    (void)optional(QLatin1StringView("theme"), QStringLiteral("theme"), false, [&](XmlReader &x) { c.readTheme(x); });
    (void)optional(QLatin1StringView("settings"), QStringLiteral("settings"), false,
                   [&](XmlReader &x) { c.readSettings(x); });
    if (auto e = optional(QLatin1StringView("styles"), QStringLiteral("styles"), true, [&](XmlReader &x) { c.readStyles(x); }))
        return failure(out, *e);
    if (auto e = optional(QLatin1StringView("numbering"), QStringLiteral("numbering"), true,
                          [&](XmlReader &x) { c.readNumbering(x); }))
        return failure(out, *e);
    c.readNotes(c.target(main, QLatin1StringView("footnotes")), QLatin1StringView("footnote"), c.footnotes);
    c.readNotes(c.target(main, QLatin1StringView("endnotes")), QLatin1StringView("endnote"), c.endnotes);
    c.readComments(c.target(main, QLatin1StringView("comments")));

    QString error;
    const auto bytes = c.readPart(main, &error);
    if (!bytes)
        return failure(out, QStringLiteral("The document's text cannot be read: %1.").arg(error));
    c.part = main;
    XmlReader x(*bytes);
    if (!x.readRoot()) {
        if (x.hasError())
            return failure(out, xmlError(main, x));
        return failure(out, QStringLiteral("The document's %1 is empty.").arg(main));
    }
    if (!is(x, Ns::W, QLatin1StringView("document")))
        return failure(out, QStringLiteral("The package's main part is not a Word document's text."));
    children(x, [&] {
        if (is(x, Ns::W, QLatin1StringView("body"))) {
            c.readBlocks(x, out.body, 0);
            return;
        }
        if (is(x, Ns::W, QLatin1StringView("background")))
            c.drop(QStringLiteral("page colour"));
        skip(x);
    });
    if (x.hasError())
        return failure(out, xmlError(main, x));
    c.finishSections();
    out.documentProperties = "\\deftab" + QByteArray::number(c.defaultTabStop);

    // Information is worth no refusal: a damaged part is left out.
    const auto info = [&](QLatin1StringView kind, auto &&reader) {
        const rtf::DocInfo kept = out.info;
        const QString name = c.target(QString(), kind);
        const auto drops = out.dropped.counts;
        (void)readOptional(c, name, QStringLiteral("document information"), false, reader);
        if (out.dropped.counts != drops)
            out.info = kept;
    };
    info(QLatin1StringView("core-properties"), [&](XmlReader &r) { c.readCore(r); });
    info(QLatin1StringView("extended-properties"), [&](XmlReader &r) { c.readApp(r); });
    return rtf::ReadResult {true, {}, out.dropped};
}

} // namespace docx
