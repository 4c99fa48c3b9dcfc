#pragma once

#include <QObject>
#include <QString>
#include <QUrl>
#include <memory>

#include "rootwiring.h"
#include "serviceconfig.h"

class ChatCache;
class ChatData;
class ChatNotifier;
class EventFilter;
class FeedSnapshot;
class ImageSaver;
class LinkOpener;
class PrivateFolder;
class QGuiApplication;
class QQuickView;
class xmppClient;

// Builds the application around the scene: the view, the keyboard filter and
// the native objects, in that order; publishes what the scene reaches by name;
// wires the root window; and destroys everything in reverse order.
class AppHost {
public:
    static inline const QUrl defaultRoot{QStringLiteral("qrc:/qml/start.qml")};

    AppHost(QGuiApplication *app, const ServiceSettings &settings);
    ~AppHost();
    AppHost(const AppHost &) = delete;
    AppHost &operator=(const AppHost &) = delete;

    // Creates the view, loads the root window and wires it; shows the view
    // unless `show` is false (tests).
    void start(const QUrl &root = defaultRoot, bool show = true);

    QQuickView *view() const { return m_view.get(); }
    QObject *rootObject() const;
    const NativeObjects &nativeObjects() const { return m_objects; }

    // The application's directory with exactly one trailing separator.
    static QString applicationDirWithSeparator();

private:
    // The compiled-in font becomes the application's default family.
    static void installDefaultFont();
    void showView();

    QGuiApplication *m_app;
    ServiceSettings m_settings;
    std::unique_ptr<QQuickView> m_view;
    std::unique_ptr<EventFilter> m_eventFilter;
    // The settings database's folder, kept readable by the user only.
    std::unique_ptr<PrivateFolder> m_databaseFolder;
    std::unique_ptr<LinkOpener> m_linkOpener;
    // The chat client, photo uploader, image saver and chat model are created
    // here, after the root window, in that order, and destroyed before the
    // filter. Those not yet part of the build are nulls in m_objects.
    std::unique_ptr<xmppClient> m_chatClient;
    std::unique_ptr<ImageSaver> m_imageSaver;
    std::unique_ptr<FeedSnapshot> m_feedSnapshot;
    std::unique_ptr<ChatData> m_chatData;
    // After the model: the kept conversations and the desktop notifications.
    std::unique_ptr<ChatCache> m_chatCache;
    std::unique_ptr<ChatNotifier> m_chatNotifier;
    NativeObjects m_objects;
};
