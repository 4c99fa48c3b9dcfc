// Runs the QML and script tests. Each test file gets an engine of its own
// with a fresh, empty settings database, so no run sees another's stored
// values. With KELVO_TEST_SANDBOX=1 the scene talks to a sandbox service
// started in this process on free ports; otherwise it has the service
// settings of the build.
#include <QQmlContext>
#include <QQmlEngine>
#include <QTemporaryDir>
#include <QtQuickTest>
#include <QtWebEngine>
#include <memory>
#include <vector>

#include "feedsnapshot.h"
#include "serviceconfig.h"
#ifdef KELVO_TEST_WITH_SANDBOX
#include "sandbox.h"
#endif

class Setup : public QObject {
    Q_OBJECT

public slots:
    void applicationAvailable() { ServiceConfig::registerSingleton(settings()); }

    void qmlEngineAvailable(QQmlEngine *engine) {
        auto storage = std::make_unique<QTemporaryDir>();
        if (!storage->isValid())
            qFatal("cannot create a settings folder for the test: %s",
                   qPrintable(storage->errorString()));
        engine->setOfflineStoragePath(storage->path());
        auto snapshot =
            std::make_unique<FeedSnapshot>(storage->path() + QStringLiteral("/feed/home.json"));
        engine->rootContext()->setContextProperty(QStringLiteral("feedSnapshot"), snapshot.get());
        m_snapshots.push_back(std::move(snapshot));
        m_storage.push_back(std::move(storage));
    }

private:
    ServiceSettings settings() {
        ServiceSettings s = ServiceSettings::builtIn();
#ifdef KELVO_TEST_WITH_SANDBOX
        if (qgetenv("KELVO_TEST_SANDBOX") == "1") {
            m_sandbox = std::make_unique<Sandbox>();
            QString error;
            if (!m_sandbox->start(0, 0, &error))
                qFatal("cannot start the sandbox service: %s", qPrintable(error));
            s.graphRoot = s.restRoot = s.webRoot = s.rilRoot = s.mobileRoot = m_sandbox->httpRoot();
            s.privacyUrl = m_sandbox->httpRoot() + QStringLiteral("/privacy");
            s.chatDomain = m_sandbox->chatDomain();
            s.chatHost = QStringLiteral("127.0.0.1");
            s.chatPort = m_sandbox->xmppPort();
            s.appId = m_sandbox->appId();
            s.clientSecret = m_sandbox->clientSecret();
        }
#endif
        return s;
    }

#ifdef KELVO_TEST_WITH_SANDBOX
    std::unique_ptr<Sandbox> m_sandbox;
#endif
    std::vector<std::unique_ptr<QTemporaryDir>> m_storage;
    std::vector<std::unique_ptr<FeedSnapshot>> m_snapshots;
};

int main(int argc, char **argv) {
    // Tests of the main window show the login dialog's web engine, which must
    // be set up before the application; they run on a display (Xvfb), the
    // others on the offscreen platform, which has no OpenGL for it.
    if (qgetenv("QT_QPA_PLATFORM") != "offscreen")
        QtWebEngine::initialize();
    Setup setup;
    return quick_test_main_with_setup(argc, argv, "kelvo", QUICK_TEST_SOURCE_DIR, &setup);
}

#include "qmltests.moc"
