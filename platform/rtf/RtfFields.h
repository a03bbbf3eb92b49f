#pragma once

#include "RtfKeywords.h"

#include <QString>

// Fields: {\field{\*\fldinst INSTRUCTION}{\fldrslt RESULT}}. The result is
// text as any other, marked with its field; hyperlinks are fields too.
namespace rtf {

class Parser;
struct Token;

namespace fieldWords {
enum Id : int { FieldGroup, FieldInstruction, FieldResult, FieldLock };
} // namespace fieldWords

inline constexpr Keyword fieldsKeywords[] = {
    {"field", Family::Fields, fieldWords::FieldGroup, Kind::Destination},
    {"fldinst", Family::Fields, fieldWords::FieldInstruction, Kind::Destination},
    {"fldrslt", Family::Fields, fieldWords::FieldResult, Kind::Destination},
    {"fldlock", Family::Fields, fieldWords::FieldLock, Kind::Flag},
};

void fieldsWord(Parser &p, int id, const Token &t);

// The target of a HYPERLINK instruction: the address, or "#name" for
// HYPERLINK \l "name"; empty when the instruction is no hyperlink.
QString hyperlinkTarget(const QString &instruction);
// The instruction that links to target, as hyperlinkTarget reads it.
QString hyperlinkInstruction(const QString &target);

class RtfOut;
// {\field[\fldlock]{\*\fldinst instruction}{\fldrslt — the result's group is left open.
void openField(RtfOut &out, const QString &instruction, bool locked);

} // namespace rtf
