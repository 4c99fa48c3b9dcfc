#include <QApplication>
#include <QSocketNotifier>
#include <QtWebEngine>

#include "apphost.h"
#include "logging.h"

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int quitPipe[2] = {-1, -1};

void onQuitSignal(int) {
    const char byte = 1;
    // Only async-signal-safe work here: the event loop reads the byte.
    [[maybe_unused]] const ssize_t written = ::write(quitPipe[0], &byte, 1);
}

// SIGTERM (the session ends, kill), SIGINT and SIGHUP end the event loop as
// the exit button does, so the host saves what it keeps on disk (the
// conversations, the home feed) on the way out instead of losing the last
// changes with the process.
void quitOnSignals(QApplication *app) {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, quitPipe) != 0) {
        qCWarning(lcCore) << "no graceful end on signals: socketpair failed";
        return;
    }
    auto *notifier = new QSocketNotifier(quitPipe[1], QSocketNotifier::Read, app);
    QObject::connect(notifier, &QSocketNotifier::activated, app, [] {
        char byte = 0;
        [[maybe_unused]] const ssize_t got = ::read(quitPipe[1], &byte, 1);
        QCoreApplication::quit();
    });
    struct sigaction action = {};
    action.sa_handler = onQuitSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
        sigaction(signal, &action, nullptr);
}

} // namespace

int main(int argc, char *argv[]) {
    // The login dialog's web engine shares the scene's graphics context; it
    // must be set up before the application object exists.
    QtWebEngine::initialize();

    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Kelvo"));
    QCoreApplication::setOrganizationName(QStringLiteral("Kelvo"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.0 (Nokia; Qt)"));
    quitOnSignals(&app);

    int exitCode = 0;
    {
        AppHost host(&app, ServiceSettings::builtIn());
        host.start();
        exitCode = QApplication::exec();
        qCDebug(lcCore) << "event loop ended with" << exitCode;
    }
    return exitCode;
}
