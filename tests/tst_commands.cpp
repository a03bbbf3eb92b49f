// The commands of the formatting bar, the clipboard, printing and the
// toolbar, and the toolbar's reflection of the selection, all run on a real
// main window with scripted dialogs and an in-memory clipboard.

#include "document/frmDocument.h"
#include "platform/CommonDialog.h"
#include "platform/RichTextBox.h"
#include "tests/support/TestMain.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QProcess>
#include <QSlider>
#include <QStyleOptionSlider>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QtTest>

class CommandsTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void everyFaceItemAppliesItsName();
    void everyColourItemWritesItsValue_data();
    void everyColourItemWritesItsValue();
    void colourBoxAppliesAtEveryFocusIn_data();
    void colourBoxAppliesAtEveryFocusIn();
    void typedColourAppliesAtNextFocusIn_data();
    void typedColourAppliesAtNextFocusIn();
    void arrowKeysChooseFromTheList();
    void typedTextIsNoChoice_data();
    void typedTextIsNoChoice();
    void sizeBoxAndSlider();
    void sliderDragAppliesEveryPosition();
    void formattingWithoutDocumentDoesNothing();

    void copyPasteBetweenWindowsKeepsFormatting();
    void plainTextFromOutsidePastesAsText();
    void copyAndCutWithNothingSelected();
    void refusingClipboardKeepsSelection();
    void emptyClipboardPasteChangesNothing();
    void clipboardWithoutDocumentDoesNothing();
    void shortcutsInsideDocumentRunTheCommands();
    void clipboardKeysInABoxActOnTheDocument_data();
    void clipboardKeysInABoxActOnTheDocument();

    void printSetsFlagsAndPrintsSelectionOrAll_data();
    void printSetsFlagsAndPrintsSelectionOrAll();
    void printCancelAndNoDocument();
    void pageSetupKeepsFlagsOfLastPrint();

    void commandKeysRunTheirCommands();
    void unknownKeysDoNothing();
    void styleKeysToggleAndShowResult_data();
    void styleKeysToggleAndShowResult();
    void styleKeyOnMixedSelection();
    void alignmentKeysWriteTheirCodes_data();
    void alignmentKeysWriteTheirCodes();
    void toolbarWithoutDocument();
    void selectionEndingAtAParagraphLeavesItOut();

    void reflectionFollowsSelection_data();
    void reflectionFollowsSelection();
    void newWindowSetsNoButton();

private:
    RichTextBox &s() { return f->surface(); }
    void select(int start, int end);
    void press(const QString &key);
    int value(const QString &key);

    std::unique_ptr<MainWindowFixture> f;
    std::unique_ptr<QTemporaryDir> dir;
};

void CommandsTest::init()
{
    f = std::make_unique<MainWindowFixture>();
    dir = std::make_unique<QTemporaryDir>();
    f->window().resize(1400, 600);
    f->window().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f->window()));
}

void CommandsTest::cleanup()
{
    f.reset();
    dir.reset();
}

void CommandsTest::select(int start, int end)
{
    QTextCursor cursor = s().textCursor();
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    s().setTextCursor(cursor);
}

void CommandsTest::press(const QString &key)
{
    f->window().tbToolBar()->press(f->window().tbToolBar()->Buttons(key));
}

int CommandsTest::value(const QString &key)
{
    return f->window().tbToolBar()->Buttons(key)->Value();
}

static QTextCharFormat formatAt(RichTextBox &surface, int position)
{
    QTextCursor cursor(surface.document());
    cursor.setPosition(position);
    return cursor.charFormat();
}

using namespace user;

// ---- formatting bar ------------------------------------------------------------------

void CommandsTest::everyFaceItemAppliesItsName()
{
    s().setSelText(QStringLiteral("some words"));
    QComboBox *face = f->window().f1();
    for (int i = 0; i < face->count(); ++i) {
        const QString name = face->itemText(i);
        choose(face, name);
        QCOMPARE(s().FontName(), name);
        QCOMPARE(formatAt(s(), 3).fontFamilies().toStringList().value(0), name);
    }
    // Nothing but the face changed.
    QCOMPARE(formatAt(s(), 3).hasProperty(QTextFormat::ForegroundBrush), false);
}

