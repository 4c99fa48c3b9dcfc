// Runs the QML and script tests. Each test file gets an engine of its own
// with a fresh, empty settings database, so no run sees another's stored
// values. With KELVO_TEST_SANDBOX=1 the scene talks to a sandbox service
// started in this process on free ports; otherwise it has the service
// settings of the build. Every engine gets a chat model (`fbChatData`); in
// sandbox mode also a chat client, and `chatHost.wire(root)` connects them
// to a stand-in root window with the application's own wiring.
#include <QQmlContext>
#include <QQmlEngine>
#include <QTemporaryDir>
#include <QtQuickTest>
#include <QtWebEngine>
#include <memory>
#include <vector>

#include "chatdata.h"
#include "chatitems.h"
#include "feedsnapshot.h"
#include "rootwiring.h"
#include "serviceconfig.h"
#include "xmppclient.h"
#ifdef KELVO_TEST_WITH_SANDBOX
#include "sandbox.h"
#endif

// The native chat objects of one engine and the wiring to its root.
class ChatHost : public QObject {
    Q_OBJECT

public:
    ChatHost(const ServiceSettings &settings, bool withClient) {
        m_objects.chatData = &m_model;
        if (withClient) {
            m_client = std::make_unique<xmppClient>(settings);
            m_objects.chatClient = m_client.get();
        }
    }
    ChatData *model() { return &m_model; }

    // Connects `root` (a stand-in for the root window) as the app does;
    // the number of connections made.
    Q_INVOKABLE int wire(QObject *root) { return connectRootWindow(root, m_objects, nullptr); }

private:
    ChatData m_model;
    std::unique_ptr<xmppClient> m_client;
    NativeObjects m_objects;
};

class Setup : public QObject {
    Q_OBJECT

public slots:
    void applicationAvailable() {
        m_settings = settings();
        ServiceConfig::registerSingleton(m_settings);
        registerChatTypes();
    }

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
        auto chat = std::make_unique<ChatHost>(m_settings, m_sandboxed);
        engine->rootContext()->setContextProperty(QStringLiteral("fbChatData"), chat->model());
        engine->rootContext()->setContextProperty(QStringLiteral("chatHost"), chat.get());
        m_chats.push_back(std::move(chat));
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
            m_sandboxed = true;
        }
#endif
        return s;
    }

#ifdef KELVO_TEST_WITH_SANDBOX
    std::unique_ptr<Sandbox> m_sandbox;
#endif
    ServiceSettings m_settings;
    bool m_sandboxed = false;
    std::vector<std::unique_ptr<QTemporaryDir>> m_storage;
    std::vector<std::unique_ptr<ChatHost>> m_chats;
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
