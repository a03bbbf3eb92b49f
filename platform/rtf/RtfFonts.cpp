#include "RtfFonts.h"

#include "RtfBuild.h"
#include "RtfParser.h"
#include "RtfQt.h"
#include "RtfWriting.h"
#include "RtfRules.h"

#include <QTextDocument>

#include <algorithm>
#include <cctype>

namespace rtf {

using namespace docWords;
using namespace fontWords;

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
            m_def = FontDef {};
            m_panose.clear();
            return true;
        case FontCharset:
            if (m_open)
                m_charset = t.param;
            return true;
        case FontCodePage:
            if (m_open)
                m_codePage = t.param;
            return true;
        case FontFamilyNil: case FontRoman: case FontSwiss: case FontModern:
        case FontScript: case FontDecor: case FontTech: case FontBidi:
            if (m_open)
                m_def.family = k->id - FontFamilyNil;
            return true;
        case FontPitch:
            if (m_open)
                m_def.pitch = std::clamp(t.param, 0, 2);
            return true;
        case FontPanose:
        case FontAlternative:
            if (m_open) {
                m_target = k->id == FontPanose ? Target::Panose : Target::Alternative;
                m_targetDepth = p.depth();
            }
            return true;
        default:
            // Font families, pitch, \u and special characters in names go on;
            // any other word is no business of the table.
            return !(k->family == Family::Doc || k->family == Family::Special || k->family == Family::Skip);
        }
    }

    void semicolon(Parser &) override { m_named = m_open; }

    void text(Parser &p, QStringView s) override
    {
        if (m_target != Target::None && p.depth() >= m_targetDepth) {
            QString &to = m_target == Target::Panose ? m_panose : m_def.alternative;
            if (to.size() < 256)
                to += s;
        } else if (m_open && !m_named) {
            m_name += s;
        }
    }

    bool endsAtSemicolon() const override { return m_target == Target::None; }

    int codePage(Parser &p) const override
    {
        if (m_codePage > 0)
            return normalisedCodePage(m_codePage);
        return m_charset >= 0 ? codePageForCharset(m_charset, p.documentCodePage()) : p.documentCodePage();
    }

    void innerGroupEnd(Parser &p) override
    {
        if (m_target != Target::None && p.depth() <= m_targetDepth)
            m_target = Target::None;
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
        if (!name.isEmpty() && !p.doc().fonts.contains(name)) {
            // The first entry of a name says what the face is.
            m_def.charset = m_charset;
            QByteArray panose = m_panose.toLatin1();
            panose.removeIf([](char c) { return !std::isxdigit(static_cast<unsigned char>(c)); });
            m_def.panose = panose.size() == 20 ? panose : QByteArray();
            m_def.alternative = rules::printable(m_def.alternative).trimmed();
            p.doc().fonts.insert(name, m_def);
        }
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
    FontDef m_def;
    QString m_panose;
    enum class Target { None, Panose, Alternative } m_target = Target::None;
    int m_targetDepth = 0;
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
        if (p.mayOpenTable())
            p.open(std::make_unique<FontTableDest>());
        break;
    case ColourTable:
        if (p.mayOpenTable()) {
            p.colours().clear();
            p.open(std::make_unique<ColourTableDest>());
        }
        break;
    case FontNumber:
        p.state().chars.setFont(t.param, false);
        break;
    case FontPanose:
    case FontAlternative:
        p.skipGroup();      // outside the font table they say nothing
        break;
    default:
        break;
    }
}

// ---- Qt's document ----------------------------------------------------------------------------

void buildFonts(Builder &b, bool merge)
{
    const Document &model = b.model();
    QTextDocument *doc = b.document();
    QList<FontRef> fonts = merge ? doc->property(FontsKey).value<QList<FontRef>>() : QList<FontRef> {};
    if (model.fonts.isEmpty() && merge)
        return;
    // In the order the faces came, which is the table's.
    for (const QString &name : model.faces) {
        const auto it = model.fonts.constFind(name);
        if (it == model.fonts.constEnd()
            || std::any_of(fonts.cbegin(), fonts.cend(), [&](const FontRef &f) { return f.name == name; }))
            continue;
        fonts.append(FontRef {name, it->family, it->pitch, it->charset, it->panose, it->alternative});
    }
    doc->setProperty(FontsKey, fonts.isEmpty() ? QVariant() : QVariant::fromValue(fonts));
}

