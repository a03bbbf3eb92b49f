#include "RtfCharProps.h"

#include "RtfBuild.h"
#include "RtfParser.h"
#include "RtfRules.h"
#include "RtfWriting.h"

#include <QColor>
#include <QFont>

#include <algorithm>

namespace rtf {

using namespace charWords;

void charWord(Parser &p, int id, const Token &t)
{
    CharState &c = p.state().chars;
    CharStyle &s = c.style;
    const bool on = !t.hasParam || t.param != 0;
    const auto underline = [&](Underline kind) { s.underline = on ? kind : Underline::None; };
    switch (id) {
    case Plain:
        c = CharState {};
        break;
    case FontSize:
        if (!t.hasParam)
            s.halfPoints = 24;
        else if (t.param > 0)
            s.halfPoints = std::min(t.param, rules::MaxHalfPoints);
        break;
    case ColourIndex: c.colour = t.param; break;
    case Bold: s.bold = on; break;
    case Italic: s.italic = on; break;
    case Hidden: s.hidden = on; break;
    case UnderlineOn: underline(Underline::Single); break;
    case UnderlineDouble: underline(Underline::Double); break;
    case UnderlineDotted: underline(Underline::Dotted); break;
    case UnderlineDash: underline(Underline::Dash); break;
    case UnderlineWave: underline(Underline::Wave); break;
    case UnderlineWord: underline(Underline::Word); break;
    case UnderlineThick: underline(Underline::Thick); break;
    case UnderlineNone: s.underline = Underline::None; break;
    case Strike: s.strike = on; break;
    case StrikeDouble: s.doubleStrike = on; break;
    case Super: s.vertical = on ? VerticalPos::Super : VerticalPos::Normal; break;
    case Sub: s.vertical = on ? VerticalPos::Sub : VerticalPos::Normal; break;
    case NoSuperSub:
        s.vertical = VerticalPos::Normal;
        s.offset = 0;
        break;
    case Up: s.offset = std::clamp(t.hasParam ? t.param : 6, 0, rules::MaxHalfPoints); break;
    case Down: s.offset = -std::clamp(t.hasParam ? t.param : 6, 0, rules::MaxHalfPoints); break;
    case Highlight: c.highlight = t.param; break;
    case CharShading: c.background = t.param; break;
    case Caps: s.caps = on; break;
    case SmallCaps: s.smallCaps = on; break;
    case ModeLow:
    case ModeHigh: c.mode = CharState::Western; break;
    case ModeDoubleByte: c.mode = CharState::DoubleByte; break;
    case ModeLeftToRight: c.mode = CharState::LeftToRight; break;
    case ModeRightToLeft: c.mode = CharState::RightToLeft; break;
    case AssociatedFont: c.setFont(t.param, true); break;
    case Language: s.language = std::clamp(t.param, 0, 0xFFFF); break;
    case AsianLanguage: s.asianLanguage = std::clamp(t.param, 0, 0xFFFF); break;
    case ComplexLanguage: s.complexLanguage = std::clamp(t.param, 0, 0xFFFF); break;
    default: break;
    }
}

// ---- Qt's document ----------------------------------------------------------------------------

QTextCharFormat buildCharFormat(const Document &model, const CharStyle &s, const QString &defaultFace)
{
    QTextCharFormat f;
    const QString &face = s.face >= 0 ? model.faces.at(s.face) : defaultFace;
    // East Asian and right-to-left text take their own faces where the
    // Western one lacks their characters.
    QStringList families {face};
    if (s.asianFace >= 0) {
        families.append(model.faces.at(s.asianFace));
        f.setProperty(AsianFaceProperty, model.faces.at(s.asianFace));
    }
    if (s.complexFace >= 0) {
        families.append(model.faces.at(s.complexFace));
        f.setProperty(ComplexFaceProperty, model.faces.at(s.complexFace));
    }
    f.setFontFamilies(families);
    f.setFontPointSize(s.halfPoints / 2.0);
    if (s.colour.set)
        f.setForeground(QColor(s.colour.rgb));
    f.setFontWeight(s.bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(s.italic);
    switch (s.underline) {
    case Underline::None: f.setFontUnderline(false); break;
    case Underline::Dotted: f.setUnderlineStyle(QTextCharFormat::DotLine); break;
    case Underline::Dash: f.setUnderlineStyle(QTextCharFormat::DashUnderline); break;
    case Underline::Wave: f.setUnderlineStyle(QTextCharFormat::WaveUnderline); break;
    case Underline::Single: f.setFontUnderline(true); break;
    case Underline::Double:
    case Underline::Word:
    case Underline::Thick:
        f.setFontUnderline(true);
        f.setProperty(UnderlineKindProperty, int(s.underline));
        break;
    }
    if (s.strike || s.doubleStrike)
        f.setFontStrikeOut(true);
    if (s.doubleStrike)
        f.setProperty(DoubleStrikeProperty, true);
    if (s.vertical == VerticalPos::Super)
        f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    else if (s.vertical == VerticalPos::Sub)
        f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    if (s.offset != 0) {
        f.setProperty(OffsetProperty, s.offset);
        f.setBaselineOffset(100.0 * s.offset / std::max(1, s.halfPoints));
    }
    if (s.highlight.set) {
        f.setBackground(QColor(s.highlight.rgb));
        f.setProperty(HighlightProperty, true);
    } else if (s.background.set) {
        f.setBackground(QColor(s.background.rgb));
    }
    if (s.caps)
        f.setFontCapitalization(QFont::AllUppercase);
    else if (s.smallCaps)
        f.setFontCapitalization(QFont::SmallCaps);
    if (s.charStyle >= 0)
        f.setProperty(CharStyleNameProperty, model.styles[size_t(s.charStyle)].name);
    if (s.language >= 0)
        f.setProperty(LanguageProperty, s.language);
    if (s.asianLanguage >= 0)
        f.setProperty(AsianLanguageProperty, s.asianLanguage);
    if (s.complexLanguage >= 0)
        f.setProperty(ComplexLanguageProperty, s.complexLanguage);
    const size_t digest = qHashMulti(qHash(s), face);
    f.setProperty(StyleDigestProperty, int(digest & 0x7fffffff));
    return f;
}

// ---- writing ------------------------------------------------------------------------------------

void writeRunFormat(Writer &w, const QTextCharFormat &f)
{
    RtfOut &out = w.out();
    const RunLook s = w.resolver().resolve(f);
    out.word("plain");
    if (f.hasProperty(CharStyleNameProperty))
        out.word("cs", w.styleNumber(f.stringProperty(CharStyleNameProperty), StyleDef::Character));
    const QString asian = f.stringProperty(AsianFaceProperty);
    const QString complex = f.stringProperty(ComplexFaceProperty);
    // Right-to-left text's face and language, said after \rtlch: some
    // readers take \alang for the Western language after \ltrch.
    if (!complex.isEmpty() || f.hasProperty(ComplexLanguageProperty)) {
        out.word("rtlch");
        if (!complex.isEmpty())
            out.word("af", w.face(complex));
        if (f.hasProperty(ComplexLanguageProperty))
            out.word("alang", f.intProperty(ComplexLanguageProperty));
        out.word("ltrch");
    }
    if (!asian.isEmpty()) {
        // The Western face last: readers that take one face for a run take it.
        out.word("dbch");
        out.word("af", w.face(asian));
        out.word("loch");
    }
    out.word("f", w.face(s.face));
    out.word("fs", s.halfPoints);
    // The languages other programs break lines and hyphenate by.
    if (f.hasProperty(LanguageProperty))
        out.word("lang", f.intProperty(LanguageProperty));
    if (f.hasProperty(AsianLanguageProperty))
        out.word("langfe", f.intProperty(AsianLanguageProperty));
    out.word("cf", s.hasColour ? w.colour(s.colour) : 0);
    if (s.bold)
        out.word("b");
    if (s.italic)
        out.word("i");
    if (s.underline) {
        switch (f.hasProperty(UnderlineKindProperty) ? Underline(f.intProperty(UnderlineKindProperty)) : Underline::Single) {
        case Underline::Double: out.word("uldb"); break;
        case Underline::Word: out.word("ulw"); break;
        case Underline::Thick: out.word("ulth"); break;
        default:
            switch (f.underlineStyle()) {
            case QTextCharFormat::DotLine: out.word("uld"); break;
            case QTextCharFormat::DashUnderline: out.word("uldash"); break;
            case QTextCharFormat::WaveUnderline: out.word("ulwave"); break;
            default: out.word("ul"); break;
            }
        }
    }
    if (f.fontStrikeOut())
        out.word(f.boolProperty(DoubleStrikeProperty) ? "striked" : "strike");
    if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript)
        out.word("super");
    else if (f.verticalAlignment() == QTextCharFormat::AlignSubScript)
        out.word("sub");
    if (const int offset = f.intProperty(OffsetProperty); offset > 0)
        out.word("up", offset);
    else if (offset < 0)
        out.word("dn", -offset);
    if (f.background().style() != Qt::NoBrush)
        out.word(f.boolProperty(HighlightProperty) ? "highlight" : "chcbpat", w.colour(f.background().color().rgb()));
    if (f.fontCapitalization() == QFont::AllUppercase)
        out.word("caps");
    else if (f.fontCapitalization() == QFont::SmallCaps)
        out.word("scaps");
}

} // namespace rtf
