#include "document/frmDocument.h"

#include "platform/Failure.h"
#include "platform/RichTextBox.h"
#include "platform/Twips.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QEvent>
#include <QKeyEvent>
#include <QUrl>

namespace {
constexpr double Margin = 100;           // from the left and top of the client area
constexpr double BorderAllowance = 200;  // 100 on each side
constexpr double WrapAllowance = 400;    // lines wrap this far inside the surface

// Ctrl+F4 closes a document window on every desktop, not only where it is
// the platform's own key for closing.
bool isCloseKey(const QKeyEvent *event)
{
    return event->keyCombination() == QKeyCombination(Qt::ControlModifier, Qt::Key_F4);
}
} // namespace

frmDocument::frmDocument(QWidget *parent)
    : QMdiSubWindow(parent),
      rtfText(nullptr),
      m_client(new QWidget)
{
    setObjectName(QStringLiteral("frmDocument"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(QIcon(QStringLiteral(":/icons/app.xpm")));
    setWindowTitle(QStringLiteral("frmDocument"));

    m_client->setObjectName(QStringLiteral("client"));
    m_client->setBackgroundRole(QPalette::Window);
    m_client->setAutoFillBackground(true);
    rtfText = new RichTextBox(m_client);
    rtfText->setObjectName(QStringLiteral("rtfText"));
    m_client->setFocusProxy(rtfText);
    setWidget(m_client);
    m_client->installEventFilter(this);

    connect(rtfText, &RichTextBox::SelChange, this, &frmDocument::rtfText_SelChange);
    connect(rtfText, &RichTextBox::linkActivated, this, [](const QUrl &url) { QDesktopServices::openUrl(url); });

    Form_Load();
}

void frmDocument::setCaption(const QString &caption)
{
    setWindowTitle(caption);
    setAccessibleName(caption);
}

QSize frmDocument::sizeHint() const
{
    return QSize(twips::toPixels(7200), twips::toPixels(4800));
}

double frmDocument::ScaleWidth() const { return twips::fromPixels(m_client->width()); }
double frmDocument::ScaleHeight() const { return twips::fromPixels(m_client->height()); }

void frmDocument::Form_Load()
{
    Form_Resize();
}

void frmDocument::Form_Resize()
{
    // Each step on its own: a move the surface refuses (a client area
    // smaller than the border) keeps its last good size.
    attempt([&] { rtfText->Move(Margin, Margin, ScaleWidth() - BorderAllowance, ScaleHeight() - BorderAllowance); });
    attempt([&] { rtfText->setRightMargin(rtfText->Width() - WrapAllowance); });
}

bool frmDocument::event(QEvent *event)
{
    // Taken before any shortcut of the same key, so the window closes once.
    if (event->type() == QEvent::ShortcutOverride && isCloseKey(static_cast<QKeyEvent *>(event))) {
        event->accept();
        return true;
    }
    return QMdiSubWindow::event(event);
}

void frmDocument::keyPressEvent(QKeyEvent *event)
{
    if (isCloseKey(event)) {
        event->accept();
        close();
        return;
    }
    QMdiSubWindow::keyPressEvent(event);
}

bool frmDocument::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_client && event->type() == QEvent::Resize)
        Form_Resize();
    return QMdiSubWindow::eventFilter(watched, event);
}

void frmDocument::closeEvent(QCloseEvent *event)
{
    bool cancel = false;
    emit QueryUnload(cancel);
    if (cancel) {
        event->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(event);
}
