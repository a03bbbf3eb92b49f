// Fuzz target for the OpenDocument text reader. An input is a flat document
// (.fodt), or parts of a package, each after a line "=== NAME" (content.xml,
// styles.xml, Pictures/a.png, ...), so mutations reach the XML without a zip
// around it. The oracle is the RTF route's: what is read, built and written
// as RTF reads back the same.

#include "fuzz/FuzzOracle.h"
#include "platform/odt/OdtReader.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    fuzzoracle::ensureApplication();
    const QByteArrayView input(reinterpret_cast<const char *>(data), qsizetype(size));
    rtf::Document model;
    const rtf::ReadResult result = input.startsWith("=== ") ? odt::read(fuzzoracle::splitParts(input), model)
                                                            : odt::readFlat(input, model);
    if (result.ok)
        fuzzoracle::modelRoundTrip(model);
    return 0;
}
