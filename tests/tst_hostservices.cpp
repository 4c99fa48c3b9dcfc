// Services the host gives the scene besides the chat and upload: web links
// opened in the desktop's browser, and the private folder of the settings
// database.
#include <QDesktopServices>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QtTest>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "feedsnapshot.h"
#include "linkopener.h"
#include "privatefolder.h"

// Receives the links the desktop would open (Qt's own URL-handler hook).
class UrlSink : public QObject {
    Q_OBJECT

public:
    QList<QUrl> opened;

public slots:
    void open(const QUrl &url) { opened << url; }
};

class TestHostServices : public QObject {
    Q_OBJECT

private slots:
    void onlyWebLinksAreOpened_data() {
        QTest::addColumn<QString>("link");
        QTest::addColumn<QString>("opened");
        const char *const rows[][3] = {
            {"http", "http://example.org/a?b=1", "http://example.org/a?b=1"},
            {"https", "https://example.org/", "https://example.org/"},
            {"no scheme", "www.example.org/page", "http://www.example.org/page"},
            {"host and port", "example.org:8470/x", "http://example.org:8470/x"},
            {"upper case", "HTTPS://example.org/", "https://example.org/"},
            {"file", "file:///etc/passwd", ""},
            {"javascript", "javascript:alert(1)", ""},
            {"mail", "mailto:someone@example.org", ""},
            {"look-alike scheme", "httpx://example.org/", ""},
            {"no host", "http://", ""},
            {"empty", "  ", ""},
        };
        for (const auto &row : rows)
            QTest::newRow(row[0]) << QString(row[1]) << QString(row[2]);
    }

    void onlyWebLinksAreOpened() {
        QFETCH(QString, link);
        QFETCH(QString, opened);
        UrlSink sink;
        const char *const schemes[] = {"http", "https", "file", "javascript", "mailto", "httpx"};
        for (const char *scheme : schemes)
            QDesktopServices::setUrlHandler(scheme, &sink, "open");
        LinkOpener().openLink(link);
        for (const char *scheme : schemes)
            QDesktopServices::unsetUrlHandler(scheme);
        QCOMPARE(sink.opened.size(), opened.isEmpty() ? 0 : 1);
        if (!opened.isEmpty())
            QCOMPARE(sink.opened.first().toString(), opened);
    }

    void settingsFolderIsPrivate();
    void keptFeedBelongsToItsToken();
};

void TestHostServices::settingsFolderIsPrivate() {
    QTemporaryDir home;
    const QString folder = home.filePath("OfflineStorage/Databases");
    QVERIFY(QDir().mkpath(folder));
    QFile::setPermissions(folder, QFile::permissions(folder) | QFile::ReadOther | QFile::ExeOther);
    QFile old(folder + "/old.sqlite");
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.close();
    QFile::setPermissions(old.fileName(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                              QFile::ReadOther);

    const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                      QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    PrivateFolder guard(folder);
    QCOMPARE(QFile::permissions(folder) & others, QFile::Permissions());
    QCOMPARE(QFile::permissions(old.fileName()) & others, QFile::Permissions());

    // A database created later, with the usual umask, is made private too.
    const QString fresh = folder + "/fresh.sqlite";
    const mode_t mask = ::umask(0);
    const int fd = ::open(QFile::encodeName(fresh).constData(), O_CREAT | O_WRONLY, 0644);
    ::umask(mask);
    QVERIFY(fd >= 0);
    ::close(fd);
    QTRY_COMPARE(QFile::permissions(fresh) & others, QFile::Permissions());
}

// The kept home feed is read back only with the token it was kept for, never
// holds that token, and a damaged file reads as nothing.
void TestHostServices::keptFeedBelongsToItsToken() {
    QTemporaryDir home;
    FeedSnapshot snapshot(home.filePath("feed/home.json"));
    const QString token = QStringLiteral("access_token=AAAtokenOfMira");
    const QString rows = QStringLiteral("[{\"id\":\"1_2\",\"message\":\"Hello\"}]");

    QVERIFY(snapshot.store(token, rows));
    QCOMPARE(snapshot.load(token), rows);
    QCOMPARE(snapshot.load(QStringLiteral("access_token=AAAtokenOfAnother")), QString());
    QCOMPARE(QFile::permissions(snapshot.filePath()) & (QFile::ReadOther | QFile::ReadGroup),
             QFile::Permissions());
    QFile file(snapshot.filePath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(!file.readAll().contains("tokenOfMira"));
    file.close();

    // Rows holding the token, with or without its name, or not a list, are
    // refused and leave the kept rows as they were.
    for (const QString &refused :
         {QStringLiteral("[{\"picture\":\"/1/picture?access_token=AAAtokenOfMira\"}]"),
          QStringLiteral("[{\"next\":\"/1/feed?t=AAAtokenOfMira\"}]"), QStringLiteral("{}"),
          QStringLiteral("not json")})
        QVERIFY2(!snapshot.store(token, refused), qPrintable(refused));
    QCOMPARE(snapshot.load(token), rows);

    // The long-lived token of the same sign-in takes the rows over.
    const QString longLived = QStringLiteral("access_token=BBBlongLived");
    QVERIFY(snapshot.rekey(token, longLived));
    QCOMPARE(snapshot.load(token), QString());
    QCOMPARE(snapshot.load(longLived), rows);
    QVERIFY(!snapshot.rekey(token, longLived));

    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("{\"account\":\"");
    file.close();
    QCOMPARE(snapshot.load(longLived), QString());
    snapshot.clear();
    QVERIFY(!QFile::exists(snapshot.filePath()));
}

QTEST_GUILESS_MAIN(TestHostServices)
#include "tst_hostservices.moc"
