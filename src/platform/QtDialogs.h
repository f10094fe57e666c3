#pragma once

#include "platform/Dialogs.h"

// The real dialogs. File dialogs are Qt's own (not the native ones) on every platform, because
// only they can show the program's prompt text inside the dialog.
class QtDialogs final : public Dialogs {
public:
    QString openFile(QWidget* parent, const FileDialogRequest& request) override;
    QString saveFile(QWidget* parent, const FileDialogRequest& request) override;
    void message(QWidget* parent, const QString& text) override;
    void beep() override;
    UnsavedChoice askUnsaved(QWidget* parent, const QString& documentName, const QString& before) override;
    int runModal(QDialog& dialog) override;
};
