// The root window and the host around it: what exists when, how the root
// window relays between the main window and the native objects, and how the
// application ends.
#include <QApplication>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQmlExpression>
#include <QQuickItem>
#include <QQuickView>
#include <QtTest>
#include <QtWebEngine>

#include "apphost.h"
#include "chatdata.h"
#include "rootwiring.h"

// Records, in one shared log, the calls that reach the native side.
class Recorder : public QObject {
    Q_OBJECT

public:
    Recorder(QString name, QStringList *log)
        : m_name(std::move(name))
        , m_log(log) {}

signals:
    // The chat client's, the chat model's and the uploader's signals.
    void accountCleared();
    void ownJidReceived(QString jid);
    void rosterReceived(Roster roster);
    void presenceUpdate(QString jid, QString type, QString show);
    void connectionLost();
    void msgReceived(IncomingMessage message);
    void msgSent(QString to, QString text, QString id);
    void msgDelivered(QString id);
    void messageReceived(QVariant jid, QVariant msg);
    void clientConnected(QVariant ownJid);
    void setPresence();
    void photoUploaded(QVariant reply);
    // The conversation cache's and the chat model's for it.
    void pendingRestored(QString to, QString text, QString id);
    void contentChanged();

public slots:
    void sendMessage(QString to, QString msg) { note("sendMessage", {to, msg}); }
    void connectChat(QString key) { note("connectChat", {key}); }
    void disconnectChat() { note("disconnectChat"); }
    void setPresence(bool on) { note("setPresence", {on ? "1" : "0"}); }
    void openLink(QString link) { note("openLink", {link}); }
    void playsound(QString dir, QString sound, QString full) {
        note("playsound", {dir, sound, full});
    }
    void clear() { note("clear"); }
    void setOwnJid(QString jid) { note("setOwnJid", {jid}); }
    void setRoster(Roster roster) { note("setRoster", {QString::number(roster.size())}); }
    void presenceReceived(QString jid, QString type, QString show) {
        note("presenceReceived", {jid, type, show});
    }
    void sessionLost() { note("sessionLost"); }
    void fileIncoming(IncomingMessage m) { note("fileIncoming", {m.from, m.body}); }
    void fileOutgoing(QString to, QString text, QString id) {
        note("fileOutgoing", {to, text, id});
    }
    void setDelivered(QString id) { note("setDelivered", {id}); }
    void clearConversation(QString jid) { note("clearConversation", {jid}); }
    void markAsRead(QString jid) { note("markAsRead", {jid}); }
    void uploadFile(QString path, QString message, QString album, QString token) {
        note("uploadFile", {path, message, album, token});
    }
    void quit() { note("quit"); }
    void restore(QString token) { note("restore", {token}); }
    void confirm(QString jid) { note("confirm", {jid}); }
    void close() { note("close"); }
    void scheduleSave() { note("scheduleSave"); }
    void requeue(QString to, QString text, QString id) { note("requeue", {to, text, id}); }

private:
    void note(const QString &what, const QStringList &args = {}) {
        *m_log << (m_name + ":" + what + (args.isEmpty() ? "" : " " + args.join('|')));
    }
    QString m_name;
    QStringList *m_log;
};

class TestRootWindow : public QObject {
    Q_OBJECT

private slots:
    void nativeObjectsArePublishedAfterTheRootIsCreated();
    void mainWindowLoadsAfterTheSplash();
    void relaysInConnectionOrder();
    void normalisesUploads_data();
    void normalisesUploads();
    void uploadAnswers_data();
    void uploadAnswers();
    void quitEndsTheLoopButQtQuitDoesNot();

private:
    static QObject *mainWindow(QQuickView &view) {
        auto *loader = view.rootObject()->findChild<QObject *>("mainContainer");
        return loader ? loader->property("item").value<QObject *>() : nullptr;
    }
    static QVariant eval(QObject *scope, const QString &expression) {
        QQmlExpression e(qmlContext(scope), scope, expression);
        const QVariant value = e.evaluate();
        if (e.hasError())
            qWarning() << e.error();
        return value;
    }
    // The real root window wired to recorders instead of the native objects.
    struct Wired {
        QQuickView view;
        QStringList log;
        Recorder chat{"chat", &log};
        Recorder model{"model", &log};
        Recorder upload{"upload", &log};
        Recorder app{"app", &log};
        Recorder links{"links", &log};
        Recorder cache{"cache", &log};
    };
    static void wire(Wired &w) {
        w.view.setResizeMode(QQuickView::SizeRootObjectToView);
        w.view.rootContext()->setContextProperty("dir", "/opt/kelvo/");
        w.view.setSource(AppHost::defaultRoot);
        QVERIFY(w.view.rootObject());
        NativeObjects objects;
        objects.chatClient = &w.chat;
        objects.chatData = &w.model;
        objects.photoUploader = &w.upload;
        objects.linkOpener = &w.links;
        objects.chatCache = &w.cache;
        QCOMPARE(connectRootWindow(w.view.rootObject(), objects, &w.app), 30);
        w.view.show();
        QTRY_VERIFY(mainWindow(w.view));
    }
};