void CommandsTest::everyColourItemWritesItsValue_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QColor>("rgb");
    QTest::newRow("Black") << "Black" << QColor(0, 0, 0);
    QTest::newRow("Red") << "Red" << QColor(255, 0, 0);
    QTest::newRow("Red(Thick)") << "Red(Thick)" << QColor(192, 0, 0);
    QTest::newRow("Red(Light)") << "Red(Light)" << QColor(255, 128, 128);
    QTest::newRow("Yellow") << "Yellow" << QColor(255, 255, 0);
    QTest::newRow("Yellow(Thick)") << "Yellow(Thick)" << QColor(128, 128, 0);
    QTest::newRow("Yellow(Light)") << "Yellow(Light)" << QColor(255, 255, 128);
    QTest::newRow("Blue") << "Blue" << QColor(0, 0, 255);
    QTest::newRow("Blue(Thick)") << "Blue(Thick)" << QColor(0, 0, 192);
    QTest::newRow("Blue(Light)") << "Blue(Light)" << QColor(128, 128, 255);
    QTest::newRow("Green") << "Green" << QColor(0, 255, 0);
    QTest::newRow("Green(Thick)") << "Green(Thick)" << QColor(0, 128, 0);
    QTest::newRow("Green(Light)") << "Green(Light)" << QColor(128, 255, 128);
    QTest::newRow("Meganta") << "Meganta" << QColor(255, 0, 255);
}

void CommandsTest::everyColourItemWritesItsValue()
{
    QFETCH(QString, name);
    QFETCH(QColor, rgb);
    s().setSelText(QStringLiteral("colour me"));
    select(0, 6);
    choose(f->window().fc1(), name);
    QCOMPARE(formatAt(s(), 3).foreground().color(), rgb);
    QVERIFY(!formatAt(s(), 8).hasProperty(QTextFormat::ForegroundBrush));
}

void CommandsTest::colourBoxAppliesAtEveryFocusIn_data()
{
    QTest::addColumn<QString>("route");
    QTest::newRow("Tab") << "tab";
    QTest::newRow("Shift+Tab") << "backtab";
    QTest::newRow("click on its text") << "text";
    QTest::newRow("click on its arrow") << "arrow";
}

void CommandsTest::colourBoxAppliesAtEveryFocusIn()
{
    QFETCH(QString, route);
    frmMain &w = f->window();
    s().setSelText(QStringLiteral("first second third"));
    select(0, 5);
    choose(w.fc1(), QStringLiteral("Red"));
    s().setFocus(Qt::MouseFocusReason);
    select(6, 12);

    if (route == QLatin1String("tab")) {
        w.Slider1()->setFocus(Qt::TabFocusReason);
        key(Qt::Key_Tab);
    } else if (route == QLatin1String("backtab")) {
        w.f1()->setFocus(Qt::TabFocusReason);
        key(Qt::Key_Backtab, Qt::ShiftModifier);
    } else {
        click(w.fc1(), route == QLatin1String("text") ? textOf(w.fc1()) : arrowOf(w.fc1()));
    }
    // The new selection takes the colour the box shows, before any new choice.
    QCOMPARE(formatAt(s(), 9).foreground().color(), QColor(255, 0, 0));

    // The focus coming back from the box's own list is no new entry.
    select(13, 18);
    if (!w.fc1()->view()->isVisible())
        click(w.fc1(), arrowOf(w.fc1()));
    QTRY_VERIFY(w.fc1()->view()->isVisible());
    key(Qt::Key_Escape);
    QTRY_VERIFY(!w.fc1()->view()->isVisible());
    QCOMPARE(QApplication::focusWidget(), w.fc1());
    QVERIFY(!formatAt(s(), 15).hasProperty(QTextFormat::ForegroundBrush));
}

void CommandsTest::typedColourAppliesAtNextFocusIn_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("applies");
    QTest::newRow("exact name") << "Green" << true;
    QTest::newRow("other case") << "BLUE" << false;
    QTest::newRow("prefix") << "Gre" << false;
    QTest::newRow("trailing blank") << "Red " << false;
    QTest::newRow("corrected spelling") << "Magenta" << false;
    QTest::newRow("initial text") << "Font Color" << false;
}

