#include "answershapes.h"

#include "switches.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <algorithm>

namespace {

// Paging keys a cursor may stand for.
const char *const cursorKeys[] = {"offset", "until", "since"};

constexpr QByteArray::Base64Options cursorEncoding =
    QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals;

// A paging address with its position as a cursor, malformed escapes, or both.
QString reshapeAddress(const QString &url, const char *cursorName, int shapes, QString *cursor) {
    QString out = url;
    const int question = url.indexOf(QLatin1Char('?'));
    if (shapes & ShapeCursors && question > 0) {
        QueryItems query = parseQuery(url.mid(question + 1).toUtf8());
        for (auto &item : query)
            for (const char *key : cursorKeys)
                if (item.first == QLatin1String(key) && cursor->isEmpty()) {
                    *cursor = QString::fromLatin1((item.first + QLatin1Char('=') + item.second)
                                                      .toUtf8()
                                                      .toBase64(cursorEncoding));
                    item = {QString::fromLatin1(cursorName), *cursor};
                }
        out = url.left(question + 1) + QString::fromUtf8(encodeQuery(query));
    }
    if (shapes & ShapeEscapes)
        out += QStringLiteral("&__paging_token=a%zz%E0%A4%A");
    return out;
}

QJsonObject reshapePaging(const QJsonObject &paging, int shapes) {
    QJsonObject out = paging;
    QString after, before;
    if (paging.contains("next"))
        out.insert("next",
                   reshapeAddress(paging.value("next").toString(), "after", shapes, &after));
    if (paging.contains("previous"))
        out.insert("previous",
                   reshapeAddress(paging.value("previous").toString(), "before", shapes, &before));
    if (shapes & ShapeCursors)
        out.insert("cursors", QJsonObject{{"after", after}, {"before", before}});
    return out;
}

// Tags keyed by offset as one array, in the order of their offsets.
QJsonArray flatTags(const QJsonObject &byOffset) {
    QList<QJsonObject> tags;
    for (const QJsonValue &list : byOffset)
        for (const QJsonValue &tag : list.toArray())
            tags.append(tag.toObject());
    std::stable_sort(tags.begin(), tags.end(), [](const QJsonObject &a, const QJsonObject &b) {
        return a.value("offset").toInt() < b.value("offset").toInt();
    });
    QJsonArray out;
    for (const QJsonObject &tag : tags)
        out.append(tag);
    return out;
}

QString locationText(const QJsonObject &location) {
    QStringList parts;
    for (const char *key : {"street", "city", "country"})
        if (!location.value(QLatin1String(key)).toString().isEmpty())
            parts.append(location.value(QLatin1String(key)).toString());
    return parts.join(QStringLiteral(", "));
}

bool isIdKey(const QString &key) {
    return key == QLatin1String("id") || key.endsWith(QLatin1String("_id"));
}

QJsonValue reshapeValue(const QJsonValue &value, const QString &key, int shapes);

QJsonObject reshapeObject(const QJsonObject &object, const QString &key, int shapes) {
    QJsonObject out;
    for (auto it = object.begin(); it != object.end(); ++it)
        out.insert(it.key(), reshapeValue(it.value(), it.key(), shapes));
    if (key == QLatin1String("paging") && shapes & (ShapeCursors | ShapeEscapes))
        return reshapePaging(out, shapes);
    if (shapes & ShapeSparse && out.contains("count") &&
        (key == QLatin1String("comments") || key == QLatin1String("likes")))
        return QJsonObject{{"count", out.value("count")}};
    if (shapes & ShapeSparse && key == QLatin1String("place") && out.value("location").isObject())
        out.insert("location", locationText(out.value("location").toObject()));
    return out;
}

QJsonValue reshapeValue(const QJsonValue &value, const QString &key, int shapes) {
    if (value.isObject()) {
        if (shapes & ShapeArrays &&
            (key == QLatin1String("message_tags") || key == QLatin1String("story_tags")))
            return flatTags(value.toObject());
        if (shapes & ShapeArrays && key == QLatin1String("summary"))
            return QJsonArray();
        return reshapeObject(value.toObject(), key, shapes);
    }
    if (value.isArray()) {
        const QJsonArray in = value.toArray();
        if (in.isEmpty() && shapes & ShapeObjects)
            return QJsonObject();
        QJsonArray out;
        for (const QJsonValue &item : in)
            out.append(reshapeValue(item, key, shapes));
        return out;
    }
    if (value.isString() && shapes & ShapeNumbers && isIdKey(key)) {
        static const QRegularExpression digits(QStringLiteral("^[1-9][0-9]{0,14}$"));
        if (digits.match(value.toString()).hasMatch())
            return value.toString().toDouble();
    }
    return value;
}

} // namespace

ApiResponse reshapeAnswer(const ApiResponse &answer, int shapes) {
    if (!(shapes & ~ShapeBatchFail) || answer.status != 200 ||
        !answer.contentType.startsWith("application/json"))
        return answer;
    const QJsonDocument doc = QJsonDocument::fromJson(answer.body);
    if (!doc.isObject() && !doc.isArray())
        return answer;
    QJsonValue root =
        reshapeValue(doc.isObject() ? QJsonValue(doc.object()) : doc.array(), QString(), shapes);
    if (shapes & ShapeSparse && root.toObject().value("data").isArray()) {
        // The second item without a time, the third without an author.
        QJsonObject top = root.toObject();
        QJsonArray data = top.value("data").toArray();
        const char *const dropped[] = {"created_time", "from"};
        for (int i = 1; i < 3 && i < data.size(); ++i) {
            QJsonObject item = data[i].toObject();
            item.remove(QLatin1String(dropped[i - 1]));
            data[i] = item;
        }
        top.insert("data", data);
        root = top;
    }
    ApiResponse out = ApiResponse::json(root);
    out.headers = answer.headers;
    return out;
}

QJsonValue failedBatchElement(int index, const QString &location) {
    switch (index % 3) {
    case 0:
        return QJsonObject{
            {"code", 500},
            {"headers", QJsonArray{QJsonObject{{"name", "Content-Type"},
                                               {"value", "text/javascript; charset=UTF-8"}}}},
            {"body", "{\"error\":{\"message\":\"An unknown error has occurred.\",\"type\":"
                     "\"OAuthException\",\"code\":1}}"}};
    case 1:
        return QJsonValue::Null;
    default:
        return QJsonObject{
            {"code", 302},
            {"headers", QJsonArray{QJsonObject{{"name", "Location"}, {"value", location}}}}};
    }
}

QueryItems decodeCursors(const QueryItems &query) {
    QueryItems out;
    for (const auto &item : query) {
        if (item.first != QLatin1String("after") && item.first != QLatin1String("before")) {
            out.append(item);
            continue;
        }
        const QString decoded =
            QString::fromUtf8(QByteArray::fromBase64(item.second.toLatin1(), cursorEncoding));
        const int eq = decoded.indexOf(QLatin1Char('='));
        bool known = false;
        for (const char *key : cursorKeys)
            known = known || decoded.left(eq) == QLatin1String(key);
        bool number = false;
        decoded.mid(eq + 1).toLongLong(&number);
        // Anything else is not one of ours: left for the handler to ignore.
        out.append(known && number && eq > 0 ? qMakePair(decoded.left(eq), decoded.mid(eq + 1))
                                             : item);
    }
    return out;
}
