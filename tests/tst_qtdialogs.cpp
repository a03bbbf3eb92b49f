// Qt's own dialogs behind the common dialog: what they show for the
// requests the commands make, answered by a timer instead of a person.

#include "platform/CommonDialog.h"
#include "platform/Failure.h"
#include "tests/support/TestMain.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace {

// Runs `inspect` on the modal dialog once it is up, then closes it: a
// check that fails inside leaves at once, and the dialog must not stay up
// for the test to time out on.
void whenModal(std::function<void(QDialog *)> inspect)
{
    QTimer::singleShot(0, [inspect] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog) {
            whenModal(inspect);
            return;
        }
        inspect(dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
}

// The dialog's list of file types: the combo box that lists its filters.
QComboBox *fileTypes(QFileDialog *dialog)
{
    for (QComboBox *box : dialog->findChildren<QComboBox *>()) {
        QStringList items;
        for (int i = 0; i < box->count(); ++i)
            items << box->itemText(i);
        if (!items.isEmpty() && items == dialog->nameFilters())
            return box;
    }
    return nullptr;
}

} // namespace

class QtDialogsTest : public QObject
{
    Q_OBJECT

private slots:
    void printDialogFollowsFlags_data();
    void printDialogFollowsFlags();
    void openDialogListsByPattern();
    void cancelReportsAsTheCommandAsked();
    void saveQuestionAnswersAsClicked_data();
    void saveQuestionAnswersAsClicked();
};

void QtDialogsTest::printDialogFollowsFlags_data()
{
    QTest::addColumn<quint32>("flags");
    QTest::addColumn<int>("range");
    QTest::addColumn<bool>("pageRanges");
    QTest::newRow("selection") << quint32(0x109) << int(QPrinter::Selection) << false;
    QTest::newRow("everything") << quint32(0x108) << int(QPrinter::AllPages) << false;
    QTest::newRow("no flags") << quint32(0) << int(QPrinter::AllPages) << true;
}

void QtDialogsTest::printDialogFollowsFlags()
{
    QFETCH(quint32, flags);
    QFETCH(int, range);
    QFETCH(bool, pageRanges);
    QtDialogBackend backend;
    QPrinter printer;
    QString title;
    QAbstractPrintDialog::PrintDialogOptions options;
    int shownRange = -1;
    whenModal([&](QDialog *dialog) {
        auto *print = qobject_cast<QPrintDialog *>(dialog);
        QVERIFY(print);
        title = print->windowTitle();
        options = print->options();
        shownRange = int(print->printRange());
        print->reject();
    });
    const bool accepted = backend.choosePrinter({QStringLiteral("Print"), flags, &printer});
    QVERIFY(!accepted);
    QCOMPARE(title, QStringLiteral("Print"));
    QCOMPARE(shownRange, range);
    QVERIFY(options.testFlag(QAbstractPrintDialog::PrintSelection));
    QCOMPARE(options.testFlag(QAbstractPrintDialog::PrintPageRange), pageRanges);
}

