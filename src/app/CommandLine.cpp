#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>

#include <cstdio>

namespace {

void configure(QCommandLineParser& parser) {
    parser.setApplicationDescription(
        QStringLiteral("Mapquill edits the overlay-data files OvData0 to OvData9 of Brenmoor.\n"
                       "Each FILE opens as an OvData file in its own editing window; a file whose\n"
                       "name ends in a digit opens in the window of that number when it is free.\n"
                       "When Mapquill is already running, the files open there."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("files"), QStringLiteral("OvData files to open."),
                                 QStringLiteral("[FILE...]"));
}

void setIdentity() {
    QCoreApplication::setApplicationName(QStringLiteral("Mapquill"));
    QCoreApplication::setApplicationVersion(QStringLiteral(MQ_VERSION));
}

// Prints --help or --version when they were asked for; true when one was.
bool answerInformational(QCommandLineParser& parser) {
    if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all"))) {
        std::fputs(parser.helpText().toLocal8Bit().constData(), stdout);
        return true;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        std::printf("%s %s\n", "Mapquill", MQ_VERSION);
        return true;
    }
    return false;
}

} // namespace

namespace CommandLine {

std::optional<int> answerWithoutWindow(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser parser;
    configure(parser);
    // Only a command line that is entirely ours is answered here; one with the window system's
    // options (-platform, -display...) waits for the application, which knows them.
    if (!parser.parse(arguments) ||
        !(parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all")) ||
          parser.isSet(QStringLiteral("version"))))
        return std::nullopt;
    QCoreApplication core(argc, argv);
    setIdentity();
    std::fflush(stdout);
    answerInformational(parser);
    std::fflush(stdout);
    return 0;
}

Parsed parse(const QStringList& arguments, const QString& workingDirectory) {
    Parsed result;
    QCommandLineParser parser;
    configure(parser);
    if (!parser.parse(arguments)) {
        result.error = parser.errorText();
        return result;
    }
    if (answerInformational(parser)) {
        result.exit = true;
        return result;
    }
    const QDir base(workingDirectory);
    const QStringList positional = parser.positionalArguments();
    for (const QString& file : positional)
        if (!file.isEmpty())
            result.files << QDir::cleanPath(base.absoluteFilePath(file));
    return result;
}

} // namespace CommandLine
