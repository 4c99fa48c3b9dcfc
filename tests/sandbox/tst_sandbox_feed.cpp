// News feed, walls, filters, comments, likes, status and sharing.
#include "sandboxtestsupport.h"

#include <QSet>
#include <QtTest>

class TestSandboxFeed : public SandboxTest {
    Q_OBJECT

private:
    // Follows "paging"."next" to the end; every page must be a collection.
    QJsonArray followPaging(const QString &first, int *pages) {
        QJsonArray all;
        QJsonObject page = f->getObject(first);
        *pages = 1;
        for (;;) {
            if (!page.value("data").isArray())
                return {};
            for (const QJsonValue &v : page.value("data").toArray())
                all.append(v);
            const QString next = page.value("paging").toObject().value("next").toString();
            if (next.isEmpty())
                break;
            if (!next.startsWith(f->root() + "/"))
                return {};
            // The client appends its token pair to the next URL once more.
            page = f->getObject(next);
            if (++*pages > 100)
                return {};
        }
        return all;
    }

    QJsonObject storyWhere(const QJsonArray &stories,
                           const std::function<bool(const QJsonObject &)> &test) {
        for (const QJsonValue &v : stories)
            if (test(v.toObject()))
                return v.toObject();
        return {};
    }

    static QString idOf(const QJsonValue &story) { return story.toObject().value("id").toString(); }

private slots:
    void cleanup() { resetSwitches(); }

    void homeFeedPagesToTheEndWithEveryStoryShape() {
        int pages = 0;
        const QJsonArray stories = followPaging("me/home", &pages);
        QVERIFY2(stories.size() >= 300, qPrintable(QString::number(stories.size())));
        QVERIFY(pages >= 12);
        QSet<QString> ids, types;
        for (const QJsonValue &v : stories) {
            const QJsonObject s = v.toObject();
            QVERIFY(!ids.contains(s.value("id").toString()));
            ids.insert(s.value("id").toString());
            types.insert(s.value("type").toString());
            QVERIFY(!s.value("from").toObject().value("id").toString().isEmpty());
            QVERIFY(!s.value("from").toObject().value("name").toString().isEmpty());
            QVERIFY(isGraphTime(s.value("created_time").toString()));
            const QJsonObject comments = s.value("comments").toObject();
            QVERIFY(comments.value("count").isDouble());
            QVERIFY(comments.value("data").toArray().size() <= comments.value("count").toInt());
            if (s.contains("likes"))
                QVERIFY(s.value("likes").toObject().value("count").isDouble());
            if (s.contains("to"))
                QVERIFY(s.value("to").toObject().value("data").isArray());
        }
        for (const char *type : {"status", "photo", "link", "video", "checkin"})
            QVERIFY2(types.contains(QLatin1String(type)), type);

        // Links inside the world point at this sandbox, not at a placeholder.
        QVERIFY(!storyWhere(stories, [this](const QJsonObject &s) {
                     return s.value("link").toString().startsWith(f->root() + "/events/");
                 }).isEmpty());
    }

    // Paged by time, the feed reaches its end with every story once, even
    // with a page cut inside one second and a status posted between pages.
    void pagingByTimeReachesTheEndOnce() {
        const QJsonArray all = f->list("me/home?limit=2000");
        int cut = 1;
        while (cut < all.size() && all[cut].toObject().value("created_time") !=
                                       all[cut - 1].toObject().value("created_time"))
            ++cut;
        QVERIFY2(cut < all.size(), "two stories of one second");
        QCOMPARE(f->control("POST", "feed_paging?by=time").status, 200);
        QJsonObject page = f->getObject("me/home?limit=" + QString::number(cut));
        QVERIFY(page.value("paging").toObject().value("previous").toString().contains("since="));
        QStringList seen;
        for (int pages = 0; pages < 100; ++pages) {
            for (const QJsonValue &story : page.value("data").toArray())
                seen.append(idOf(story));
            const QString next = page.value("paging").toObject().value("next").toString();
            if (next.isEmpty())
                break;
            QVERIFY2(next.contains("until=") && !next.contains("offset="), qPrintable(next));
            if (pages == 0)
                QCOMPARE(f->post("me/feed?message=Between%20pages").status, 200);
            page = f->getObject(next);
        }
        QStringList expected;
        for (const QJsonValue &story : all)
            expected.append(idOf(story));
        QCOMPARE(seen, expected);
    }

