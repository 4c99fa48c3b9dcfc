// Messages and page mode, notifications and update counts, friends, profiles
// and search, events and birthdays, groups, places and check-ins.
#include "sandboxtestsupport.h"

#include <QSet>
#include <QtTest>

class TestSandboxSocial : public SandboxTest {
    Q_OBJECT

private:
    QJsonObject counts() { return f->getObject("/method/notifications.get?format=json"); }

private slots:

    void inboxThreads() {
        const QJsonArray threads = f->list("me/inbox");
        QVERIFY(threads.size() >= 5);
        QString previous = "9999";
        for (const QJsonValue &v : threads) {
            const QJsonObject t = v.toObject();
            QVERIFY(t.value("updated_time").toString() <= previous);
            previous = t.value("updated_time").toString();
            QVERIFY(t.value("to").toObject().value("data").toArray().size() >= 2);
            QVERIFY(t.value("unread").isDouble());
        }
        QVERIFY(!f->list("me/other").isEmpty());
    }

    void newMessageProbeAndThreadQuery() {
        const QString probe = "SELECT message_id FROM message WHERE thread_id IN (SELECT thread_id "
                              "FROM thread WHERE folder_id = 0 AND unread != 0 LIMIT 1) ORDER BY "
                              "created_time DESC LIMIT 1";
        const QJsonArray before = f->fql(probe);
        QCOMPARE(before.size(), 1);
        const QString messageId = before[0].toObject().value("message_id").toString();
        const QString threadId = messageId.section('_', 0, 0);
        const int unread = counts().value("messages").toObject().value("unseen").toInt();
        QVERIFY(unread > 0);

        const QJsonArray rows = f->fql("SELECT author_id, body, created_time FROM message WHERE "
                                       "thread_id = " +
                                       threadId + " ORDER BY created_time ASC");
        QVERIFY(rows.size() >= 2);
        for (const QJsonValue &r : rows) {
            QVERIFY(r.toObject().value("created_time").isDouble());
            QVERIFY(!r.toObject().value("body").toString().isEmpty());
            QVERIFY(!r.toObject().value("author_id").toString().isEmpty());
        }
        // Reading the thread marks it read.
        QCOMPARE(counts().value("messages").toObject().value("unseen").toInt(), unread - 1);
        QVERIFY(f->fql(probe).isEmpty() ||
                f->fql(probe)[0].toObject().value("message_id").toString() != messageId);
        QCOMPARE(f->get("/method/fql.query?format=json&query=SELECT%20*%20FROM%20thread").status,
                 400);
    }

    void pageModeUsesThePageToken() {
        const QJsonArray pages = f->list("me/accounts");
        QVERIFY(!pages.isEmpty());
        const QJsonObject page = pages[0].toObject();
        const QString pageToken = page.value("access_token").toString();
        QVERIFY(pageToken.size() > 20);
        const QString base = f->root() + "/" + page.value("id").toString();
        const HttpResult list =
            httpRequest("GET", base + "/conversations?access_token=" + pageToken);
        QCOMPARE(list.status, 200);
        const QJsonArray conversations = list.object().value("data").toArray();
        QVERIFY(!conversations.isEmpty());
        bool cannotReply = false;
        for (const QJsonValue &v : conversations) {
            const QJsonObject c = v.toObject();
            QCOMPARE(c.value("participants").toObject().value("data").toArray().size(), 2);
            QVERIFY(c.value("message_count").isDouble());
            QVERIFY(!c.value("snippet").toString().isEmpty());
            cannotReply |= !c.value("can_reply").toBool(true);
        }
        QVERIFY(cannotReply);
        const HttpResult thread = httpRequest(
            "GET", f->root() + "/" + conversations[0].toObject().value("id").toString() +
                       "?access_token=" + pageToken);
        const QJsonArray messages =
            thread.object().value("messages").toObject().value("data").toArray();
        QVERIFY(!messages.isEmpty());
        QVERIFY(isGraphTime(messages[0].toObject().value("created_time").toString()));
        QVERIFY(messages[0].toObject().value("from").toObject().contains("id"));
    }

