#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class QAction;
class QMenu;
class QSettings;

// File > Open Recent: the last OvData files opened or saved, newest first, remembered across runs
// in the user's settings. It is the only state the program keeps between runs.
class RecentFiles : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxFiles = 10;

    explicit RecentFiles(QObject* parent = nullptr);
    ~RecentFiles() override;

    // Where the list is kept: an INI file (tests use a private one), or, when empty, the user's
    // settings for this application.
    void setStorage(const QString& iniPath);

    QStringList files() const;
    // Puts `path` (made absolute) first; an older entry for the same file goes, the eleventh goes.
    void add(const QString& path);
    void remove(const QString& path);
    void clear();

    // The "Open Recent" submenu: one item per file (its full path), a separator and "Clear Menu".
    // It follows the list; choosing a file raises openRequested.
    QMenu* menu();
    // Gives `action` (the shared File menu item) the submenu. The item stays enabled when the
    // list is empty (only "Clear Menu" is then disabled), so the menu's layout never shifts.
    void attachTo(QAction* action);

Q_SIGNALS:
    void openRequested(const QString& path);

private:
    std::unique_ptr<QSettings> settings() const;
    void store(const QStringList& files);
    void rebuildMenu();

    QString m_iniPath;
    std::unique_ptr<QMenu> m_menu;
};
