// Signing in: the login code exchanged for a token, the long-lived token and
// the own id. The token is kept by the session; both forms are stored.
.import Kelvo 1.0 as Kelvo
.import "../storage.js" as Storage
.import "answer.js" as Answer
.import "request.js" as Request
.import "text.js" as Text
.import "notifications.js" as Notifications

// Takes a bare token or the stored pair "access_token=...".
function setAccessToken(session, token) {
    var text = String(token)
    session.accessToken = text.indexOf("_token") >= 0 ? text : "access_token=" + text
    session.sessionKey = session.accessToken.replace("access_token=", "")
}

function storeToken(session, token) {
    setAccessToken(session, token)
    Storage.setKeyValue("accesstoken", session.accessToken)
    Storage.setKeyValue("sessionkey", token)
}

// The token in a form-encoded answer, or "" when there is none.
function tokenIn(response) {
    return Text.parseParameter(String(response), "access_token")
}

function exchangeUrl(query) {
    return Request.graphRoot() + "/oauth/access_token?client_id=" + Kelvo.ServiceConfig.appId
            + "&client_secret=" + Kelvo.ServiceConfig.clientSecret + query
}

function getAccessToken(session, code) {
    session.showWaiting("Loading")
    Request.send(session, "GET", exchangeUrl("&redirect_uri=" + Request.loginSuccessUrl() + "&code=" + code),
                 function (response) { parseAccessToken(session, response) })
}

// Signed in: the long-lived token is asked for, the counts and the own id
// fetched, chat connected, and the start page shown.
function parseAccessToken(session, response) {
    var token = tokenIn(response)
    if (token === "") {
        session.parseFailed("login")
        return
    }
    // A sign-in starts afresh: nothing kept of an earlier account shows.
    session.forgetKeptFeed()
    session.mainWindow.newsModel.clear()
    session.mainWindow.newsFromSnapshot = false
    storeToken(session, token)
    getExtendedToken(session, token)
    Notifications.fetchUpdateCounts(session)
    getId(session)
    var window = session.mainWindow
    if (window.chatOn)
        window.connectChat(session.sessionKey)
    if (window.startPage === "feed")
        session.signalHandler.showNews()
    else
        window.showHomeMenu()
    session.hideWaiting()
}

function getExtendedToken(session, currentToken) {
    Request.send(session, "GET", exchangeUrl("&grant_type=fb_exchange_token&fb_exchange_token=" + currentToken),
                 function (response) { parseExtendedToken(session, response) })
}

function parseExtendedToken(session, response) {
    var token = tokenIn(response)
    if (token === "") {
        // The short-lived token keeps working until it expires.
        console.warn(session.log, "no long-lived token in the exchange answer")
        return
    }
    // The same sign-in's feed, kept under the token it was shown with.
    if (session.snapshotStore)
        session.snapshotStore.rekey(session.accessToken, "access_token=" + token)
    if (session.chatStore)
        session.chatStore.rekey(session.sessionKey, token)
    storeToken(session, token)
}

function getId(session) {
    Request.send(session, "GET", Request.graphRoot() + "/me?fields=id&" + session.accessToken,
                 function (response) { parseId(session, response) })
}

function parseId(session, response) {
    var answer = Answer.object(response)
    if (answer.failure !== undefined || answer.id === undefined) {
        session.parseFailed("own id")
        return
    }
    session.mainWindow.ownId = String(answer.id)
}
