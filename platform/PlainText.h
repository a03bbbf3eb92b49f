#pragma once

#include <QByteArrayView>
#include <QString>

// Decodes a file that is not RTF as text: UTF-8 (with or without a
// byte-order mark), UTF-16 with a byte-order mark, otherwise Windows-1252.
// Line ends of every kind become '\n' (one paragraph per line) and control
// characters other than tab are dropped.
QString decodePlainText(QByteArrayView data);