void TestRootWindow::nativeObjectsArePublishedAfterTheRootIsCreated() {
    AppHost host(qobject_cast<QGuiApplication *>(qApp), ServiceSettings::builtIn());
    host.start(QUrl::fromLocalFile(QFINDTESTDATA("data/probe_root.qml")), false);
    QObject *root = host.rootObject();
    QVERIFY(root);
    QCOMPARE(root->property("atCreation").toString(),
             QStringLiteral("undefined,undefined,undefined"));
    // Objects not in this build are published as null: defined, but empty.
    QTRY_COMPARE(root->property("later").toString(), QStringLiteral("object,object,string"));
    QVERIFY(host.nativeObjects().imageSaver);
    QCOMPARE(eval(root, "imageSaver").value<QObject *>(), host.nativeObjects().imageSaver);

    const QString dir = eval(root, "dir").toString();
    QVERIFY(dir.endsWith(QDir::separator()));
    QVERIFY(!dir.endsWith(QString(2, QDir::separator())));
    QCOMPARE(QDir(dir).canonicalPath(),
             QDir(QCoreApplication::applicationDirPath()).canonicalPath());
}

void TestRootWindow::mainWindowLoadsAfterTheSplash() {
    QQuickView view;
    view.setSource(AppHost::defaultRoot);
    QVERIFY2(view.rootObject(), qPrintable(view.errors().value(0).toString()));
    QVERIFY(!mainWindow(view));
    QPointer<QObject> splash = view.rootObject()->findChild<QObject *>("splash");
    QVERIFY(splash);
    QTRY_VERIFY(mainWindow(view));
    QVERIFY(splash);
    // Fade-out of 700 ms, then the splash is gone for good.
    QTRY_VERIFY_WITH_TIMEOUT(!splash, 5000);
    QVERIFY(mainWindow(view));
}

void TestRootWindow::relaysInConnectionOrder() {
    Wired w;
    wire(w);
    QObject *main = mainWindow(w.view);

    QMetaObject::invokeMethod(main, "sendMsg", Q_ARG(QString, "-1@chat"), Q_ARG(QString, "hi"));
    QCOMPARE(w.log, QStringList{"chat:sendMessage -1@chat|hi"});

    // Every chat event reaches the model, which files what is sent; the
    // cache hears of the account before the model, and saves its changes.
    w.log.clear();
    main->setProperty("chatConnected", true);
    emit w.chat.ownJidReceived("-9@chat/me");
    emit w.chat.rosterReceived(Roster{{"-2@chat", "Two"}});
    emit w.chat.presenceUpdate("-2@chat/r", "", "away");
    emit w.chat.msgReceived(IncomingMessage{"-2@chat/r", "i1", "yo"});
    emit w.chat.msgSent("-2@chat", "hey", "o1");
    emit w.chat.msgDelivered("o1");
    emit w.chat.connectionLost();
    emit w.chat.accountCleared();
    emit w.cache.pendingRestored("-2@chat", "kept", "o0");
    emit w.model.contentChanged();
    QCOMPARE(w.log,
             (QStringList{"cache:confirm -9@chat/me", "model:setOwnJid -9@chat/me",
                          "model:setRoster 1", "model:presenceReceived -2@chat/r||away",
                          "model:fileIncoming -2@chat/r|yo", "model:fileOutgoing -2@chat|hey|o1",
                          "model:setDelivered o1", "model:sessionLost", "cache:close",
                          "model:clear", "chat:requeue -2@chat|kept|o0", "cache:scheduleSave"}));
    // A lost session shows as not connected.
    QVERIFY(!main->property("chatConnected").toBool());

    w.log.clear();
    QMetaObject::invokeMethod(main, "connectChat", Q_ARG(QString, "tok"));
    QMetaObject::invokeMethod(main, "setPresence", Q_ARG(bool, false));
    QMetaObject::invokeMethod(main, "openLink", Q_ARG(QString, "http://x.test"));
    QMetaObject::invokeMethod(main, "clearConversation", Q_ARG(QString, "-3@c"));
    QMetaObject::invokeMethod(main, "markAsRead", Q_ARG(QString, "-4@c"));
    QMetaObject::invokeMethod(main, "playSound", Q_ARG(QString, "chat"), Q_ARG(QString, "1"));
    QCOMPARE(w.log, (QStringList{"chat:connectChat tok", "cache:restore tok", "chat:setPresence 0",
                                 "links:openLink http://x.test", "model:clearConversation -3@c",
                                 "model:markAsRead -4@c", "chat:playsound /opt/kelvo/|chat|1"}));

    // The platform's keyboard hooks make room below the content.
    QObject *root = w.view.rootObject();
    QMetaObject::invokeMethod(root, "keyboardOpened");
    QVERIFY(main->property("vkbOpen").toBool());
    QVERIFY(main->property("bottomMargin").toInt() > 0);
    QMetaObject::invokeMethod(root, "keyboardClosed");
    QVERIFY(!main->property("vkbOpen").toBool());
    QCOMPARE(main->property("bottomMargin").toInt(), 0);

    // Quitting closes the chat first, then ends the application.
    w.log.clear();
    QMetaObject::invokeMethod(main, "quit");
    QCOMPARE(w.log, (QStringList{"chat:disconnectChat", "app:quit"}));
}

