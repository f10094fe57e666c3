#pragma once

#include <QWidget>

#include <functional>

// The content area of one of the program's windows: controls sit at fixed coordinates in it and
// the window's layout rule runs whenever it changes size. The rule works in content coordinates,
// so a menu bar inside the window (Linux, Windows) does not shift anything.
class ContentArea : public QWidget {
    Q_OBJECT
public:
    ContentArea(QWidget* parent, std::function<void()> onResized)
        : QWidget(parent), m_onResized(std::move(onResized)) {}

protected:
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        if (m_onResized)
            m_onResized();
    }

private:
    std::function<void()> m_onResized;
};
