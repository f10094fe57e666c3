#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <vector>

// The program's own top-level windows in front-to-back order. Qt has no z-order list, so the
// order is kept from activation events and from explicit "bring to front" calls; a window
// leaves the list when it is closed or destroyed.
class WindowList : public QObject {
    Q_OBJECT
public:
    static WindowList& instance();

    void track(QWidget* window);
    // Show, raise and activate; the window becomes entry 0 at once, whatever the window
    // manager does with the activation request.
    void bringToFront(QWidget* window);

    // Entry `index` (0 = frontmost) of the windows that are open, or nullptr.
    // A window that accepted its close event leaves the list at once, before Qt deletes it.
    void untrack(QObject* window);

    QWidget* window(int index) const;
    int count() const;

Q_SIGNALS:
    // Another window came to the front (or the front one left).
    void frontChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    WindowList() = default;
    void moveToFront(QWidget* window);
    void prune() const;

    mutable std::vector<QPointer<QWidget>> m_windows;
};