void TestRootWindow::normalisesUploads_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("token");
    QTest::addColumn<QString>("expected");
    const char *rows[][4] = {
        {"bare token, home-relative path", "home/user/MyDocs/a.jpg", "abc",
         "MyDocs/a.jpg|Hello|42|access_token=abc"},
        {"token pair kept, absolute path kept", "/home/user/b.png", "access_token=xyz",
         "/home/user/b.png|Hello|42|access_token=xyz"},
        {"prefix only at the start", "x/home/user/c.jpg", "access_tokenq",
         "x/home/user/c.jpg|Hello|42|access_tokenq"},
    };
    for (const auto &row : rows)
        QTest::newRow(row[0]) << QString(row[1]) << QString(row[2]) << QString(row[3]);
}

void TestRootWindow::normalisesUploads() {
    QFETCH(QString, path);
    QFETCH(QString, token);
    QFETCH(QString, expected);
    Wired w;
    wire(w);
    QMetaObject::invokeMethod(mainWindow(w.view), "uploadPhoto", Q_ARG(QString, path),
                              Q_ARG(QString, "Hello"), Q_ARG(QString, "42"), Q_ARG(QString, token));
    QCOMPARE(w.log, QStringList{"upload:uploadFile " + expected});
}

void TestRootWindow::uploadAnswers_data() {
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("photoId");
    const char *rows[][3] = {
        {"photo id", R"({"id":"123"})", "123"},
        {"error object", R"({"error":{"message":"bad"}})", ""},
        {"not json", "<html>502 Bad Gateway</html>", ""},
        {"empty body", "", ""},
        {"json null", "null", ""},
    };
    for (const auto &row : rows)
        QTest::newRow(row[0]) << QString(row[1]) << QString(row[2]);
}

void TestRootWindow::uploadAnswers() {
    QFETCH(QString, reply);
    QFETCH(QString, photoId);
    const bool ok = !photoId.isEmpty();
    Wired w;
    wire(w);
    QObject *main = mainWindow(w.view);
    QVERIFY(eval(main, QString("waiting.state = 'shown'; uploadOk = %1").arg(ok ? "false" : "true"))
                .isValid());

    emit w.upload.photoUploaded(QVariant(reply));
    QCOMPARE(main->property("uploadedPhoto").toString(), photoId);
    QCOMPARE(main->property("uploadOk").toBool(), ok);
    // Whatever the answer, the waiting indicator goes away.
    QCOMPARE(eval(main, "waiting.state").toString(), QStringLiteral("hidden"));
}

void TestRootWindow::quitEndsTheLoopButQtQuitDoesNot() {
    AppHost host(qobject_cast<QGuiApplication *>(qApp), ServiceSettings::builtIn());
    host.start(AppHost::defaultRoot, false);
    QTRY_VERIFY(mainWindow(*host.view()));
    QObject *main = mainWindow(*host.view());

    // A bare Qt.quit() in the scene leaves the loop running: exit(7) ends it.
    QTimer::singleShot(0, main, [main] { eval(main, "Qt.quit()"); });
    QTimer::singleShot(300, qApp, [] { QCoreApplication::exit(7); });
    QCOMPARE(QCoreApplication::exec(), 7);

    // The main window's quit() goes through the root window to the application.
    QTimer::singleShot(0, main, [main] { QMetaObject::invokeMethod(main, "quit"); });
    QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(9); });
    QCOMPARE(QCoreApplication::exec(), 0);
}

int main(int argc, char *argv[]) {
    // The main window holds the login dialog's web engine, which is set up
    // before the application; the settings live in a test-only folder.
    QtWebEngine::initialize();
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    QDir(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation))
        .removeRecursively();
    TestRootWindow test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_rootwindow.moc"