void QtDialogsTest::openDialogListsByPattern()
{
    QTemporaryDir dir;
    for (const char *name : {"letter.vrx", "vrx-notes.doc", "old.vrx.bak", "notes.txt", "README"}) {
        QFile file(dir.filePath(QString::fromLatin1(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QtDialogBackend backend;
    QStringList filters;
    QMap<QString, QStringList> listed;
    whenModal([&](QDialog *dialog) {
        auto *files = qobject_cast<QFileDialog *>(dialog);
        QVERIFY(files);
        files->setDirectory(dir.path());
        filters = files->nameFilters();
        auto *model = files->findChild<QFileSystemModel *>();
        QVERIFY(model);
        // Each filter chosen from the dialog's list of file types.
        QComboBox *types = fileTypes(files);
        QVERIFY(types);
        for (const QString &filter : filters) {
            user::choose(types, filter);
            listed.insert(filter, model->nameFilters());
        }
        files->selectFile(dir.filePath(QStringLiteral("letter.vrx")));
        QMetaObject::invokeMethod(files, "accept");
    });
    FileDialogRequest request;
    request.kind = FileDialogRequest::Open;
    request.title = QStringLiteral("Open");
    request.filters = CommonDialog::parseFilter(
        QStringLiteral("Scribvale Files (*vrx*)|*vrx*|Txt Files (*txt*)|*txt*|All Files (*.*)|*.*"));
    const QString chosen = backend.getFileName(request);
    QCOMPARE(chosen, dir.filePath(QStringLiteral("letter.vrx")));
    QCOMPARE(filters, (QStringList{"Scribvale Files (*vrx*)", "Txt Files (*txt*)", "All Files (*.*)"}));
    QCOMPARE(listed.value(QStringLiteral("Scribvale Files (*vrx*)")), QStringList{"*vrx*"});
    QCOMPARE(listed.value(QStringLiteral("All Files (*.*)")), QStringList{"*"});   // README too
    QVERIFY(QDir::match(QStringLiteral("*"), QStringLiteral("README")));
}

void QtDialogsTest::cancelReportsAsTheCommandAsked()
{
    QtDialogBackend backend;
    CommonDialog dialog(&backend);
    dialog.DialogTitle = QStringLiteral("Save");
    dialog.Filter = QStringLiteral("Scribvale Files (*vrx*)|*vrx*");
    dialog.FileName = QStringLiteral("stale");
    whenModal([](QDialog *shown) { shown->reject(); });
    dialog.ShowSave();
    QCOMPARE(dialog.FileName, QString());

    dialog.CancelError = true;
    whenModal([](QDialog *shown) { shown->reject(); });
    try {
        dialog.ShowPrinter();
        QFAIL("a cancelled printer dialog reports the cancel");
    } catch (const Failure &failure) {
        QCOMPARE(failure.code(), CancelErrorCode);
    }
}

void QtDialogsTest::saveQuestionAnswersAsClicked_data()
{
    QTest::addColumn<QString>("press");   // a button's text, or a key
    QTest::addColumn<int>("answer");
    QTest::newRow("Save") << "Save" << int(MessageSink::SaveAnswer::Save);
    QTest::newRow("Don't Save") << "Don't Save" << int(MessageSink::SaveAnswer::DontSave);
    QTest::newRow("Cancel") << "Cancel" << int(MessageSink::SaveAnswer::Cancel);
    QTest::newRow("Escape") << "Escape" << int(MessageSink::SaveAnswer::Cancel);
    QTest::newRow("Enter") << "Enter" << int(MessageSink::SaveAnswer::Save);
}

void QtDialogsTest::saveQuestionAnswersAsClicked()
{
    QFETCH(QString, press);
    QFETCH(int, answer);
    QtMessageSink sink;
    QString text;
    QStringList buttons;
    whenModal([&](QDialog *dialog) {
        auto *box = qobject_cast<QMessageBox *>(dialog);
        QVERIFY(box);
        text = box->text();
        for (QAbstractButton *button : box->buttons())
            buttons.append(button->text().remove(QLatin1Char('&')));
        if (press == QLatin1String("Escape") || press == QLatin1String("Enter")) {
            QTest::keyClick(box, press == QLatin1String("Escape") ? Qt::Key_Escape : Qt::Key_Return);
            return;
        }
        for (QAbstractButton *button : box->buttons())
            if (button->text().remove(QLatin1Char('&')) == press)
                QTest::mouseClick(button, Qt::LeftButton);
    });
    QCOMPARE(int(sink.askToSave(nullptr, QStringLiteral("Scribvale"), QStringLiteral("Save changes to Document 1?"))),
             answer);
    QCOMPARE(text, QStringLiteral("Save changes to Document 1?"));
    buttons.sort();
    QCOMPARE(buttons, (QStringList{"Cancel", "Don't Save", "Save"}));
}

QTEST_MAIN(QtDialogsTest)
#include "tst_qtdialogs.moc"
