#pragma once

#include <QMainWindow>

// The Known Limits window: what the game and the program cannot do. One instance.
class LimitsWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit LimitsWindow(QWidget* parent = nullptr);
};
