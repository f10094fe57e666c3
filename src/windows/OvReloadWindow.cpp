#include "windows/OvReloadWindow.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

namespace {

QFont pixelFont(int pixels) {
    QFont font;
    font.setPixelSize(pixels);
    return font;
}

} // namespace

OvReloadWindow::OvReloadWindow(int loadID, QWidget* parent) : QDialog(parent), OvLoadID(loadID) {
    setObjectName(QStringLiteral("OvReloadWindow"));
    setWindowTitle(QStringLiteral("Re-Load Graphics from File"));
    setModal(true);
    setFixedSize(kWidth, kHeight);
    setSizeGripEnabled(false);
    CreateControls();
    Event_Open();
    PopupMenu1_Open();
}

void OvReloadWindow::CreateControls() {
    auto place = [this](QWidget* control, const char* name, int left, int top, int width, int height) {
        control->setObjectName(QString::fromLatin1(name));
        control->setGeometry(left, top, width, height);
        control->setFont(pixelFont(12));
    };
    auto button = [this, &place](const char* text, const char* name, int left, int top, int width,
                                 int height) {
        auto* b = new QPushButton(QString::fromLatin1(text), this);
        // None of the buttons is a default or cancel button: Return must not pick a source.
        b->setAutoDefault(false);
        b->setDefault(false);
        place(b, name, left, top, width, height);
        return b;
    };

    StaticTextReload1 = new QLabel(QStringLiteral("select resource picture:"), this);
    place(StaticTextReload1, "StaticTextReload1", 13, 13, 166, 21);
    PopupMenu1 = new QComboBox(this);
    for (const char* row : {"1013 <over>", "1014 <arnh>", "1015 <nijm>", "1016 <eind>", "1017 <about>",
                            "1018 ppat/ext.", "1019 extension", "1020 extension", "1021 extension",
                            "1022 extension", "1023 extension", "1024 extension"})
        PopupMenu1->addItem(QString::fromLatin1(row));
    place(PopupMenu1, "PopupMenu1", 185, 11, 156, 20);
    StaticTextReload2 = new QLabel(QStringLiteral("select resource file:"), this);
    place(StaticTextReload2, "StaticTextReload2", 13, 73, 166, 21);
    PushButtonReloadIntrface = button("from Intrface.brm...", "PushButtonReloadIntrface", 185, 58, 150, 20);
    PushButtonReloadUI = button("from UI...", "PushButtonReloadUI", 185, 88, 150, 20);
    PushButtonReloadExternal = button("from external file...", "PushButtonReloadExternal", 185, 118, 150, 20);
    PushButtonReloadCancel = button("Cancel", "PushButtonReloadCancel", 57, 113, 69, 20);

    // `activated` is the user's choice only; PopupMenu1_Open sets the row from code.
    connect(PopupMenu1, &QComboBox::activated, this, &OvReloadWindow::PopupMenu1_Change);
    connect(PushButtonReloadIntrface, &QPushButton::clicked, this,
            &OvReloadWindow::PushButtonReloadIntrface_Action);
    connect(PushButtonReloadUI, &QPushButton::clicked, this, &OvReloadWindow::PushButtonReloadUI_Action);
    connect(PushButtonReloadExternal, &QPushButton::clicked, this,
            &OvReloadWindow::PushButtonReloadExternal_Action);
    connect(PushButtonReloadCancel, &QPushButton::clicked, this,
            &OvReloadWindow::PushButtonReloadCancel_Action);
}

void OvReloadWindow::Event_Open() {
    OvLoadFile = kNone;
}

void OvReloadWindow::PopupMenu1_Open() {
    // The ID comes from a file and may be any Int32.
    const long long row = static_cast<long long>(OvLoadID) - kFirstID;
    // An ID outside the rows leaves the popup showing nothing; the ID itself is kept.
    PopupMenu1->setCurrentIndex(row >= 0 && row < PopupMenu1->count() ? static_cast<int>(row) : -1);
}

void OvReloadWindow::PopupMenu1_Change() {
    const int row = PopupMenu1->currentIndex();
    if (row >= 0)
        OvLoadID = kFirstID + row;
}

void OvReloadWindow::choose(int source) {
    OvLoadFile = source;
    accept();
}

void OvReloadWindow::PushButtonReloadIntrface_Action() {
    choose(kFromIntrface);
}
void OvReloadWindow::PushButtonReloadUI_Action() {
    choose(kFromUI);
}
void OvReloadWindow::PushButtonReloadExternal_Action() {
    choose(kFromExternalFile);
}

// Cancel and the window's close box leave OvLoadFile at "none", so nothing is loaded.
void OvReloadWindow::PushButtonReloadCancel_Action() {
    reject();
}
