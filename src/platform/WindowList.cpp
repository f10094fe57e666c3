#include "platform/WindowList.h"

#include <QEvent>

#include <algorithm>

WindowList& WindowList::instance() {
    static WindowList list;
    return list;
}

void WindowList::track(QWidget* window) {
    if (!window)
        return;
    prune();
    const auto known = std::find(m_windows.begin(), m_windows.end(), window);
    if (known != m_windows.end())
        return;
    m_windows.emplace_back(window);
    window->installEventFilter(this);
    connect(window, &QObject::destroyed, this, [this](QObject* gone) { untrack(gone); });
}

void WindowList::bringToFront(QWidget* window) {
    track(window);
    window->show();
    window->raise();
    window->activateWindow();
    moveToFront(window);
}

QWidget* WindowList::window(int index) const {
    prune();
    if (index < 0 || index >= static_cast<int>(m_windows.size()))
        return nullptr;
    return m_windows[static_cast<std::size_t>(index)];
}

int WindowList::count() const {
    prune();
    return static_cast<int>(m_windows.size());
}

bool WindowList::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        if (auto* widget = qobject_cast<QWidget*>(watched); widget && widget->isWindow())
            moveToFront(widget);
    }
    return QObject::eventFilter(watched, event);
}

void WindowList::moveToFront(QWidget* window) {
    prune();
    const auto it = std::find(m_windows.begin(), m_windows.end(), window);
    if (it == m_windows.end())
        return;
    const bool moved = it != m_windows.begin();
    std::rotate(m_windows.begin(), it, it + 1);
    if (moved)
        Q_EMIT frontChanged();
}

void WindowList::untrack(QObject* window) {
    const bool front = !m_windows.empty() && m_windows.front() == window;
    m_windows.erase(
        std::remove_if(m_windows.begin(), m_windows.end(),
                       [window](const QPointer<QWidget>& w) { return w.isNull() || w == window; }),
        m_windows.end());
    if (front)
        Q_EMIT frontChanged();
}

void WindowList::prune() const {
    m_windows.erase(std::remove_if(m_windows.begin(), m_windows.end(),
                                   [](const QPointer<QWidget>& w) { return w.isNull(); }),
                    m_windows.end());
}
