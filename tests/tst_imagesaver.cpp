// The image saver: pictures written as JPEG on a white ground, into their
// folder and nowhere else, never over a saved picture; failures reported; the
// caches pruned by age and named to the scene.
#include <QtQuick>
#include <QtTest>

#include "imagesaver.h"

class TestImageSaver : public QObject {
    Q_OBJECT

    QQmlEngine m_engine;
    std::unique_ptr<QTemporaryDir> m_dir;
    ImageSaver::Folders m_folders;
    std::unique_ptr<ImageSaver> m_saver;
    QString m_picture;

    // An 80 x 60 Image item showing `source`, by default the test's 40 x 30
    // picture: its left half blue, its right half transparent.
    QQuickItem *pictureItem(const QString &source = {}) {
        QQmlComponent c(&m_engine);
        c.setData("import QtQuick 2.15; Image { width: 80; height: 60 }", QUrl());
        auto *item = qobject_cast<QQuickItem *>(c.create());
        item->setParent(this);
        item->setProperty("source",
                          source.isEmpty() ? QUrl::fromLocalFile(m_picture) : QUrl(source));
        return item;
    }
    // Files under the test's folder, the picture aside.
    int filesWritten() const {
        QDirIterator it(m_dir->path(), QDir::Files, QDirIterator::Subdirectories);
        int n = 0;
        while (it.hasNext())
            n += it.next() == m_picture ? 0 : 1;
        return n;
    }

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        const QString root = m_dir->path();
        m_folders = {root + "/profile/", root + "/feed/", root + "/saved/"};
        m_saver = std::make_unique<ImageSaver>(m_folders);
        QImage picture(40, 30, QImage::Format_ARGB32);
        picture.fill(Qt::transparent);
        QPainter(&picture).fillRect(0, 0, 20, 30, Qt::blue);
        m_picture = root + "/picture.png";
        QVERIFY(picture.save(m_picture));
    }

    void writesPicturesOnWhite_data() {
        QTest::addColumn<bool>("grabbed");
        QTest::newRow("picture item's file, scaled to the item") << false;
        QTest::newRow("item's grab") << true;
    }
    void writesPicturesOnWhite() {
        QFETCH(bool, grabbed);
        QObject *picture = pictureItem();
        QQuickView view;
        QSharedPointer<QQuickItemGrabResult> grab;
        if (grabbed) {
            static_cast<QQuickItem *>(picture)->setParentItem(view.contentItem());
            view.show();
            QVERIFY(QTest::qWaitForWindowExposed(&view));
            grab = static_cast<QQuickItem *>(picture)->grabToImage();
            QVERIFY(QSignalSpy(grab.data(), &QQuickItemGrabResult::ready).wait());
            picture = grab.data();
        }
        // Saved twice: the second picture takes a number, the first stays.
        QSignalSpy saved(m_saver.get(), &ImageSaver::imageSaved);
        for (const char *written : {"p.jpg", "p (2).jpg"}) {
            QVERIFY(m_saver->saveImage(picture, "p.jpg"));
            QCOMPARE(saved.takeFirst().value(0).toString(), m_folders.saved + written);
        }
        QImageReader reader(m_folders.saved + "p.jpg");
        QCOMPARE(reader.format(), QByteArray("jpeg"));
        const QImage image = reader.read();
        QCOMPARE(image.size(), QSize(80, 60));
        const QColor left = image.pixelColor(10, 30), right = image.pixelColor(70, 30);
        QVERIFY2(left.blue() > 200 && left.red() < 50, qPrintable(left.name()));
        QVERIFY2(qMin(right.red(), right.blue()) > 240, qPrintable(right.name()));
    }

    void reportsFailures_data() {
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("name");
        const char *rows[][3] = {
            {"null", "null", "p.jpg"},
            {"not an item", "object", "p.jpg"},
            {"remote picture", "http://x.test/p.jpg", "p.jpg"},
            {"unwritable folder", "blocked", "p.jpg"},
            {"absolute name", "", "<root>/abs.jpg"},
        };
        for (const auto &row : rows)
            QTest::newRow(row[0]) << QString(row[1]) << QString(row[2]);
        for (const char *name : {"", ".", "..", "../up.jpg", "sub/p.jpg", "sub\\p.jpg", "c:p.jpg"})
            QTest::newRow(qPrintable(QString("name '%1'").arg(name))) << "" << name;
    }
    void reportsFailures() {
        QFETCH(QString, what);
        QFETCH(QString, name);
        name.replace("<root>", m_dir->path());
        QObject plain;
        QObject *picture = what == "null"     ? nullptr
                           : what == "object" ? &plain
                                              : pictureItem(what.startsWith("http") ? what : "");
        // A folder under a plain file cannot be made, not even by root.
        QFile blocker(m_dir->filePath("blocker"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        const QString b = blocker.fileName();
        if (what == "blocked")
            m_saver = std::make_unique<ImageSaver>(
                ImageSaver::Folders{b + "/profile/", b + "/feed/", b + "/saved/"});
        for (const QString &folder : {m_folders.saved, m_folders.profileCache, m_folders.feedCache})
            QVERIFY(QDir(folder).mkpath("sub"));
        QSignalSpy failed(m_saver.get(), &ImageSaver::saveFailed);
        QVERIFY(!m_saver->saveImage(picture, name));
        QCOMPARE(failed.count(), 1);
        QCOMPARE(failed.value(0).value(0).toString(), name);
        QVERIFY(!m_saver->save(picture, name) && !m_saver->saveFeed(picture, name));
        QCOMPARE(filesWritten(), 1); // the blocker
    }

    void prunesOldCacheFiles() {
        const QVector<std::tuple<QString, int, bool>> rows = {
            {m_folders.profileCache + "old.jpg", 31, false},
            {m_folders.feedCache + "old.jpg", 45, false},
            {m_folders.feedCache + "new.jpg", 29, true},
            {m_folders.saved + "old.jpg", 90, true}, // the user's pictures stay
        };
        QVERIFY(QDir().mkpath(m_folders.saved));
        for (const auto &[path, days, kept] : rows) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            QVERIFY(f.setFileTime(QDateTime::currentDateTime().addDays(-days),
                                  QFileDevice::FileModificationTime));
        }
        ImageSaver restarted(m_folders);
        for (const auto &[path, days, kept] : rows)
            QVERIFY2(QFile::exists(path) == kept, qPrintable(path));
    }

    void namesTheScenesCacheFolders() {
        QQmlComponent c(&m_engine, QUrl("qrc:/qml/window/WindowState.qml"));
        QQmlContext context(&m_engine);
        context.setContextProperty("imageSaver", m_saver.get());
        std::unique_ptr<QObject> hosted(c.create(&context));
        QVERIFY2(hosted, qPrintable(c.errorString()));

        QVERIFY(m_saver->save(pictureItem(), "42.jpg") &&
                m_saver->saveFeed(pictureItem(), "7.jpg"));
        QVERIFY(m_saver->imageExists("42") && m_saver->feedImageExists("7"));
        QVERIFY(!m_saver->feedImageExists("42") && !m_saver->imageExists("../feed/7"));
        // The scene shows cached pictures from the very files the saver wrote.
        for (const auto &[folder, id] :
             {std::pair{"profileImageCacheFolder", "42"}, std::pair{"feedImageCacheFolder", "7"}}) {
            const QString url = hosted->property(folder).toString() + id + ".jpg";
            QVERIFY2(QImage(QUrl(url).toLocalFile()).size() == QSize(80, 60), qPrintable(url));
        }
    }
};

QTEST_MAIN(TestImageSaver)
#include "tst_imagesaver.moc"
