#pragma once

#include <QMdiSubWindow>

class RichTextBox;

// A document window: one rich-text surface inside the main window's
// document area, kept 100 twips inside the window's client area. Its
// caption is the document's only record of its file.
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

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_client;
};
