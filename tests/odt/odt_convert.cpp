// Reads an OpenDocument text as the program does and prints what the editor
// keeps of it, or writes it as RTF: for the LibreOffice comparison of the
// corpus.
//   odt_convert dump IN.odt|IN.fodt
//   odt_convert convert IN OUT.rtf

#include "odttesthelpers.h"

#include "platform/rtf/RtfDump.h"
#include "platform/rtf/RtfWriter.h"

#include <QGuiApplication>
#include <QSaveFile>
#include <QTextStream>

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments();
    QTextStream err(stderr);
    const bool convert = args.size() == 4 && args.at(1) == QLatin1String("convert");
    if (!convert && !(args.size() == 3 && args.at(1) == QLatin1String("dump"))) {
        err << "usage: odt_convert dump IN | odt_convert convert IN OUT.rtf\n";
        return 2;
    }
    rtf::Document model;
    const rtf::ReadResult result = odttest::readFile(args.at(2), model);
    if (!result.ok) {
        err << args.at(2) << ": " << result.error << '\n';
        return 1;
    }
    QTextDocument doc;
    odttest::build(model, &doc);
    for (auto it = result.dropped.counts.cbegin(); it != result.dropped.counts.cend(); ++it)
        err << "dropped: " << it.key() << " x" << it.value() << '\n';
    if (!convert) {
        QTextStream(stdout) << rtf::dump(doc);
        return 0;
    }
    QSaveFile out(args.at(3));
    if (!out.open(QIODevice::WriteOnly) || out.write(rtf::writeDocument(doc)) < 0 || !out.commit()) {
        err << "cannot write " << args.at(3) << '\n';
        return 1;
    }
    return 0;
}
