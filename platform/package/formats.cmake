# Readers of the packaged formats (.docx, .odt, flat .fodt) into the RTF
# library's model, with the package layer they share. Qt Core/Gui only, like
# the RTF library, so their fuzzers link them alone; zip archives are read
# through libzip (see Zip.h).
set(SCRIBVALE_FORMATS_SOURCES
    platform/package/Package.h platform/package/Xml.h
    platform/package/Zip.h platform/package/Zip.cpp
    platform/docx/DocxReader.h platform/docx/DocxReader.cpp platform/docx/DocxContext.h
    platform/docx/DocxXml.cpp platform/docx/DocxStyles.cpp platform/docx/DocxNumbering.cpp
    platform/docx/DocxText.cpp platform/docx/DocxTables.cpp platform/docx/DocxPictures.cpp
    platform/docx/DocxNotes.cpp platform/docx/DocxSections.cpp platform/docx/DocxMeta.cpp
    platform/odt/OdtReader.h platform/odt/OdtReader.cpp
    platform/odt/OdtXml.h platform/odt/OdtXml.cpp
    platform/odt/OdtContext.h
    platform/odt/OdtStyles.cpp platform/odt/OdtLists.cpp platform/odt/OdtText.cpp
    platform/odt/OdtTables.cpp platform/odt/OdtFrames.cpp platform/odt/OdtNotes.cpp
    platform/odt/OdtPages.cpp platform/odt/OdtMeta.cpp
)
