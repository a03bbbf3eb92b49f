// The text: blocks (paragraphs, headings, lists, sections, indexes), the
// runs of a paragraph with the format's whitespace rules, links and bookmarks.

#include "OdtContext.h"

#include "platform/rtf/RtfFields.h"
#include "platform/rtf/RtfRules.h"

#include <algorithm>

namespace odt {

namespace {

constexpr int MaxListDepth = 9;

bool whitespace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

QByteArray bookmark(const char *word, QStringView name)
{
    return QByteArray("{\\*\\") + word + ' ' + rtfText(name.first(std::min<qsizetype>(name.size(), 200))) + '}';
}

} // namespace

QString linkTarget(QStringView href)
{
    // Relative links start from the package, which stands for a folder
    // inside the document's own: one step up is the document's folder.
    const bool relative = !href.isEmpty() && !href.startsWith(u'#') && !href.startsWith(u'/') && !href.contains(u':');
    if (relative && href.startsWith(u"../"))
        return href.sliced(3).toString();
    return href.toString();
}

// ---- runs ----------------------------------------------------------------------------------

void Context::flushSpace(ParaBuild &para)
{
    if (!para.pendingSpace)
        return;
    para.pendingSpace = false;
    // The space keeps the formatting and field of the text it followed.
    const int field = std::exchange(para.fieldmark, -1);
    addText(para, u" ", Inline {para.pendingText, para.pendingField});
    para.fieldmark = field;
    para.space = true;
}

void Context::addText(ParaBuild &para, QStringView text, const Inline &in)
{
    flushSpace(para);
    const int style = charStyle(in.text);
    const int field = fieldOf(para, in);
    if (rtf::appendText(doc, para.p, text, style, field))
        para.space = false;
}

void Context::addCollapsed(ParaBuild &para, QStringView text, const Inline &in)
{
    qsizetype i = 0;
    while (i < text.size()) {
        if (whitespace(text.at(i))) {
            if (!para.space) {
                para.pendingSpace = true;
                para.pendingText = in.text;
                para.pendingField = fieldOf(para, in);     // the field it stands in, as it stands now
                para.space = true;
            }
            ++i;
            continue;
        }
        qsizetype j = i;
        while (j < text.size() && !whitespace(text.at(j)))
            ++j;
        addText(para, text.sliced(i, j - i), in);
        i = j;
    }
}

void Context::addObject(ParaBuild &para, rtf::InlineObject::Kind kind, int index, const Inline &in, bool visible)
{
    flushSpace(para);
    doc.objects.push_back(rtf::InlineObject {kind, index});
    para.p.runs.push_back(rtf::Run {doc.text.size(), 1, charStyle(in.text), fieldOf(para, in), int(doc.objects.size()) - 1});
    doc.text.append(QChar::ObjectReplacementCharacter);
    if (visible)
        para.space = false;
}

void Context::addKept(ParaBuild &para, const QByteArray &group, const Inline &in)
{
    doc.kept.push_back(group);
    addObject(para, rtf::InlineObject::Kept, int(doc.kept.size()) - 1, in, false);
}

int Context::addField(const QString &instruction, int parent)
{
    rtf::Field f;
    f.instruction = rtf::rules::printable(instruction).simplified();
    int depth = 0;
    for (int p = parent; p >= 0 && depth < rtf::rules::MaxFieldDepth; p = doc.fields[size_t(p)].parent)
        ++depth;
    if (depth < rtf::rules::MaxFieldDepth)
        f.parent = parent;
    doc.fields.push_back(f);
    return int(doc.fields.size()) - 1;
}

void Context::readInline(XmlReader &x, ParaBuild &para, Inline in)
{
    for (;;) {
        const auto token = x.next();
        if (token == XmlReader::Characters) {
            addCollapsed(para, x.text(), in);
            continue;
        }
        if (token != XmlReader::StartElement)
            return;     // the element's end, or an error
        const Ns ns = nsOf(x.namespaceUri());
        const QStringView n = x.name();
        if (ns == Ns::Text) {
            if (n == u"span") {
                readInline(x, para, Inline {spanLook(in.text, attr(x, Ns::Text, QLatin1StringView("style-name"))), in.field});
            } else if (n == u"a") {
                const QString href = linkTarget(attr(x, Ns::Xlink, QLatin1StringView("href")));
                const int field = href.isEmpty() ? in.field : addField(rtf::hyperlinkInstruction(href), in.field);
                // A link without a style of its own looks as links do.
                QStringView styleName = attr(x, Ns::Text, QLatin1StringView("style-name"));
                if (styleName.isEmpty())
                    styleName = u"Internet_20_link";
                readInline(x, para, Inline {spanLook(in.text, styleName), field});
            } else if (n == u"s") {
                const QStringView c = attr(x, Ns::Text, QLatin1StringView("c"));
                const int count = c.isEmpty() ? 1 : std::clamp(c.toInt(), 1, MaxSpaces);
                addText(para, QString(count, u' '), in);
                skip(x);
            } else if (n == u"tab") {
                addText(para, u"\t", in);
                skip(x);
            } else if (n == u"line-break") {
                addText(para, u"\u2028", in);
                skip(x);
            } else if (n == u"bookmark" || n == u"bookmark-start" || n == u"bookmark-end") {
                const QString name = attrString(x, Ns::Text, QLatin1StringView("name"));
                if (!name.isEmpty()) {
                    if (n != u"bookmark-end")
                        addKept(para, bookmark("bkmkstart", name), in);
                    if (n != u"bookmark-start")
                        addKept(para, bookmark("bkmkend", name), in);
                }
                skip(x);
            } else if (n == u"note") {
                readNote(x, para, in);
            } else if (n == u"ruby") {
                children(x, [&] {
                    if (is(x, Ns::Text, QLatin1StringView("ruby-base")))
                        readInline(x, para, in);
                    else
                        skip(x);
                });
            } else if (n == u"soft-page-break" || n == u"change" || n == u"change-start" || n == u"change-end"
                       || n.endsWith(u"-mark") || n.endsWith(u"-mark-start") || n.endsWith(u"-mark-end")
                       || n == u"reference-mark") {
                skip(x);
            } else if (!readField(x, para, in)) {
                // What is not read keeps its text; a field so kept is counted.
                if (n.endsWith(u"-get") || n.endsWith(u"-set") || n.endsWith(u"-input") || n == u"chapter"
                    || n == u"expression" || n == u"placeholder" || n == u"template-name" || n == u"note-ref"
                    || n == u"sequence-ref" || n == u"conditional-text" || n == u"hidden-text" || n == u"drop-down")
                    drop(QStringLiteral("fields kept as their text"));
                readInline(x, para, in);
            }
        } else if (ns == Ns::Office && n == u"annotation") {
            readAnnotation(x, para, in);
        } else if (ns == Ns::Office && n == u"annotation-end") {
            drop(QStringLiteral("comment ranges"));
            skip(x);
        } else if (ns == Ns::Draw && n == u"frame") {
            readFrame(x, para, in);
        } else if (ns == Ns::Field && (n == u"fieldmark-start" || n == u"fieldmark-separator" || n == u"fieldmark-end")) {
            readFieldmark(x, para, in);
        } else if (ns == Ns::Draw && n == u"a") {
            const QString href = linkTarget(attr(x, Ns::Xlink, QLatin1StringView("href")));
            readInline(x, para, Inline {in.text, href.isEmpty() ? in.field : addField(rtf::hyperlinkInstruction(href), in.field)});
        } else if (ns == Ns::Draw) {
            drop(QStringLiteral("drawings"));
            skip(x);
        } else {
            skip(x);
        }
    }
}

// ---- paragraphs ----------------------------------------------------------------------------

void Context::readParagraph(XmlReader &x, rtf::Story &out, bool heading, ListPlace list)
{
    const ParaLook look = paraLooks[size_t(paraLook(attr(x, Ns::Text, QLatin1StringView("style-name"))))];
    const bool body = &out == &doc.body;
    if (body) {
        if (currentMaster.isNull())
            startMaster(look.master, true);
        else if (!look.master.isEmpty())
            startMaster(look.master, false);
    }
    int outlineLevel = 0;
    if (heading) {
        const QStringView level = attr(x, Ns::Text, QLatin1StringView("outline-level"));
        outlineLevel = std::clamp(level.isEmpty() ? look.outlineLevel : level.toInt(), 1, 10);
        // Headings numbered by the outline style, outside lists.
        const bool unnumbered = attr(x, Ns::Text, QLatin1StringView("is-list-header")) == u"true";
        const ListLevelDef &def = outline.levels[size_t(std::min(outlineLevel, 9) - 1)];
        if (list.instance < 0 && !unnumbered && def.defined && def.level.format != 255) {
            if (outlineInstance < 0)
                outlineInstance = newInstance(listDef(outline));
            list = ListPlace {outlineInstance, std::min(outlineLevel, 9) - 1, true};
        }
    }
    ParaBuild para;
    readInline(x, para, Inline {look.text, blockField});

    rtf::ParaProps props = look.props;
    if (list.instance >= 0) {
        const rtf::ListInstance &instance = doc.listInstances[size_t(list.instance)];
        const rtf::ListLevel &level = doc.lists[size_t(instance.list)].levels[size_t(list.level)];
        if (list.label) {
            props.list = list.instance;
            props.level = list.level;
        }
        if (!look.ownLeft)
            props.leftIndent = level.leftIndent;
        if (!look.ownFirst)
            props.firstIndent = list.label ? level.firstIndent : 0;
    }
    if (heading)
        props.outline = outlineLevel - 1;
    if (!look.tabs.empty()) {
        // The file measures tab stops from the paragraph's indent (unless its
        // settings say otherwise), the model from the margin.
        std::vector<rtf::TabStop> stops = look.tabs;
        for (rtf::TabStop &t : stops)
            t.position = std::clamp(t.position + (tabsFromIndent ? props.leftIndent : 0), 0, rtf::rules::MaxLength);
        props.tabs = internTabs(stops);
    }
    para.p.props = internPara(props);
    para.p.markStyle = charStyle(look.text);
    para.p.terminated = true;
    if (body)
        para.p.pageBreak = std::exchange(pageBreakPending, false);
    out.blocks.push_back(rtf::Block {std::move(para.p), nullptr});
    for (rtf::Block &b : para.after)
        out.blocks.push_back(std::move(b));
    if (body && look.breakAfter)
        pageBreakPending = true;
}

// ---- blocks --------------------------------------------------------------------------------

void Context::readBlock(XmlReader &x, rtf::Story &out, int tableDepth)
{
    const Ns ns = nsOf(x.namespaceUri());
    const QStringView n = x.name();
    if (ns == Ns::Text) {
        if (n == u"p" || n == u"h") {
            readParagraph(x, out, n == u"h", {});
        } else if (n == u"list") {
            readList(x, out, tableDepth, nullptr, 0);
        } else if (n == u"section" || n == u"index-body" || n == u"index-title" || n == u"numbered-paragraph") {
            readBlocks(x, out, tableDepth);
        } else if (n == u"table-of-content" || n == u"alphabetical-index" || n == u"illustration-index"
                   || n == u"table-index" || n == u"object-index" || n == u"user-index" || n == u"bibliography") {
            readIndex(x, out, tableDepth, n == u"table-of-content");
        } else {
            skip(x);    // declarations, tracked changes (deleted text), soft page breaks
        }
    } else if (ns == Ns::Table && n == u"table") {
        readTable(x, out, tableDepth);
    } else if (ns == Ns::Draw && (n == u"frame" || n == u"a")) {
        readBlockFrame(x, out);
    } else {
        if (ns == Ns::Draw)
            drop(QStringLiteral("drawings"));
        skip(x);
    }
}

void Context::readBlocks(XmlReader &x, rtf::Story &out, int tableDepth)
{
    children(x, [&] { readBlock(x, out, tableDepth); });
}

void Context::readBody(XmlReader &x)
{
    children(x, [&] {
        if (is(x, Ns::Office, QLatin1StringView("text")))
            readBlocks(x, doc.body, 0);
        else
            skip(x);
    });
}

// A table of contents is one field whose result is its paragraphs; other
// indexes are their paragraphs.
void Context::readIndex(XmlReader &x, rtf::Story &out, int tableDepth, bool contents)
{
    int levels = 3;
    children(x, [&] {
        if (contents && is(x, Ns::Text, QLatin1StringView("table-of-content-source"))) {
            const QStringView l = attr(x, Ns::Text, QLatin1StringView("outline-level"));
            if (!l.isEmpty())
                levels = std::clamp(l.toInt(), 1, 9);
            skip(x);
        } else if (is(x, Ns::Text, QLatin1StringView("index-body"))) {
            const int outer = blockField;
            if (contents)
                blockField = addField(QStringLiteral("TOC \\o \"1-%1\" \\h").arg(levels), outer);
            readBlocks(x, out, tableDepth);
            blockField = outer;
        } else {
            skip(x);
        }
    });
}

// ---- lists ---------------------------------------------------------------------------------

void Context::readList(XmlReader &x, rtf::Story &out, int tableDepth, ListRun *outerRun, int level)
{
    ListRun own;
    ListRun *run = outerRun ? outerRun : &own;
    if (level >= MaxListDepth) {
        drop(QStringLiteral("list levels beyond nine"));
        level = MaxListDepth - 1;
    }
    const QString styleName = attrString(x, Ns::Text, QLatin1StringView("style-name"));
    if (!run->style)
        run->style = listStyle(styleName);
    if (!outerRun) {
        run->key = styleName;
        const QString continues = attrString(x, Ns::Text, QLatin1StringView("continue-list"));
        if (!continues.isEmpty() && listById.contains(continues))
            run->instance = listById.value(continues);
        else if (attr(x, Ns::Text, QLatin1StringView("continue-numbering")) == u"true")
            run->instance = lastInstance.value(styleName, lastList);
    }
    const QString id = x.attributes().value(QLatin1StringView("http://www.w3.org/XML/1998/namespace"),
                                            QLatin1StringView("id")).toString();
    // The instance the items number, made when the first item needs it.
    const auto instance = [&](const ParaLook *look) {
        if (run->instance < 0) {
            ListStyle *style = run->style ? run->style : look ? listStyle(look->listStyle) : nullptr;
            if (!style)
                return -1;
            run->style = style;
            run->instance = newInstance(listDef(*style));
            if (run->pendingStart >= 0)
                doc.listInstances[size_t(run->instance)].startOverride[size_t(run->pendingLevel)] = run->pendingStart;
            run->pendingStart = -1;
        }
        return run->instance;
    };
    children(x, [&] {
        const bool item = is(x, Ns::Text, QLatin1StringView("list-item"));
        const bool header = is(x, Ns::Text, QLatin1StringView("list-header"));
        if (!item && !header) {
            skip(x);
            return;
        }
        if (const QStringView start = attr(x, Ns::Text, QLatin1StringView("start-value")); item && !start.isEmpty()) {
            const int value = std::clamp(start.toInt(), 0, 32767);
            if (run->instance >= 0) {
                // The numbering starts again from here: a new instance of the same list.
                const int def = doc.listInstances[size_t(run->instance)].list;
                run->instance = newInstance(def);
                doc.listInstances[size_t(run->instance)].startOverride[size_t(level)] = value;
            } else {
                run->pendingStart = value;
                run->pendingLevel = level;
            }
        }
        bool labelled = header;
        children(x, [&] {
            if (is(x, Ns::Text, QLatin1StringView("p")) || is(x, Ns::Text, QLatin1StringView("h"))) {
                const ParaLook look = paraLooks[size_t(paraLook(attr(x, Ns::Text, QLatin1StringView("style-name"))))];
                const int made = instance(&look);
                readParagraph(x, out, is(x, Ns::Text, QLatin1StringView("h")), ListPlace {made, level, !labelled});
                labelled = true;
            } else if (is(x, Ns::Text, QLatin1StringView("list"))) {
                readList(x, out, tableDepth, run, level + 1);
                labelled = true;
            } else {
                readBlock(x, out, tableDepth);
            }
        });
    });
    if (!outerRun && run->instance >= 0) {
        lastInstance.insert(run->key, run->instance);
        lastList = run->instance;
    }
    if (!id.isEmpty() && run->instance >= 0)
        listById.insert(id, run->instance);
}

} // namespace odt
