#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

class QAction;
class QMainWindow;
class QMenu;
class QMenuBar;

// The program's one menu bar. Qt gives every window its own QMenuBar, so MenuBar1 owns one set
// of QActions and every window's menu bar shows those same actions: check marks and enabled
// states are therefore shared by all windows for free.
class MenuBar1 : public QObject {
    Q_OBJECT
public:
    static MenuBar1& instance();

    // Builds this window's menu bar from the shared actions.
    void installInto(QMainWindow* window);

    // The item (or menu) of that name, found anywhere in the tree; nullptr for an unknown name.
    QAction* item(const QString& name) const;
    QList<QAction*> allItems() const { return m_order; }

    // Names of the four menus and their items in display order ("-" entries are separators).
    struct Entry {
        const char* name;
        const char* caption;
        const char* shortcut;
    };
    static const QList<Entry>& menuEntries(const QString& menuName);
    static const QStringList& menuNames();

private:
    MenuBar1();
    void Untitled1();
    void Untitled2();
    void Untitled3();
    void buildMenu(const QString& menuName);
    void addMenuTo(QMenuBar* bar, const QString& menuName) const;

    QHash<QString, QAction*> m_items;
    QList<QAction*> m_order;
};

// The four look-ups the settings commands use.
QAction* SettingsCursorBW();
QAction* SettingsCursorColor();
QAction* FileUseUI();
QAction* FileUseIntrfaceBRM();
