#pragma once

#include "platform/package/Package.h"
#include "platform/rtf/RtfModel.h"
#include "platform/rtf/RtfReader.h"

// WordprocessingML (.docx) into the model the RTF reader fills, so the
// builder, the surface, printing and the RTF writer take it unchanged.
namespace docx {

rtf::ReadResult read(const package::Parts &parts, rtf::Document &out);

} // namespace docx
