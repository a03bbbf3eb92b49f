#include "app/frmMain.h"

#include "app/Module1.h"
#include "document/frmDocument.h"
#include "platform/CommonDialog.h"
#include "platform/Failure.h"
#include "platform/MessageSink.h"
#include "platform/RichTextBox.h"
#include "platform/SettingsStore.h"
#include "platform/Twips.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QMdiArea>
#include <QPointer>
#if QT_CONFIG(sessionmanager)
#include <QSessionManager>
#endif
#include <QSlider>

#include <algorithm>
#include <climits>
#include <cmath>
#include <optional>

static void initResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace {

constexpr QLatin1StringView AppTitle{"Project2"};
constexpr QLatin1StringView SettingsSection{"Settings"};

// Placement values the window system can take, in pixels. A stored value
// outside them, or one that is not a number at all, counts as absent.
constexpr double MaxCoordinate = 32767;

std::optional<double> placementValue(const QString &text, bool isSize)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    const double pixels = value * twips::dpi() / 1440.0;
    if (pixels > MaxCoordinate || pixels < (isSize ? 0 : -MaxCoordinate))
        return std::nullopt;
    return value;
}

QString twipsText(int pixels)
{
    return QString::number(float(twips::fromPixels(pixels)), 'g', 9);
}

} // namespace

frmMain::frmMain(const Services &services, QWidget *parent)
    : QMainWindow(parent),
      m_services(services),
      m_dialog(std::make_unique<CommonDialog>(services.dialogs))
{
    initResources();
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Scribvale"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/app.xpm")));
    // The bars are shown and hidden from the View menu alone.
    setContextMenuPolicy(Qt::NoContextMenu);

    m_mdiArea = new QMdiArea(this);
    m_mdiArea->setObjectName(QStringLiteral("mdiArea"));
    m_mdiArea->setBackground(palette().brush(QPalette::Dark));
    m_mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdiArea);

    createMenus();
    createToolBar();
    createFormattingBar();
    createStatusBar();

    // Design size of the client area; the placement read at load replaces it.
    resize(twips::toPixels(15120), twips::toPixels(5220));

#if QT_CONFIG(sessionmanager)
    connect(qApp, &QGuiApplication::commitDataRequest, this, &frmMain::App_CommitDataRequest, Qt::DirectConnection);
#endif
}

frmMain::~frmMain()
{
    // The document windows go while the main window they report to is whole.
    qDeleteAll(m_mdiArea->subWindowList());
}

// ---- lifecycle -------------------------------------------------------------------------

void frmMain::Load()
{
    if (m_loaded)
        return;
    m_loaded = true;
    MDIForm_Load();
}

bool frmMain::event(QEvent *event)
{
    // A window is polished once, before it is first shown and before a
    // maximised show takes the normal placement: the moment to load it.
    const bool result = QMainWindow::event(event);
    if (event->type() == QEvent::Polish)
        Load();
    return result;
}

void frmMain::MDIForm_Load()
{
    SettingsStore &store = *m_services.settings;
    const auto read = [&](const QString &key, int fallback, bool isSize) {
        const QString text = store.GetSetting(AppTitle, SettingsSection, key, QString::number(fallback));
        return twips::toPixels(placementValue(text, isSize).value_or(fallback));
    };
    // Applied one at a time, in this order, each as soon as it is read.
    move(read(QStringLiteral("MainLeft"), 1000, false), y());
    move(x(), read(QStringLiteral("MainTop"), 1000, false));
    resize(read(QStringLiteral("MainWidth"), 6500, true), height());
    resize(width(), read(QStringLiteral("MainHeight"), 6500, true));

    CreateDocumentWindow();
}

void frmMain::MDIForm_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    if (isMinimized())
        return; // the placement stored before stays as it was
    SettingsStore &store = *m_services.settings;
    store.SaveSetting(AppTitle, SettingsSection, QStringLiteral("MainLeft"), twipsText(x()));
    store.SaveSetting(AppTitle, SettingsSection, QStringLiteral("MainTop"), twipsText(y()));
    store.SaveSetting(AppTitle, SettingsSection, QStringLiteral("MainWidth"), twipsText(width()));
    store.SaveSetting(AppTitle, SettingsSection, QStringLiteral("MainHeight"), twipsText(height()));
}

