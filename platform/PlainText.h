#pragma once

#include <QByteArrayView>
#include <QString>

// Decodes a file that is not RTF as text: UTF-8 (with or without a
// byte-order mark), UTF-16 with a byte-order mark, otherwise Windows-1252.
// The text is then cleaned as below.
QString decodePlainText(QByteArrayView data);

// Text from outside (a plain-text file, a paste) as a surface can hold and
// save it: line ends of every kind become '\n' (one paragraph per line),
// control characters other than tab and object markers (U+FFFC) are dropped,
// and half a surrogate pair becomes U+FFFD.
QString cleanPlainText(QStringView raw);