void CommandsTest::typedColourAppliesAtNextFocusIn()
{
    QFETCH(QString, typed);
    QFETCH(bool, applies);
    frmMain &w = f->window();
    s().setSelText(QStringLiteral("first second"));
    select(0, 5);
    click(w.fc1(), textOf(w.fc1()));
    key(Qt::Key_A, Qt::ControlModifier);
    type(typed);
    key(Qt::Key_Tab);
    QCOMPARE(w.fc1()->currentText(), typed);
    // Typing, and leaving the box, apply nothing.
    QVERIFY(!formatAt(s(), 2).hasProperty(QTextFormat::ForegroundBrush));

    select(6, 12);
    key(Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), w.fc1());
    QCOMPARE(formatAt(s(), 9).hasProperty(QTextFormat::ForegroundBrush), applies);
    if (applies)
        QCOMPARE(formatAt(s(), 9).foreground().color(), QColor(0, 255, 0));
    QVERIFY(!formatAt(s(), 2).hasProperty(QTextFormat::ForegroundBrush));
}

void CommandsTest::arrowKeysChooseFromTheList()
{
    s().setSelText(QStringLiteral("words"));
    select(0, 5);
    QComboBox *size = f->window().fs1();
    click(size, textOf(size));
    key(Qt::Key_Down);   // the first item, "10"
    key(Qt::Key_Down);
    QCOMPARE(size->currentText(), QStringLiteral("15"));
    QCOMPARE(formatAt(s(), 2).fontPointSize(), 15.0);
    key(Qt::Key_Up);
    QCOMPARE(formatAt(s(), 2).fontPointSize(), 10.0);
}

void CommandsTest::typedTextIsNoChoice_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("leave");   // how the person leaves the box
    QTest::newRow("face, other case, Tab") << "f1" << "arial" << "tab";
    QTest::newRow("face, exact, Enter") << "f1" << "Arial" << "enter";
    QTest::newRow("face, first letter, Tab") << "f1" << "c" << "tab";
    QTest::newRow("face, click away") << "f1" << "Courier New" << "click";
    QTest::newRow("size, Enter") << "fs1" << "50" << "enter";
    QTest::newRow("size, Tab") << "fs1" << "125" << "tab";
    QTest::newRow("colour, other case, click away") << "fc1" << "BLUE" << "click";
    QTest::newRow("colour, exact, Enter") << "fc1" << "Red" << "enter";
}

void CommandsTest::typedTextIsNoChoice()
{
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(QString, leave);
    auto *combo = f->window().findChild<QComboBox *>(box);
    QVERIFY(combo);
    s().setSelText(QStringLiteral("words"));
    select(0, 5);
    click(combo, textOf(combo));
    QCOMPARE(QApplication::focusWidget(), combo);
    key(Qt::Key_A, Qt::ControlModifier);
    type(typed);
    if (leave == QLatin1String("tab"))
        key(Qt::Key_Tab);
    else if (leave == QLatin1String("enter"))
        key(Qt::Key_Return);
    else
        click(&s(), QPoint(5, 5));
    // The box shows what was typed, letter for letter, and nothing applied.
    QCOMPARE(combo->currentText(), typed);
    QCOMPARE(s().FontName(), QStringLiteral("Times New Roman"));
    for (const QTextFormat::Property property :
         {QTextFormat::FontFamilies, QTextFormat::FontPointSize, QTextFormat::ForegroundBrush})
        QVERIFY(!formatAt(s(), 2).hasProperty(property));
}

void CommandsTest::sizeBoxAndSlider()
{
    s().setSelText(QStringLiteral("size me"));
    select(0, 4);
    frmMain &w = f->window();
    for (int i = 0; i < w.fs1()->count(); ++i) {
        choose(w.fs1(), w.fs1()->itemText(i));
        QCOMPARE(formatAt(s(), 2).fontPointSize(), w.fs1()->itemText(i).toDouble());
    }
    QCOMPARE(w.Slider1()->value(), 0);   // the box does not move the slider

    // Moving the mouse over the slider, no button held, applies its position.
    QSlider *slider = w.Slider1();
    slider->setValue(10);
    moveMouse(slider, QPoint(5, 5));
    moveMouse(slider, QPoint(6, 5));
    QCOMPARE(formatAt(s(), 2).fontPointSize(), 10.0);
    QCOMPARE(w.fs1()->currentText(), QStringLiteral("300"));

    // The keyboard moves the slider but applies nothing until the mouse moves.
    slider->setFocus(Qt::TabFocusReason);
    key(Qt::Key_Right);
    QCOMPARE(slider->value(), 11);
    QCOMPARE(formatAt(s(), 2).fontPointSize(), 10.0);

    // A click applies the position the click leaves; at 0 nothing changes.
    slider->setValue(0);
    click(slider, QPoint(1, slider->height() / 2));
    const int after = slider->value();
    QCOMPARE(formatAt(s(), 2).fontPointSize(), after > 0 ? double(after) : 10.0);
}

