#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

// The About window: a small top-level window with no owner that names the
// program and its version. Closing it keeps the object for the next showing.
class Form1 : public QWidget
{
    Q_OBJECT

public:
    explicit Form1(QWidget *parent = nullptr);

    // Shows the window modeless, raised; loads it afresh after a close.
    void Show();
    void Command1_Click();

    // The client area as designed.
    static QSize designSize();

    QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label7, *Label8, *Image1;
    QPushButton *Command1;
};
