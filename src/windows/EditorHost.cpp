#include "windows/EditorHost.h"

namespace {
EditorHost* g_host = nullptr;
} // namespace

EditorHost* editorHost() {
    return g_host;
}

void setEditorHost(EditorHost* host) {
    g_host = host;
}