void CommandsTest::sliderDragAppliesEveryPosition()
{
    s().setSelText(QStringLiteral("size me"));
    select(0, 4);
    QSlider *slider = f->window().Slider1();
    slider->setValue(20);
    QStyleOptionSlider option;
    option.initFrom(slider);
    option.orientation = slider->orientation();
    option.minimum = slider->minimum();
    option.maximum = slider->maximum();
    option.sliderPosition = option.sliderValue = slider->value();
    const QRect thumb = slider->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, slider);
    QWindow *window = f->window().windowHandle();
    QPoint at = slider->mapTo(&f->window(), thumb.center());
    QTest::mouseMove(window, at);
    QTest::mousePress(window, Qt::LeftButton, {}, at);
    int moves = 0;
    for (int step = 0; step < 6; ++step) {
        at += QPoint(7, 0);
        QTest::mouseMove(window, at);
        if (slider->value() != 20)
            ++moves;
        QCOMPARE(formatAt(s(), 2).fontPointSize(), double(slider->value()));
    }
    QTest::mouseRelease(window, Qt::LeftButton, {}, at);
    QVERIFY(moves > 0);
    QCOMPARE(formatAt(s(), 2).fontPointSize(), double(slider->value()));
}

void CommandsTest::formattingWithoutDocumentDoesNothing()
{
    f->window().ActiveDocument()->close();
    frmMain &w = f->window();
    choose(w.f1(), QStringLiteral("Arial"));
    choose(w.fc1(), QStringLiteral("Red"));
    choose(w.fs1(), QStringLiteral("20"));
    w.Slider1()->setFocus(Qt::TabFocusReason);
    key(Qt::Key_Tab);   // into the colour box
    click(w.Slider1(), QPoint(1, w.Slider1()->height() / 2));
    QVERIFY(w.documents().isEmpty());
    QVERIFY(f->messages.messages.isEmpty());
}

// ---- clipboard ---------------------------------------------------------------------------

void CommandsTest::copyPasteBetweenWindowsKeepsFormatting()
{
    QTextCharFormat format;
    format.setFontFamilies(QStringList{QStringLiteral("Courier New")});
    format.setFontPointSize(40);
    format.setForeground(QColor(0, 128, 0));
    format.setFontWeight(QFont::Bold);
    format.setFontItalic(true);
    format.setFontUnderline(true);
    s().textCursor().insertText(QStringLiteral("formatted"), format);
    s().setSelAlignment(2);
    s().selectAll();
    f->window().menuItem(MenuName::mnuEditCopy)->trigger();
    QVERIFY(f->clipboard.text.startsWith(QLatin1String("{\\rtf")));   // the markup itself, as text
    QCOMPARE(f->clipboard.rtf, f->clipboard.text.toLatin1());

    f->window().CreateDocumentWindow();
    f->window().menuItem(MenuName::mnuEditPaste)->trigger();
    QCOMPARE(s().toPlainText(), QStringLiteral("formatted"));
    const QTextCharFormat got = formatAt(s(), 3);
    QCOMPARE(got.fontFamilies().toStringList().value(0), QStringLiteral("Courier New"));
    QCOMPARE(got.fontPointSize(), 40.0);
    QCOMPARE(got.foreground().color(), QColor(0, 128, 0));
    QVERIFY(got.fontWeight() >= QFont::Bold && got.fontItalic() && got.fontUnderline());
    QCOMPARE(s().SelAlignment(), std::optional<int>(2));
}

void CommandsTest::plainTextFromOutsidePastesAsText()
{
    s().setSelText(QStringLiteral("A-B"));
    select(1, 2);
    f->clipboard.text = QStringLiteral("pasted {text}\nnext line");
    f->window().mnuEditPaste_Click();
    QCOMPARE(s().toPlainText(), QStringLiteral("Apasted {text}\nnext lineB"));
}

