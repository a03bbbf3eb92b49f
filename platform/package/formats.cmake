# Readers of the packaged formats (.docx, .odt, flat .fodt) into the RTF
# library's model, with the package layer they share. Qt Core/Gui only, like
# the RTF library, so their fuzzers link them alone.
set(SCRIBVALE_FORMATS_SOURCES
    platform/package/Package.h platform/package/Xml.h
    platform/docx/DocxReader.h platform/docx/DocxReader.cpp
    platform/odt/OdtReader.h platform/odt/OdtReader.cpp
)
