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

namespace pictureWords {
enum Id : int {
    PictGroup, ShpPict, NonShpPict, Png, Jpeg, Emf, Wmf, MacPict, Dib, WBitmap,
    PicWidth, PicHeight, GoalWidth, GoalHeight, ScaleX, ScaleY, CropLeft, CropRight, CropTop, CropBottom,
    BitsPerPixel, Planes, WidthBytes, Shape, ShapeInstance, ShapeResult, ObjectGroup, ObjectResult,
    ShapeLeft, ShapeTop, ShapeRight, ShapeBottom, ShapePropertyName,
};
} // namespace pictureWords

inline constexpr Keyword picturesKeywords[] = {
    {"pict", Family::Pictures, pictureWords::PictGroup, Kind::Destination},
    {"shppict", Family::Pictures, pictureWords::ShpPict, Kind::Destination},
    {"nonshppict", Family::Pictures, pictureWords::NonShpPict, Kind::Destination},
    {"pngblip", Family::Pictures, pictureWords::Png, Kind::Flag},
    {"jpegblip", Family::Pictures, pictureWords::Jpeg, Kind::Flag},
    {"emfblip", Family::Pictures, pictureWords::Emf, Kind::Flag},
    {"wmetafile", Family::Pictures, pictureWords::Wmf, Kind::Value},
    {"macpict", Family::Pictures, pictureWords::MacPict, Kind::Flag},
    {"dibitmap", Family::Pictures, pictureWords::Dib, Kind::Value},
    {"wbitmap", Family::Pictures, pictureWords::WBitmap, Kind::Value},
    {"picw", Family::Pictures, pictureWords::PicWidth, Kind::Value},
    {"pich", Family::Pictures, pictureWords::PicHeight, Kind::Value},
    {"picwgoal", Family::Pictures, pictureWords::GoalWidth, Kind::Value},
    {"pichgoal", Family::Pictures, pictureWords::GoalHeight, Kind::Value},
    {"picscalex", Family::Pictures, pictureWords::ScaleX, Kind::Value},
    {"picscaley", Family::Pictures, pictureWords::ScaleY, Kind::Value},
    {"piccropl", Family::Pictures, pictureWords::CropLeft, Kind::Value},
    {"piccropr", Family::Pictures, pictureWords::CropRight, Kind::Value},
    {"piccropt", Family::Pictures, pictureWords::CropTop, Kind::Value},
    {"piccropb", Family::Pictures, pictureWords::CropBottom, Kind::Value},
    {"wbmbitspixel", Family::Pictures, pictureWords::BitsPerPixel, Kind::Value},
    {"wbmplanes", Family::Pictures, pictureWords::Planes, Kind::Value},
    {"wbmwidthbytes", Family::Pictures, pictureWords::WidthBytes, Kind::Value},
    {"shp", Family::Pictures, pictureWords::Shape, Kind::Destination},
    {"shpinst", Family::Pictures, pictureWords::ShapeInstance, Kind::Destination},
    {"shprslt", Family::Pictures, pictureWords::ShapeResult, Kind::Destination},
    {"object", Family::Pictures, pictureWords::ObjectGroup, Kind::Destination},
    {"result", Family::Pictures, pictureWords::ObjectResult, Kind::Destination},
    {"shpleft", Family::Pictures, pictureWords::ShapeLeft, Kind::Value},
    {"shptop", Family::Pictures, pictureWords::ShapeTop, Kind::Value},
    {"shpright", Family::Pictures, pictureWords::ShapeRight, Kind::Value},
    {"shpbottom", Family::Pictures, pictureWords::ShapeBottom, Kind::Value},
    {"sn", Family::Pictures, pictureWords::ShapePropertyName, Kind::Destination},
};

void picturesWord(Parser &p, int id, const Token &t);

// Gives every picture in doc the image Qt draws, from the bytes its format
// keeps: pictures that came into a document by a copy of its fragments.
void ensurePictures(QTextDocument *doc);

// Hex digits to bytes in one pass, skipping whitespace; an odd last digit
// is dropped. `high` carries a pending half byte between calls (-1 none).
void appendHex(QByteArray &out, QByteArrayView hex, int &high);

} // namespace rtf
