#include "about/Form1.h"

#include "platform/Twips.h"

#include <QLabel>
#include <QPushButton>

QSize Form1::designSize()
{
    return QSize(twips::toPixels(6225), twips::toPixels(3420));
}

Form1::Form1(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(tr("About"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/app.xpm")));
    resize(designSize());
    // The small dialog font the layout was drawn for.
    QFont dialogFont = font();
    dialogFont.setPointSize(8);
    setFont(dialogFont);

    const auto place = [](QWidget *widget, int left, int top, int width, int height) {
        widget->setGeometry(twips::toPixels(left), twips::toPixels(top), twips::toPixels(width),
                            twips::toPixels(height));
    };
    const auto label = [this, &place](const char *name, const QString &text, int left, int top, int width,
                                      int height) {
        auto *widget = new QLabel(text, this);
        widget->setObjectName(QString::fromUtf8(name));
        widget->setAccessibleName(text);
        place(widget, left, top, width, height);
        return widget;
    };

    // In tab order.
    Label1 = label("Label1", QStringLiteral("Scribvale"), 840, 240, 3615, 495);
    QFont title(QStringLiteral("MS Sans Serif"));
    title.setPointSize(18);
    Label1->setFont(title);
    QPalette red = Label1->palette();
    red.setColor(QPalette::WindowText, QColor(192, 0, 0));
    Label1->setPalette(red);

    Label2 = label("Label2", tr("Made by"), 240, 1080, 855, 255);
    Label3 = label("Label3", tr("Scribvale team"), 960, 1440, 1575, 255);
    Label4 = label("Label4", tr("MIT licence"), 2160, 3120, 1455, 255);
    Label5 = label("Label5", tr("Version 1.0  (c) 2026 Scribvale team"), 1320, 2760, 3255, 255);

    Command1 = new QPushButton(tr("Ok"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);
    place(Command1, 3720, 1440, 2055, 735);
    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);

    Label7 = label("Label7", QStringLiteral("https://scribvale.github.io"), 360, 1800, 3015, 255);
    Label8 = label("Label8", QStringLiteral("team@scribvale.org"), 225, 2160, 3015, 255);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setAccessibleName(tr("Program icon"));
    Image1->setScaledContents(true);
    Image1->setPixmap(QPixmap(QStringLiteral(":/icons/app.xpm")));
    place(Image1, 240, 240, 480, 480);
}

void Form1::Show()
{
    if (!isVisible() && windowHandle()) {
        // Closed since it was last shown: loaded afresh, at its design size
        // and where the window system places a new window.
        destroy();
        setAttribute(Qt::WA_Moved, false);
        resize(designSize());
    }
    show();
    raise();
    activateWindow();
}

void Form1::Command1_Click()
{
    close();
}