    // A benchmark feed of a given size, the same every time.
    void homeFeedTakesTheSizeItIsGiven() {
        QStringList first;
        for (int round = 0; round < 2; ++round) {
            QCOMPARE(f->control("POST", "feed_size?stories=500").status, 200);
            int pages = 0;
            QStringList ids;
            for (const QJsonValue &story : followPaging("me/home?limit=100", &pages))
                ids.append(idOf(story));
            QCOMPARE(ids.size(), 500);
            QCOMPARE(QSet<QString>(ids.begin(), ids.end()).size(), 500);
            QVERIFY(round == 0 || ids == first);
            first = ids;
            QCOMPARE(f->control("POST", "feed_size?stories=0").status, 200);
            QVERIFY(f->list("me/home?limit=2000").size() < 500);
        }
        // A new status joins the feed without pushing a story out.
        QCOMPARE(f->control("POST", "feed_size?stories=500").status, 200);
        QCOMPARE(f->post("me/feed?message=On%20top").status, 200);
        QCOMPARE(f->list("me/home?limit=1000").size(), 501);
    }

    // The shapes the client must survive are in the seeded feed.
    void oddStoriesAreSeeded() {
        const QJsonArray stories = f->list("me/home?limit=400");
        const auto has = [&](const char *what,
                             const std::function<bool(const QJsonObject &)> &test) {
            QVERIFY2(!storyWhere(stories, test).isEmpty(), what);
        };
        has("photo with its album", [](const QJsonObject &s) {
            return s.value("type") == "photo" && s.value("link").toString().contains("set=a.");
        });
        has("event link",
            [](const QJsonObject &s) { return s.value("link").toString().contains("eid="); });
        has("skipped application", [](const QJsonObject &s) {
            return s.value("application").toObject().value("name") == "Spotify";
        });
        has("\"to\" other than the mentions", [](const QJsonObject &s) {
            QSet<QString> tagged, to;
            for (const QJsonValue &list : s.value("message_tags").toObject())
                tagged.insert(list.toArray()[0].toObject().value("id").toString());
            for (const QJsonValue &p : s.value("to").toObject().value("data").toArray())
                to.insert(p.toObject().value("id").toString());
            return !tagged.isEmpty() && !to.isEmpty() && tagged != to;
        });
        has("web link across character 250", [](const QJsonObject &s) {
            const QString m = s.value("message").toString();
            const int at = m.indexOf("http://");
            return at >= 0 && at < 250 && m.indexOf(' ', at) > 250;
        });
        has("hostile text in every text field", [](const QJsonObject &s) {
            const QJsonObject comment = s.value("comments").toObject().value("data")[0].toObject();
            const QString author = s.value("from").toObject().value("name").toString();
            for (const QJsonValue &text :
                 {s.value("message"), s.value("story"), s.value("name"), s.value("caption"),
                  s.value("description"), s.value("from").toObject().value("name"),
                  s.value("to").toObject().value("data")[0].toObject().value("name"),
                  comment.value("message"), comment.value("from").toObject().value("name")})
                if (!text.toString().contains("<b>"))
                    return false;
            return author.contains("_*_") && author.contains("_:_") &&
                   s.value("link").toString().startsWith("javascript:");
        });
    }

    void tagsSitAtTheirOffsets() {
        const QJsonArray stories = f->list("me/home?limit=400");
        const QJsonObject mention = storyWhere(stories, [](const QJsonObject &s) {
            return s.value("message_tags").toObject().size() >= 2;
        });
        QVERIFY(!mention.isEmpty());
        const QString message = mention.value("message").toString();
        const QJsonObject tags = mention.value("message_tags").toObject();
        for (const QString &offset : tags.keys()) {
            const QJsonObject tag = tags.value(offset).toArray().first().toObject();
            QCOMPARE(tag.value("offset").toInt(), offset.toInt());
            QCOMPARE(message.mid(offset.toInt(), tag.value("length").toInt()),
                     tag.value("name").toString());
        }
        const QJsonObject shared = storyWhere(stories, [](const QJsonObject &s) {
            for (const QJsonValue &v : s.value("story_tags").toObject())
                if (v.toArray().size() > 1)
                    return true;
            return false;
        });
        QVERIFY(!shared.isEmpty());
        QVERIFY(!shared.contains("message"));
    }

    void proxiedPicturesCarryAnEncodedSource() {
        const QJsonArray stories = f->list("me/home?limit=400");
        const QJsonObject link = storyWhere(stories, [](const QJsonObject &s) {
            const QString picture = s.value("picture").toString();
            return picture.contains("safe_image") && !picture.contains("javascript");
        });
        const QString picture = link.value("picture").toString();
        const QString src = QUrlQuery(QUrl(picture)).queryItemValue("src", QUrl::FullyDecoded);
        QVERIFY2(src.startsWith(f->root() + "/img/"), qPrintable(picture));
        QVERIFY(picture.contains("src=" + QUrl::toPercentEncoding(f->root())));
        const HttpResult image = httpRequest("GET", src);
        QCOMPARE(image.status, 200);
        QVERIFY(QImage::fromData(image.body).width() > 0);
        QCOMPARE(httpRequest("GET", picture).status, 302);
    }

