#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;

// "Re-Load Graphics from File": picks a picture ID and the source to load it from. The choice is
// the dialog's OvLoadID and OvLoadFile, which the editing window reads once the dialog has
// closed. Run it through dialogs().runModal() so that tests can answer it.
class OvReloadWindow : public QDialog {
    Q_OBJECT
public:
    static constexpr int kWidth = 361;
    static constexpr int kHeight = 153;

    // Values of OvLoadFile.
    static constexpr int kFromIntrface = 0;
    static constexpr int kFromUI = 1;
    static constexpr int kFromExternalFile = 2;
    static constexpr int kNone = -1;

    // Row r of the popup stands for picture ID kFirstID + r.
    static constexpr int kFirstID = 1013;

    // The popup starts on `loadID`, the editing window's picture ID.
    explicit OvReloadWindow(int loadID = 0, QWidget* parent = nullptr);

    // The choice: the picture ID (1013 + the popup's row) and the source; kNone until a source
    // button is pressed (Cancel and the close box leave it so).
    int OvLoadID = 0;
    int OvLoadFile = kNone;

    QLabel* StaticTextReload1 = nullptr;
    QComboBox* PopupMenu1 = nullptr;
    QLabel* StaticTextReload2 = nullptr;
    QPushButton* PushButtonReloadIntrface = nullptr;
    QPushButton* PushButtonReloadUI = nullptr;
    QPushButton* PushButtonReloadExternal = nullptr;
    QPushButton* PushButtonReloadCancel = nullptr;

    void Event_Open();
    void PopupMenu1_Open();
    void PopupMenu1_Change();
    void PushButtonReloadIntrface_Action();
    void PushButtonReloadUI_Action();
    void PushButtonReloadExternal_Action();
    void PushButtonReloadCancel_Action();

private:
    void CreateControls();
    void choose(int source);
};
