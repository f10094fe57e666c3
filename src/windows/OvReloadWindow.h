#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;

// "Re-Load Graphics from File": picks a picture ID and the source to load it from. The choice goes
// back through the application's OvLoadID and OvLoadFile, which the editing window reads once the
// dialog has closed. Run it through dialogs().runModal() so that tests can answer it.
class OvReloadWindow : public QDialog {
    Q_OBJECT
public:
    static constexpr int kWidth = 361;
    static constexpr int kHeight = 153;

    // Values of App::OvLoadFile.
    static constexpr int kFromIntrface = 0;
    static constexpr int kFromUI = 1;
    static constexpr int kFromExternalFile = 2;
    static constexpr int kNone = -1;

    // Row r of the popup stands for picture ID kFirstID + r.
    static constexpr int kFirstID = 1013;

    explicit OvReloadWindow(QWidget* parent = nullptr);

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
