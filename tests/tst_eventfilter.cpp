// The keyboard filter against a real scene: focus moves by real mouse clicks
// and the filter's panel requests are recorded.
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickView>
#include <QtTest>

#include "eventfilter.h"

class TestEventFilter : public QObject {
    Q_OBJECT

private slots:
    void cleanup();
    void followsFocusInAndOutOfTextFields();
    void destroyedFieldClosesTheKeyboard();
    void eventsReachTheSceneWithTheDefaultPanel();

private:
    QQuickItem *item(const char *name) const {
        return m_view->rootObject()->findChild<QQuickItem *>(QString::fromLatin1(name));
    }
    void click(const char *name) {
        QQuickItem *target = item(name);
        const QPointF centre = target->mapToScene(QPointF(target->width() / 2, 5));
        QTest::mouseClick(m_view.get(), Qt::LeftButton, Qt::NoModifier, centre.toPoint());
    }
    void type(const char *text) {
        for (const char *c = text; *c; ++c)
            QTest::keyClick(m_view.get(), *c);
    }
    // Any event makes the filter look again.
    void nudge() {
        QEvent any(QEvent::User);
        QCoreApplication::sendEvent(m_view.get(), &any);
    }
    // Loads the scene under a filter that records its panel requests, or,
    // without `recording`, one that asks the platform's own input method.
    void loadScene(bool recording = true);

    std::unique_ptr<QQuickView> m_view;
    std::unique_ptr<EventFilter> m_filter;
    QStringList m_requests;
};

void TestEventFilter::cleanup() {
    m_view.reset();
    m_filter.reset();
    m_requests.clear();
}

void TestEventFilter::loadScene(bool recording) {
    m_view = std::make_unique<QQuickView>();
    m_filter = recording ? std::make_unique<EventFilter>([this] { m_requests << "show"; },
                                                         [this] { m_requests << "hide"; })
                         : std::make_unique<EventFilter>();
    m_view->installEventFilter(m_filter.get());
    m_view->engine()->installEventFilter(m_filter.get());
    m_view->setSource(QUrl::fromLocalFile(QFINDTESTDATA("data/focus_scene.qml")));
    QVERIFY(m_view->rootObject());
    m_view->show();
    m_view->requestActivate();
    QVERIFY(QTest::qWaitForWindowActive(m_view.get()));
}

void TestEventFilter::followsFocusInAndOutOfTextFields() {
    loadScene();
    nudge();
    QCOMPARE(m_requests, QStringList());

    click("first");
    QVERIFY(item("first")->hasActiveFocus());
    nudge();
    QCOMPARE(m_requests, QStringList{"show"});

    // Straight from one field to the next: the keyboard stays, nothing is sent.
    click("second");
    QVERIFY(item("second")->hasActiveFocus());
    nudge();
    QCOMPARE(m_requests, QStringList{"show"});

    // Typing still reaches the field: the filter consumes nothing.
    type("hi");
    QCOMPARE(item("second")->property("text").toString(), QStringLiteral("hi"));

    click("plain");
    QVERIFY(item("plain")->hasActiveFocus());
    nudge();
    nudge();
    QCOMPARE(m_requests, (QStringList{"show", "hide"}));

    click("first");
    nudge();
    QCOMPARE(m_requests, (QStringList{"show", "hide", "show"}));
}

void TestEventFilter::destroyedFieldClosesTheKeyboard() {
    loadScene();
    click("first");
    nudge();
    QCOMPARE(m_requests, QStringList{"show"});

    delete item("first");
    nudge();
    QCOMPARE(m_requests, (QStringList{"show", "hide"}));
}

void TestEventFilter::eventsReachTheSceneWithTheDefaultPanel() {
    // The platform's own input method (none here) is asked; the scene works.
    loadScene(false);
    click("first");
    QVERIFY(item("first")->hasActiveFocus());
    type("abc");
    click("plain");
    QVERIFY(item("plain")->hasActiveFocus());
    QCOMPARE(item("first")->property("text").toString(), QStringLiteral("abc"));
}

QTEST_MAIN(TestEventFilter)
#include "tst_eventfilter.moc"
