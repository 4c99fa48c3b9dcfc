#pragma once

#include <QDate>
#include <QObject>
#include <QString>

#include <memory>

class World;
class GraphApi;
class WebPages;
class ControlApi;
class PictureStore;
class HttpServer;
class QTimer;
class QThreadPool;
class ChatServer;
class ChatPeople;
struct ApiRequest;
struct ApiResponse;

struct SandboxOptions {
    QString stateDir;      // where tokens and chat messages are kept between runs; empty: nowhere
    bool demoLife = false; // friends online, automatic replies, new notifications now and then
    QDate today = QDate::currentDate();
};

// The whole sandbox service: the fictional world, its HTTP server (Graph,
// REST, login dialog, Read It Later, pictures, control endpoints) and, when
// built with it, the chat server. Lives on a thread with a Qt event loop.
class Sandbox : public QObject {
    Q_OBJECT

public:
    explicit Sandbox(SandboxOptions options = {});
    ~Sandbox() override;

    // Listens on 127.0.0.1; port 0 picks a free port.
    bool start(quint16 httpPort, quint16 xmppPort, QString *error);
    void stop();
    bool isRunning() const;

    quint16 httpPort() const;
    quint16 xmppPort() const;
    QString httpRoot() const;
    QString chatDomain() const;
    QString appId() const;
    QString clientSecret() const;
    bool hasChat() const;

    // The fictional account.
    QString accountId() const;
    QString accountName() const;
    QString accountLogin() const;
    QString accountPassword() const;
    // The password of every other fictional person (chat PLAIN login).
    static QString peoplePassword();

    // A live token for a person, for tests that skip the login dialog.
    QString issueToken(const QString &userId = {});
    World &world();

    // Answers one request as the HTTP server would (any thread).
    ApiResponse dispatch(const ApiRequest &req);

private:
    void startDemoLife();
    void demoTick();
    void recordChatMessage(const QString &from, const QString &to, const QString &body);
    void loadTokens();
    void saveTokens() const;

    SandboxOptions m_options;
    std::unique_ptr<World> m_world;
    std::unique_ptr<PictureStore> m_pictures;
    std::unique_ptr<GraphApi> m_graph;
    std::unique_ptr<WebPages> m_web;
    std::unique_ptr<ControlApi> m_control;
    std::unique_ptr<HttpServer> m_http;
    // Writes to the world from this thread (chat messages joining inbox
    // threads, demo notifications), one at a time and in order, so that the
    // chat server here never waits for the world's lock.
    std::unique_ptr<QThreadPool> m_worldWrites;
    std::unique_ptr<ChatPeople> m_chatPeople;
    ChatServer *m_chat = nullptr;
    QTimer *m_demoTimer = nullptr;
    int m_demoTicks = 0;
};
