#pragma once

#include "platform/Dialogs.h"

#include <QStringList>

#include <deque>
#include <functional>
#include <vector>

// A Dialogs double for tests: answers come from queues filled by the test, and everything the
// program showed is recorded. A dialog with no queued answer is recorded in `unexpected` and
// answered with "cancel", so a test can never hang on a modal loop.
class ScriptedDialogs final : public Dialogs {
public:
    std::deque<QString> openAnswers; // "" = the user cancels
    std::deque<QString> saveAnswers; // "" = the user cancels
    std::deque<UnsavedChoice> unsavedAnswers;
    std::deque<std::function<int(QDialog&)>> modalAnswers;

    std::vector<FileDialogRequest> openRequests;
    std::vector<FileDialogRequest> saveRequests;
    QStringList messages;
    QStringList unsavedQuestions;
    QStringList unexpected;
    int beeps = 0;

    QString openFile(QWidget* parent, const FileDialogRequest& request) override;
    QString saveFile(QWidget* parent, const FileDialogRequest& request) override;
    void message(QWidget* parent, const QString& text) override;
    void beep() override;
    UnsavedChoice askUnsaved(QWidget* parent, const QString& documentName, const QString& before) override;
    int runModal(QDialog& dialog) override;

    void clear();
};
