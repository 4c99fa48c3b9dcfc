// Notifications and update counts: the poll of the menu's badges, its pure
// parser and the applier that shows the counts and alerts once per change.
.import "answer.js" as Answer
.import "request.js" as Request

var notificationIcon = Qt.resolvedUrl("../components/media/notification.svg")

// One poll; none in page mode.
function fetchUpdateCounts(session) {
    var window = session.mainWindow
    if (window.useAsPage)
        return
    if (window.menuShown && window.bottomMargin === 0)
        session.showWaiting()
    Request.send(session, "GET", Request.restRoot() + "/method/notifications.get?format=json&" + session.accessToken,
                 function (response) { applyUpdateCounts(session, parseUpdateCounts(response)) })
    session.signalHandler.checkMessageCount()
}

// A count as the service sends it, a number or a decimal text; NaN otherwise.
function count(value) {
    if (typeof value === "string" && /^\d+$/.test(value))
        return parseInt(value, 10)
    return typeof value === "number" && value >= 0 ? Math.floor(value) : NaN
}

// How many a collection holds: an array, or an object (empty ones come as {}).
function size(collection) {
    if (Array.isArray(collection))
        return collection.length
    return collection !== null && typeof collection === "object" ? Object.keys(collection).length : NaN
}

// The answer of notifications.get as the badge counts, or a failure when a
// count cannot be read.
function parseUpdateCounts(response) {
    var answer = Answer.object(response)
    if (answer.failure !== undefined)
        return answer
    var part = function (name) { return answer[name] || {} }
    var counts = {
        unread_notifications: count(part("notification_counts").unseen),
        unread_messages: count(part("messages").unseen),
        friend_requests: count(part("friend_requests_counts").unread),
        open_events: size(answer.event_invites)
    }
    for (var name in counts) {
        if (isNaN(counts[name]))
            return Answer.failure("no " + name)
    }
    return counts
}

// Shows parsed counts; a change of the unseen-notification count alerts once.
function applyUpdateCounts(session, counts) {
    if (counts.failure !== undefined) {
        session.parseFailed("update counts: " + counts.failure)
        return
    }
    var window = session.mainWindow
    window.open_events = counts.open_events
    window.friend_requests = counts.friend_requests
    window.unread_notifications = counts.unread_notifications
    if (counts.unread_notifications !== session.lastNotifications)
        session.notificationPlayed = false
    session.lastNotifications = counts.unread_notifications
    if (counts.unread_notifications > 0 && !session.notificationPlayed) {
        session.alert(notificationIcon, "New notification")
        session.notificationPlayed = true
    }
    window.unread_messages = counts.unread_messages
    window.countsLoaded = true
    session.hideWaiting()
}
