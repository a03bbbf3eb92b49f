#include "RtfKeywords.h"

#include "RtfFamilies.h"

#include <array>

namespace rtf {

namespace {

// Destinations whose content never reaches the document.
inline constexpr Keyword skipKeywords[] = {
    {"aftncn", Family::Skip, 0, Destination}, {"aftnsep", Family::Skip, 0, Destination},
    {"aftnsepc", Family::Skip, 0, Destination}, {"atnicn", Family::Skip, 0, Destination},
    {"atnparent", Family::Skip, 0, Destination}, {"atntime", Family::Skip, 0, Destination},
    {"background", Family::Skip, 0, Destination}, {"blipuid", Family::Skip, 0, Destination},
    {"colorschememapping", Family::Skip, 0, Destination}, {"datafield", Family::Skip, 0, Destination},
    {"datastore", Family::Skip, 0, Destination}, {"defchp", Family::Skip, 0, Destination},
    {"defpap", Family::Skip, 0, Destination}, {"do", Family::Skip, 0, Destination},
    {"docvar", Family::Skip, 0, Destination}, {"dptxbxtext", Family::Skip, 0, Destination},
    {"ebcend", Family::Skip, 0, Destination}, {"ebcstart", Family::Skip, 0, Destination},
    {"factoidname", Family::Skip, 0, Destination}, {"falt", Family::Skip, 0, Destination},
    {"fchars", Family::Skip, 0, Destination}, {"ffdeftext", Family::Skip, 0, Destination},
    {"ffentrymcr", Family::Skip, 0, Destination}, {"ffexitmcr", Family::Skip, 0, Destination},
    {"ffformat", Family::Skip, 0, Destination}, {"ffhelptext", Family::Skip, 0, Destination},
    {"ffl", Family::Skip, 0, Destination}, {"ffname", Family::Skip, 0, Destination},
    {"ffstattext", Family::Skip, 0, Destination}, {"file", Family::Skip, 0, Destination},
    {"filetbl", Family::Skip, 0, Destination}, {"fldtype", Family::Skip, 0, Destination},
    {"fname", Family::Skip, 0, Destination}, {"fontemb", Family::Skip, 0, Destination},
    {"fontfile", Family::Skip, 0, Destination}, {"formfield", Family::Skip, 0, Destination},
    {"ftncn", Family::Skip, 0, Destination}, {"ftnsep", Family::Skip, 0, Destination},
    {"ftnsepc", Family::Skip, 0, Destination}, {"generator", Family::Skip, 0, Destination},
    {"gridtbl", Family::Skip, 0, Destination}, {"hl", Family::Skip, 0, Destination},
    {"hlfr", Family::Skip, 0, Destination}, {"hlloc", Family::Skip, 0, Destination},
    {"hlsrc", Family::Skip, 0, Destination}, {"hsv", Family::Skip, 0, Destination},
    {"htmltag", Family::Skip, 0, Destination}, {"keycode", Family::Skip, 0, Destination},
    {"latentstyles", Family::Skip, 0, Destination}, {"lchars", Family::Skip, 0, Destination},
    {"linkval", Family::Skip, 0, Destination}, {"listpicture", Family::Skip, 0, Destination},
    {"liststyleid", Family::Skip, 0, Destination}, {"liststylename", Family::Skip, 0, Destination},
    {"lsdlockedexcept", Family::Skip, 0, Destination}, {"macc", Family::Skip, 0, Destination},
    {"maccPr", Family::Skip, 0, Destination}, {"mailmerge", Family::Skip, 0, Destination},
    {"mmath", Family::Skip, 0, Destination}, {"mmathPr", Family::Skip, 0, Destination},
    {"nextfile", Family::Skip, 0, Destination}, {"objalias", Family::Skip, 0, Destination},
    {"objclass", Family::Skip, 0, Destination}, {"objdata", Family::Skip, 0, Destination},
    {"objname", Family::Skip, 0, Destination}, {"objsect", Family::Skip, 0, Destination},
    {"objtime", Family::Skip, 0, Destination}, {"oldcprops", Family::Skip, 0, Destination},
    {"oldpprops", Family::Skip, 0, Destination}, {"oldsprops", Family::Skip, 0, Destination},
    {"oldtprops", Family::Skip, 0, Destination}, {"oleclsid", Family::Skip, 0, Destination},
    {"panose", Family::Skip, 0, Destination}, {"password", Family::Skip, 0, Destination},
    {"passwordhash", Family::Skip, 0, Destination}, {"pgdsctbl", Family::Skip, 0, Destination},
    {"pgp", Family::Skip, 0, Destination}, {"pgptbl", Family::Skip, 0, Destination},
    {"picprop", Family::Skip, 0, Destination}, {"pnseclvl", Family::Skip, 0, Destination},
    {"private", Family::Skip, 0, Destination}, {"propname", Family::Skip, 0, Destination},
    {"protend", Family::Skip, 0, Destination}, {"protstart", Family::Skip, 0, Destination},
    {"protusertbl", Family::Skip, 0, Destination}, {"pxe", Family::Skip, 0, Destination},
    {"revtbl", Family::Skip, 0, Destination}, {"rsidtbl", Family::Skip, 0, Destination},
    {"rxe", Family::Skip, 0, Destination}, {"shpgrp", Family::Skip, 0, Destination},
    {"shptxt", Family::Skip, 0, Destination},     {"staticval", Family::Skip, 0, Destination},
    {"svb", Family::Skip, 0, Destination},
    {"tc", Family::Skip, 0, Destination}, {"template", Family::Skip, 0, Destination},
    {"themedata", Family::Skip, 0, Destination}, {"txe", Family::Skip, 0, Destination},
    {"ud", Family::Skip, 0, Destination}, {"userprops", Family::Skip, 0, Destination},
    {"wgrffmtfilter", Family::Skip, 0, Destination}, {"windowcaption", Family::Skip, 0, Destination},
    {"writereservation", Family::Skip, 0, Destination}, {"writereservhash", Family::Skip, 0, Destination},
    {"xe", Family::Skip, 0, Destination}, {"xform", Family::Skip, 0, Destination},
    {"xmlattrname", Family::Skip, 0, Destination}, {"xmlattrvalue", Family::Skip, 0, Destination},
    {"xmlclose", Family::Skip, 0, Destination}, {"xmlname", Family::Skip, 0, Destination},
    {"xmlnstbl", Family::Skip, 0, Destination}, {"xmlopen", Family::Skip, 0, Destination},
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

} // namespace rtf
