#include "GuiTestSupport.h"

#include "platform/WindowList.h"
#include "windows/OvEditorWindow.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

namespace {
ScriptedDialogs* g_script = nullptr;
}

ScriptedDialogs& script() {
    if (!g_script) {
        auto scripted = std::make_unique<ScriptedDialogs>();
        g_script = scripted.get();
        installDialogs(std::move(scripted));
    }
    return *g_script;
}

void closeAllProgramWindows() {
    for (int guard = 0; guard < 100 && WindowList::instance().count() > 0; ++guard) {
        QWidget* window = WindowList::instance().window(0);
        if (auto* editor = qobject_cast<OvEditorWindow*>(window))
            editor->setModified(false);
        window->close();
        WindowList::instance().untrack(window);
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

void GuiTest::SetUp() {
    closeAllProgramWindows();
    script().clear();
    app().Event_Open();
}

void GuiTest::TearDown() {
    closeAllProgramWindows();
    EXPECT_TRUE(script().unexpected.isEmpty())
        << script().unexpected.join(QStringLiteral("; ")).toStdString();
    if (!m_tempDir.isEmpty())
        QDir(m_tempDir).removeRecursively();
}

OvEditorWindow* GuiTest::openSlot(int index, const QString& path) {
    script().openAnswers.push_back(path);
    app().OvWindowInit(index);
    return app().OvWindow[static_cast<std::size_t>(index)];
}

OvEditorWindow* GuiTest::newFromScratch() {
    for (int slot = 4; slot <= 9; ++slot)
        if (!app().OvWindow[static_cast<std::size_t>(slot)]) {
            app()._OvNewMenuItem_Action();
            return app().OvWindow[static_cast<std::size_t>(slot)];
        }
    return nullptr;
}

QString GuiTest::example(const char* name) {
    return QStringLiteral(MQ_EXAMPLES_DIR "/") + QString::fromLatin1(name);
}

QString GuiTest::tempDir() {
    if (m_tempDir.isEmpty()) {
        QTemporaryDir dir;
        dir.setAutoRemove(false);
        m_tempDir = dir.path();
    }
    return m_tempDir;
}
