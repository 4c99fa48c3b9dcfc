#include "chatnotifier.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QWindow>

#include "chatdata.h"
#include "logging.h"

namespace {
const QString service = QStringLiteral("org.freedesktop.Notifications");
const QString path = QStringLiteral("/org/freedesktop/Notifications");
const QString interface = QStringLiteral("org.freedesktop.Notifications");
const QString defaultAction = QStringLiteral("default");
} // namespace

ChatNotifier::ChatNotifier(ChatData *model, QWindow *window, QObject *parent)
    : QObject(parent)
    , m_model(model)
    , m_window(window) {}

ChatNotifier::ChatNotifier(ChatData *model, QWindow *window, const QDBusConnection &bus,
                           QObject *parent)
    : ChatNotifier(model, window, parent) {
    m_bus = bus;
}

QString ChatNotifier::bodyOf(const QString &text) {
    QString body = text;
    if (body.size() > bodyLength) {
        // A surrogate pair is kept whole or left out.
        const bool split = body.at(bodyLength - 1).isHighSurrogate();
        body = body.left(split ? bodyLength - 1 : bodyLength) + QStringLiteral("...");
    }
    // The body markup's escapes, apostrophes too.
    return body.toHtmlEscaped().replace(QLatin1Char('\''), QStringLiteral("&#39;"));
}

QDBusConnection &ChatNotifier::bus() {
    if (!m_bus)
        m_bus = QDBusConnection::sessionBus();
    if (!m_listening && m_bus->isConnected()) {
        m_listening = true;
        // Any sender: naming the service would ask the bus for its owner and wait.
        m_bus->connect(QString(), path, interface, QStringLiteral("ActionInvoked"), this,
                       SLOT(actionInvoked(uint, QString)));
        m_bus->connect(QString(), path, interface, QStringLiteral("NotificationClosed"), this,
                       SLOT(notificationClosed(uint, uint)));
    }
    return *m_bus;
}

void ChatNotifier::messageReceived(QVariant jid, QVariant msg) {
    const QString text = msg.toString();
    if (text.isEmpty() || (m_window && m_window->isActive()))
        return;
    const QString bare = ChatData::bareJid(jid.toString());
    if (bare.isEmpty() || !bus().isConnected())
        return;
    Shown &shown = m_shown[bare];
    shown.summary = nameOf(bare);
    shown.body = bodyOf(text);
    shown.close = false;
    if (shown.waiting)
        shown.again = true;
    else
        send(bare);
}

void ChatNotifier::send(const QString &jid) {
    Shown &shown = m_shown[jid];
    QDBusMessage call =
        QDBusMessage::createMethodCall(service, path, interface, QStringLiteral("Notify"));
    call << QStringLiteral("Kelvo") << shown.id << QString() << shown.summary << shown.body
         << QStringList{defaultAction, tr("Open")}
         << QVariantMap{{QStringLiteral("category"), QStringLiteral("im.received")}} << -1;
    shown.waiting = true;
    shown.again = false;
    auto *watcher = new QDBusPendingCallWatcher(bus().asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, jid](QDBusPendingCallWatcher *call) {
                call->deleteLater();
                const QDBusPendingReply<uint> reply = *call;
                if (reply.isError())
                    qCDebug(lcXmpp) << "no desktop notification:" << reply.error().name();
                answered(jid, reply.isError() ? 0 : reply.value(), !reply.isError());
            });
}

void ChatNotifier::answered(const QString &jid, uint id, bool ok) {
    const auto it = m_shown.find(jid);
    if (it == m_shown.end())
        return;
    it->waiting = false;
    if (ok)
        it->id = id;
    if (it->close) {
        closeNotification(it->id);
        m_shown.erase(it);
    } else if (it->again) {
        send(jid);
    }
}

void ChatNotifier::conversationRead(QString jid) {
    const auto it = m_shown.find(ChatData::bareJid(jid));
    if (it == m_shown.end())
        return;
    if (it->waiting) {
        it->close = true;
        return;
    }
    closeNotification(it->id);
    m_shown.erase(it);
}

void ChatNotifier::closeNotification(uint id) {
    if (id == 0)
        return;
    // No answer is awaited.
    bus().send(QDBusMessage::createMethodCall(service, path, interface,
                                              QStringLiteral("CloseNotification"))
               << id);
}

QString ChatNotifier::jidOf(uint id) const {
    for (auto it = m_shown.cbegin(); it != m_shown.cend(); ++it)
        if (id != 0 && it->id == id)
            return it.key();
    return {};
}

void ChatNotifier::actionInvoked(uint id, const QString &action) {
    const QString jid = jidOf(id);
    if (jid.isEmpty() || action != defaultAction)
        return;
    if (m_window) {
        m_window->setWindowStates(m_window->windowStates() & ~Qt::WindowMinimized);
        m_window->setVisible(true);
        m_window->raise();
        m_window->requestActivate();
    }
    emit conversationOpened(jid, nameOf(jid));
}

void ChatNotifier::notificationClosed(uint id, uint) {
    const QString jid = jidOf(id);
    if (!jid.isEmpty() && !m_shown.value(jid).waiting)
        m_shown.remove(jid);
}

QString ChatNotifier::nameOf(const QString &jid) const {
    // The conversation's name is the roster name, else the one it was kept
    // with; without either the numeric id.
    const Conversation *c = m_model ? m_model->conversation(jid) : nullptr;
    return c && !c->name().isEmpty() ? c->name() : ChatData::numericId(jid);
}
