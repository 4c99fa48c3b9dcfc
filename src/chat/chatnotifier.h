#pragma once

#include <QDBusConnection>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <optional>

class ChatData;
class QWindow;

// Tells of a contact's new chat message with a desktop notification
// (org.freedesktop.Notifications over D-Bus) while the application window is
// not active: the contact's name, the text cut like the banner, one
// notification per conversation, replaced by the next message. Its default
// action raises the window and opens the conversation. Every call is
// asynchronous; without a session bus or a notification service nothing
// happens.
class ChatNotifier : public QObject {
    Q_OBJECT

public:
    // Longer texts are cut to this many characters and "...".
    static constexpr int bodyLength = 80;

    // Notifications go to the session bus, reached when the first is due.
    ChatNotifier(ChatData *model, QWindow *window, QObject *parent = nullptr);
    ChatNotifier(ChatData *model, QWindow *window, const QDBusConnection &bus,
                 QObject *parent = nullptr);

    // `text` cut like the banner and escaped for the notification body's
    // markup.
    static QString bodyOf(const QString &text);

public slots:
    // The model filed a message of `jid` (typing when `msg` is empty).
    void messageReceived(QVariant jid, QVariant msg);
    // The conversation was read: its notification closes.
    void conversationRead(QString jid);

signals:
    // The user chose a notification: the window shows the conversation.
    void conversationOpened(QVariant jid, QVariant name);

private slots:
    void actionInvoked(uint id, const QString &action);
    void notificationClosed(uint id, uint reason);

private:
    // The notification shown (or being shown) for one conversation.
    struct Shown {
        uint id = 0;
        bool waiting = false; // a Notify call has not answered yet
        bool again = false;   // a newer message came meanwhile
        bool close = false;   // read meanwhile
        QString summary;
        QString body;
    };
    QDBusConnection &bus();
    void send(const QString &jid);
    void closeNotification(uint id);
    void answered(const QString &jid, uint id, bool ok);
    QString nameOf(const QString &jid) const;
    QString jidOf(uint id) const;

    QPointer<ChatData> m_model;
    QPointer<QWindow> m_window;
    std::optional<QDBusConnection> m_bus;
    bool m_listening = false;
    QHash<QString, Shown> m_shown; // per bare JID
};
