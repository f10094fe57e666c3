#include "app/App.h"
#include "platform/WindowList.h"
#include "windows/mainWindow.h"

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
            std::printf("first-paint %lld\n",
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
    App app(argc, argv);
    // The About window is the default window: it opens at start and explains the program.
    mainWindow* about = app.aboutWindow();
    if (qEnvironmentVariableIsSet("MAPQUILL_STARTUP_PROBE"))
        about->installEventFilter(new FirstPaintProbe(about));
    WindowList::instance().bringToFront(about);
    return App::exec();
}