    void wallsComeWithTheirCoverQuery() {
        for (const QString &id : {f->me(), QStringLiteral("me")}) {
            const QString uid = id == QLatin1String("me") ? "me()" : id;
            const QJsonArray answer =
                f->batch({QJsonObject{{"method", "GET"}, {"relative_url", id + "/feed"}},
                          QJsonObject{{"method", "GET"},
                                      {"relative_url",
                                       "fql?q=SELECT pic_cover from user where uid = " + uid}}});
            QCOMPARE(answer.size(), 2);
            QCOMPARE(answer[0].toObject().value("code").toInt(), 200);
            QVERIFY(!SandboxFixture::data(answer, 0).isEmpty());
            const QJsonObject cover =
                SandboxFixture::data(answer, 1)[0].toObject().value("pic_cover").toObject();
            QVERIFY(cover.value("source").toString().startsWith(f->root()));
            QVERIFY(cover.value("offset_y").isDouble());
        }
        // A page with a cover and one without.
        QCOMPARE(f->fql("SELECT pic_cover from page where page_id = 300000000000001")
                     .first()
                     .toObject()
                     .value("pic_cover")
                     .toObject()
                     .value("offset_y")
                     .toInt(),
                 34);
        QVERIFY(f->fql("SELECT pic_cover from page where page_id = 300000000000002").isEmpty());
        // Page, group and event walls.
        for (const char *wall : {"300000000000001", "400000000000001", "500000000000001"})
            QVERIFY2(!f->list(QLatin1String(wall) + "/feed").isEmpty(), wall);
    }

    void filtersResolveThroughFriendLists() {
        const QJsonArray answer = f->multiquery(
            {{"filters", "SELECT filter_key,icon_url,name,type FROM stream_filter WHERE uid=me()"},
             {"lists", "SELECT flid, owner, name FROM friendlist WHERE owner=me()"}});
        QCOMPARE(answer.size(), 2);
        QCOMPARE(answer[0].toObject().value("name").toString(), QStringLiteral("filters"));
        const QJsonArray filters = SandboxFixture::resultSet(answer, "filters");
        QSet<QString> flids;
        for (const QJsonValue &l : SandboxFixture::resultSet(answer, "lists"))
            flids.insert(l.toObject().value("flid").toVariant().toString());
        int resolvable = 0, dangling = 0;
        for (const QJsonValue &v : filters) {
            const QJsonObject filter = v.toObject();
            if (!filter.value("name").toString().isEmpty())
                continue;
            const QString key = filter.value("filter_key").toString();
            QVERIFY(key.startsWith("fl_"));
            (flids.contains(key.mid(3)) ? resolvable : dangling)++;
        }
        QVERIFY(resolvable >= 1);
        QVERIFY(dangling >= 1);
    }

    void filteredFeedNamesItsActors() {
        const QString fields = "post_id, viewer_id, source_id, created_time, description, "
                               "description_tags, filter_key, attribution, actor_id, target_id, "
                               "message, message_tags, app_data, action_links, attachment, "
                               "comments, likes, permalink, tagged_ids";
        const auto query = [&](const QString &key, int page) {
            return f->multiquery(
                {{"first", "SELECT " + fields +
                               " FROM stream WHERE filter_key in (SELECT filter_key FROM "
                               "stream_filter WHERE uid=me() AND filter_key = '" +
                               key + "') AND is_hidden = 0 AND created_time > 1262196000 LIMIT " +
                               QString::number(page * 50) + "," + QString::number((page + 1) * 50)},
                 {"query2", "SELECT id, name FROM profile WHERE id IN (SELECT actor_id FROM "
                            "#first) OR id IN (SELECT target_id FROM #first)"}});
        };
        const QJsonArray news = query("nf", 0);
        QCOMPARE(news[0].toObject().value("name").toString(), QStringLiteral("first"));
        const QJsonArray rows = SandboxFixture::resultSet(news, "first");
        QCOMPARE(rows.size(), 50);
        QSet<QString> profiles;
        for (const QJsonValue &p : SandboxFixture::resultSet(news, "query2"))
            profiles.insert(p.toObject().value("id").toString());
        for (const QJsonValue &v : rows) {
            const QJsonObject row = v.toObject();
            QVERIFY(profiles.contains(row.value("actor_id").toString()));
            QVERIFY(row.value("created_time").isDouble());
            QVERIFY(row.value("likes").toObject().value("count").isDouble());
            QVERIFY(row.value("comments").toObject().value("count").isDouble());
        }
        const QJsonArray photos =
            SandboxFixture::resultSet(query("app_600000000000005", 0), "first");
        int withImages = 0;
        for (const QJsonValue &v : photos) {
            const QString images =
                v.toObject().value("app_data").toObject().value("images").toString();
            if (images.isEmpty())
                continue; // a photo story without a photo object
            QVERIFY2(images.startsWith("[") &&
                         images.mid(1).split(',').first().remove(']').toLongLong() > 0,
                     qPrintable(images));
            ++withImages;
        }
        QVERIFY(withImages >= 10);
        QVERIFY(SandboxFixture::resultSet(query("nf", 1), "first").size() > 50);
    }

