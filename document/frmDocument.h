#pragma once

#include <QMdiSubWindow>

class RichTextBox;

// A document window: one rich-text surface inside the main window's
// document area, kept 100 twips inside the window's client area. Its
// caption is the document's only record of its file. The main window that
// makes it wires it: the buttons its selection asks for, its surface's own
// clipboard routes (copyRequested and the like), and whether it may close.
class frmDocument : public QMdiSubWindow
{
    Q_OBJECT

public:
    explicit frmDocument(QWidget *parent = nullptr);

    QString Caption() const { return windowTitle(); }
    void setCaption(const QString &caption);

    void Form_Load();
    void Form_Resize();
    void rtfText_SelChange();

    // Client area in twips.
    double ScaleWidth() const;
    double ScaleHeight() const;

    RichTextBox *rtfText;

    QSize sizeHint() const override;

signals:
    // Raised by rtfText_SelChange for each of the toolbar's six style and
    // alignment buttons in turn: the button's key and the Value it is to show.
    void ButtonValue(const QString &key, int value);
    // Raised before the window closes, by whatever route: its close box,
    // Ctrl+F4, or the main window closing. Setting `cancel` keeps it open.
    void QueryUnload(bool &cancel);

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QWidget *m_client;
};
