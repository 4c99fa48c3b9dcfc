// kelvo-sandbox: the local stand-in for the social network's services.
#include "sandbox.h"
#include "world.h"

#include "kelvo_build_config.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTextStream>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int signalPipe[2] = {-1, -1};

void onSignal(int) {
    const char byte = 1;
    // Only async-signal-safe work here: the event loop reads the byte.
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[0], &byte, 1);
}

bool parsePort(const QCommandLineParser &parser, const QCommandLineOption &option, int fallback,
               quint16 *port) {
    if (!parser.isSet(option)) {
        *port = quint16(fallback);
        return true;
    }
    bool ok = false;
    const int value = parser.value(option).toInt(&ok);
    if (!ok || value < 0 || value > 65535)
        return false;
    *port = quint16(value);
    return true;
}

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kelvo-sandbox"));
    QTextStream out(stdout);
    QTextStream err(stderr);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Local stand-in for the social network's Graph, REST, login, Read It "
                       "Later and chat services, serving a fictional world on 127.0.0.1."));
    parser.addHelpOption();
    const QCommandLineOption httpOption(
        QStringLiteral("http-port"),
        QStringLiteral("HTTP port (default %1).").arg(kelvo::build::sandboxHttpPort),
        QStringLiteral("N"));
    const QCommandLineOption xmppOption(
        QStringLiteral("xmpp-port"),
        QStringLiteral("XMPP chat port (default %1).").arg(kelvo::build::sandboxXmppPort),
        QStringLiteral("N"));
    const QCommandLineOption stateOption(
        QStringLiteral("state"),
        QStringLiteral("Keep tokens and what the client posts in DIR across runs."),
        QStringLiteral("DIR"));
    const QCommandLineOption feedOption(
        QStringLiteral("feed-stories"),
        QStringLiteral("Serve N stories on the account's home feed (for benchmarks; default: "
                       "as seeded)."),
        QStringLiteral("N"));
    const QCommandLineOption fullJidsOption(
        QStringLiteral("full-jids"),
        QStringLiteral("Send contacts' chat presences and messages from full addresses "
                       "(jid/resource), as standard servers do."));
    parser.addOption(fullJidsOption);
    parser.addOption(httpOption);
    parser.addOption(feedOption);
    parser.addOption(xmppOption);
    parser.addOption(stateOption);
    parser.process(app);

    quint16 httpPort = 0, xmppPort = 0;
    if (!parsePort(parser, httpOption, kelvo::build::sandboxHttpPort, &httpPort) ||
        !parsePort(parser, xmppOption, kelvo::build::sandboxXmppPort, &xmppPort)) {
        err << "kelvo-sandbox: a port is a number from 0 to 65535\n";
        return 2;
    }

    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0) {
        err << "kelvo-sandbox: cannot set up signal handling\n";
        return 1;
    }
    QSocketNotifier notifier(signalPipe[1], QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, &app, [&] {
        char byte = 0;
        [[maybe_unused]] const ssize_t got = ::read(signalPipe[1], &byte, 1);
        QCoreApplication::quit();
    });
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);

    SandboxOptions options;
    if (parser.isSet(feedOption)) {
        bool ok = false;
        options.homeFeedStories = parser.value(feedOption).toInt(&ok);
        if (!ok || options.homeFeedStories < 1 || options.homeFeedStories > maxHomeFeedSize) {
            err << "kelvo-sandbox: --feed-stories takes a number from 1 to " << maxHomeFeedSize
                << "\n";
            return 2;
        }
    }
    options.stateDir = parser.value(stateOption);
    options.chatFullJids = parser.isSet(fullJidsOption);
    options.demoLife = true;
    Sandbox sandbox(options);
    QString error;
    if (!sandbox.start(httpPort, xmppPort, &error)) {
        err << "kelvo-sandbox: " << error << "\n";
        return 1;
    }
    out << "kelvo-sandbox: HTTP (Graph, REST, login, Read It Later) on " << sandbox.httpRoot()
        << "\n";
    if (sandbox.hasChat())
        out << "kelvo-sandbox: XMPP chat on 127.0.0.1:" << sandbox.xmppPort() << " (domain "
            << sandbox.chatDomain() << ")\n";
    else
        out << "kelvo-sandbox: chat server not built in\n";
    out << "kelvo-sandbox: log in as " << sandbox.accountLogin() << " with password "
        << sandbox.accountPassword() << "\n";
    out.flush();

    const int code = app.exec();
    sandbox.stop();
    out << "kelvo-sandbox: stopped\n";
    return code;
}