    void commentPagesAndLikes() {
        QString busy;
        for (const QJsonValue &v : f->list("me/home?limit=400"))
            if (v.toObject().value("comments").toObject().value("count").toInt() > 50)
                busy = v.toObject().value("id").toString();
        QVERIFY(!busy.isEmpty());
        const QJsonObject first = f->getObject(busy + "/comments?limit=50");
        QCOMPARE(first.value("data").toArray().size(), 50);
        const QJsonObject comment = first.value("data")[0].toObject();
        for (const char *key : {"id", "from", "message", "created_time"})
            QVERIFY2(comment.contains(QLatin1String(key)), key);
        QVERIFY(comment.value("likes").isDouble());
        const QString next = first.value("paging").toObject().value("next").toString();
        QVERIFY(next.startsWith(f->root()));
        QVERIFY(!f->list(next).isEmpty());
        QVERIFY(!f->list(busy + "/comments?limit=50&offset=50").isEmpty());

        const QJsonObject withName = f->getObject(busy + "?fields=comments,name");
        QVERIFY(withName.contains("comments"));
        QVERIFY(withName.value("comments").toObject().value("paging").toObject().contains("next"));

        const QJsonObject status = f->getObject(busy);
        QVERIFY(status.value("comments").toObject().value("paging").toObject().contains("next"));

        const QJsonArray pages = f->list("me/likes");
        QVERIFY(pages.size() >= 5);
        for (const QJsonValue &p : pages)
            QVERIFY(!p.toObject().value("category").toString().isEmpty());
    }

    void postingsChangeTheWorld() {
        // A status with an audience shows first in the home feed.
        const QString privacy = QUrl::toPercentEncoding("{\"value\":\"ALL_FRIENDS\"}");
        const HttpResult status = f->post("me/feed?privacy=" + privacy + "&message=" +
                                          QUrl::toPercentEncoding("Hello & good morning"));
        QCOMPARE(status.status, 200);
        const QString id = status.object().value("id").toString();
        QVERIFY(!id.isEmpty());
        const QJsonObject top = f->list("me/home")[0].toObject();
        QCOMPARE(top.value("id").toString(), id);
        QCOMPARE(top.value("message").toString(), QStringLiteral("Hello & good morning"));
        QCOMPARE(f->post("me/feed").status, 400);

        // Comment, like, unlike.
        QCOMPARE(f->post(id + "/comments?message=" + QUrl::toPercentEncoding("First!")).status,
                 200);
        QCOMPARE(f->getObject(id).value("comments").toObject().value("count").toInt(), 1);
        QCOMPARE(f->post(id + "/likes").body, QByteArray("true"));
        QCOMPARE(f->getObject(id).value("likes").toObject().value("count").toInt(), 1);
        QCOMPARE(f->post(id + "/likes?method=DELETE").status, 200);
        QVERIFY(!f->getObject(id).contains("likes"));

        // A wall post on a friend's wall, then its deletion with "?method=delete".
        const QString friendId = f->list("me/friends")[0].toObject().value("id").toString();
        const QString wall = f->post(friendId + "/feed?message=Hi").object().value("id").toString();
        QCOMPARE(f->list(friendId + "/feed")[0].toObject().value("id").toString(), wall);
        QCOMPARE(f->post(wall + "?method=delete").status, 200);
        QCOMPARE(f->get(wall).status, 400);

        // Sharing a link.
        const HttpResult share = f->post(
            "me/feed?message=Look&link=" + QUrl::toPercentEncoding("http://news.sandbox.test/x") +
            "&name=News&caption=c&description=d&picture=http://news.sandbox.test/p.jpg");
        QCOMPARE(f->getObject(share.object().value("id").toString()).value("type").toString(),
                 QStringLiteral("link"));

        // Someone else's post cannot be deleted.
        const QString foreign = f->list(friendId + "/feed")[0].toObject().value("id").toString();
        QCOMPARE(f->post(foreign + "?method=DELETE").status, 400);

        // Audience choices come from the friend lists.
        QVERIFY(f->list("me/friendlists").size() >= 3);
    }
};

QTEST_MAIN(TestSandboxFeed)
#include "tst_sandbox_feed.moc"
