// The web-API client: one request function, the access token and its life
// cycle, error and done reporting, and the text, date and sorting helpers
// every parser shares. It works on the main window's state (`window`, its
// models, banners and `signalHandler`), which it reaches by name.
.import Kelvo 1.0 as Kelvo
.import "storage.js" as Storage

var accessToken = ""
var sessionKey = ""
var commentsModel = null
var done = null
var waiting = null
var errorCount = 0
// True while a parser handles an answer whose error has already been shown.
var answerReported = false
// Set by the main window for requests that must not be cut short by a page
// change; requests are never aborted, so it only documents the intent.
var nonAbortableRequest = false

// Update-count alerts: the count of the previous poll and whether its alert
// has been given.
var lastNotifications = 0
var notificationPlayed = false
var messageNotificationPlayed = false

var monthNames = ["January", "February", "March", "April", "May", "June", "July",
                  "August", "September", "October", "November", "December"]

function graphRoot() {
    return Kelvo.ServiceConfig.graphRoot
}

function restRoot() {
    return Kelvo.ServiceConfig.restRoot
}

function webRoot() {
    return Kelvo.ServiceConfig.webRoot
}

function loginSuccessUrl() {
    return webRoot() + "/connect/login_success.html"
}

function pictureUrl(id) {
    return graphRoot() + "/" + id + "/picture?" + accessToken
}

function setComponents(comments, doneInd, waitInd) {
    commentsModel = comments
    done = doneInd
    waiting = waitInd
}

function showWaiting(label) {
    if (!waiting)
        return
    if (label !== undefined)
        waiting.label = label
    waiting.state = "shown"
}

function hideWaiting() {
    if (waiting)
        waiting.state = "hidden"
}

// --- Tokens -----------------------------------------------------------------

// Takes a bare token or the stored pair "access_token=...".
function setAccessToken(token) {
    var text = String(token)
    accessToken = text.indexOf("_token") >= 0 ? text : "access_token=" + text
    sessionKey = accessToken.replace("access_token=", "")
}

function storeToken(token) {
    sessionKey = token
    accessToken = "access_token=" + token
    Storage.setKeyValue("accesstoken", accessToken)
    Storage.setKeyValue("sessionkey", token)
    window.token = accessToken
}

// The token in a form-encoded answer, or "" when there is none.
function tokenIn(response) {
    return parseParameter(String(response), "access_token")
}

function getAccessToken(code) {
    showWaiting("Loading")
    var url = graphRoot() + "/oauth/access_token?client_id=" + Kelvo.ServiceConfig.appId
            + "&redirect_uri=" + loginSuccessUrl()
            + "&client_secret=" + Kelvo.ServiceConfig.clientSecret
            + "&code=" + code
    doWebRequest("GET", url, "", parseAccessToken)
}

function parseAccessToken(response) {
    var token = tokenIn(response)
    if (token === "") {
        parseFailed("login")
        return
    }
    storeToken(token)
    getExtendedToken(token)
    fetchUpdateCounts()
    getId()
    if (window.chatOn)
        window.connectChat(sessionKey)
    if (window.startPage === "feed") {
        signalHandler.showNews()
    } else {
        window.showHomeMenu()
    }
    hideWaiting()
}

function getExtendedToken(currentToken) {
    var url = graphRoot() + "/oauth/access_token?client_id=" + Kelvo.ServiceConfig.appId
            + "&client_secret=" + Kelvo.ServiceConfig.clientSecret
            + "&grant_type=fb_exchange_token&fb_exchange_token=" + currentToken
    doWebRequest("GET", url, "", parseExtendedToken)
}

function parseExtendedToken(response) {
    var token = tokenIn(response)
    if (token === "") {
        // The short-lived token keeps working until it expires.
        console.warn("facebook: no long-lived token in the exchange answer")
        return
    }
    storeToken(token)
}

function getId() {
    doWebRequest("GET", graphRoot() + "/me?fields=id&" + accessToken, "", parseId)
}

function parseId(response) {
    var answer = parseJson(response)
    if (answer === undefined || answer.id === undefined) {
        parseFailed("own id")
        return
    }
    window.ownId = String(answer.id)
}

// --- Requests ---------------------------------------------------------------

// The scheme and host of a root such as "https://graph.example" or
// "http://127.0.0.1:8470".
function splitRoot(root) {
    var at = root.indexOf("://")
    return { scheme: root.substring(0, at), host: root.substring(at + 3) }
}

