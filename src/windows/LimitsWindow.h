#pragma once

#include <QMainWindow>

class QPlainTextEdit;

// The Known Limits window: the rules of the game's data that the user must respect. The
// application keeps a single instance (App::limitsWindow), created by its first menu command.
class LimitsWindow : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int kInitialWidth = 580;
    static constexpr int kInitialHeight = 526;

    explicit LimitsWindow(QWidget* parent = nullptr);

    // Read-only text that scrolls when the window is too small for all of it.
    QPlainTextEdit* StaticText1 = nullptr;

    QWidget* content() const { return m_content; }
    void Event_Resized();

    static QString limitsText();

private:
    void Layout();
    void CreateControls();

    QWidget* m_content = nullptr;
};
