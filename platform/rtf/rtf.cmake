# RTF reader and writer sources, relative to the source root. They depend on
# Qt Core and Gui only, so the fuzzer and the benchmark can build them alone.
set(SCRIBVALE_RTF_SOURCES
    platform/rtf/RtfCodePages.h platform/rtf/RtfCodePages.cpp
    platform/rtf/RtfTokenizer.h platform/rtf/RtfTokenizer.cpp
    platform/rtf/RtfParser.h platform/rtf/RtfParser.cpp
    platform/rtf/RtfReader.h platform/rtf/RtfReader.cpp
    platform/rtf/RtfStyle.h platform/rtf/RtfStyle.cpp
    platform/rtf/RtfWriter.h platform/rtf/RtfWriter.cpp
    platform/rtf/RtfDump.h platform/rtf/RtfDump.cpp
)
