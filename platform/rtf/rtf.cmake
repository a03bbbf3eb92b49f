# RTF reader and writer sources, relative to the source root. They depend on
# Qt Core and Gui only, so the fuzzer and the benchmark can build them alone.
set(SCRIBVALE_RTF_SOURCES
    platform/rtf/RtfModel.h platform/rtf/RtfModel.cpp platform/rtf/RtfIntern.h
    platform/rtf/RtfRules.h platform/rtf/RtfRules.cpp
    platform/rtf/RtfCodePages.h platform/rtf/RtfCodePages.cpp
    platform/rtf/RtfTokenizer.h platform/rtf/RtfTokenizer.cpp
    platform/rtf/RtfKeywords.h platform/rtf/RtfKeywords.cpp platform/rtf/RtfFamilies.h
    platform/rtf/RtfParser.h platform/rtf/RtfParser.cpp platform/rtf/RtfParserText.cpp
    platform/rtf/RtfFonts.h platform/rtf/RtfFonts.cpp
    platform/rtf/RtfCharProps.h platform/rtf/RtfCharProps.cpp
    platform/rtf/RtfParaProps.h platform/rtf/RtfParaProps.cpp
    platform/rtf/RtfStyles.h platform/rtf/RtfStyles.cpp
    platform/rtf/RtfLists.h platform/rtf/RtfLists.cpp
    platform/rtf/RtfFields.h platform/rtf/RtfFields.cpp
    platform/rtf/RtfTables.h platform/rtf/RtfTables.cpp
    platform/rtf/RtfPictures.h platform/rtf/RtfPictures.cpp
    platform/rtf/RtfStories.h platform/rtf/RtfStories.cpp
    platform/rtf/RtfDocInfo.h platform/rtf/RtfDocInfo.cpp
    platform/rtf/RtfKept.h platform/rtf/RtfKept.cpp
    platform/rtf/RtfQt.h
    platform/rtf/RtfBuild.h platform/rtf/RtfBuild.cpp
    platform/rtf/RtfOut.h platform/rtf/RtfOut.cpp
    platform/rtf/RtfWriting.h
    platform/rtf/RtfReader.h platform/rtf/RtfReader.cpp
    platform/rtf/RtfRunLook.h platform/rtf/RtfRunLook.cpp
    platform/rtf/RtfWriter.h platform/rtf/RtfWriter.cpp
    platform/rtf/RtfDump.h platform/rtf/RtfDump.cpp
)
