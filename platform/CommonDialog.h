#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <memory>

class QPrinter;


// What a file dialog is asked to show. Filters are "description|pattern"
// pairs already split apart, in the order given.
struct FileDialogRequest {
    enum Kind { Open, Save };
    Kind kind = Open;
    QString title;
    QList<QPair<QString, QString>> filters;
    QString fileName;
};

// What a printer dialog is asked to show. The flags keep the common dialog's
// values: 0x1 preselects the selection range, 0x8 disables page ranges.
struct PrintDialogRequest {
    QString title;
    quint32 flags = 0;
    QPrinter *printer = nullptr;
};

// Who answers the dialogs: the person, through Qt's dialogs, or a script in tests.
class DialogBackend
{
public:
    virtual ~DialogBackend() = default;
    // The chosen path, or an empty string when the dialog was cancelled.
    virtual QString getFileName(const FileDialogRequest &request) = 0;
    // True when the person chose to print, false on cancel.
    virtual bool choosePrinter(const PrintDialogRequest &request) = 0;
};

class QtDialogBackend : public DialogBackend
{
public:
    explicit QtDialogBackend(QWidget *parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget *parent) { m_parent = parent; }
    QString getFileName(const FileDialogRequest &request) override;
    bool choosePrinter(const PrintDialogRequest &request) override;

private:
    QPointer<QWidget> m_parent;
};

// The main window's one common dialog. It keeps every property a command
// sets until another command sets it again.
class CommonDialog
{
public:
    // Printer dialog flags.
    static constexpr quint32 cdlPDAllPages = 0x0;
    static constexpr quint32 cdlPDSelection = 0x1;
    static constexpr quint32 cdlPDNoPageNums = 0x8;
    static constexpr quint32 cdlPDReturnDC = 0x100;

    explicit CommonDialog(DialogBackend *backend);
    ~CommonDialog();

    QString DialogTitle;
    bool CancelError = false;
    QString Filter;         // "description|pattern|description|pattern..."
    QString FileName;
    quint32 Flags = 0;

    // Modal dialogs. With CancelError on, a cancel throws Failure with the
    // code CancelErrorCode; with it off, a cancelled file dialog leaves
    // FileName empty.
    void ShowOpen();
    void ShowSave();
    void ShowPrinter();

    // The printer the last printer dialog chose.
    QPrinter *hDC();

    static QList<QPair<QString, QString>> parseFilter(const QString &filter);

private:
    void showFile(FileDialogRequest::Kind kind);

    DialogBackend *m_backend;
    std::unique_ptr<QPrinter> m_printer;
};
