// Albums, photos, pictures and the strict multipart upload.
#include "sandboxtestsupport.h"

#include "multipart.h"

#include <QBuffer>
#include <QtTest>

namespace {

const QByteArray boundary = "---------------------------723690991551375881941828858";

QByteArray jpeg(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG");
    return data;
}

// The body exactly as the app's uploader builds it.
QByteArray clientBody(const QByteArray &file, const QByteArray &name, const QByteArray &type) {
    QByteArray b;
    b += "--" + boundary + "\r\n";
    b += "Content-Disposition: form-data; name=\"action\"\r\n\r\n\r\n";
    b += "--" + boundary + "\r\n";
    b += "Content-Disposition: form-data; name=\"file\"; filename=\"" + name + "\"\r\n";
    b += "Content-Type: image/" + type + "\r\n\r\n";
    b += file + "\r\n";
    b += "--" + boundary + "\r\n";
    b += "Content-Disposition: form-data; name=\"desc\"\r\n\r\n";
    b += "Description for my image here :)\r\n\r\n";
    b += "--" + boundary + "--\r\n";
    return b;
}

const QByteArray contentType = "multipart/form-data; boundary=" + boundary;

} // namespace

class TestSandboxPhotos : public SandboxTest {
    Q_OBJECT

private:
    HttpResult upload(const QString &album, const QByteArray &body,
                      const QByteArray &type = contentType) {
        return httpRequest("POST", f->withToken(album + "/photos?message=Hello"), body,
                           {{"Content-Type", type}, {"Accept-Encoding", "gzip,deflate"}});
    }

private slots:

    void albumsAndPhotoBlocks() {
        const QJsonArray albums = f->list("me/albums?limit=100");
        QVERIFY(albums.size() >= 8);
        QString big;
        bool wall = false;
        for (const QJsonValue &v : albums) {
            const QJsonObject a = v.toObject();
            QVERIFY(a.value("count").isDouble());
            QVERIFY(isGraphTime(a.value("updated_time").toString()));
            wall |= a.value("name") == "Wall Photos" && a.value("type") == "normal";
            if (a.value("count").toInt() > 75)
                big = a.value("id").toString();
        }
        QVERIFY(wall);
        QVERIFY(!big.isEmpty());
        const QString fields =
            "?fields=id,tags,height,from,width,name,images,comments,likes,picture&limit=75";
        const QJsonObject block = f->getObject(big + "/photos" + fields);
        const QJsonArray photos = block.value("data").toArray();
        QCOMPARE(photos.size(), 75);
        const QJsonObject photo = photos[0].toObject();
        QVERIFY(!photo.contains("created_time")); // narrowed to the asked fields
        QVERIFY(photo.value("width").toInt() > 0 && photo.value("height").toInt() > 0);
        const QJsonArray images = photo.value("images").toArray();
        QVERIFY(images.size() >= 3);
        QCOMPARE(images[0].toObject().value("width").toInt(), photo.value("width").toInt());
        const HttpResult source =
            httpRequest("GET", images[0].toObject().value("source").toString());
        QCOMPARE(QImage::fromData(source.body).width(), photo.value("width").toInt());
        QCOMPARE(
            QImage::fromData(httpRequest("GET", photo.value("picture").toString()).body).width(),
            130);
        const QString next = block.value("paging").toObject().value("next").toString();
        QVERIFY(next.startsWith(f->root()));
        const QJsonObject rest = f->getObject(next);
        QVERIFY(!rest.value("data").toArray().isEmpty());
        QVERIFY(!rest.value("paging").toObject().contains("next"));

        bool tagged = false;
        for (const QJsonValue &v : photos)
            tagged |= !v.toObject().value("tags").toObject().value("data").toArray().isEmpty();
        QVERIFY(tagged);
        // The "tagged" row lists photos the person is tagged in.
        QVERIFY(!f->list(f->me() + "/photos" + fields).isEmpty());
    }

