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
    {"pict", Family::Pictures, PictGroup, Destination}, {"shppict", Family::Pictures, ShpPict, Destination},
    {"nonshppict", Family::Pictures, NonShpPict, Destination}, {"pngblip", Family::Pictures, Png},
    {"jpegblip", Family::Pictures, Jpeg}, {"emfblip", Family::Pictures, Emf},
    {"wmetafile", Family::Pictures, Wmf}, {"macpict", Family::Pictures, MacPict},
    {"dibitmap", Family::Pictures, Dib}, {"wbitmap", Family::Pictures, WBitmap},
    {"picw", Family::Pictures, PicWidth}, {"pich", Family::Pictures, PicHeight},
    {"picwgoal", Family::Pictures, GoalWidth}, {"pichgoal", Family::Pictures, GoalHeight},
    {"picscalex", Family::Pictures, ScaleX}, {"picscaley", Family::Pictures, ScaleY},
    {"piccropl", Family::Pictures, CropLeft}, {"piccropr", Family::Pictures, CropRight},
    {"piccropt", Family::Pictures, CropTop}, {"piccropb", Family::Pictures, CropBottom},
    {"wbmbitspixel", Family::Pictures, BitsPerPixel}, {"wbmplanes", Family::Pictures, Planes},
    {"wbmwidthbytes", Family::Pictures, WidthBytes}, {"shp", Family::Pictures, Shape, Destination},
    {"shpinst", Family::Pictures, ShapeInstance, Destination},
    {"shprslt", Family::Pictures, ShapeResult, Destination},
    {"object", Family::Pictures, ObjectGroup, Destination}, {"result", Family::Pictures, ObjectResult, Destination},
    {"shpleft", Family::Pictures, ShapeLeft}, {"shptop", Family::Pictures, ShapeTop},
    {"shpright", Family::Pictures, ShapeRight}, {"shpbottom", Family::Pictures, ShapeBottom},
    {"sn", Family::Pictures, ShapePropertyName, Destination},
};

void picturesWord(Parser &p, int id, const Token &t);

// Gives every picture in doc the image Qt draws, from the bytes its format
// keeps: pictures that came into a document by a copy of its fragments.
void ensurePictures(QTextDocument *doc);

// Hex digits to bytes in one pass, skipping whitespace; an odd last digit
// is dropped. `high` carries a pending half byte between calls (-1 none).
void appendHex(QByteArray &out, QByteArrayView hex, int &high);

} // namespace rtf
