#pragma once

#include <QString>

#include <memory>

class QDialog;
class QWidget;

// What the program asks of an open or save dialog. Every dialog of the program shows files of
// any type, so there is no filter field.
struct FileDialogRequest {
    QString title;
    QString promptText;        // always shown to the user, inside the dialog
    QString initialLocation;   // a local file or folder; empty: the dialog's default place
    QString suggestedFileName; // save dialogs only
};

enum class UnsavedChoice { Save, Discard, Cancel };

// Every modal question the program asks goes through this interface, so that tests can answer
// from a script instead of running a nested event loop. Only the GUI thread calls it.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // The chosen path, or an empty string when the user cancelled.
    virtual QString openFile(QWidget* parent, const FileDialogRequest& request) = 0;
    virtual QString saveFile(QWidget* parent, const FileDialogRequest& request) = 0;

    // A modal message with one OK button.
    virtual void message(QWidget* parent, const QString& text) = 0;
    virtual void beep() = 0;

    // Asked before edits that were never saved would be thrown away; `before` says by what
    // ("closing", "loading another file").
    virtual UnsavedChoice askUnsaved(QWidget* parent, const QString& documentName, const QString& before) = 0;

    // Runs a modal dialog of the program's own (e.g. the graphics reload dialog) and returns
    // QDialog::exec's result.
    virtual int runModal(QDialog& dialog) = 0;
};

// The installed implementation; the Qt one unless a test installed another.
Dialogs& dialogs();
// Installs `replacement` and returns the previous implementation (so a test can restore it).
std::unique_ptr<Dialogs> installDialogs(std::unique_ptr<Dialogs> replacement);

// The two calls the program makes most often, named as the program's own code names them.
void MsgBox(const QString& text, QWidget* parent = nullptr);
void Beep();
