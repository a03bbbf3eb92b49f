#include <QTest>
class tst_RtfWriter : public QObject { Q_OBJECT };
QTEST_MAIN(tst_RtfWriter)
#include "tst_rtfwriter.moc"
