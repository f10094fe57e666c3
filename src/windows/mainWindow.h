#pragma once

#include <QMainWindow>

class QLabel;
class QPlainTextEdit;

// The About window with the usage help: the program's default window. The application keeps a
// single instance (App::aboutWindow); a closed one is gone and the next command makes a new one.
class mainWindow : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int kInitialWidth = 480;
    static constexpr int kInitialHeight = 445;

    explicit mainWindow(QWidget* parent = nullptr);

    QLabel* StaticText1 = nullptr;
    QLabel* StaticText2 = nullptr;
    QLabel* StaticTextCopyright = nullptr;
    QLabel* StaticTextVersion = nullptr;
    QLabel* StaticTextWarning = nullptr;
    QLabel* CanvasIcon = nullptr;
    QPlainTextEdit* EditFieldMainHelp = nullptr;

    QWidget* content() const { return m_content; }
    void Event_Resized();

    // The usage help, one "- " paragraph a line.
    static QString usageHelp();

private:
    void Layout();
    void CreateControls();
    void Event_Open();

    QWidget* m_content = nullptr;
};