    void notificationsAndMarkingRead() {
        const QJsonObject c = counts();
        QVERIFY(c.value("event_invites").isArray());
        QVERIFY(c.value("friend_requests_counts").toObject().value("unread").toInt() >= 2);
        const int unseen = c.value("notification_counts").toObject().value("unseen").toInt();
        QVERIFY(unseen > 0);

        QJsonArray batch;
        for (const QJsonValue &v : f->list("me/notifications?include_read=1")) {
            const QJsonObject n = v.toObject();
            QVERIFY(n.value("from").toObject().contains("id"));
            QVERIFY(n.value("link").toString().startsWith(f->root()));
            QVERIFY(n.value("unread").toInt() == 0 || n.value("unread").toInt() == 1);
            if (n.value("unread").toInt() == 1)
                batch.append(QJsonObject{{"method", "POST"},
                                         {"relative_url", n.value("id").toString() + "?unread=0"}});
        }
        QCOMPARE(batch.size(), unseen);
        const QJsonArray answers = f->batch(batch);
        QCOMPARE(answers.size(), unseen);
        QCOMPARE(answers[0].toObject().value("body").toString(), QStringLiteral("true"));
        QCOMPARE(counts().value("notification_counts").toObject().value("unseen").toInt(), 0);
        QVERIFY(f->list("me/notifications").isEmpty());
    }

    void friendsRequestsAndProfiles() {
        const QJsonArray friends = f->list("me/friends");
        QVERIFY(friends.size() >= 60);

        const QJsonArray requests = f->list("me/friendrequests");
        QCOMPARE(requests.size(), 2);
        QVERIFY(isGraphTime(requests[0].toObject().value("created_time").toString()));
        const QJsonArray answer = f->multiquery(
            {{"friends", "SELECT uid_from FROM friend_request WHERE uid_to=me()"},
             {"friend_data",
              "SELECT uid, name FROM user WHERE uid IN (SELECT uid_from FROM #friends)"}});
        QCOMPARE(SandboxFixture::resultSet(answer, "friend_data").size(), 2);

        // The mobile web page lists them, their messages escaped.
        const QString stranger =
            f->list("search?q=-Vell&type=user")[0].toObject().value("id").toString();
        QCOMPARE(f->control("POST", "friend_requests?from=" + stranger +
                                        "&message=" + QUrl::toPercentEncoding("<b>Hi</b> & bye"))
                     .status,
                 200);
        const HttpResult web =
            httpRequest("GET", f->root() + "/friends/requests.php?v=friend-requests");
        QCOMPARE(web.status, 200);
        QVERIFY(web.header("Content-Type").startsWith("text/html"));
        QCOMPARE(web.body.count("class=\"request\""), 3);
        for (const QJsonValue &request : f->list("me/friendrequests"))
            QVERIFY(web.body.contains(request["from"]["name"].toString().toUtf8()));
        QVERIFY(web.body.contains("&lt;b&gt;Hi&lt;/b&gt; &amp; bye") &&
                !web.body.contains("<b>Hi"));

        const QString friendId = friends[0].toObject().value("id").toString();
        const QJsonObject profile = f->getObject(friendId);
        for (const char *key : {"id", "name", "first_name", "last_name", "hometown", "location",
                                "work", "education", "languages"})
            QVERIFY2(profile.contains(QLatin1String(key)), key);
        const QJsonObject page = f->getObject("300000000000001");
        QCOMPARE(page.value("name").toString(), QStringLiteral("Kelvo"));
        QVERIFY(page.contains("category") && page.contains("likes") && page.contains("cover"));
        QVERIFY(!f->getObject("300000000000002").contains("cover"));
    }

    void searchByType() {
        QVERIFY(!f->list("search?q=Jonas Brightwater&type=user").isEmpty());
        QVERIFY(!f->list("search?q=bakery&type=page").isEmpty());
        QVERIFY(!f->list("search?q=night&type=group").isEmpty());
        const QJsonObject events = f->getObject("search?q=a&type=event&limit=2");
        QCOMPARE(events.value("data").toArray().size(), 2);
        QVERIFY(events.value("data")[0].toObject().contains("start_time"));
        QVERIFY(events.value("paging").toObject().value("next").toString().startsWith(f->root()));
        QVERIFY(f->list("search?q=zzzz&type=user").isEmpty());
    }

