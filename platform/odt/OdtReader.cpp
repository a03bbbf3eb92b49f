#include "OdtReader.h"

namespace odt {

rtf::ReadResult read(const package::Parts &, rtf::Document &)
{
    return rtf::ReadResult {false, QStringLiteral("OpenDocument text cannot be read yet"), {}};
}

rtf::ReadResult readFlat(QByteArrayView, rtf::Document &)
{
    return rtf::ReadResult {false, QStringLiteral("OpenDocument text cannot be read yet"), {}};
}

} // namespace odt