    void onePhotoWithLikesAndComments() {
        QString id;
        for (const QJsonValue &a : f->list("me/albums"))
            for (const QJsonValue &p : f->list(a.toObject().value("id").toString() + "/photos"))
                if (p.toObject().contains("comments") && p.toObject().contains("likes"))
                    id = p.toObject().value("id").toString();
        QVERIFY(!id.isEmpty());
        QVERIFY(!f->list(id + "/likes?limit=1000&field=id").isEmpty());
        const QJsonObject photo = f->getObject(id);
        QVERIFY(!photo.value("source").toString().isEmpty());
        QVERIFY(photo.value("comments").toObject().value("data")[0].toObject().contains("from"));
        QCOMPARE(f->post(id + "/comments?message=Nice").status, 200);
        const QJsonArray friends = f->list("me/friends");
        const QString friendId = friends[5].toObject().value("id").toString();
        QCOMPARE(f->post(id + "/tags/" + friendId).status, 200);
        bool found = false;
        for (const QJsonValue &t :
             f->getObject(id).value("tags").toObject().value("data").toArray())
            found |= t.toObject().value("id") == friendId;
        QVERIFY(found);
    }

    void picturesForEveryObject_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("width");
        QTest::addColumn<bool>("token");
        QTest::newRow("person") << "100000000000010/picture" << 50 << false;
        QTest::newRow("person with token") << "100000000000010/picture" << 50 << true;
        QTest::newRow("normal") << "100000000000010/picture?type=normal" << 100 << false;
        QTest::newRow("page") << "300000000000001/picture?type=thumbnail" << 50 << true;
        QTest::newRow("group") << "400000000000001/picture" << 50 << true;
        QTest::newRow("event") << "500000000000001/picture" << 50 << false;
    }
    void picturesForEveryObject() {
        QFETCH(QString, path);
        QFETCH(int, width);
        QFETCH(bool, token);
        const HttpResult r = token ? f->get(path) : httpRequest("GET", f->root() + "/" + path);
        QCOMPARE(r.status, 200);
        QVERIFY(r.header("Content-Type").startsWith("image/"));
        QCOMPARE(QImage::fromData(r.body).width(), width);
    }

    void albumCoversAndUnknownIds() {
        const QString album = f->list("me/albums")[0].toObject().value("id").toString();
        QCOMPARE(QImage::fromData(f->get(album + "/picture?type=thumbnail").body).width(), 130);
        QCOMPARE(httpRequest("GET", f->root() + "/123/picture").status, 404);
    }

    void createAlbumThenUpload() {
        const HttpResult created =
            f->post("me/albums?name=" + QUrl::toPercentEncoding("Trip & more") +
                    "&message=" + QUrl::toPercentEncoding("Up north"));
        const QString album = created.object().value("id").toString();
        QVERIFY(!album.isEmpty());
        const HttpResult r = upload(album, clientBody(jpeg(321, 123), "IMG_0001.JPG", "jpg"));
        QCOMPARE(r.status, 200);
        const QString photo = r.object().value("id").toString();
        QVERIFY(!photo.isEmpty());
        const QJsonObject listed = f->list(album + "/photos")[0].toObject();
        QCOMPARE(listed.value("id").toString(), photo);
        QCOMPARE(listed.value("name").toString(), QStringLiteral("Hello"));
        QCOMPARE(listed.value("width").toInt(), 321);
        const QImage served =
            QImage::fromData(httpRequest("GET", listed.value("source").toString()).body);
        QCOMPARE(served.size(), QSize(321, 123));
        QCOMPARE(f->getObject(album).value("count").toInt(), 1);
        // An upload to the user goes to their wall album.
        QCOMPARE(upload("me", clientBody(jpeg(40, 40), "a.png", "png")).status, 200);
    }

    void brokenUploadsAreRefused_data() {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QByteArray>("type");
        const QByteArray good = clientBody(jpeg(20, 20), "x.jpg", "jpeg");
        QTest::newRow("empty file part") << clientBody({}, "x.jpg", "jpeg") << contentType;
        QTest::newRow("not an image") << clientBody("plain text", "x.jpg", "jpeg") << contentType;
        QByteArray text = good;
        text.replace("Content-Type: image/jpeg", "Content-Type: text/plain");
        QTest::newRow("not an image type") << text << contentType;
        QTest::newRow("odd image type") << clientBody(jpeg(20, 20), "x", "../x") << contentType;
        QTest::newRow("truncated") << good.left(good.size() / 2) << contentType;
        QTest::newRow("no closing delimiter") << good.left(good.size() - 8) << contentType;
        QTest::newRow("other boundary") << good << QByteArray("multipart/form-data; boundary=abc");
        QTest::newRow("no boundary") << good << QByteArray("multipart/form-data");
        QTest::newRow("not multipart") << good << QByteArray("image/jpeg");
        QTest::newRow("empty body") << QByteArray() << contentType;
    }
    void brokenUploadsAreRefused() {
        QFETCH(QByteArray, body);
        QFETCH(QByteArray, type);
        const QString album = f->list("me/albums")[2].toObject().value("id").toString();
        const int before = f->getObject(album).value("count").toInt();
        const HttpResult r = upload(album, body, type);
        QCOMPARE(r.status, 400);
        QVERIFY(r.object().value("error").toObject().contains("message"));
        QCOMPARE(f->getObject(album).value("count").toInt(), before);
    }

    void uploadToSomeoneElsesAlbumIsRefused() {
        const QString friendId = f->list("me/friends")[0].toObject().value("id").toString();
        const QString album = f->list(friendId + "/albums")[0].toObject().value("id").toString();
        QCOMPARE(upload(album, clientBody(jpeg(20, 20), "x.jpg", "jpg")).status, 400);
    }

    void parserIsStrict() {
        const QByteArray good = clientBody("DATA", "x.jpg", "jpg");
        MultipartResult r = parseMultipart(contentType, good, good.size());
        QVERIFY(r.ok);
        QCOMPARE(r.parts.size(), 3);
        QCOMPARE(r.parts[0].name, QByteArray("action"));
        QVERIFY(r.parts[0].data.isEmpty());
        QCOMPARE(r.parts[1].fileName, QByteArray("x.jpg"));
        QCOMPARE(r.parts[1].contentType, QByteArray("image/jpg"));
        QCOMPARE(r.parts[1].data, QByteArray("DATA"));
        QCOMPARE(r.parts[2].data, QByteArray("Description for my image here :)\r\n"));

        QVERIFY(!parseMultipart(contentType, good, good.size() + 1).ok);
        QVERIFY(!parseMultipart(contentType, good, -1).ok);
        QVERIFY(!parseMultipart(contentType, "preamble\r\n" + good, good.size() + 10).ok);
        QByteArray trailing = good + "junk";
        QVERIFY(!parseMultipart(contentType, trailing, trailing.size()).ok);
        QByteArray noName = good;
        noName.replace("name=\"action\"", "nom=\"action\"");
        QVERIFY(!parseMultipart(contentType, noName, noName.size()).ok);
        QByteArray bareLf = good;
        bareLf.replace("name=\"desc\"\r\n", "name=\"desc\"\n");
        QVERIFY(!parseMultipart(contentType, bareLf, bareLf.size()).ok);
        const QByteArray quoted = "multipart/form-data; boundary=\"" + boundary + "\"";
        QVERIFY(parseMultipart(quoted, good, good.size()).ok);
        QVERIFY(!parseMultipart("multipart/form-data; boundary=" + QByteArray(71, 'a'), good,
                                good.size())
                     .ok);
    }
};

QTEST_MAIN(TestSandboxPhotos)
#include "tst_sandbox_photos.moc"
