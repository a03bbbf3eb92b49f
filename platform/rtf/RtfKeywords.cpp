#include "RtfKeywords.h"

#include "RtfFamilies.h"

#include "RtfTokenizer.h"

#include <array>
#include <vector>

namespace rtf {

namespace {

// Destinations whose content never reaches the document.
inline constexpr Keyword skipKeywords[] = {
    {"aftncn", Family::Skip, 0, Kind::Destination}, {"aftnsep", Family::Skip, 0, Kind::Destination},
    {"aftnsepc", Family::Skip, 0, Kind::Destination}, {"atnicn", Family::Skip, 0, Kind::Destination},
    {"atnparent", Family::Skip, 0, Kind::Destination}, {"atntime", Family::Skip, 0, Kind::Destination},
    {"background", Family::Skip, 0, Kind::Destination}, {"blipuid", Family::Skip, 0, Kind::Destination},
    {"colorschememapping", Family::Skip, 0, Kind::Destination}, {"datafield", Family::Skip, 0, Kind::Destination},
    {"datastore", Family::Skip, 0, Kind::Destination}, {"defchp", Family::Skip, 0, Kind::Destination},
    {"defpap", Family::Skip, 0, Kind::Destination}, {"do", Family::Skip, 0, Kind::Destination},
    {"docvar", Family::Skip, 0, Kind::Destination}, {"dptxbxtext", Family::Skip, 0, Kind::Destination},
    {"ebcend", Family::Skip, 0, Kind::Destination}, {"ebcstart", Family::Skip, 0, Kind::Destination},
    {"factoidname", Family::Skip, 0, Kind::Destination},
    {"fchars", Family::Skip, 0, Kind::Destination}, {"ffdeftext", Family::Skip, 0, Kind::Destination},
    {"ffentrymcr", Family::Skip, 0, Kind::Destination}, {"ffexitmcr", Family::Skip, 0, Kind::Destination},
    {"ffformat", Family::Skip, 0, Kind::Destination}, {"ffhelptext", Family::Skip, 0, Kind::Destination},
    {"ffl", Family::Skip, 0, Kind::Destination}, {"ffname", Family::Skip, 0, Kind::Destination},
    {"ffstattext", Family::Skip, 0, Kind::Destination}, {"file", Family::Skip, 0, Kind::Destination},
    {"filetbl", Family::Skip, 0, Kind::Destination}, {"fldtype", Family::Skip, 0, Kind::Destination},
    {"fname", Family::Skip, 0, Kind::Destination}, {"fontemb", Family::Skip, 0, Kind::Destination},
    {"fontfile", Family::Skip, 0, Kind::Destination}, {"formfield", Family::Skip, 0, Kind::Destination},
    {"ftncn", Family::Skip, 0, Kind::Destination}, {"ftnsep", Family::Skip, 0, Kind::Destination},
    {"ftnsepc", Family::Skip, 0, Kind::Destination}, {"generator", Family::Skip, 0, Kind::Destination},
    {"gridtbl", Family::Skip, 0, Kind::Destination}, {"hl", Family::Skip, 0, Kind::Destination},
    {"hlfr", Family::Skip, 0, Kind::Destination}, {"hlloc", Family::Skip, 0, Kind::Destination},
    {"hlsrc", Family::Skip, 0, Kind::Destination}, {"hsv", Family::Skip, 0, Kind::Destination},
    {"htmltag", Family::Skip, 0, Kind::Destination}, {"keycode", Family::Skip, 0, Kind::Destination},
    {"latentstyles", Family::Skip, 0, Kind::Destination}, {"lchars", Family::Skip, 0, Kind::Destination},
    {"linkval", Family::Skip, 0, Kind::Destination}, {"listpicture", Family::Skip, 0, Kind::Destination},
    {"liststyleid", Family::Skip, 0, Kind::Destination}, {"liststylename", Family::Skip, 0, Kind::Destination},
    {"lsdlockedexcept", Family::Skip, 0, Kind::Destination}, {"macc", Family::Skip, 0, Kind::Destination},
    {"maccPr", Family::Skip, 0, Kind::Destination}, {"mailmerge", Family::Skip, 0, Kind::Destination},
    {"mmath", Family::Skip, 0, Kind::Destination}, {"mmathPr", Family::Skip, 0, Kind::Destination},
    {"nextfile", Family::Skip, 0, Kind::Destination}, {"objalias", Family::Skip, 0, Kind::Destination},
    {"objclass", Family::Skip, 0, Kind::Destination}, {"objdata", Family::Skip, 0, Kind::Destination},
    {"objname", Family::Skip, 0, Kind::Destination}, {"objsect", Family::Skip, 0, Kind::Destination},
    {"objtime", Family::Skip, 0, Kind::Destination}, {"oldcprops", Family::Skip, 0, Kind::Destination},
    {"oldpprops", Family::Skip, 0, Kind::Destination}, {"oldsprops", Family::Skip, 0, Kind::Destination},
    {"oldtprops", Family::Skip, 0, Kind::Destination}, {"oleclsid", Family::Skip, 0, Kind::Destination},
    {"password", Family::Skip, 0, Kind::Destination},
    {"passwordhash", Family::Skip, 0, Kind::Destination}, {"pgdsctbl", Family::Skip, 0, Kind::Destination},
    {"pgp", Family::Skip, 0, Kind::Destination}, {"pgptbl", Family::Skip, 0, Kind::Destination},
    {"picprop", Family::Skip, 0, Kind::Destination}, {"pnseclvl", Family::Skip, 0, Kind::Destination},
    {"private", Family::Skip, 0, Kind::Destination}, {"propname", Family::Skip, 0, Kind::Destination},
    {"protend", Family::Skip, 0, Kind::Destination}, {"protstart", Family::Skip, 0, Kind::Destination},
    {"protusertbl", Family::Skip, 0, Kind::Destination}, {"pxe", Family::Skip, 0, Kind::Destination},
    {"revtbl", Family::Skip, 0, Kind::Destination}, {"rsidtbl", Family::Skip, 0, Kind::Destination},
    {"rxe", Family::Skip, 0, Kind::Destination}, {"shpgrp", Family::Skip, 0, Kind::Destination},
    {"shptxt", Family::Skip, 0, Kind::Destination},     {"staticval", Family::Skip, 0, Kind::Destination},
    {"svb", Family::Skip, 0, Kind::Destination},
    {"tc", Family::Skip, 0, Kind::Destination}, {"template", Family::Skip, 0, Kind::Destination},
    {"themedata", Family::Skip, 0, Kind::Destination}, {"txe", Family::Skip, 0, Kind::Destination},
    {"ud", Family::Skip, 0, Kind::Destination}, {"userprops", Family::Skip, 0, Kind::Destination},
    {"wgrffmtfilter", Family::Skip, 0, Kind::Destination}, {"windowcaption", Family::Skip, 0, Kind::Destination},
    {"writereservation", Family::Skip, 0, Kind::Destination},
    {"writereservhash", Family::Skip, 0, Kind::Destination},
    {"xe", Family::Skip, 0, Kind::Destination}, {"xform", Family::Skip, 0, Kind::Destination},
    {"xmlattrname", Family::Skip, 0, Kind::Destination}, {"xmlattrvalue", Family::Skip, 0, Kind::Destination},
    {"xmlclose", Family::Skip, 0, Kind::Destination}, {"xmlname", Family::Skip, 0, Kind::Destination},
    {"xmlnstbl", Family::Skip, 0, Kind::Destination}, {"xmlopen", Family::Skip, 0, Kind::Destination},
};

template <size_t... N>
constexpr auto join(const Keyword (&...rows)[N])
{
    std::array<Keyword, (N + ...)> all {};
    size_t i = 0;
    ((std::copy(std::begin(rows), std::end(rows), all.begin() + i), i += N), ...);
    return all;
}

constexpr auto keywords = join(skipKeywords, docKeywords, fontsKeywords, charKeywords, paraKeywords,
                               stylesKeywords, listsKeywords, fieldsKeywords, tablesKeywords,
                               picturesKeywords, storiesKeywords, infoKeywords, keptKeywords);

constexpr quint32 keywordHash(std::string_view name)
{
    quint32 h = 2166136261u;
    for (char c : name)
        h = (h ^ quint8(c)) * 16777619u;
    return h;
}

// Open addressing over the keyword rows: one hash and usually one compare per word.
constexpr size_t KeywordSlots = 2048;
static_assert(keywords.size() * 2 < KeywordSlots);

struct Slots {
    std::array<qint16, KeywordSlots> table {};
    bool unique = true;     // a second row for a name would never be found
};

constexpr Slots keywordSlots = [] {
    Slots result;
    for (auto &slot : result.table)
        slot = -1;
    for (size_t i = 0; i < keywords.size(); ++i) {
        size_t h = keywordHash(keywords[i].name) % KeywordSlots;
        while (result.table[h] >= 0) {
            if (keywords[size_t(result.table[h])].name == keywords[i].name)
                result.unique = false;
            h = (h + 1) % KeywordSlots;
        }
        result.table[h] = qint16(i);
    }
    return result;
}();
static_assert(keywordSlots.unique, "a keyword has two rows");

} // namespace

const Keyword *findKeyword(QByteArrayView name)
{
    const std::string_view key(name.data(), size_t(name.size()));
    for (size_t h = keywordHash(key) % KeywordSlots;; h = (h + 1) % KeywordSlots) {
        const qint16 i = keywordSlots.table[h];
        if (i < 0)
            return nullptr;
        if (keywords[size_t(i)].name == key)
            return &keywords[size_t(i)];
    }
}

bool formAllowed(const Keyword &k, bool hasParam, int param)
{
    switch (k.kind) {
    case Kind::Value: return hasParam;
    case Kind::Toggle: return !hasParam || param == 0;
    case Kind::Flag:
    case Kind::Destination:
    case Kind::Symbol:
        break;
    }
    return !hasParam;
}

void keepWord(QByteArray &kept, const Token &t, qsizetype limit)
{
    const Keyword *k = findKeyword(t.bytes);
    if (kept.size() >= limit || (!t.hasParam && k && k->kind == Kind::Value))
        return;
    kept += '\\';
    kept += t.bytes.toByteArray();
    if (t.hasParam)
        kept += QByteArray::number(t.param);
}

QList<QByteArray> misformedWords(QByteArrayView rtf)
{
    QList<QByteArray> found;
    Tokenizer tokens(rtf);
    std::vector<bool> ignorable {false};    // per open group: it started with \*
    bool star = false;
    for (Token t = tokens.next(); t.kind != Token::End; t = tokens.next()) {
        switch (t.kind) {
        case Token::GroupStart:
            ignorable.push_back(ignorable.back());
            break;
        case Token::GroupEnd:
            if (ignorable.size() > 1)
                ignorable.pop_back();
            break;
        case Token::Symbol:
            if (t.symbol == '*') {
                star = true;
                continue;
            }
            break;
        case Token::Word: {
            if (star)
                ignorable.back() = true;
            const Keyword *k = findKeyword(t.bytes);
            if (k ? !formAllowed(*k, t.hasParam, t.param) : !ignorable.back()) {
                QByteArray word = '\\' + t.bytes.toByteArray();
                if (t.hasParam)
                    word += QByteArray::number(t.param);
                found.append(word);
            }
            break;
        }
        default:
            break;
        }
        star = false;
    }
    return found;
}

} // namespace rtf
