#include "platform/Dialogs.h"

#include "platform/QtDialogs.h"

namespace {
std::unique_ptr<Dialogs>& installed() {
    static std::unique_ptr<Dialogs> current = std::make_unique<QtDialogs>();
    return current;
}
} // namespace

Dialogs& dialogs() {
    return *installed();
}

std::unique_ptr<Dialogs> installDialogs(std::unique_ptr<Dialogs> replacement) {
    std::unique_ptr<Dialogs> previous = std::move(installed());
    installed() = std::move(replacement);
    return previous;
}

void MsgBox(const QString& text, QWidget* parent) {
    dialogs().message(parent, text);
}

void Beep() {
    dialogs().beep();
}
