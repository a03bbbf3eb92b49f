#pragma once

#include "platform/package/Package.h"
#include "platform/rtf/RtfModel.h"
#include "platform/rtf/RtfReader.h"

#include <QByteArrayView>

// OpenDocument text into the model the RTF reader fills, so the builder,
// the surface, printing and the RTF writer take it unchanged.
namespace odt {

// A zipped .odt whose parts are already open.
rtf::ReadResult read(const package::Parts &parts, rtf::Document &out);
// A flat OpenDocument file (.fodt): one XML document.
rtf::ReadResult readFlat(QByteArrayView xml, rtf::Document &out);

} // namespace odt