void CommandsTest::copyAndCutWithNothingSelected()
{
    s().setSelText(QStringLiteral("stay"));
    f->clipboard.text = QStringLiteral("before");
    f->window().mnuEditCopy_Click();
    QVERIFY(f->clipboard.text.startsWith(QLatin1String("{\\rtf")));
    f->clipboard.text = QStringLiteral("before");
    f->window().mnuEditCut_Click();
    QVERIFY(f->clipboard.text.startsWith(QLatin1String("{\\rtf")));
    QCOMPARE(s().toPlainText(), QStringLiteral("stay"));
}

void CommandsTest::refusingClipboardKeepsSelection()
{
    s().setSelText(QStringLiteral("precious"));
    s().selectAll();
    f->clipboard.refuse = true;
    f->window().mnuEditCut_Click();
    QCOMPARE(s().toPlainText(), QStringLiteral("precious"));
    f->window().mnuEditCopy_Click();
    QVERIFY(f->messages.messages.isEmpty());
    f->clipboard.refuse = false;
    f->window().mnuEditCut_Click();
    QCOMPARE(s().toPlainText(), QString());
    f->window().mnuEditPaste_Click();
    QCOMPARE(s().toPlainText(), QStringLiteral("precious"));
}

void CommandsTest::emptyClipboardPasteChangesNothing()
{
    s().setSelText(QStringLiteral("selected"));
    s().selectAll();
    f->clipboard.text.clear();
    f->window().mnuEditPaste_Click();
    QCOMPARE(s().toPlainText(), QStringLiteral("selected"));
}

void CommandsTest::clipboardWithoutDocumentDoesNothing()
{
    f->window().ActiveDocument()->close();
    f->clipboard.text = QStringLiteral("untouched");
    f->window().mnuEditCopy_Click();
    f->window().mnuEditCut_Click();
    f->window().mnuEditPaste_Click();
    QCOMPARE(f->clipboard.text, QStringLiteral("untouched"));
    QVERIFY(f->window().documents().isEmpty());
}

