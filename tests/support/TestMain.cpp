#include "tests/support/TestMain.h"

#include "document/frmDocument.h"
#include "platform/Failure.h"
#include "platform/RichTextBox.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QtTest>

MainWindowFixture::MainWindowFixture(bool shown)
{
    m_program.emplace(Services{&settings, &dialogs, &clipboard, &messages});
    if (shown)
        window().show();
}

RichTextBox &MainWindowFixture::surface()
{
    frmDocument *document = window().ActiveDocument();
    if (!document)
        throw Failure(QStringLiteral("no active document"));
    return *document->rtfText;
}

namespace user {

namespace {

QPoint inWindow(QWidget *widget, QPoint at)
{
    return widget->mapTo(widget->window(), at);
}

} // namespace

void click(QWidget *widget, QPoint at)
{
    QTest::mouseClick(widget->window()->windowHandle(), Qt::LeftButton, {}, inWindow(widget, at));
}

void moveMouse(QWidget *widget, QPoint at)
{
    QTest::mouseMove(widget->window()->windowHandle(), inWindow(widget, at));
}

void type(const QString &text)
{
    QTest::keyClicks(QApplication::focusWidget(), text);
}

void key(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
}

QPoint arrowOf(QComboBox *box)
{
    const int left = box->lineEdit() ? box->lineEdit()->geometry().right() : box->width() - box->height();
    return QPoint((left + box->width()) / 2, box->height() / 2);
}

QPoint textOf(QComboBox *box)
{
    return box->lineEdit()->geometry().center();
}

void choose(QComboBox *box, const QString &item)
{
    const int index = box->findText(item, Qt::MatchExactly);
    QVERIFY2(index >= 0, qPrintable(item));
    QVERIFY(QTest::qWaitForWindowExposed(box->window()));
    click(box, arrowOf(box));
    QAbstractItemView *list = box->view();
    QTRY_VERIFY(list->isVisible());
    const QModelIndex entry = box->model()->index(index, 0);
    list->scrollTo(entry);
    const QPoint at = list->visualRect(entry).center();
    moveMouse(list->viewport(), at);
    click(list->viewport(), at);
    QTRY_VERIFY(!list->isVisible());
}

} // namespace user