void frmMain::MDIForm_QueryUnload(bool &cancel)
{
    // A document window that stays open (its changes neither saved nor
    // declined) stops the close; those closed before it stay closed.
    for (const QPointer<QMdiSubWindow> window : m_mdiArea->subWindowList()) {
        if (window && !window->close()) {
            cancel = true;
            return;
        }
    }
}

void frmMain::closeEvent(QCloseEvent *event)
{
    // Every document window closes first; then the placement is saved.
    bool cancel = false;
    MDIForm_QueryUnload(cancel);
    if (cancel) {
        event->ignore();
        return;
    }
    MDIForm_Unload();
    event->accept();
}

void frmMain::mnuFileExit_Click()
{
    close();
}

void frmMain::App_CommitDataRequest(QSessionManager &manager)
{
#if QT_CONFIG(sessionmanager)
    if (!isVisible())
        return;
    // With changes to ask about, the session must let the program ask;
    // otherwise the documents stay as they are.
    const QList<frmDocument *> open = documents();
    const bool changed = std::any_of(open.begin(), open.end(), [](frmDocument *d) { return d->rtfText->Modified(); });
    if (changed && !manager.allowsInteraction())
        return;
    const bool closed = close();
    if (changed)
        manager.release();
    if (!closed)
        manager.cancel();
#else
    Q_UNUSED(manager);
#endif
}

// ---- document windows --------------------------------------------------------------------

void frmMain::CreateDocumentWindow()
{
    // The counter never wraps: at its largest value no further window is made.
    if (m_documentCount == INT_MAX)
        return;
    ++m_documentCount;
    auto *document = new frmDocument();
    // Wired as it is made: its selection shows on the toolbar, and its
    // surface's own clipboard keys and menu run the Edit commands.
    connect(document, &frmDocument::ButtonValue, this, [this](const QString &key, int value) {
        if (KeyedToolBar::Button *button = m_toolBar->Buttons(key))
            button->setValue(value);
    });
    connect(document->rtfText, &RichTextBox::copyRequested, this, &frmMain::mnuEditCopy_Click);
    connect(document->rtfText, &RichTextBox::cutRequested, this, &frmMain::mnuEditCut_Click);
    connect(document->rtfText, &RichTextBox::pasteRequested, this, &frmMain::mnuEditPaste_Click);
    connect(document, &frmDocument::QueryUnload, this,
            [this, document](bool &cancel) { cancel = !AskToSaveChanges(document); });
    document->setCaption(QStringLiteral("Document ") + QString::number(m_documentCount));
    m_mdiArea->addSubWindow(document);
    document->show();
    m_mdiArea->setActiveSubWindow(document);
}

void frmMain::mnuFileNew_Click()
{
    CreateDocumentWindow();
}

void frmMain::mnuWindowNewWindow_Click()
{
    CreateDocumentWindow();
}

frmDocument *frmMain::ActiveDocument() const
{
    // The current window stays current while another top-level window (a
    // dialog, the About window) has the focus.
    return qobject_cast<frmDocument *>(m_mdiArea->currentSubWindow());
}

QList<frmDocument *> frmMain::documents() const
{
    QList<frmDocument *> list;
    for (QMdiSubWindow *window : m_mdiArea->subWindowList(QMdiArea::CreationOrder))
        if (auto *document = qobject_cast<frmDocument *>(window))
            list.append(document);
    return list;
}

RichTextBox &frmMain::activeSurface() const
{
    frmDocument *document = ActiveDocument();
    if (!document)
        throw Failure(tr("No document is open."));
    return *document->rtfText;
}

void frmMain::showFailure(const QString &title, const QString &text)
{
    m_services.messages->warning(this, title, text);
}