void CommandsTest::shortcutsInsideDocumentRunTheCommands()
{
    f->window().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f->window()));
    s().setFocus();
    QTest::keyClicks(&s(), QStringLiteral("typed"));
    s().selectAll();
    QTest::keyClick(&s(), Qt::Key_C, Qt::ControlModifier);
    QVERIFY2(f->clipboard.text.startsWith(QLatin1String("{\\rtf")), qPrintable(f->clipboard.text));
    QVERIFY(f->clipboard.text.contains(QLatin1String("typed")));
    QTest::keyClick(&s(), Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(s().toPlainText(), QString());
    QTest::keyClick(&s(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(s().toPlainText(), QStringLiteral("typed"));
    // The other standard clipboard keys go the same way.
    s().selectAll();
    f->clipboard.text.clear();
    QTest::keyClick(&s(), Qt::Key_Insert, Qt::ControlModifier);
    QVERIFY(f->clipboard.text.startsWith(QLatin1String("{\\rtf")));
    // Ctrl+N from inside a document opens a new one.
    QTest::keyClick(&s(), Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(f->window().documents().size(), 2);
}

void CommandsTest::clipboardKeysInABoxActOnTheDocument_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("letter");
    QTest::addColumn<QString>("text");        // the document's text after the key
    QTest::addColumn<bool>("copied");         // the selection's markup is on the clipboard
    QTest::newRow("Ctrl+C in the face box") << "f1" << int(Qt::Key_C) << "one two" << true;
    QTest::newRow("Ctrl+X in the colour box") << "fc1" << int(Qt::Key_X) << "one " << true;
    QTest::newRow("Ctrl+V in the size box") << "fs1" << int(Qt::Key_V) << "one pasted" << false;
}

void CommandsTest::clipboardKeysInABoxActOnTheDocument()
{
    QFETCH(QString, box);
    QFETCH(int, letter);
    QFETCH(QString, text);
    QFETCH(bool, copied);
    auto *combo = f->window().findChild<QComboBox *>(box);
    const QString shown = combo->currentText();
    s().setSelText(QStringLiteral("one two"));
    select(4, 7);
    f->clipboard.text = QStringLiteral("pasted");
    click(combo, textOf(combo));
    key(Qt::Key_A, Qt::ControlModifier);
    key(Qt::Key(letter), Qt::ControlModifier);
    QCOMPARE(QApplication::focusWidget(), combo);
    QCOMPARE(combo->currentText(), shown);
    QCOMPARE(s().toPlainText(), text);
    QCOMPARE(f->clipboard.text.startsWith(QLatin1String("{\\rtf")) && f->clipboard.text.contains(QLatin1String("two")),
             copied);
}

// ---- printing ------------------------------------------------------------------------------

void CommandsTest::printSetsFlagsAndPrintsSelectionOrAll_data()
{
    QTest::addColumn<bool>("selected");
    QTest::addColumn<quint32>("flags");
    QTest::addColumn<QString>("printed");
    QTest::newRow("selection") << true << quint32(0x109) << "Second";    // and no page number the document does not hold
    QTest::newRow("everything") << false << quint32(0x108) << "First Second";
}

void CommandsTest::printSetsFlagsAndPrintsSelectionOrAll()
{
    QFETCH(bool, selected);
    QFETCH(quint32, flags);
    QFETCH(QString, printed);
    s().setSelText(QStringLiteral("First Second"));
    select(selected ? 6 : 12, 12);
    const QString pdf = dir->filePath(QStringLiteral("out.pdf"));
    f->dialogs.printToPdf = pdf;
    f->dialogs.printAnswers.enqueue(true);
    press(ToolbarKey::Print);
    QCOMPARE(f->dialogs.printRequests.size(), 1);
    QCOMPARE(f->dialogs.printRequests.first().title, QStringLiteral("Print"));
    QCOMPARE(f->dialogs.printRequests.first().flags, flags);
    QVERIFY(QFileInfo(pdf).size() > 0);
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        QSKIP("pdftotext is not installed");
    QProcess process;
    process.start(pdftotext, {pdf, QStringLiteral("-")});
    QVERIFY(process.waitForFinished());
    QCOMPARE(QString::fromUtf8(process.readAllStandardOutput()).simplified(), printed);
}

void CommandsTest::printCancelAndNoDocument()
{
    const QString pdf = dir->filePath(QStringLiteral("never.pdf"));
    f->dialogs.printToPdf = pdf;
    f->window().mnuFilePrint_Click();   // cancelled
    QCOMPARE(f->dialogs.printRequests.size(), 1);
    QVERIFY(!QFile::exists(pdf));
    f->window().ActiveDocument()->close();
    f->window().mnuFilePrint_Click();
    QCOMPARE(f->dialogs.printRequests.size(), 1);
    f->window().menuItem(MenuName::mnuFilePageSetup)->trigger();
    QCOMPARE(f->dialogs.printRequests.size(), 2);
    QCOMPARE(f->dialogs.printRequests.last().title, QStringLiteral("Page Setup"));
    QVERIFY(f->messages.messages.isEmpty());
}

void CommandsTest::pageSetupKeepsFlagsOfLastPrint()
{
    f->window().mnuFilePageSetup_Click();
    QCOMPARE(f->dialogs.printRequests.last().flags, quint32(0));
    s().setSelText(QStringLiteral("x"));
    s().selectAll();
    f->window().mnuFilePrint_Click();
    f->window().mnuFilePageSetup_Click();
    QCOMPARE(f->dialogs.printRequests.last().flags, quint32(0x109));
    QCOMPARE(f->window().dlgCommonDialog()->CancelError, true);
}

// ---- toolbar ------------------------------------------------------------------------------

void CommandsTest::commandKeysRunTheirCommands()
{
    press(ToolbarKey::New);
    QCOMPARE(f->window().documents().size(), 2);
    press(ToolbarKey::Open);
    QCOMPARE(f->dialogs.fileRequests.last().title, QStringLiteral("Open"));
    press(ToolbarKey::Save);
    QCOMPARE(f->dialogs.fileRequests.last().title, QStringLiteral("Save"));
    s().setSelText(QStringLiteral("cut me"));
    s().selectAll();
    press(ToolbarKey::Copy);
    QVERIFY(f->clipboard.text.contains(QLatin1String("cut me")));
    press(ToolbarKey::Cut);
    QCOMPARE(s().toPlainText(), QString());
    press(ToolbarKey::Paste);
    QCOMPARE(s().toPlainText(), QStringLiteral("cut me"));
    press(ToolbarKey::Print);
    QCOMPARE(f->dialogs.printRequests.size(), 1);
    // Plain command buttons spring back.
    for (QLatin1StringView key : {ToolbarKey::New, ToolbarKey::Open, ToolbarKey::Save, ToolbarKey::Print,
                                  ToolbarKey::Cut, ToolbarKey::Copy, ToolbarKey::Paste})
        QCOMPARE(value(key), 0);
}

void CommandsTest::unknownKeysDoNothing()
{
    KeyedToolBar *bar = f->window().tbToolBar();
    KeyedToolBar::Button *odd = bar->addButton(QStringLiteral("bold"), QIcon(), KeyedToolBar::Style::Plain);
    KeyedToolBar::Button *empty = bar->addButton(QString(), QIcon(), KeyedToolBar::Style::Plain);
    KeyedToolBar::Button *padded = bar->addButton(QStringLiteral("New "), QIcon(), KeyedToolBar::Style::Plain);
    s().setSelText(QStringLiteral("plain"));
    s().selectAll();
    bar->press(odd);
    bar->press(empty);
    bar->press(padded);
    QCOMPARE(s().SelBold(), std::optional<bool>(false));
    QCOMPARE(f->window().documents().size(), 1);
    QCOMPARE(odd->Value(), 0);
}

void CommandsTest::styleKeysToggleAndShowResult_data()
{
    QTest::addColumn<QString>("key");
    for (QLatin1StringView key : {ToolbarKey::Bold, ToolbarKey::Italic, ToolbarKey::Underline})
        QTest::newRow(key.data()) << QString(key);
}

void CommandsTest::styleKeysToggleAndShowResult()
{
    QFETCH(QString, key);
    const auto read = [&] {
        if (key == ToolbarKey::Bold)
            return s().SelBold();
        return key == ToolbarKey::Italic ? s().SelItalic() : s().SelUnderline();
    };
    s().setSelText(QStringLiteral("plain words"));
    s().selectAll();
    press(key);
    QCOMPARE(read(), std::optional<bool>(true));
    QCOMPARE(value(key), 1);
    press(key);
    QCOMPARE(read(), std::optional<bool>(false));
    QCOMPARE(value(key), 0);
}

void CommandsTest::styleKeyOnMixedSelection()
{
    s().setSelText(QStringLiteral("half bold"));
    select(0, 4);
    s().setSelBold(true);
    s().selectAll();
    press(ToolbarKey::Bold);   // mixed stays mixed: the write is refused
    QVERIFY(!s().SelBold().has_value());
    QCOMPARE(value(ToolbarKey::Bold), 0);
}

void CommandsTest::alignmentKeysWriteTheirCodes_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("code");
    QTest::newRow("Align Left") << QString(ToolbarKey::AlignLeft) << 0;
    QTest::newRow("Center") << QString(ToolbarKey::Center) << 2;
    QTest::newRow("Align Right") << QString(ToolbarKey::AlignRight) << 1;
}

void CommandsTest::alignmentKeysWriteTheirCodes()
{
    QFETCH(QString, key);
    QFETCH(int, code);
    s().setSelText(QStringLiteral("one"));
    s().textCursor().insertBlock();
    s().textCursor().insertText(QStringLiteral("two"));
    s().selectAll();
    if (code == 0)
        s().setSelAlignment(1);
    press(key);
    QCOMPARE(s().SelAlignment(), std::optional<int>(code));
    QCOMPARE(value(key), 1);
}

void CommandsTest::toolbarWithoutDocument()
{
    f->window().ActiveDocument()->close();
    press(ToolbarKey::Bold);
    QCOMPARE(value(ToolbarKey::Bold), 0);
    press(ToolbarKey::Center);
    QCOMPARE(value(ToolbarKey::Center), 1);   // the group still shows it
    press(ToolbarKey::Cut);
    press(ToolbarKey::Save);
    press(ToolbarKey::Print);
    QVERIFY(f->dialogs.fileRequests.isEmpty());
    QVERIFY(f->dialogs.printRequests.isEmpty());
    press(ToolbarKey::New);
    QCOMPARE(f->window().ActiveDocument()->Caption(), QStringLiteral("Document 2"));
}

void CommandsTest::selectionEndingAtAParagraphLeavesItOut()
{
    // "one" left-aligned, "two" right-aligned; Shift+Down from the start
    // selects the first line up to the very start of the second.
    s().setSelText(QStringLiteral("one\ntwo"));
    select(5, 5);
    s().setSelAlignment(RichTextBox::AlignRightCode);
    s().setFocus(Qt::MouseFocusReason);
    key(Qt::Key_Home, Qt::ControlModifier);
    key(Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(s().textCursor().selectionEnd(), 4);
    QCOMPARE(s().SelAlignment(), std::optional<int>(RichTextBox::AlignLeftCode));
    QCOMPARE(value(ToolbarKey::AlignLeft), 1);
    press(ToolbarKey::Center);
    QCOMPARE(s().document()->findBlockByNumber(0).blockFormat().alignment() & Qt::AlignHorizontal_Mask,
             Qt::AlignHCenter);
    QCOMPARE(s().document()->findBlockByNumber(1).blockFormat().alignment() & Qt::AlignHorizontal_Mask,
             Qt::AlignRight);
    QCOMPARE(s().SelAlignment(), std::optional<int>(RichTextBox::AlignCenterCode));
}

// ---- reflection ----------------------------------------------------------------------------

void CommandsTest::reflectionFollowsSelection_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::addColumn<QStringList>("pressed");   // the buttons shown pressed
    // Paragraph 0 "plain" left; paragraph 1 "bold italic" centred, "bold"
    // (6..10) bold, "italic" (11..17) bold italic; paragraph 2 "right under" right, underlined.
    using namespace ToolbarKey;
    QTest::newRow("caret in plain left text") << 2 << 2 << QStringList{AlignLeft};
    QTest::newRow("plain and bold mixed") << 2 << 8 << QStringList{};
    QTest::newRow("inside bold centred") << 7 << 9 << QStringList{Bold, Center};
    QTest::newRow("bold italic") << 12 << 15 << QStringList{Bold, Italic, Center};
    QTest::newRow("centre and right mixed") << 12 << 20 << QStringList{};
    QTest::newRow("caret in right paragraph") << 21 << 21 << QStringList{Underline, AlignRight};
}

void CommandsTest::reflectionFollowsSelection()
{
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(QStringList, pressed);
    QTextCursor c = s().textCursor();
    QTextCharFormat plain, bold, boldItalic, under;
    plain.setFontWeight(QFont::Normal);
    bold.setFontWeight(QFont::Bold);
    boldItalic.setFontWeight(QFont::Bold);
    boldItalic.setFontItalic(true);
    under.setFontUnderline(true);
    c.insertText(QStringLiteral("plain"), plain);
    c.insertBlock();
    c.insertText(QStringLiteral("bold "), bold);
    c.insertText(QStringLiteral("italic"), boldItalic);
    QTextBlockFormat centre;
    centre.setAlignment(Qt::AlignHCenter);
    c.setBlockFormat(centre);
    c.insertBlock();
    c.insertText(QStringLiteral("right under"), under);
    QTextBlockFormat right;
    right.setAlignment(Qt::AlignRight);
    c.setBlockFormat(right);
    QCOMPARE(s().document()->findBlockByNumber(2).position(), 18);

    // Start from the opposite of every state, so each button must be written.
    for (QLatin1StringView key : {ToolbarKey::Bold, ToolbarKey::Italic, ToolbarKey::Underline})
        f->window().tbToolBar()->Buttons(key)->setValue(1);
    select(start, end);
    QStringList shown;
    for (QLatin1StringView key : {ToolbarKey::Bold, ToolbarKey::Italic, ToolbarKey::Underline, ToolbarKey::AlignLeft,
                                  ToolbarKey::Center, ToolbarKey::AlignRight})
        if (value(key))
            shown.append(key);
    QCOMPARE(shown, pressed);
}

void CommandsTest::newWindowSetsNoButton()
{
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    s().textCursor().insertText(QStringLiteral("bold"), bold);
    QCOMPARE(value(ToolbarKey::Bold), 1);
    f->window().CreateDocumentWindow();
    QCOMPARE(value(ToolbarKey::Bold), 1);   // untouched until the new surface's selection changes
}

QTEST_MAIN(CommandsTest)
#include "tst_commands.moc"
