#pragma once

#include <QMainWindow>

// The About window with the usage help: the program's default window, one instance.
class mainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit mainWindow(QWidget* parent = nullptr);
};
