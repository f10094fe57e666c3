#pragma once

#include <QString>

class OvEditorWindow;
class QMainWindow;

// What the windows need of the application, so that they never include it: the graphics-source
// setting they read, the game files found so far (one of each, shared by every window for the
// run), the shared menu bar, and the registry slot to leave when an editing window closes.
// The application object implements it and installs itself at start.
class EditorHost {
public:
    virtual bool useFileUI() const = 0;
    virtual QString& rememberedUiFile() = 0;
    virtual QString& rememberedIntrfaceFile() = 0;
    virtual void installMenuBar(QMainWindow* window) = 0;
    virtual void editorClosed(int slot, OvEditorWindow* window) = 0;

protected:
    ~EditorHost() = default;
};

// The installed host; nullptr before the application exists (the windows then do without).
EditorHost* editorHost();
void setEditorHost(EditorHost* host);
