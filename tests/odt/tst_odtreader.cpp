#include "odttesthelpers.h"

#include "platform/rtf/RtfDump.h"

#include <QTest>

using namespace odttest;

class tst_OdtReader : public QObject
{
    Q_OBJECT

private slots:
    void corpus_data();
    void corpus();
};

void tst_OdtReader::corpus_data()
{
    QTest::addColumn<QString>("path");
    const QDir dir(QStringLiteral(SCRIBVALE_SOURCE_DIR "/tests/interop/odt"));
    for (const QFileInfo &f : dir.entryInfoList({QStringLiteral("*.odt"), QStringLiteral("*.fodt")}, QDir::Files))
        QTest::newRow(qPrintable(f.fileName())) << f.absoluteFilePath();
}

void tst_OdtReader::corpus()
{
    QFETCH(QString, path);
    rtf::Document model;
    const rtf::ReadResult result = readFile(path, model);
    if (!result.ok && result.error == QLatin1String("cannot unzip"))
        QSKIP("python3 cannot unpack the archive here");
    QVERIFY2(result.ok, qPrintable(result.error));
    QTextDocument doc;
    build(model, &doc);
    QVERIFY(!doc.toPlainText().trimmed().isEmpty());
}

QTEST_MAIN(tst_OdtReader)
#include "tst_odtreader.moc"
