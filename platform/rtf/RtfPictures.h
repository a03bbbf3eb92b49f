#pragma once

#include "RtfKeywords.h"

#include <QByteArray>
#include <QByteArrayView>

class QTextDocument;

// Pictures: {\pict <kind> <sizes> <hex or \bin data>}, Word's
// {\*\shppict{\pict ...}}{\nonshppict{\pict ...}} pair and shapes holding a picture.
namespace rtf {

class Parser;
struct Token;

enum PicturesId {
    PictGroup, ShpPict, NonShpPict, Png, Jpeg, Emf, Wmf, MacPict, Dib, WBitmap,
    PicWidth, PicHeight, GoalWidth, GoalHeight, ScaleX, ScaleY, CropLeft, CropRight, CropTop, CropBottom,
    BitsPerPixel, Planes, WidthBytes, Shape, ShapeInstance, ShapeResult, ObjectGroup, ObjectResult,
    ShapeLeft, ShapeTop, ShapeRight, ShapeBottom, ShapePropertyName,
};

inline constexpr Keyword picturesKeywords[] = {
    {"pict", Family::Pictures, PictGroup, Kind::Destination},
    {"shppict", Family::Pictures, ShpPict, Kind::Destination},
    {"nonshppict", Family::Pictures, NonShpPict, Kind::Destination}, {"pngblip", Family::Pictures, Png, Kind::Flag},
    {"jpegblip", Family::Pictures, Jpeg, Kind::Flag}, {"emfblip", Family::Pictures, Emf, Kind::Flag},
    {"wmetafile", Family::Pictures, Wmf, Kind::Value}, {"macpict", Family::Pictures, MacPict, Kind::Flag},
    {"dibitmap", Family::Pictures, Dib, Kind::Value}, {"wbitmap", Family::Pictures, WBitmap, Kind::Value},
    {"picw", Family::Pictures, PicWidth, Kind::Value}, {"pich", Family::Pictures, PicHeight, Kind::Value},
    {"picwgoal", Family::Pictures, GoalWidth, Kind::Value}, {"pichgoal", Family::Pictures, GoalHeight, Kind::Value},
    {"picscalex", Family::Pictures, ScaleX, Kind::Value}, {"picscaley", Family::Pictures, ScaleY, Kind::Value},
    {"piccropl", Family::Pictures, CropLeft, Kind::Value}, {"piccropr", Family::Pictures, CropRight, Kind::Value},
    {"piccropt", Family::Pictures, CropTop, Kind::Value}, {"piccropb", Family::Pictures, CropBottom, Kind::Value},
    {"wbmbitspixel", Family::Pictures, BitsPerPixel, Kind::Value},
    {"wbmplanes", Family::Pictures, Planes, Kind::Value},
    {"wbmwidthbytes", Family::Pictures, WidthBytes, Kind::Value},
    {"shp", Family::Pictures, Shape, Kind::Destination},
    {"shpinst", Family::Pictures, ShapeInstance, Kind::Destination},
    {"shprslt", Family::Pictures, ShapeResult, Kind::Destination},
    {"object", Family::Pictures, ObjectGroup, Kind::Destination},
    {"result", Family::Pictures, ObjectResult, Kind::Destination},
    {"shpleft", Family::Pictures, ShapeLeft, Kind::Value}, {"shptop", Family::Pictures, ShapeTop, Kind::Value},
    {"shpright", Family::Pictures, ShapeRight, Kind::Value},
    {"shpbottom", Family::Pictures, ShapeBottom, Kind::Value},
    {"sn", Family::Pictures, ShapePropertyName, Kind::Destination},
};

void picturesWord(Parser &p, int id, const Token &t);

// Gives every picture in doc the image Qt draws, from the bytes its format
// keeps: pictures that came into a document by a copy of its fragments.
void ensurePictures(QTextDocument *doc);

// Hex digits to bytes in one pass, skipping whitespace; an odd last digit
// is dropped. `high` carries a pending half byte between calls (-1 none).
void appendHex(QByteArray &out, QByteArrayView hex, int &high);

} // namespace rtf
