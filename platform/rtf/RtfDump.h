#pragma once

#include <QString>

class QTextDocument;

namespace rtf {

// A stable, line-per-item listing of what the editor keeps of a document:
//   paragraph center
//     run face="Arial" size=10.5 color=#ff0000 style=bi text="Tab\there\n"
// Adjacent runs that look the same are merged; unset properties show the
// document's default font. Text escapes \\ \" \t, \n for a line break and
// \u{XXXX} for other control characters.
//
// Everything (the default) adds every other property kept on a format and
// every document key, as name=value at the end of its line, so that a round
// trip that loses any of it shows; Shown leaves them out, for checks of the
// items above.
enum class Detail { Shown, Everything };
QString dump(const QTextDocument &doc, Detail detail = Detail::Everything);

} // namespace rtf
