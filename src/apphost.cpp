#include "apphost.h"

#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickView>
#include <QScreen>
#include <QStandardPaths>

#include "chatcache.h"
#include "chatdata.h"
#include "chatnotifier.h"
#include "eventfilter.h"
#include "feedsnapshot.h"
#include "imagesaver.h"
#include "linkopener.h"
#include "logging.h"
#include "privatefolder.h"
#include "xmppclient.h"

namespace {

// The target screens were 854 x 480; on a desktop the view is a portrait
// window of that size, on a phone-sized screen it fills the screen.
constexpr int phoneLongSide = 854;
constexpr int phoneShortSide = 480;
constexpr int largestPhoneSide = 1024;

bool isPhoneSizedScreen(const QScreen *screen) {
    if (!screen)
        return false;
    const QSize size = screen->size();
    return qMax(size.width(), size.height()) <= largestPhoneSide;
}

} // namespace

AppHost::AppHost(QGuiApplication *app, const ServiceSettings &settings)
    : m_app(app)
    , m_settings(settings) {
    // One configuration per process: the scene reads it as a singleton.
    ServiceConfig::registerSingleton(settings);
    // The chat items, as the module "chatCore" 1.0.
    registerChatTypes();
}

AppHost::~AppHost() {
    // Reverse order of creation: the native objects (owned here once they
    // exist), the keyboard filter, then the view.
    m_objects = {};
    m_chatNotifier.reset();
    m_chatCache.reset(); // saves what changed, from the model
    m_chatData.reset();
    m_feedSnapshot.reset();
    m_imageSaver.reset();
    m_chatClient.reset();
    m_linkOpener.reset();
    m_eventFilter.reset();
    m_view.reset();
    m_databaseFolder.reset();
}

QString AppHost::applicationDirWithSeparator() {
    QString dir = QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
    while (dir.endsWith(QDir::separator()))
        dir.chop(1);
    return dir + QDir::separator();
}

QObject *AppHost::rootObject() const {
    return m_view ? m_view->rootObject() : nullptr;
}

void AppHost::start(const QUrl &root, bool show) {
    m_view = std::make_unique<QQuickView>();
    // Qt.quit() from the scene must not end the process: only the root
    // window's quit() signal does, after the chat is closed.
    QObject::disconnect(m_view->engine(), &QQmlEngine::quit, nullptr, nullptr);

    m_eventFilter = std::make_unique<EventFilter>();
    m_view->installEventFilter(m_eventFilter.get());
    m_view->engine()->installEventFilter(m_eventFilter.get());

    // The settings database holds the access token: no other user may read it.
    const QString storage = m_view->engine()->offlineStoragePath();
    m_databaseFolder = std::make_unique<PrivateFolder>(storage + QStringLiteral("/Databases"));
    QFile::setPermissions(storage, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    m_linkOpener = std::make_unique<LinkOpener>();
    m_objects.linkOpener = m_linkOpener.get();

    // The root window is created here, before the context properties below
    // exist; it defers loading the main window until the event loop runs.
    m_view->setResizeMode(QQuickView::SizeRootObjectToView);
    m_view->setSource(root);
    if (m_view->status() == QQuickView::Error)
        qCCritical(lcCore) << "the root window failed to load:" << m_view->errors();

    // The chat client (and the photo uploader, once built) come before the
    // saver; the chat model after it.
    m_chatClient = std::make_unique<xmppClient>(m_settings);
    m_objects.chatClient = m_chatClient.get();
    m_imageSaver = std::make_unique<ImageSaver>();
    m_objects.imageSaver = m_imageSaver.get();
    m_feedSnapshot = std::make_unique<FeedSnapshot>(
        QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) +
        QStringLiteral("/feed/home.json"));
    m_chatData = std::make_unique<ChatData>();
    m_objects.chatData = m_chatData.get();
    m_chatCache = std::make_unique<ChatCache>(
        QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) +
            QStringLiteral("/chat"),
        m_chatData.get());
    m_objects.chatCache = m_chatCache.get();
    m_chatNotifier = std::make_unique<ChatNotifier>(m_chatData.get(), m_view.get());
    m_objects.chatNotifier = m_chatNotifier.get();

    QQmlContext *context = m_view->rootContext();
    context->setContextProperty(QStringLiteral("fbChatData"), m_objects.chatData);
    context->setContextProperty(QStringLiteral("imageSaver"), m_objects.imageSaver);
    context->setContextProperty(QStringLiteral("feedSnapshot"), m_feedSnapshot.get());
    context->setContextProperty(QStringLiteral("chatCache"), m_objects.chatCache);
    context->setContextProperty(QStringLiteral("dir"), applicationDirWithSeparator());

    if (QObject *rootWindow = rootObject())
        connectRootWindow(rootWindow, m_objects, m_app);

    if (show)
        showView();
    m_app->setQuitOnLastWindowClosed(true);
}

void AppHost::showView() {
    if (isPhoneSizedScreen(m_view->screen())) {
        // Sized to the screen first: without a window manager the full-screen
        // state alone leaves the window at its first size.
        m_view->setGeometry(m_view->screen()->geometry());
        m_view->showFullScreen();
        return;
    }
    m_view->resize(phoneShortSide, phoneLongSide);
    m_view->show();
}
