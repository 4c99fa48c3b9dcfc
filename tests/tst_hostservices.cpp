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
    void onlyWebLinksAreOpened_data();
    void onlyWebLinksAreOpened();
    void settingsFolderIsPrivate();
};

void TestHostServices::onlyWebLinksAreOpened_data() {
    QTest::addColumn<QString>("link");
    QTest::addColumn<QString>("opened");
    QTest::newRow("http") << "http://example.org/a?b=1"
                          << "http://example.org/a?b=1";
    QTest::newRow("https") << "https://example.org/"
                           << "https://example.org/";
    QTest::newRow("no scheme") << "www.example.org/page"
                               << "http://www.example.org/page";
    QTest::newRow("host and port") << "example.org:8470/x"
                                   << "http://example.org:8470/x";
    QTest::newRow("upper case") << "HTTPS://example.org/"
                                << "https://example.org/";
    QTest::newRow("file") << "file:///etc/passwd"
                          << "";
    QTest::newRow("javascript") << "javascript:alert(1)"
                                << "";
    QTest::newRow("mail") << "mailto:someone@example.org"
                          << "";
    QTest::newRow("look-alike scheme") << "httpx://example.org/"
                                       << "";
    QTest::newRow("no host") << "http://"
                             << "";
    QTest::newRow("empty") << "  "
                           << "";
}

void TestHostServices::onlyWebLinksAreOpened() {
    QFETCH(QString, link);
    QFETCH(QString, opened);
    UrlSink sink;
    QDesktopServices::setUrlHandler("http", &sink, "open");
    QDesktopServices::setUrlHandler("https", &sink, "open");
    QDesktopServices::setUrlHandler("file", &sink, "open");
    QDesktopServices::setUrlHandler("javascript", &sink, "open");
    QDesktopServices::setUrlHandler("httpx", &sink, "open");

    LinkOpener().openLink(link);
    QCOMPARE(sink.opened.size(), opened.isEmpty() ? 0 : 1);
    if (!opened.isEmpty())
        QCOMPARE(sink.opened.first().toString(), opened);
    for (const char *scheme : {"http", "https", "file", "javascript", "httpx"})
        QDesktopServices::unsetUrlHandler(scheme);
}

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

QTEST_GUILESS_MAIN(TestHostServices)
#include "tst_hostservices.moc"
