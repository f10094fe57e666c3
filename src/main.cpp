#include "app/App.h"
#include "app/CommandLine.h"
#include "app/OpenFiles.h"
#include "app/SingleInstance.h"
#include "platform/WindowList.h"
#include "windows/mainWindow.h"

#include <QDir>
#include <QEvent>
#include <QTimer>

#include <chrono>
#include <cstdio>

namespace {

// For the start-up benchmark: with MAPQUILL_STARTUP_PROBE set, the program prints the wall-clock
// time of the About window's first paint (nanoseconds since the epoch) and quits.
class FirstPaintProbe : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !m_done) {
            m_done = true;
            const auto now = std::chrono::system_clock::now().time_since_epoch();
            std::printf(
                "first-paint %lld\n",
                static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
            std::fflush(stdout);
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_done = false;
};

} // namespace

int main(int argc, char** argv) {
    if (const std::optional<int> exitCode = CommandLine::answerWithoutWindow(argc, argv))
        return *exitCode;
    App app(argc, argv);
    const CommandLine::Parsed command = CommandLine::parse(App::arguments(), QDir::currentPath());
    if (!command.error.isEmpty()) {
        std::fprintf(stderr, "mapquill: %s\n(see mapquill --help)\n", qPrintable(command.error));
        return 2;
    }
    if (command.exit)
        return 0;

    // Files for a Mapquill that already runs go there, and this process ends. When none answers,
    // this one opens them and becomes the running instance for later launches.
    SingleInstance instance;
    if (!command.files.isEmpty() && instance.handOff(command.files))
        return 0;
    instance.listen();
    QObject::connect(&instance, &SingleInstance::filesReceived, &app,
                     [](const QStringList& files) { OpenFiles::openWhenIdle(files); });

    // The About window is the default window: it opens at start and explains the program.
    mainWindow* about = app.aboutWindow();
    if (qEnvironmentVariableIsSet("MAPQUILL_STARTUP_PROBE"))
        about->installEventFilter(new FirstPaintProbe(about));
    WindowList::instance().bringToFront(about);
    if (!command.files.isEmpty())
        QTimer::singleShot(0, &app, [files = command.files] { OpenFiles::openWhenIdle(files); });
    return App::exec();
}