// Paging links may come back over plain http: they are sent with the
// configured root's own scheme.
function withRootScheme(url) {
    var root = splitRoot(graphRoot())
    var plain = "http://" + root.host
    if (url.indexOf(plain) === 0 && root.scheme !== "http")
        return root.scheme + "://" + root.host + url.substring(plain.length)
    return url
}

function isDeadTokenHeader(header) {
    return header !== null && header !== undefined && String(header).indexOf("invalid_token") > 0
}

// Sends one request; every parameter is already in `url`. `callback` gets the
// answer text whatever the status, except when the network failed and there
// is no answer at all.
function doWebRequest(method, url, params, callback) {
    var request = new XMLHttpRequest()
    var reported = false
    request.onreadystatechange = function () {
        if (request.readyState === XMLHttpRequest.HEADERS_RECEIVED) {
            if (request.status !== 200 && request.status !== 302) {
                reported = true
                if (isDeadTokenHeader(request.getResponseHeader("WWW-Authenticate")))
                    tokenDied()
                else
                    showError("Facebook API returned " + request.status + " " + request.statusText)
            }
        } else if (request.readyState === XMLHttpRequest.DONE) {
            if (request.status === 0) {
                showError("No connection to the service")
                return
            }
            if (method === "POST")
                reloadAfterPosting()
            if (!callback)
                return
            answerReported = reported
            try {
                callback(request.responseText)
            } finally {
                answerReported = false
            }
        }
    }
    request.open(method, withRootScheme(url))
    request.send()
}

function reloadAfterPosting() {
    if (typeof bottomBar === "undefined" || !bottomBar)
        return
    if (String(bottomBar.centerIcon).indexOf("reload.svg") >= 0)
        bottomBar.centerClicked()
}

// The service no longer takes the token: back to the login view, signed out.
function tokenDied() {
    showError("Session has timed out, you need to relogin")
    window.disconnectChat()
    window.chatModel.clear()
    window.openConversations.clear()
    Storage.setKeyValue("accesstoken", "")
    window.token = ""
    accessToken = ""
    sessionKey = ""
    window.showLoginView()
}

// The answer as JSON, or undefined when it is not JSON.
function parseJson(text) {
    try {
        return JSON.parse(String(text))
    } catch (error) {
        return undefined
    }
}

// A parser that cannot read its answer ends the wait and says so, unless the
// error status of that answer has been shown already.
function parseFailed(what) {
    console.warn("facebook: could not read the answer for " + what)
    if (answerReported)
        hideWaiting()
    else
        showError("Could not read the answer of the service")
}

// Back to the page before the current one; the main window's navigation
// walks its history.
function goBack() {
    navigation.goBack()
}

// --- Reporting --------------------------------------------------------------

function showError(err) {
    errorCount++
    hideWaiting()
    var text = "Error! " + err
    if (errorCount > 5)
        text += " If problems persists, try to logout and login again."
    // An answer can outlive the window that asked for it.
    if (typeof errorbanner === "undefined")
        return
    errorbanner.text = text
    errorbanner.show()
}

function showDone(data) {
    hideWaiting()
    infobanner.show()
}

// --- Update counts ----------------------------------------------------------

function fetchUpdateCounts() {
    if (window.useAsPage)
        return
    if (window.menuShown && window.bottomMargin === 0)
        showWaiting()
    doWebRequest("GET", restRoot() + "/method/notifications.get?format=json&" + accessToken, "",
                 parseUpdateCounts)
    signalHandler.checkMessageCount()
}

function parseUpdateCounts(response) {
    var counts = parseJson(response)
    if (counts === undefined || counts === null || !counts.notification_counts
            || !counts.friend_requests_counts || !counts.messages || !counts.event_invites) {
        parseFailed("update counts")
        return
    }
    window.open_events = counts.event_invites.length
    window.friend_requests = parseInt(counts.friend_requests_counts.unread, 10)
    window.unread_notifications = parseInt(counts.notification_counts.unseen, 10)
    if (window.unread_notifications !== lastNotifications)
        notificationPlayed = false
    lastNotifications = window.unread_notifications
    if (window.unread_notifications > 0 && !notificationPlayed) {
        alert("components/media/notification.svg", "New notification")
        notificationPlayed = true
    }
    window.unread_messages = parseInt(counts.messages.unseen, 10)
    window.countsLoaded = true
    hideWaiting()
}

function alert(icon, text) {
    if (window.soundOption)
        window.playSound("notification", window.loudSounds ? "1" : "0")
    notificationbanner.iconSource = icon
    notificationbanner.text = translator.translate(text)
    notificationbanner.show()
}

// --- Text -------------------------------------------------------------------

