#pragma once

#include "app/App.h"
#include "platform/ScriptedDialogs.h"

#include <QString>

#include <gtest/gtest.h>

class OvEditorWindow;

// The scripted dialogs installed for the whole test run.
ScriptedDialogs& script();

// A fixture for GUI tests: starts every test from the application's start state (no windows,
// start settings, an empty script) and closes whatever the test left open.
class GuiTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    App& app() { return *theApp(); }
    // Opens slot `index` answering the open dialog with `path` ("" = cancel).
    OvEditorWindow* openSlot(int index, const QString& path);
    // A new window made by "New OvData from scratch...".
    OvEditorWindow* newFromScratch();
    // A file of the committed demo data (examples/).
    static QString example(const char* name);
    // A fresh empty folder for this test, removed afterwards.
    QString tempDir();

private:
    QString m_tempDir;
};

// Closes every window the program made, without questions, and lets Qt delete them.
void closeAllProgramWindows();
