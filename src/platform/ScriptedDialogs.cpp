#include "platform/ScriptedDialogs.h"

#include <QDialog>

QString ScriptedDialogs::openFile(QWidget*, const FileDialogRequest& request) {
    openRequests.push_back(request);
    if (openAnswers.empty()) {
        unexpected << QStringLiteral("open: ") + request.title;
        return {};
    }
    QString answer = openAnswers.front();
    openAnswers.pop_front();
    return answer;
}

QString ScriptedDialogs::saveFile(QWidget*, const FileDialogRequest& request) {
    saveRequests.push_back(request);
    if (saveAnswers.empty()) {
        unexpected << QStringLiteral("save: ") + request.title;
        return {};
    }
    QString answer = saveAnswers.front();
    saveAnswers.pop_front();
    return answer;
}

void ScriptedDialogs::message(QWidget*, const QString& text) {
    messages << text;
}

void ScriptedDialogs::beep() {
    ++beeps;
}

UnsavedChoice ScriptedDialogs::askUnsaved(QWidget*, const QString& documentName, const QString&) {
    unsavedQuestions << documentName;
    if (unsavedAnswers.empty()) {
        unexpected << QStringLiteral("unsaved: ") + documentName;
        return UnsavedChoice::Cancel;
    }
    const UnsavedChoice answer = unsavedAnswers.front();
    unsavedAnswers.pop_front();
    return answer;
}

int ScriptedDialogs::runModal(QDialog& dialog) {
    if (modalAnswers.empty()) {
        unexpected << QStringLiteral("modal: ") + dialog.windowTitle();
        return QDialog::Rejected;
    }
    auto answer = std::move(modalAnswers.front());
    modalAnswers.pop_front();
    return answer(dialog);
}

void ScriptedDialogs::clear() {
    *this = ScriptedDialogs();
}
