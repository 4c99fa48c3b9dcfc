#include <QApplication>
#include <QtWebEngine>

#include "apphost.h"
#include "logging.h"

int main(int argc, char *argv[]) {
    // The login dialog's web engine shares the scene's graphics context; it
    // must be set up before the application object exists.
    QtWebEngine::initialize();

    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Kelvo"));
    QCoreApplication::setOrganizationName(QStringLiteral("Kelvo"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.0 (Nokia; Qt)"));

    int exitCode = 0;
    {
        AppHost host(&app, ServiceSettings::builtIn());
        host.start();
        exitCode = QApplication::exec();
        qCDebug(lcCore) << "event loop ended with" << exitCode;
    }
    return exitCode;
}
