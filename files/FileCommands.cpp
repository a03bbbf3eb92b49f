// Open, Save and Save As. A document window's caption is its only record of
// its file: "Document N" has none, anything else is the file's full path.
// A command stops at the step that fails and says why. A changed document
// is not closed or replaced before the person is asked whether to save it.

#include "app/frmMain.h"

#include "document/frmDocument.h"
#include "platform/CommonDialog.h"
#include "platform/Failure.h"
#include "platform/MessageSink.h"
#include "platform/RichTextBox.h"

#include <QDir>
#include <QFileInfo>
#include <QMdiArea>

namespace {

constexpr QLatin1StringView OwnFiles{"Scribvale Files (*vrx*)|*vrx*"};
constexpr QLatin1StringView TextFiles{"Txt Files (*txt*)|*txt*"};
constexpr QLatin1StringView AllFiles{"All Files (*.*)|*.*"};

bool isUntitled(const frmDocument *document)
{
    return document->Caption().left(8) == QLatin1String("Document");
}

// Beside the original, under its name, as RTF: "letter.docx" -> "letter.rtf".
QString rtfBeside(const QString &path)
{
    const QFileInfo info(path);
    return info.dir().filePath(info.completeBaseName() + QStringLiteral(".rtf"));
}

} // namespace

void frmMain::mnuFileOpen_Click()
{
    if (!ActiveDocument())
        CreateDocumentWindow();
    // The file replaces the whole content: its changes are asked about first.
    if (!AskToSaveChanges(ActiveDocument()))
        return;
    try {
        m_dialog->DialogTitle = QStringLiteral("Open");
        m_dialog->CancelError = false;
        m_dialog->Filter = QStringList{OwnFiles, TextFiles, AllFiles}.join(u'|');
        m_dialog->ShowOpen();
        const QString path = m_dialog->FileName;
        if (path.isEmpty())
            return;
        activeSurface().LoadFile(path);
        ActiveDocument()->setCaption(path);
    } catch (const Failure &failure) {
        showFailure(tr("Open"), failure.message());
    }
}

void frmMain::mnuFileSave_Click()
{
    if (frmDocument *document = ActiveDocument())
        saveDocument(document);
}

bool frmMain::saveDocument(frmDocument *document)
{
    try {
        // A document read from a .docx or an .odt is saved as for an untitled
        // one: RTF under the original's name would replace what it holds.
        const bool foreign = !isUntitled(document) && document->rtfText->ForeignFile() == document->Caption();
        if (isUntitled(document) || foreign) {
            m_dialog->DialogTitle = QStringLiteral("Save");
            m_dialog->CancelError = false;
            m_dialog->Filter = OwnFiles;
            if (foreign)
                m_dialog->FileName = rtfBeside(document->Caption());
            m_dialog->ShowSave();
            if (m_dialog->FileName.isEmpty())
                return false;
            // The document stays untitled: the next Save asks again.
            document->rtfText->SaveFile(m_dialog->FileName);
        } else {
            document->rtfText->SaveFile(document->Caption());
        }
        return true;
    } catch (const Failure &failure) {
        showFailure(tr("Save"), failure.message());
        return false;
    }
}

void frmMain::mnuFileSaveAs_Click()
{
    if (!ActiveDocument())
        return;
    try {
        m_dialog->DialogTitle = QStringLiteral("Save As");
        m_dialog->CancelError = false;
        m_dialog->Filter = OwnFiles;
        m_dialog->ShowSave();
        const QString path = m_dialog->FileName;
        if (path.isEmpty())
            return;
        // Titled before the write, so a failed write leaves the new path for
        // the next Save to try again.
        ActiveDocument()->setCaption(path);
        activeSurface().SaveFile(path);
    } catch (const Failure &failure) {
        showFailure(tr("Save As"), failure.message());
    }
}

bool frmMain::AskToSaveChanges(frmDocument *document)
{
    if (!document || !document->rtfText->Modified())
        return true;
    // The window asked about is brought forward and the question shown over
    // it, so the person sees which one it is.
    m_mdiArea->setActiveSubWindow(document);
    const QString question = tr("Save changes to %1?").arg(document->Caption());
    switch (m_services.messages->askToSave(document, windowTitle(), question)) {
    case MessageSink::SaveAnswer::Save: return saveDocument(document);
    case MessageSink::SaveAnswer::DontSave: return true;
    case MessageSink::SaveAnswer::Cancel: break;
    }
    return false;
}
