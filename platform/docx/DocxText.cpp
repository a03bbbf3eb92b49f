// The text: blocks (paragraphs, tables, content controls), a paragraph's
// properties resolved with its style and list, runs and what they hold,
// links, simple and complex fields, bookmarks, revisions.

#include "DocxContext.h"

#include "platform/rtf/RtfFields.h"
#include "platform/rtf/RtfLists.h"
#include "platform/rtf/RtfRules.h"

#include <algorithm>
#include <functional>

namespace docx {

namespace {

constexpr qsizetype MaxInstruction = 4096;

QByteArray bookmark(const char *word, QStringView name)
{
    return QByteArray("{\\*\\") + word + ' ' + odt::rtfText(name.first(std::min<qsizetype>(name.size(), 200))) + '}';
}

} // namespace

// ---- runs ----------------------------------------------------------------------------------

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

bool Context::suppressed() const
{
    for (const OpenField &f : fields)
        if (!f.result)
            return true;
    return false;
}

int Context::currentField(int link) const
{
    // Fields are made in the order they open: the latest is the innermost.
    for (auto it = fields.rbegin(); it != fields.rend(); ++it)
        if (it->result && it->field >= 0)
            return std::max(it->field, link);
    return link;
}

void Context::pageBreak(ParaBuild &para)
{
    if (para.p.runs.empty()) {
        para.p.pageBreak = true;
        return;
    }
    // What follows the break, the paragraph's mark included, is on the next page.
    para.p.terminated = true;
    para.done.push_back(std::move(para.p));
    para.p = rtf::Paragraph {};
    para.p.pageBreak = true;
}

void Context::addText(ParaBuild &para, QStringView text, int style, int link)
{
    if (suppressed())
        return;
    rtf::appendText(doc, para.p, text, style, currentField(link));
}

void Context::addObject(ParaBuild &para, rtf::InlineObject::Kind kind, int index, int style, int link)
{
    if (suppressed() && kind != rtf::InlineObject::EmptyField)
        return;
    doc.objects.push_back(rtf::InlineObject {kind, index});
    para.p.runs.push_back(rtf::Run {doc.text.size(), 1, style, currentField(link), int(doc.objects.size()) - 1});
    doc.text.append(QChar::ObjectReplacementCharacter);
}

void Context::addKept(ParaBuild &para, const QByteArray &group, int style, int link)
{
    if (suppressed())
        return;
    doc.kept.push_back(group);
    addObject(para, rtf::InlineObject::Kept, int(doc.kept.size()) - 1, style, link);
}

void Context::readRun(XmlReader &x, ParaBuild &para, const ParaLook &look, int link)
{
    RunProps direct;
    int style = -1;
    const auto look_ = [&] {
        if (style < 0)
            style = charStyle(baseRun(look, direct.charStyle), direct);
        return style;
    };
    std::function<void()> element;
    element = [&] {
        if (nsOf(x.namespaceUri()) == Ns::Mc && x.name() == u"AlternateContent") {
            alternate(x, element);
            return;
        }
        if (nsOf(x.namespaceUri()) != Ns::W) {
            skip(x);
            return;
        }
        const QStringView n = x.name();
        if (n == u"rPr") {
            if (style < 0)
                readRunProps(x, direct);
            else
                skip(x);
        } else if (n == u"t") {
            const bool preserve = attr(x, Ns::Xml, QLatin1StringView("space")) == u"preserve";
            QString text = elementText(x, odt::XmlReader::MaxText);
            text.replace(u'\n', u' ').replace(u'\r', u' ');
            if (!preserve)
                text = text.trimmed();
            addText(para, text, look_(), link);
        } else if (n == u"instrText") {
            const QString text = elementText(x, MaxInstruction);
            if (!fields.empty() && !fields.back().result && fields.back().instruction.size() < MaxInstruction)
                fields.back().instruction += text;
        } else if (n == u"tab" || n == u"ptab") {
            addText(para, u"\t", look_(), link);
            skip(x);
        } else if (n == u"br") {
            const QStringView type = wattr(x, "type");
            if (type == u"page") {
                if (!suppressed())
                    pageBreak(para);
            } else if (type == u"column") {
                drop(QStringLiteral("column breaks"));
            } else {
                addText(para, u"\u2028", look_(), link);
            }
            skip(x);
        } else if (n == u"cr") {
            addText(para, u"\u2028", look_(), link);
            skip(x);
        } else if (n == u"noBreakHyphen") {
            addText(para, u"\u2011", look_(), link);
            skip(x);
        } else if (n == u"softHyphen") {
            addText(para, u"\u00AD", look_(), link);
            skip(x);
        } else if (n == u"sym") {
            bool ok = false;
            char16_t c = char16_t(wattr(x, "char").toUInt(&ok, 16));
            const QString font = rtf::rules::printable(wattr(x, "font")).trimmed().left(64);
            bool inFont = true;     // the character is the font's own code, not Unicode
            if (ok && c >= 0xF000 && c <= 0xF0FF) {
                const char16_t mapped = rtf::unicodeBullet(c);
                inFont = mapped == c;
                c = inFont ? char16_t(c - 0xF000) : mapped;
            }
            if (ok && c >= 0x20) {
                RunProps symbol = direct;
                if (!font.isEmpty() && inFont)
                    symbol.face = font;
                addText(para, QString(QChar(c)), charStyle(baseRun(look, direct.charStyle), symbol), link);
            }
            skip(x);
        } else if (n == u"fldChar") {
            const QStringView type = wattr(x, "fldCharType");
            if (type == u"begin") {
                fields.push_back(OpenField {});
            } else if (type == u"separate" && !fields.empty() && !fields.back().result) {
                OpenField &f = fields.back();
                f.result = true;    // before reading the parent, so that this field is no instruction
                f.field = -1;
                const int parent = currentField(link);
                f.field = addField(f.instruction, parent);
                f.textStart = doc.text.size();
            } else if (type == u"end" && !fields.empty()) {
                OpenField f = std::move(fields.back());
                fields.pop_back();
                if (!f.result) {
                    if (!suppressed() && !f.instruction.trimmed().isEmpty())
                        addObject(para, rtf::InlineObject::EmptyField, addField(f.instruction, currentField(link)),
                                  look_(), link);
                } else if (doc.text.size() == f.textStart && !suppressed()) {
                    addObject(para, rtf::InlineObject::EmptyField, f.field, look_(), link);
                }
            }
            skip(x);
        } else if (n == u"footnoteReference" || n == u"endnoteReference") {
            const QStringView custom = wattr(x, "customMarkFollows");
            const size_t notes = doc.notes.size();
            addNote(para, n == u"footnoteReference" ? rtf::Note::Footnote : rtf::Note::Endnote,
                    wattr(x, "id").toString(), look_(), link);
            if ((custom == u"1" || custom == u"true" || custom == u"on") && doc.notes.size() > notes)
                doc.notes.back().autoNumber = false;    // the writer's own mark follows as text
            skip(x);
        } else if (n == u"commentReference") {
            addNote(para, rtf::Note::Comment, wattr(x, "id").toString(), look_(), link);
            skip(x);
        } else if (n == u"drawing") {
            readDrawing(x, para, look_(), link);
        } else if (n == u"pict" || n == u"object") {
            readVml(x, para, look_(), link);
        } else if (n == u"ruby") {
            children(x, [&] {
                if (is(x, Ns::W, QLatin1StringView("rubyBase")))
                    readInline(x, para, look, link);
                else
                    skip(x);
            });
        } else if (n == u"delText" || n == u"delInstrText") {
            skip(x);
        } else {
            // lastRenderedPageBreak is a layout cache; note marks are the notes' own numbers.
            skip(x);
        }
    };
    children(x, element);
}

// ---- paragraph content ---------------------------------------------------------------------

void Context::inlineElement(XmlReader &x, ParaBuild &para, const ParaLook &look, int link)
{
    const Ns ns = nsOf(x.namespaceUri());
    const QStringView n = x.name();
    if (ns == Ns::Mc && n == u"AlternateContent") {
        alternate(x, [&] { inlineElement(x, para, look, link); });
        return;
    }
    if (ns != Ns::W) {
        if (n == u"oMath" || n == u"oMathPara")
            drop(QStringLiteral("equations"));
        skip(x);
        return;
    }
    if (n == u"r") {
        readRun(x, para, look, link);
    } else if (n == u"hyperlink") {
        QString href;
        const QStringView id = attr(x, Ns::R, QLatin1StringView("id"));
        if (!id.isEmpty()) {
            const Rel rel = relsOf(part).value(id.toString());
            if (rel.external)
                href = rel.target;
        }
        if (const QStringView anchor = wattr(x, "anchor"); !anchor.isEmpty())
            href += u'#' + anchor.toString();
        const int field = href.isEmpty() || suppressed()
            ? link
            : addField(rtf::hyperlinkInstruction(rtf::rules::printable(href).left(2048)), currentField(link));
        readInline(x, para, look, field);
    } else if (n == u"fldSimple") {
        const QString instr = wattr(x, "instr").left(MaxInstruction).toString();
        if (instr.trimmed().isEmpty() || suppressed()) {
            readInline(x, para, look, link);
            return;
        }
        const int field = addField(instr, currentField(link));
        const qsizetype before = doc.text.size();
        readInline(x, para, look, field);
        if (doc.text.size() == before)
            addObject(para, rtf::InlineObject::EmptyField, field, charStyle(look.run, {}), link);
    } else if (n == u"ins" || n == u"moveTo" || n == u"smartTag" || n == u"customXml" || n == u"dir" || n == u"bdo") {
        readInline(x, para, look, link);
    } else if (n == u"sdt") {
        children(x, [&] {
            if (is(x, Ns::W, QLatin1StringView("sdtContent")))
                readInline(x, para, look, link);
            else
                skip(x);
        });
    } else if (n == u"bookmarkStart") {
        const QString name = wattr(x, "name").toString();
        if (!name.isEmpty() && name != u"_GoBack" && bookmarkNames.size() < 100000) {
            bookmarkNames.insert(wattr(x, "id").toString(), name);
            addKept(para, bookmark("bkmkstart", name), charStyle(look.run, {}), link);
        }
        skip(x);
    } else if (n == u"bookmarkEnd") {
        const QString name = bookmarkNames.take(wattr(x, "id").toString());
        if (!name.isEmpty())
            addKept(para, bookmark("bkmkend", name), charStyle(look.run, {}), link);
        skip(x);
    } else if (n == u"commentRangeEnd") {
        drop(QStringLiteral("comment ranges"));
        skip(x);
    } else {
        // Deleted text, moved-away text, proofing marks, permissions.
        skip(x);
    }
}

void Context::readInline(XmlReader &x, ParaBuild &para, const ParaLook &look, int link)
{
    children(x, [&] { inlineElement(x, para, look, link); });
}

// ---- paragraphs ----------------------------------------------------------------------------

void Context::readParagraph(XmlReader &x, rtf::Story &out, int)
{
    const bool body = &out == &doc.body;
    ParaPropsLayer direct;
    RunProps mark;
    bool sectionEnds = false;
    const ParaLook *look = nullptr;
    ParaBuild para;
    if (carried && carried->story == &out) {
        para = std::move(carried->para);
        carried.reset();
    }
    if (brokenRest && brokenRest->story == &out) {
        if (para.p.runs.empty() && para.done.empty())
            para.p.pageBreak = true;
        else
            flushBrokenRest(out);
        brokenRest.reset();
    }
    int numId = 0, ilvl = 0;
    const auto ensureLook = [&] {
        if (look)
            return;
        const QString styleId = styles.value(direct.style).type == 'p' && styles.contains(direct.style) ? direct.style
                                                                                                        : defaultParaStyle;
        const ParaLook &base = paraLook(styleId, 0, 0, false);
        numId = direct.numId.value_or(base.para.numId.value_or(0));
        ilvl = std::clamp(direct.ilvl.value_or(base.para.ilvl.value_or(0)), 0, 8);
        look = numId > 0 ? &paraLook(styleId, numId, ilvl, direct.numId.has_value()) : &base;
        const int style = charStyle(look->run, {});
        for (const QByteArray &m : pendingMarks)
            addKept(para, m, style, -1);
        pendingMarks.clear();
    };
    children(x, [&] {
        if (!look && is(x, Ns::W, QLatin1StringView("pPr"))) {
            readParaProps(x, direct, &mark, body ? &sectionEnds : nullptr);
            return;
        }
        ensureLook();
        inlineElement(x, para, *look, -1);
    });
    ensureLook();
    // A field whose instruction runs past its paragraph has lost its end:
    // the text after it is text again.
    for (size_t i = 0; i < fields.size(); ++i) {
        if (!fields[i].result) {
            drop(QStringLiteral("unfinished fields"));
            fields.resize(i);
            break;
        }
    }

    ParaPropsLayer layer = look->para;
    mergePara(layer, direct);
    rtf::ParaProps props = paraProps(layer);
    props.style = look->styleDef;
    if (numId > 0) {
        const int instance = listInstance(numId);
        if (instance >= 0) {
            props.list = instance;
            props.level = ilvl;
        }
    }
    // Spacing between paragraphs of one style that ask for none.
    const QString styleId = styles.contains(direct.style) ? direct.style : defaultParaStyle;
    const bool contextual = layer.contextual.value_or(false);
    if (lastStory == &out && !out.blocks.empty() && !out.blocks.back().table && lastStyle == styleId) {
        if (contextual)
            props.spaceBefore = 0;
        if (lastContextual) {
            rtf::Paragraph &previous = out.blocks.back().paragraph;
            rtf::ParaProps p = doc.paraProps[size_t(previous.props)];
            p.spaceAfter = 0;
            previous.props = internPara(p);
        }
    }
    if (sectionEnds && para.p.runs.empty() && para.done.empty() && para.after.empty() && !out.blocks.empty()
        && out.blocks.back().table) {
        // The empty paragraph a table needs after it where its section ends:
        // the paragraph that follows every table stands for it.
        lastStory = nullptr;
        if (!sectionMarks.empty())
            sectionMarks.back().endBlock = qsizetype(doc.body.blocks.size());
        return;
    }
    const int propsId = internPara(props);
    const int markStyle = charStyle(baseRun(*look, mark.charStyle), mark);
    if (mark.deleted && !sectionEnds) {
        carried = Carried {std::move(para), &out, propsId, markStyle};
        return;
    }
    const bool restBroken = !sectionEnds && !para.done.empty() && para.p.pageBreak && para.p.runs.empty()
        && para.after.empty();
    std::optional<rtf::Paragraph> rest;
    if (restBroken)
        rest = std::move(para.p);
    else
        para.done.push_back(std::move(para.p));
    for (rtf::Paragraph &p : para.done) {
        p.props = propsId;
        p.markStyle = markStyle;
        p.terminated = true;
        out.blocks.push_back(rtf::Block {std::move(p), nullptr});
    }
    for (rtf::Block &b : para.after)
        out.blocks.push_back(std::move(b));
    if (rest) {
        rest->props = propsId;
        rest->markStyle = markStyle;
        rest->terminated = true;
        brokenRest = BrokenRest {rtf::Block {std::move(*rest), nullptr}, &out};
    }
    lastStory = &out;
    lastStyle = styleId;
    lastContextual = contextual;
    if (sectionEnds && !sectionMarks.empty())
        sectionMarks.back().endBlock = qsizetype(doc.body.blocks.size());
}

// ---- blocks --------------------------------------------------------------------------------

void Context::readBlock(XmlReader &x, rtf::Story &out, int tableDepth)
{
    const Ns ns = nsOf(x.namespaceUri());
    const QStringView n = x.name();
    if (ns == Ns::Mc && n == u"AlternateContent") {
        alternate(x, [&] { readBlock(x, out, tableDepth); });
        return;
    }
    if (ns != Ns::W) {
        skip(x);
        return;
    }
    if (n == u"p") {
        readParagraph(x, out, tableDepth);
    } else if (n == u"tbl") {
        const bool breakBefore = brokenRest && brokenRest->story == &out;
        std::optional<BrokenRest> rest;
        if (breakBefore)
            rest = std::exchange(brokenRest, std::nullopt);
        flushCarried(out);
        const size_t before = out.blocks.size();
        readTable(x, out, tableDepth);
        // The table starts the new page: its first paragraph breaks before it.
        rtf::Paragraph *first = nullptr;
        if (breakBefore && out.blocks.size() > before && out.blocks[before].table) {
            rtf::Table &t = *out.blocks[before].table;
            if (!t.rows.empty() && !t.rows.front().cells.empty() && !t.rows.front().cells.front().content.blocks.empty()
                && !t.rows.front().cells.front().content.blocks.front().table)
                first = &t.rows.front().cells.front().content.blocks.front().paragraph;
        }
        if (first) {
            rtf::ParaProps p = doc.paraProps[size_t(first->props)];
            p.pageBreakBefore = true;
            first->props = internPara(p);
        } else if (rest) {
            out.blocks.insert(out.blocks.begin() + qsizetype(before), std::move(rest->rest));
        }
        lastStory = nullptr;
    } else if (n == u"sdt") {
        children(x, [&] {
            if (is(x, Ns::W, QLatin1StringView("sdtContent")))
                readBlocks(x, out, tableDepth);
            else
                skip(x);
        });
    } else if (n == u"customXml" || n == u"ins" || n == u"moveTo") {
        readBlocks(x, out, tableDepth);
    } else if (n == u"bookmarkStart") {
        const QString name = wattr(x, "name").toString();
        if (!name.isEmpty() && name != u"_GoBack" && bookmarkNames.size() < 100000 && pendingMarks.size() < 1000) {
            bookmarkNames.insert(wattr(x, "id").toString(), name);
            pendingMarks.push_back(bookmark("bkmkstart", name));
        }
        skip(x);
    } else if (n == u"bookmarkEnd") {
        const QString name = bookmarkNames.take(wattr(x, "id").toString());
        if (!name.isEmpty() && pendingMarks.size() < 1000)
            pendingMarks.push_back(bookmark("bkmkend", name));
        skip(x);
    } else if (n == u"altChunk") {
        drop(QStringLiteral("embedded documents"));
        skip(x);
    } else if (n == u"sectPr" && &out == &doc.body) {
        flushBrokenRest(out);
        // Bookmarks that end after the last paragraph end with it.
        if (!pendingMarks.empty() && !out.blocks.empty() && !out.blocks.back().table) {
            rtf::Paragraph &last = out.blocks.back().paragraph;
            if (last.runs.empty() || last.runs.back().start + last.runs.back().length == doc.text.size()) {
                ParaBuild para;
                para.p = std::move(last);
                for (const QByteArray &m : pendingMarks)
                    addKept(para, m, para.p.markStyle, -1);
                last = std::move(para.p);
                pendingMarks.clear();
            }
        }
        readSectPr(x);
        sectionMarks.back().endBlock = qsizetype(doc.body.blocks.size());
    } else {
        skip(x);
    }
}

void Context::readBlocks(XmlReader &x, rtf::Story &out, int tableDepth)
{
    children(x, [&] { readBlock(x, out, tableDepth); });
    flushCarried(out);
}

void Context::flushBrokenRest(rtf::Story &out)
{
    // A table or the story's end follows: the empty paragraph stays.
    if (!brokenRest || brokenRest->story != &out)
        return;
    out.blocks.push_back(std::move(brokenRest->rest));
    brokenRest.reset();
}

void Context::flushCarried(rtf::Story &out)
{
    flushBrokenRest(out);
    if (!carried || carried->story != &out)
        return;
    // Nothing follows in the story to join: the paragraph stands as it is.
    Carried c = std::move(*carried);
    carried.reset();
    c.para.done.push_back(std::move(c.para.p));
    for (rtf::Paragraph &p : c.para.done) {
        p.props = c.props;
        p.markStyle = c.markStyle;
        p.terminated = true;
        out.blocks.push_back(rtf::Block {std::move(p), nullptr});
    }
    for (rtf::Block &b : c.para.after)
        out.blocks.push_back(std::move(b));
}

} // namespace docx