// ---- writing ------------------------------------------------------------------------------------

// What a face is when no font table said it: the kinds of the faces the
// program offers and of common ones, so a reader without the face picks
// one of its kind.
FontRef guessedFont(const QString &name)
{
    static const struct {
        const char *name;
        int family, pitch, charset;
    } known[] = {
        {"Times New Roman", 1, 2, 0}, {"Times", 1, 2, 0}, {"Georgia", 1, 2, 0}, {"Garamond", 1, 2, 0},
        {"Cambria", 1, 2, 0}, {"Book Antiqua", 1, 2, 0}, {"Palatino Linotype", 1, 2, 0}, {"Rockwell", 1, 2, 0},
        {"Arial", 2, 2, 0}, {"Helvetica", 2, 2, 0}, {"Verdana", 2, 2, 0}, {"Tahoma", 2, 2, 0},
        {"Calibri", 2, 2, 0}, {"Segoe UI", 2, 2, 0}, {"Agency FB", 2, 2, 0}, {"Gill Sans MT", 2, 2, 0},
        {"MS Sans Serif", 2, 2, 0}, {"System", 2, 2, 0}, {"Trebuchet MS", 2, 2, 0},
        {"Courier New", 3, 1, 0}, {"Courier", 3, 1, 0}, {"Consolas", 3, 1, 0}, {"Lucida Console", 3, 1, 0},
        {"Edwardian Script ITC", 4, 2, 0}, {"Comic Sans MS", 4, 2, 0},
        {"Symbol", 1, 2, 2}, {"Wingdings", 0, 2, 2}, {"Webdings", 1, 2, 2},
    };
    for (const auto &k : known)
        if (name.compare(QLatin1String(k.name), Qt::CaseInsensitive) == 0)
            return FontRef {name, k.family, k.pitch, k.charset, {}, {}};
    FontRef f {name, 0, -1, 0, {}, {}};
    if (name.contains(QLatin1String("Mono"), Qt::CaseInsensitive)) {
        f.family = 3;
        f.pitch = 1;
    } else if (name.contains(QLatin1String("Sans"), Qt::CaseInsensitive)) {
        f.family = 2;
    } else if (name.contains(QLatin1String("Serif"), Qt::CaseInsensitive)) {
        f.family = 1;
    }
    return f;
}

FontRef writtenFont(const QString &name, const QList<FontRef> &described)
{
    const auto it = std::find_if(described.cbegin(), described.cend(), [&](const FontRef &f) { return f.name == name; });
    FontRef f = guessedFont(name);
    if (it != described.cend()) {
        f.family = it->family >= 0 ? it->family : f.family;
        f.pitch = it->pitch >= 0 ? it->pitch : f.pitch;
        f.charset = it->charset >= 0 ? it->charset : f.charset;
        f.panose = it->panose;
        f.alternative = it->alternative;
    }
    return f;
}

void writeFontTable(Writer &w, RtfOut &out, const QStringList &faces)
{
    static const char *const families[] = {"fnil", "froman", "fswiss", "fmodern", "fscript", "fdecor", "ftech", "fbidi"};
    const QList<FontRef> described = w.doc().property(FontsKey).value<QList<FontRef>>();
    out.open();
    out.word("fonttbl");
    for (int i = 0; i < faces.size(); ++i) {
        const QString &name = faces.at(i);
        const FontRef f = writtenFont(name, described);
        out.open();
        out.word("f", i);
        out.word(families[std::clamp(f.family, 0, 7)]);
        out.word("fcharset", f.charset >= 0 ? f.charset : 0);
        if (f.pitch >= 0)
            out.word("fprq", f.pitch);
        if (!f.panose.isEmpty()) {
            out.open();
            out.star();
            out.word("panose");
            out.raw(" " + f.panose);
            out.close();
        }
        out.name(name);
        if (!f.alternative.isEmpty()) {
            out.open();
            out.star();
            out.word("falt");
            out.name(f.alternative);
            out.close();
        }
        out.raw(";}");
    }
    out.close();
}

} // namespace rtf
