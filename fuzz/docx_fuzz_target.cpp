// Fuzz target for the WordprocessingML (.docx) reader. An input is the parts
// of a package, each after a line "=== NAME" (_rels/.rels,
// word/document.xml, word/styles.xml, word/media/a.png, ...), so mutations
// reach the XML without a zip around it; any other input is the main part
// of a package that holds nothing else. The oracle is the RTF route's: what
// is read, built and written as RTF reads back the same.

#include "fuzz/FuzzOracle.h"
#include "platform/docx/DocxReader.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    fuzzoracle::ensureApplication();
    const QByteArrayView input(reinterpret_cast<const char *>(data), qsizetype(size));
    rtf::Document model;
    package::MemoryParts parts;
    if (input.startsWith("=== ")) {
        parts = fuzzoracle::splitParts(input);
    } else {
        parts.add(QStringLiteral("_rels/.rels"),
                  "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                  "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
                  "relationships/officeDocument\" Target=\"word/document.xml\"/></Relationships>");
        parts.add(QStringLiteral("word/document.xml"), input.toByteArray());
    }
    if (docx::read(parts, model).ok)
        fuzzoracle::modelRoundTrip(model);
    return 0;
}
