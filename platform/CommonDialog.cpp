#include "platform/CommonDialog.h"

#include "platform/Failure.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QPrintDialog>
#include <QPrinter>

QList<QPair<QString, QString>> CommonDialog::parseFilter(const QString &filter)
{
    QList<QPair<QString, QString>> pairs;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        pairs.append({parts.at(i), parts.at(i + 1)});
    return pairs;
}

CommonDialog::CommonDialog(DialogBackend *backend)
    : m_backend(backend)
{
}

CommonDialog::~CommonDialog() = default;

void CommonDialog::showFile(FileDialogRequest::Kind kind)
{
    FileDialogRequest request;
    request.kind = kind;
    request.title = DialogTitle;
    request.filters = parseFilter(Filter);
    request.fileName = FileName;
    FileName = m_backend->getFileName(request);
    if (FileName.isEmpty() && CancelError)
        throw Failure(QStringLiteral("Cancel was selected."), CancelErrorCode);
}

void CommonDialog::ShowOpen() { showFile(FileDialogRequest::Open); }
void CommonDialog::ShowSave() { showFile(FileDialogRequest::Save); }

QPrinter *CommonDialog::hDC()
{
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return m_printer.get();
}

void CommonDialog::ShowPrinter()
{
    PrintDialogRequest request;
    request.title = DialogTitle;
    request.flags = Flags;
    request.printer = hDC();
    if (!m_backend->choosePrinter(request) && CancelError)
        throw Failure(QStringLiteral("Cancel was selected."), CancelErrorCode);
}

// ---- Qt's dialogs ----------------------------------------------------------------

namespace {

// Qt reads a filter's patterns from the parentheses at the end of its text,
// and "*.*" would hide names without a dot: "All Files" means every file.
QString patternFor(const QString &pattern)
{
    return pattern == QLatin1String("*.*") ? QStringLiteral("*") : pattern;
}

} // namespace

QString QtDialogBackend::getFileName(const FileDialogRequest &request)
{
    QFileDialog dialog(m_parent, request.title);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(request.kind == FileDialogRequest::Open ? QFileDialog::AcceptOpen
                                                                 : QFileDialog::AcceptSave);
    dialog.setFileMode(request.kind == FileDialogRequest::Open ? QFileDialog::ExistingFile
                                                               : QFileDialog::AnyFile);
    QStringList names;
    QList<QString> patterns;
    for (const auto &[description, pattern] : request.filters) {
        names.append(description);
        patterns.append(patternFor(pattern));
    }
    if (!names.isEmpty()) {
        dialog.setNameFilters(names);
        auto apply = [&dialog, names, patterns](const QString &chosen) {
            const qsizetype index = names.indexOf(chosen);
            if (auto *model = dialog.findChild<QFileSystemModel *>(); model && index >= 0)
                model->setNameFilters(patterns.at(index).split(QLatin1Char(';')));
        };
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, apply);
        dialog.selectNameFilter(names.first());
        apply(names.first());
    }
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

bool QtDialogBackend::choosePrinter(const PrintDialogRequest &request)
{
    QPrintDialog dialog(request.printer, m_parent);
    dialog.setWindowTitle(request.title);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, true);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange,
                     !(request.flags & CommonDialog::cdlPDNoPageNums));
    request.printer->setPrintRange((request.flags & CommonDialog::cdlPDSelection) ? QPrinter::Selection
                                                                                  : QPrinter::AllPages);
    return dialog.exec() == QDialog::Accepted;
}
