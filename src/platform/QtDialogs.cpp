#include "platform/QtDialogs.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>

namespace {

QString runFileDialog(QWidget* parent, const FileDialogRequest& request, QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent, request.title);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    // Game files have no extension, so the only sensible filter shows everything.
    dialog.setNameFilter(QStringLiteral("All files (*)"));
    dialog.setFilter(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System);
    dialog.resize(760, 480);

    if (!request.initialLocation.isEmpty()) {
        const QFileInfo info(request.initialLocation);
        if (info.isDir()) {
            dialog.setDirectory(info.absoluteFilePath());
        } else {
            dialog.setDirectory(info.absolutePath());
            if (info.exists())
                dialog.selectFile(info.fileName());
        }
    }
    if (!request.suggestedFileName.isEmpty())
        dialog.selectFile(request.suggestedFileName);

    if (!request.promptText.isEmpty()) {
        auto* prompt = new QLabel(request.promptText, &dialog);
        prompt->setWordWrap(true);
        prompt->setObjectName(QStringLiteral("promptText"));
        if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
            grid->addWidget(prompt, grid->rowCount(), 0, 1, grid->columnCount());
    }

    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

QString QtDialogs::openFile(QWidget* parent, const FileDialogRequest& request) {
    return runFileDialog(parent, request, QFileDialog::AcceptOpen);
}

QString QtDialogs::saveFile(QWidget* parent, const FileDialogRequest& request) {
    return runFileDialog(parent, request, QFileDialog::AcceptSave);
}

void QtDialogs::message(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), text, QMessageBox::Ok, parent);
    box.exec();
}

void QtDialogs::beep() {
    QApplication::beep();
}

UnsavedChoice QtDialogs::askUnsaved(QWidget* parent, const QString& documentName, const QString& before) {
    QMessageBox box(QMessageBox::Warning, QApplication::applicationName(),
                    QStringLiteral("Save the changes to \u201c%1\u201d before %2?").arg(documentName, before),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
    box.setInformativeText(QStringLiteral("Your changes will be lost if you don\u2019t save them."));
    box.setDefaultButton(QMessageBox::Save);
    switch (box.exec()) {
    case QMessageBox::Save:
        return UnsavedChoice::Save;
    case QMessageBox::Discard:
        return UnsavedChoice::Discard;
    default:
        return UnsavedChoice::Cancel;
    }
}

int QtDialogs::runModal(QDialog& dialog) {
    return dialog.exec();
}
