// The editor as a process: --help and --version without a display, wrong options, and the
// hand-over of files from a second launch to the running instance over the local socket.
#include "GuiTestSupport.h"
#include "app/SingleInstance.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

// An environment with no display at all and a private runtime folder (where the socket lives).
QProcessEnvironment bareEnvironment(const QString& runtime) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(u"DISPLAY"_s);
    env.remove(u"WAYLAND_DISPLAY"_s);
    env.remove(u"QT_QPA_PLATFORM"_s);
    env.insert(u"XDG_RUNTIME_DIR"_s, runtime);
    env.insert(u"XDG_CONFIG_HOME"_s, runtime + u"/config"_s);
    return env;
}

struct EditorRun {
    int exitCode = -1;
    QString out, err;
};

EditorRun runEditor(const QStringList& arguments, const QProcessEnvironment& env) {
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(MQ_EDITOR_PATH), arguments);
    EditorRun run;
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

QString privateRuntime(QTemporaryDir& dir) {
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return dir.path();
}

} // namespace

// Help and version print and exit without a display; a wrong option is reported (on the platform
// the application needs for its own options) without a window.
TEST(Launch, OptionsAreAnsweredWithoutAWindow) {
    QTemporaryDir dir;
    const QProcessEnvironment bare = bareEnvironment(privateRuntime(dir));
    QProcessEnvironment offscreen = bare;
    offscreen.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    const struct {
        const char* option;
        int exitCode;
        const char* expected; // on standard output, or standard error for a failure
    } cases[] = {{"--help", 0, "[FILE...]"},
                 {"-h", 0, "OvData files to open."},
                 {"--version", 0, "Mapquill 1.0.0\n"},
                 {"-v", 0, "Mapquill 1.0.0\n"},
                 {"--no-such-option", 2, "Unknown option 'no-such-option'."}};
    for (const auto& c : cases) {
        const EditorRun run = runEditor({QLatin1String(c.option)}, c.exitCode == 0 ? bare : offscreen);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.option << run.err.toStdString();
        const QString& text = c.exitCode == 0 ? run.out : run.err;
        EXPECT_TRUE(text.contains(QLatin1String(c.expected))) << c.option << ": " << text.toStdString();
    }
}

TEST(Launch, ASecondLaunchHandsItsFilesToTheRunningInstanceAsAbsolutePaths) {
    QTemporaryDir dir;
    const QString runtime = privateRuntime(dir);
    QProcessEnvironment env = bareEnvironment(runtime);
    env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    // This test process is the running instance: the same socket the editor finds there.
    SingleInstance running(runtime + u"/mapquill.socket"_s);
    ASSERT_TRUE(running.listen());
    QSignalSpy received(&running, &SingleInstance::filesReceived);

    QProcess second;
    second.setProcessEnvironment(env);
    second.setWorkingDirectory(runtime);
    second.start(QStringLiteral(MQ_EDITOR_PATH), {u"OvData1"_s, u"/elsewhere/OvData0"_s});
    ASSERT_TRUE(second.waitForStarted());
    // Our event loop must run for the hand-over to be answered.
    QElapsedTimer clock;
    clock.start();
    while (second.state() != QProcess::NotRunning && clock.elapsed() < 20000)
        received.wait(100);
    ASSERT_EQ(second.state(), QProcess::NotRunning) << "the second launch did not end";
    EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().toStdString();
    ASSERT_EQ(received.size(), 1);
    EXPECT_EQ(received.at(0).at(0).toStringList(),
              (QStringList{QDir(runtime).filePath(u"OvData1"_s), u"/elsewhere/OvData0"_s}));

    // A second server on the same name stays out: one running instance per user.
    SingleInstance other(running.serverName());
    EXPECT_FALSE(other.listen());
}

TEST(Launch, AnInstanceThatDoesNotAnswerKeepsTheFilesWithTheNewProcess) {
    QTemporaryDir dir;
    const QString name = privateRuntime(dir) + u"/mapquill.socket"_s;
    // Listens but never answers, like an instance that hangs.
    QLocalServer silent;
    ASSERT_TRUE(silent.listen(name));
    SingleInstance launch(name);
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(launch.handOff({u"/x/OvData1"_s}, 500));
    EXPECT_LT(clock.elapsed(), 5000);

    // Garbage on the socket of a real instance is refused, and the instance goes on serving.
    silent.close();
    SingleInstance running(name);
    ASSERT_TRUE(running.listen());
    QSignalSpy received(&running, &SingleInstance::filesReceived);
    QLocalSocket stranger;
    stranger.connectToServer(name);
    ASSERT_TRUE(stranger.waitForConnected(1000));
    stranger.write(QByteArray("\x00\x00\x00\x08garbage!", 12));
    stranger.flush();
    received.wait(300);
    EXPECT_EQ(received.size(), 0);

    // A socket file left behind by a crash is taken over.
    SingleInstance crashed(QDir(dir.path()).filePath(u"stale.socket"_s));
    {
        QFile stale(crashed.serverName());
        ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    }
    EXPECT_TRUE(crashed.listen());
}
