#pragma once

#include <QString>

class OvEditorWindow;
class QMainWindow;

// What the windows need of the application, so that they never include it: the graphics-source
// setting they read, the game files found so far (one of each, shared by every window for the
// run), the shared menu bar, the registry slot to leave when an editing window closes, and the
// other editing windows (the Check panel's set of files).
// The application object implements it and installs itself at start.
class EditorHost {
public:
    virtual bool useFileUI() const = 0;
    virtual QString& rememberedUiFile() = 0;
    virtual QString& rememberedIntrfaceFile() = 0;
    virtual void installMenuBar(QMainWindow* window) = 0;
    virtual void editorClosed(int slot, OvEditorWindow* window) = 0;
    // The editing window open in `slot` 0..9, or nullptr.
    virtual OvEditorWindow* editorInSlot(int slot) const = 0;
    // Opens `path` into the free `slot` in a new editing window, as a file from outside is
    // opened; nullptr when the slot is taken or the file could not be read (the user was told).
    virtual OvEditorWindow* openInSlot(int slot, const QString& path) = 0;

protected:
    ~EditorHost() = default;
};

// The installed host; nullptr before the application exists (the windows then do without).
EditorHost* editorHost();
void setEditorHost(EditorHost* host);
