// Every control of the main window has a name a screen reader can say, and
// the pressed state of the style and alignment buttons is announced.

#include "about/Form1.h"
#include "app/Module1.h"
#include "document/frmDocument.h"
#include "platform/PanelStatusBar.h"
#include "platform/RichTextBox.h"
#include "tests/support/TestMain.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

namespace {

QString nameOf(QObject *object)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(object);
    return iface ? iface->text(QAccessible::Name) : QStringLiteral("<no interface>");
}

QAccessible::State stateOf(QObject *object)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(object);
    return iface ? iface->state() : QAccessible::State();
}

} // namespace

class AccessibilityTest : public QObject
{
    Q_OBJECT

private slots:
    void toolbarButtonsAreNamedByKey();
    void formattingControlsKeepFixedNames();
    void formattingBoxesShowTheirLists_data();
    void formattingBoxesShowTheirLists();
    void pressedStateFollowsReflection();
    void documentWindowIsNamedByCaption();
    void statusAndAboutControlsAreNamed();
};

void AccessibilityTest::toolbarButtonsAreNamedByKey()
{
    MainWindowFixture f;
    f.window().resize(1400, 600);
    QCoreApplication::processEvents();
    using namespace ToolbarKey;
    const QStringList keys = {New, Open, Save, Print, Cut, Copy, Paste, Bold, Italic, Underline, AlignLeft, Center,
                              AlignRight};
    KeyedToolBar *bar = f.window().tbToolBar();
    for (const QString &key : keys) {
        auto *button = qobject_cast<QToolButton *>(bar->widgetForAction(bar->Buttons(key)->action()));
        QVERIFY2(button, qPrintable(key));
        QCOMPARE(nameOf(button), key);
        QCOMPARE(button->toolTip(), key);
        QCOMPARE(button->toolButtonStyle(), Qt::ToolButtonIconOnly);
        // Command buttons are push buttons; the style and alignment ones toggle.
        const bool toggles = keys.indexOf(key) >= keys.indexOf(Bold);
        QCOMPARE(stateOf(button).checkable, toggles);
        if (!toggles)
            QCOMPARE(QAccessible::queryAccessibleInterface(button)->role(), QAccessible::Button);
    }
}

void AccessibilityTest::formattingControlsKeepFixedNames()
{
    MainWindowFixture f;
    frmMain &w = f.window();
    const auto check = [&] {
        QCOMPARE(nameOf(w.f1()), QStringLiteral("Font"));
        QCOMPARE(nameOf(w.fc1()), QStringLiteral("Font Color"));
        QCOMPARE(nameOf(w.fs1()), QStringLiteral("Font Size"));
        QCOMPARE(nameOf(w.Slider1()), QStringLiteral("Font Size Slider"));
        QCOMPARE(QAccessible::queryAccessibleInterface(w.f1())->role(), QAccessible::ComboBox);
        QCOMPARE(QAccessible::queryAccessibleInterface(w.f1())->text(QAccessible::Value), w.f1()->currentText());
    };
    check();
    w.f1()->setCurrentIndex(4);
    w.fc1()->setEditText(QStringLiteral("Red"));
    w.fs1()->setCurrentIndex(3);
    w.Slider1()->setValue(40);
    check();
}

void AccessibilityTest::formattingBoxesShowTheirLists_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("name");
    QTest::newRow("face") << "f1" << "Font";
    QTest::newRow("colour") << "fc1" << "Font Color";
    QTest::newRow("size") << "fs1" << "Font Size";
}

