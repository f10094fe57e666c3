#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The program's command line: mapquill [--help] [--version] [FILE...].
namespace CommandLine {

// Before any window system is touched: answers --help and --version (printed on stdout) and
// returns the exit code, so both work without a display. Anything else returns nothing and
// is left to parse(), which runs once the application has taken its own options (-platform...).
std::optional<int> answerWithoutWindow(int argc, char** argv);

struct Parsed {
    QStringList files; // absolute paths, in the order given
    QString error;     // set when the arguments are wrong (printed by the caller, exit code 2)
    bool exit = false; // --help or --version was answered
};

// Parses the arguments that remain after the application took its own (argument 0 is the
// program). Relative file names are resolved against `workingDirectory`.
Parsed parse(const QStringList& arguments, const QString& workingDirectory);

} // namespace CommandLine
