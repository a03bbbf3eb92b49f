#include "RtfFonts.h"

#include "RtfParser.h"
#include "RtfRules.h"

#include <algorithm>

namespace rtf {

namespace {

// {\fonttbl{\f0\fswiss\fcharset0 Arial;}...}, and the form without a group
// per font: {\fonttbl\f0\fswiss Helvetica;\f1 Times;}.
class FontTableDest final : public Dest
{
public:
    bool word(Parser &p, const Keyword *k, const Token &t) override
    {
        if (!k)
            return true;
        switch (k->family == Family::Fonts ? k->id : -1) {
        case FontNumber:
            finishEntry(p);
            m_open = true;
            m_named = false;
            m_number = t.param;
            m_charset = -1;
            m_codePage = 0;
            m_depth = p.depth();
            m_name.clear();
            return true;
        case FontCharset:
            if (m_open)
                m_charset = t.param;
            return true;
        case FontCodePage:
            if (m_open)
                m_codePage = t.param;
            return true;
        default:
            // Font families, pitch, \u and special characters in names go on;
            // any other word is no business of the table.
            return !(k->family == Family::Doc || k->family == Family::Special || k->family == Family::Skip);
        }
    }

    bool endsAtSemicolon() const override { return true; }
    void semicolon(Parser &) override { m_named = m_open; }

    void text(Parser &, QStringView s) override
    {
        if (m_open && !m_named)
            m_name += s;
    }

    int codePage(Parser &p) const override
    {
        if (m_codePage > 0)
            return normalisedCodePage(m_codePage);
        return m_charset >= 0 ? codePageForCharset(m_charset, p.documentCodePage()) : p.documentCodePage();
    }

    void innerGroupEnd(Parser &p) override
    {
        if (m_open && p.depth() <= m_depth)
            finishEntry(p);
    }

    void close(Parser &p) override { finishEntry(p); }

    void finishEntry(Parser &p)
    {
        if (!m_open)
            return;
        m_open = false;
        Parser::Font f;
        const QString name = rules::printable(m_name).trimmed();
        f.face = name.isEmpty() ? -1 : p.internFace(name);
        f.codePage = codePage(p);
        p.addFont(m_number, f);
        m_name.clear();
    }

private:
    bool m_open = false;
    bool m_named = false;
    int m_number = 0;
    int m_charset = -1;
    int m_codePage = 0;
    int m_depth = 0;
    QString m_name;
};

// {\colortbl;\red255\green0\blue0;}: an empty entry is the automatic colour.
class ColourTableDest final : public Dest
{
public:
    bool word(Parser &, const Keyword *k, const Token &t) override
    {
        if (k && k->family == Family::Fonts && (k->id == Red || k->id == Green || k->id == Blue)) {
            const int v = std::clamp(t.param, 0, 255);
            (k->id == Red ? m_red : k->id == Green ? m_green : m_blue) = v;
            m_set = true;
        }
        return true;    // theme tints and shades carry nothing here
    }

    bool endsAtSemicolon() const override { return true; }
    void semicolon(Parser &p) override { finish(p); }

    void close(Parser &p) override
    {
        if (m_set)
            finish(p);
    }

private:
    void finish(Parser &p)
    {
        p.colours().push_back(m_set ? Colour {qRgb(m_red, m_green, m_blue), true} : Colour {});
        m_red = m_green = m_blue = 0;
        m_set = false;
        p.charStyleChanged();
    }

    int m_red = 0, m_green = 0, m_blue = 0;
    bool m_set = false;
};

} // namespace

void docWord(Parser &p, int id, const Token &t)
{
    switch (id) {
    case DocAnsi: p.setDocumentCodePage(1252); break;
    case DocMac: p.setDocumentCodePage(10000); break;
    case DocPc: p.setDocumentCodePage(437); break;
    case DocPca: p.setDocumentCodePage(850); break;
    case DocAnsiCpg: p.setDocumentCodePage(normalisedCodePage(t.param)); break;
    case DocDeff: p.setDefaultFont(t.param); break;
    case DocUc: p.state().uc = std::clamp(t.hasParam ? t.param : 1, 0, 0xFFFF); break;
    case DocDefLang:
        if (p.inMainStory())
            p.doc().defaultLanguage = t.param;
        break;
    default: break;
    }
}

void fontsWord(Parser &p, int id, const Token &t)
{
    switch (id) {
    case FontTable:
        if (p.nested() && !p.state().dest)
            p.open(std::make_unique<FontTableDest>());
        break;
    case ColourTable:
        if (p.nested() && !p.state().dest) {
            p.colours().clear();
            p.open(std::make_unique<ColourTableDest>());
        }
        break;
    case FontNumber:
        p.state().chars.font = t.param;
        break;
    default:
        break;
    }
}

} // namespace rtf