void AccessibilityTest::formattingBoxesShowTheirLists()
{
    QFETCH(QString, box);
    QFETCH(QString, name);
    MainWindowFixture f;
    f.window().resize(1400, 600);
    f.window().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f.window()));
    auto *combo = f.window().findChild<QComboBox *>(box);
    user::click(combo, user::arrowOf(combo));
    QTRY_VERIFY(combo->view()->isVisible());

    // The box, named as ever, holds the open list; the list holds the items.
    QAccessibleInterface *boxFace = QAccessible::queryAccessibleInterface(combo);
    QCOMPARE(boxFace->text(QAccessible::Name), name);
    QAccessibleInterface *list = nullptr;
    for (int i = 0; i < boxFace->childCount(); ++i)
        if (boxFace->child(i)->role() == QAccessible::List)
            list = boxFace->child(i);
    QVERIFY(list);
    QCOMPARE(list->parent()->object(), combo);
    QCOMPARE(boxFace->indexOfChild(list), boxFace->childCount() - 2);
    QVERIFY(!list->state().invisible);
    QStringList items, shown;
    for (int i = 0; i < combo->count(); ++i)
        items.append(combo->itemText(i));
    for (int i = 0; i < list->childCount(); ++i) {
        QCOMPARE(list->child(i)->role(), QAccessible::ListItem);
        shown.append(list->child(i)->text(QAccessible::Name));
    }
    QCOMPARE(shown, items);
    user::key(Qt::Key_Escape);
}

void AccessibilityTest::pressedStateFollowsReflection()
{
    MainWindowFixture f;
    f.window().resize(1400, 600);
    QCoreApplication::processEvents();
    KeyedToolBar *bar = f.window().tbToolBar();
    QWidget *bold = bar->widgetForAction(bar->Buttons(ToolbarKey::Bold)->action());
    QVERIFY(stateOf(bold).checkable);
    QVERIFY(!stateOf(bold).checked);
    QTextCharFormat plain;
    plain.setFontWeight(QFont::Normal);
    QTextCharFormat strong;
    strong.setFontWeight(QFont::Bold);
    f.surface().textCursor().insertText(QStringLiteral("plain "), plain);
    f.surface().textCursor().insertText(QStringLiteral("strong"), strong);
    QVERIFY(stateOf(bold).checked);   // the caret follows the bold word
    QTextCursor cursor = f.surface().textCursor();
    cursor.setPosition(1);
    cursor.setPosition(3, QTextCursor::KeepAnchor);
    f.surface().setTextCursor(cursor);
    QVERIFY(!stateOf(bold).checked);
    QWidget *left = bar->widgetForAction(bar->Buttons(ToolbarKey::AlignLeft)->action());
    QVERIFY(stateOf(left).checked);
}

void AccessibilityTest::documentWindowIsNamedByCaption()
{
    MainWindowFixture f;
    QCOMPARE(nameOf(f.window().ActiveDocument()), QStringLiteral("Document 1"));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("named.vrx"));
    f.dialogs.fileAnswers.enqueue(path);
    f.window().mnuFileSaveAs_Click();
    QCOMPARE(nameOf(f.window().ActiveDocument()), path);
}

void AccessibilityTest::statusAndAboutControlsAreNamed()
{
    MainWindowFixture f;
    PanelStatusBar *bar = f.window().sbStatusBar();
    QCOMPARE(nameOf(bar->textPanel()), QStringLiteral("Status"));
    QCOMPARE(nameOf(bar->datePanel()), bar->datePanel()->text());
    QCOMPARE(nameOf(bar->timePanel()), bar->timePanel()->text());

    f.window().mnuHelpAbout_Click();
    Form1 *about = Module1::AboutWindow();
    for (QLabel *label : {about->Label1, about->Label2, about->Label3, about->Label4, about->Label5,
                          about->Label7, about->Label8, about->Image1})
        QVERIFY2(!nameOf(label).isEmpty(), qPrintable(label->objectName()));
    QCOMPARE(nameOf(about->Label1), QStringLiteral("Scribvale"));
    QCOMPARE(nameOf(about->Command1), QStringLiteral("Ok"));
    about->close();
}

QTEST_MAIN(AccessibilityTest)
#include "tst_accessibility.moc"