function htmlEntities(text) {
    if (text === undefined || text === null)
        return ""
    return String(text).replace(/<3/g, "&hearts;").replace(/</g, "&lt;").replace(/>/g, "&gt;")
}

var linkPattern = /\b(?:(?:https?|ftp|file):\/\/|(?:www|ftp)\.)[-A-Z0-9+&@#\/%?=~_|!:,.;]*[-A-Z0-9+&@#\/%=~_|]/ig

function setLinks(text) {
    return String(text).replace(linkPattern, function (link) {
        return "<a style='color:#70aac3;text-decoration:none' href='" + link + "'>" + link + "</a>"
    })
}

// The value after the first occurrence of `name` (a plain substring search),
// from the next "=" to the next "&" or the end; "" when absent.
function parseParameter(url, name) {
    var text = String(url)
    var at = text.indexOf(name)
    if (at < 0)
        return ""
    var equals = text.indexOf("=", at + name.length)
    if (equals < 0)
        return ""
    var end = text.indexOf("&", equals + 1)
    return end < 0 ? text.substring(equals + 1) : text.substring(equals + 1, end)
}

// --- Dates ------------------------------------------------------------------

// A Graph time such as "2011-08-31T22:39:01+0000" (UTC; seconds dropped);
// undefined without a "T", the current time when it cannot be read.
function parseDate(text) {
    var parts = String(text).split("T")
    if (parts.length < 2)
        return undefined
    var day = parts[0].split("-")
    var time = parts[1].split(":")
    var date = new Date(Date.UTC(parseInt(day[0], 10), parseInt(day[1], 10) - 1, parseInt(day[2], 10),
                                 parseInt(time[0], 10), parseInt(time[1], 10)))
    return isNaN(date.getTime()) ? new Date() : date
}

function parseDateFromNumber(seconds) {
    return new Date(Number(seconds) * 1000)
}

var timeUnits = [
    { below: 3600, seconds: 60, name: "minute" },
    { below: 86400, seconds: 3600, name: "hour" },
    { below: 604800, seconds: 86400, name: "day" },
    { below: 2628000, seconds: 604800, name: "week" },
    { below: 31536000, seconds: 2628000, name: "month" },
    { below: Infinity, seconds: 31536000, name: "year" }
]

// How long ago (or ahead) `date` is, in words of the window's language.
function prettyDate(date) {
    var seconds = (Date.now() - date.getTime()) / 1000
    var suffix = " ago"
    if (seconds < 0) {
        seconds = -seconds
        suffix = " From Now"
    }
    if (seconds < 60)
        return translator.translate("Just now")
    var unit = timeUnits[0]
    for (var i = 0; seconds >= unit.below; ++i)
        unit = timeUnits[i + 1]
    var count = seconds <= unit.seconds * 1.1 ? 1 : Math.ceil(seconds / unit.seconds)
    var words = translator.translate(unit.name + (count === 1 ? "" : "s") + suffix)
    if (window.language === "fr")
        return words.replace("[number]", count)
    return count + " " + words
}

function twoDigits(n) {
    return (n < 10 ? "0" : "") + n
}

// "5 March - 14:02". With addTimezone the date is first moved to UTC wall
// time (the date passed in changes too).
function prettyDateTime(date, addTimezone) {
    if (addTimezone)
        date.setMinutes(date.getMinutes() + date.getTimezoneOffset())
    return prettyDateDate(date) + " - " + twoDigits(date.getHours()) + ":" + twoDigits(date.getMinutes())
}

function prettyDateDate(date) {
    return date.getDate() + " " + translator.translate(monthNames[date.getMonth()])
}

// Formats with a mask of "yyyy", "mm", "dd", "HH", "MM" and "ss"; other
// characters stand as they are.
function formatDate(date, mask) {
    var fields = {
        "yyyy": String(date.getFullYear()), "mm": twoDigits(date.getMonth() + 1),
        "dd": twoDigits(date.getDate()), "HH": twoDigits(date.getHours()),
        "MM": twoDigits(date.getMinutes()), "ss": twoDigits(date.getSeconds())
    }
    return mask.replace(/yyyy|mm|dd|HH|MM|ss/g, function (field) { return fields[field] })
}

// --- Sorting ----------------------------------------------------------------

function sortByName(a, b) {
    var x = String(a.name).toLowerCase(), y = String(b.name).toLowerCase()
    return x < y ? -1 : (x > y ? 1 : 0)
}

function sortByDate(a, b) {
    return parseDate(b.updated_time) - parseDate(a.updated_time)
}
