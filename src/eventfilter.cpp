#include "eventfilter.h"

#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodQueryEvent>
#include <QQuickItem>
#include <QWindow>
#include <utility>

#include "logging.h"

EventFilter::EventFilter(QObject *parent)
    : EventFilter([] { QGuiApplication::inputMethod()->show(); },
                  [] { QGuiApplication::inputMethod()->hide(); }, parent) {}

EventFilter::EventFilter(PanelRequest showPanel, PanelRequest hidePanel, QObject *parent)
    : QObject(parent)
    , m_showPanel(std::move(showPanel))
    , m_hidePanel(std::move(hidePanel)) {}

EventFilter::~EventFilter() = default;

QObject *EventFilter::inputFocusObject() {
    QObject *focus = QGuiApplication::focusObject();
    // A window is its own focus object while none of its items has the focus.
    if (!focus || focus->isWindowType())
        return nullptr;
    // Scene items say so in their flags; anything else is asked.
    if (auto *item = qobject_cast<QQuickItem *>(focus))
        return item->flags().testFlag(QQuickItem::ItemAcceptsInputMethod) ? focus : nullptr;
    QInputMethodQueryEvent query(Qt::ImEnabled);
    QCoreApplication::sendEvent(focus, &query);
    return query.value(Qt::ImEnabled).toBool() ? focus : nullptr;
}

bool EventFilter::eventFilter(QObject *watched, QEvent *event) {
    // Child events also arrive while a window tears its scene down, when its
    // focus item may already be gone; they never move the focus anyway.
    switch (event->type()) {
    case QEvent::ChildAdded:
    case QEvent::ChildPolished:
    case QEvent::ChildRemoved:
        return QObject::eventFilter(watched, event);
    default:
        break;
    }
    QObject *now = inputFocusObject();
    const bool before = m_hadFocus;
    if (before && !now) {
        qCDebug(lcCore) << "input focus left the text fields: closing the keyboard";
        m_hidePanel();
    } else if (!before && now) {
        qCDebug(lcCore) << "input focus entered a text field: opening the keyboard";
        m_showPanel();
        now = inputFocusObject();
    }
    m_hadFocus = now != nullptr;
    return QObject::eventFilter(watched, event);
}
