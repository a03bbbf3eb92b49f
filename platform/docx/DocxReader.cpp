#include "DocxReader.h"

namespace docx {

rtf::ReadResult read(const package::Parts &, rtf::Document &)
{
    return rtf::ReadResult {false, QStringLiteral("Word documents cannot be read yet"), {}};
}

} // namespace docx
