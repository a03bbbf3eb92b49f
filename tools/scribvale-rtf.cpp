// scribvale-rtf: loads and saves documents exactly as a document window does.
//   scribvale-rtf convert IN OUT   load IN, write OUT as RTF
//   scribvale-rtf dump IN          print IN's paragraphs and runs, one per line
//   scribvale-rtf pdf IN OUT       print IN as the Print command does, into the PDF file OUT
// Each prints on standard error what IN held that the document could not keep.
// Runs without a display.

#include "platform/Failure.h"
#include "platform/RichTextBox.h"
#include "platform/rtf/RtfDump.h"

#include <QApplication>
#include <QPrinter>
#include <QTextStream>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    QTextStream err(stderr);
    const bool convert = args.size() == 4 && args.at(1) == QLatin1String("convert");
    const bool dump = args.size() == 3 && args.at(1) == QLatin1String("dump");
    const bool pdf = args.size() == 4 && args.at(1) == QLatin1String("pdf");
    if (!convert && !dump && !pdf) {
        err << "usage: scribvale-rtf convert IN OUT\n       scribvale-rtf dump IN\n       scribvale-rtf pdf IN OUT\n";
        return 2;
    }
    try {
        RichTextBox surface;
        surface.LoadFile(args.at(2));
        // What the file held that the document could not keep, by kind.
        const rtf::Dropped &dropped = surface.LastLoad().dropped;
        QStringList kinds = dropped.counts.keys();
        kinds.sort();
        for (const QString &kind : std::as_const(kinds))
            err << "dropped: " << kind << " (" << dropped.counts.value(kind) << ")\n";
        err.flush();
        if (convert) {
            surface.SaveFile(args.at(3));
        } else if (pdf) {
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(args.at(3));
            surface.SelPrint(&printer);
        } else {
            QTextStream out(stdout);
            out << rtf::dump(*surface.document());
        }
    } catch (const Failure &failure) {
        err << failure.message() << '\n';
        return 1;
    }
    return 0;
}
