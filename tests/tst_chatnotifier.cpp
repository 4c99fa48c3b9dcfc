// Desktop notifications of chat messages, against a stand-in notification
// service on the private session bus of dbus-run-session.
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QWindow>
#include <QtTest>

#include "chatdata.h"
#include "chatnotifier.h"

namespace {
const QString service = "org.freedesktop.Notifications";
const QString path = "/org/freedesktop/Notifications";
} // namespace

// The desktop's notification service as far as the notifier uses it,
// exported on a connection of its own.
class FakeNotifications : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    // "replaces_id summary: body" per Notify call.
    QStringList calls;
    QStringList apps;
    QStringList actions;
    QList<uint> closed;
    uint lastId = 0;

public slots:
    uint Notify(const QString &app, uint replaces, const QString &, const QString &summary,
                const QString &body, const QStringList &actionList, const QVariantMap &, int) {
        calls << QStringLiteral("%1 %2: %3").arg(replaces).arg(summary, body);
        apps << app;
        actions << actionList.join(',');
        return replaces ? replaces : ++lastId;
    }
    void CloseNotification(uint id) { closed << id; }
    QStringList GetCapabilities() { return {"actions", "body", "body-markup"}; }
};

class TestChatNotifier : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void notifies_data();
    void notifies();

private:
    QDBusConnection m_service{QString()};
};

void TestChatNotifier::initTestCase() {
    QVERIFY2(QDBusConnection::sessionBus().isConnected(), "run under dbus-run-session");
    m_service = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "fake-notifications");
    QVERIFY(m_service.isConnected());
    QVERIFY(m_service.registerService(service));
}

// Steps: "active" (the window is shown and active), "nobus" (the notifier
// has no bus), "msg|from|text" and "typing|from" filed by the model (-5 is
// the own account, Anna is -1), "read|jid", "action|n|key" (the service
// reports the action `key` of the n-th notification it showed).
void TestChatNotifier::notifies_data() {
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("calls");
    QTest::addColumn<QString>("closed");
    QTest::addColumn<QString>("opened");
    const QString markup = R"(<b>"Tom" & 'Jerry'</b>)" + QString(58, 'z');
    const QString escaped =
        "&lt;b&gt;&quot;Tom&quot; &amp; &#39;Jerry&#39;&lt;/b&gt;" + QString(58, 'z');
    auto row = [](const char *name, const QStringList &steps, const QString &calls,
                  const char *closed, const char *opened) {
        QTest::newRow(name) << steps << calls << QString(closed) << QString(opened);
    };
    row("inactive: the name and the text escaped", {"msg|-1@c.test/r|" + markup},
        "0 Anna: " + escaped, "", "");
    row("longer than the banner: cut", {"msg|-1@c.test/r|" + markup + "tail"},
        "0 Anna: " + escaped + "...", "", "");
    row("a second message replaces the first",
        {"msg|-1@c.test/r|one", "msg|-1@c.test|two", "msg|-77@c.test/r|yo"},
        "0 Anna: one|1 Anna: two|0 77: yo", "", "");
    row("typing and the own account's messages: none",
        {"typing|-1@c.test/r", "msg|-5@c.test/desk|note"}, "", "", "");
    row("the window is active: none", {"active", "msg|-1@c.test/r|hi"}, "", "", "");
    row("read: closed", {"msg|-1@c.test/r|hi", "read|-1@c.test"}, "0 Anna: hi", "1", "");
    row("only the default action opens the conversation",
        {"msg|-1@c.test/r|hi", "action|1|other", "action|1|default"}, "0 Anna: hi", "",
        "-1@c.test Anna");
    row("no bus: no harm", {"nobus", "msg|-1@c.test/r|hi", "read|-1@c.test"}, "", "", "");
}

void TestChatNotifier::notifies() {
    QFETCH(QStringList, steps);
    QFETCH(QString, calls);
    QFETCH(QString, closed);
    QFETCH(QString, opened);
    FakeNotifications fake;
    QVERIFY(m_service.registerObject(path, &fake, QDBusConnection::ExportAllSlots));
    auto unregister = qScopeGuard([this] { m_service.unregisterObject(path); });

    ChatData model;
    model.setOwnJid("-5@c.test/QXmpp");
    model.setRoster({{"-1@c.test", "Anna"}});
    QWindow window;
    const bool noBus = steps.value(0) == "nobus";
    ChatNotifier notifier(&model, &window,
                          noBus
                              ? QDBusConnection::connectToBus("unix:path=/nonexistent/bus", "none")
                              : QDBusConnection::sessionBus());
    connect(&model, qOverload<QVariant, QVariant>(&ChatData::messageReceived), &notifier,
            &ChatNotifier::messageReceived);
    QStringList heard;
    connect(&notifier, &ChatNotifier::conversationOpened, [&heard](QVariant jid, QVariant name) {
        heard << jid.toString() + " " + name.toString();
    });
    // A call of our own after the notifier's: once answered, the service has
    // had everything the notifier sent before it.
    auto settled = [] {
        QDBusPendingCall call = QDBusConnection::sessionBus().asyncCall(
            QDBusMessage::createMethodCall(service, path, service, "GetCapabilities"));
        QTRY_VERIFY(call.isFinished());
    };

    int id = 0;
    for (const QString &step : steps) {
        const QStringList f = step.split('|');
        if (f[0] == "active") {
            window.show();
            QVERIFY(QTest::qWaitForWindowActive(&window));
        } else if (f[0] == "msg" || f[0] == "typing") {
            model.fileIncoming({f[1], QString::number(++id), f.value(2), false, f[0] == "typing"});
        } else if (f[0] == "read") {
            notifier.conversationRead(f[1]);
        } else if (f[0] == "action") {
            QDBusMessage signal = QDBusMessage::createSignal(path, service, "ActionInvoked");
            signal << f[1].toUInt() << f[2];
            QVERIFY(m_service.send(signal));
        }
        settled();
    }
    QCOMPARE(fake.calls.join('|'), calls);
    for (int i = 0; i < fake.calls.size(); ++i) {
        QCOMPARE(fake.apps.at(i), QString("Kelvo"));
        QVERIFY(fake.actions.at(i).startsWith("default,"));
    }
    QStringList closedIds;
    for (uint closedId : qAsConst(fake.closed))
        closedIds << QString::number(closedId);
    QCOMPARE(closedIds.join(','), closed);
    if (!opened.isEmpty()) {
        QTRY_VERIFY(!heard.isEmpty());
        QVERIFY(window.isVisible());
    }
    QCOMPARE(heard.join('|'), opened);
}

QTEST_MAIN(TestChatNotifier)
#include "tst_chatnotifier.moc"
