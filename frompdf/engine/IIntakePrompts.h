#pragma once

#include <QString>
#include <QStringList>

class IProgress;

// What adding PDFs needs from the view layer, kept behind an interface so that the intake has no
// widgets: the "Add files" progress dialog, the password prompt and two messages. The "From PDF"
// tab implements it with its ProgressDialog, MessagePassword and MessageView.
class IIntakePrompts
{
public:
    // How the user left the password prompt that also offers SKIP and SKIP ALL.
    enum class PasswordChoice {
        Closed,
        Ok,
        Skip,
        SkipAll
    };

    // Shows the modal "Add files" progress dialog and returns its progress (not owned).
    virtual IProgress* showAddProgress() = 0;
    // Hides it again (the dialog's hide slot, invoked queued).
    virtual void hideAddProgress() = 0;
    // Asks for the password of fileName. False when the prompt was closed without OK; the typed
    // text (not trimmed) otherwise.
    virtual bool askPassword(const QString& fileName, QString* password) = 0;
    // The same prompt with SKIP and SKIP ALL shown, before a conversion; the typed text (not
    // trimmed) is filled only for Ok.
    virtual PasswordChoice askPasswordOrSkip(const QString& fileName, QString* password) = 0;
    // "The password for %1 is incorrect", titled "Can not open file".
    virtual void showWrongPassword(const QString& fileName) = 0;
    // The files (names with extension) that could not be opened as PDFs and were not added.
    virtual void showUnreadableFiles(const QStringList& fileNames) = 0;

protected:
    ~IIntakePrompts() = default;
};
