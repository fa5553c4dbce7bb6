#include "app/ProgramStart.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <utility>

namespace {

// What Qt says while it connects to the display, held back until it is known whether it could.
struct HeldMessage {
    QtMsgType type;
    QByteArray category;
    QString text;
};
QList<HeldMessage> heldMessages;
QtMessageHandler qtHandler = nullptr;

// When no display answers, Qt ends the process with abort(), which crash reporters log as a
// crash. The program says what is wrong in one line instead, and ends with status 1.
void holdMessageOrEnd(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type != QtFatalMsg) {
        heldMessages.append({type, context.category, text});
        return;
    }
    // The first warning names the problem, such as "could not connect to display :1".
    QString problem = text.section(u'\n', 0, 0);
    for (const HeldMessage& held : heldMessages) {
        if (held.type == QtWarningMsg || held.type == QtCriticalMsg) {
            problem = held.text;
            break;
        }
    }
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        problem = QStringLiteral("neither DISPLAY nor WAYLAND_DISPLAY is set");
    std::fprintf(stderr, "nodalis: cannot show its windows: %s\n", qPrintable(problem.trimmed()));
    std::_Exit(kNoDisplay);
}

} // namespace

CommandLine readCommandLine(int argc, char* argv[]) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Karmic astrology readings from a name and a birth date. With FILE, opens that saved "
        "reading at once, in the copy that already runs if there is one."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and end."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version and end."));
    parser.addOptions({help, version});
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("A reading saved earlier (.nrd) to open."),
                                 QStringLiteral("[FILE]"));
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);

    const auto fail = [](const QString& error) {
        std::fprintf(stderr, "nodalis: %s (see nodalis --help)\n", qPrintable(error));
        return CommandLine{kUsage, {}};
    };
    if (!parser.parse(arguments))
        return fail(parser.errorText());
    if (parser.isSet(help)) {
        // The usage line names the program as it was started, which the parser takes from here.
        const QCoreApplication application(argc, argv);
        std::fputs(qPrintable(parser.helpText()), stdout);
        return {kSuccess, {}};
    }
    if (parser.isSet(version)) {
        std::printf("%s %s\n", qPrintable(QCoreApplication::applicationName()),
                    qPrintable(QCoreApplication::applicationVersion()));
        return {kSuccess, {}};
    }
    if (parser.positionalArguments().size() > 1)
        return fail(QStringLiteral("Give one reading file at most."));
    // The parser has the file as text, which loses every byte that is not UTF-8: it is taken
    // from argv, where the parser found it (no option takes a value).
    bool optionsOver = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (!optionsOver && argument == "--")
            optionsOver = true;
        else if (optionsOver || argument == "-" || !argument.starts_with('-'))
            return {std::nullopt, std::string(argument)};
    }
    return {std::nullopt, std::nullopt};
}

void holdQtMessagesWhileConnecting() {
    qtHandler = qInstallMessageHandler(holdMessageOrEnd);
}

void releaseHeldQtMessages() {
    qInstallMessageHandler(qtHandler);
    for (const HeldMessage& held : std::exchange(heldMessages, {}))
        qtHandler(held.type, QMessageLogContext(nullptr, 0, nullptr, held.category.constData()),
                  held.text);
}