    void eventsAndBirthdays() {
        const QJsonArray answer = f->multiquery(
            {{"events", "SELECT eid, rsvp_status from event_member WHERE uid = me() AND "
                        "rsvp_status != 'declined' AND start_time > 1331400000"},
             {"event_details", "SELECT eid, name, start_time, end_time FROM event where eid in "
                               "(SELECT eid from #events)"},
             {"birthdays", "SELECT uid, name, birthday,birthday_date FROM user WHERE uid = me() "
                           "OR uid IN (SELECT uid2 FROM friend WHERE uid1 = me())"}});
        QCOMPARE(answer.size(), 3);
        QCOMPARE(answer[0].toObject().value("name").toString(), QStringLiteral("birthdays"));
        QCOMPARE(answer[1].toObject().value("name").toString(), QStringLiteral("events"));
        QCOMPARE(answer[2].toObject().value("name").toString(), QStringLiteral("event_details"));
        const QJsonArray memberships = answer[1].toObject().value("fql_result_set").toArray();
        const QJsonArray details = answer[2].toObject().value("fql_result_set").toArray();
        QCOMPARE(details.size(), memberships.size());
        bool notReplied = false;
        for (const QJsonValue &m : memberships) {
            QVERIFY(m.toObject().value("rsvp_status") != "declined");
            notReplied |= m.toObject().value("rsvp_status") == "not_replied";
        }
        QVERIFY(notReplied);
        QVERIFY(details[0].toObject().value("start_time").isDouble());
        // Birthdays are placed around the fixture's day, 15 March 2012.
        bool today = false;
        for (const QJsonValue &v : answer[0].toObject().value("fql_result_set").toArray())
            today |= v.toObject().value("birthday_date") == "03/15/1988";
        QVERIFY(today);

        const QString eid = memberships[0].toObject().value("eid").toString();
        const QJsonObject event = f->getObject(eid);
        QVERIFY(isGraphTime(event.value("start_time").toString()));
        QVERIFY(event.value("owner").toObject().contains("name"));
        QVERIFY(!f->list(eid + "/invited").isEmpty());
        QCOMPARE(f->post(eid + "/declined").status, 200);
        QVERIFY(f->list(eid + "/invited").size() > 0);
        bool declined = false;
        for (const QJsonValue &g : f->list(eid + "/declined"))
            declined |= g.toObject().value("id") == f->me();
        QVERIFY(declined);
        const QJsonObject calendar =
            f->getObject(eid + "?fields=start_time,end_time,description,name");
        QCOMPARE(calendar.keys().size(), 5);
    }

    void groupsAndLeaving() {
        const QJsonArray groups = f->list("me/groups");
        QVERIFY(groups.size() >= 4);
        const QString gid = groups[0].toObject().value("id").toString();
        const int members = f->list(gid + "/members").size();
        QVERIFY(members > 1);
        QCOMPARE(f->post(gid + "/members/" + f->me() + "?method=delete").status, 200);
        QCOMPARE(f->list(gid + "/members").size(), members - 1);
        QCOMPARE(f->post(gid + "/members/" + f->me() + "?method=delete").status, 400);
    }

    void placesAndCheckins() {
        const QJsonArray near =
            f->list("search?q=*&type=place&center=60.1699,24.9384&distance=1000");
        QVERIFY(!near.isEmpty());
        const QJsonObject location = near[0].toObject().value("location").toObject();
        QVERIFY(location.value("latitude").isDouble() && location.value("longitude").isDouble());
        QVERIFY(f->list("search?q=*&type=place&center=10.0,10.0&distance=1000").isEmpty());
        QVERIFY(!f->list("search?q=Harbour&type=place").isEmpty());
        QCOMPARE(f->get("search?q=*&type=place&center=abc").status, 400);

        const QJsonArray batch =
            f->batch({QJsonObject{{"method", "GET"}, {"relative_url", "me/checkins"}},
                      QJsonObject{{"method", "GET"}, {"relative_url", "search?type=checkin"}}});
        const QJsonArray own = SandboxFixture::data(batch, 0);
        const QJsonArray recent = SandboxFixture::data(batch, 1);
        QVERIFY(!own.isEmpty() && !recent.isEmpty());
        for (const QJsonValue &c : recent)
            QVERIFY(c.toObject().value("from").toObject().value("id") != f->me());

        const QString placeId = near[0].toObject().value("id").toString();
        const QJsonArray friends = f->list("me/friends");
        const QString coordinates =
            QUrl::toPercentEncoding("{\"latitude\":\"60.1699\",\"longitude\":\"24.9384\"}");
        const HttpResult checkin =
            f->post("me/checkins?message=Here&coordinates=" + coordinates + "&place=" + placeId +
                    "&tags[]=" + friends[0].toObject().value("id").toString() +
                    "&tags[]=" + friends[1].toObject().value("id").toString());
        QCOMPARE(checkin.status, 200);
        const QJsonObject mine = f->list("me/checkins")[0].toObject();
        QCOMPARE(mine.value("id").toString(), checkin.object().value("id").toString());
        QCOMPARE(mine.value("tags").toObject().value("data").toArray().size(), 2);
        QCOMPARE(f->post("me/checkins?place=" + placeId + "&coordinates=nonsense").status, 400);
    }
};

QTEST_MAIN(TestSandboxSocial)
#include "tst_sandbox_social.moc"
