// The request function every operation family sends through, with the
// service's roots and the paging-link rule. It keeps no state: the token is
// read from the session handed in, and everything is reported through it.
.import Kelvo 1.0 as Kelvo

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

// The scheme and host of a root such as "https://graph.example" or
// "http://127.0.0.1:8470".
function splitRoot(root) {
    var at = root.indexOf("://")
    return { scheme: root.substring(0, at), host: root.substring(at + 3) }
}

// Paging links may come back over plain http: they are sent with the
// configured root's own scheme.
function withRootScheme(url, graph) {
    var root = splitRoot(graph || graphRoot())
    var plain = "http://" + root.host
    if (url.indexOf(plain) === 0 && root.scheme !== "http")
        return root.scheme + "://" + root.host + url.substring(plain.length)
    return url
}

function isDeadTokenHeader(header) {
    return header !== null && header !== undefined && String(header).indexOf("invalid_token") > 0
}

// Reports an error status of `request` through the session; true when it
// did. Status 0 is no answer at all, which the request function reports.
function reportStatus(session, request) {
    var status = request.status
    if (status === 0 || status === 200 || status === 302)
        return false
    if (isDeadTokenHeader(request.getResponseHeader("WWW-Authenticate"))) {
        session.tokenDied()
        return true
    }
    session.showError("Facebook API returned " + status + " " + request.statusText)
    // Without a usable token the request cannot work: the user signs in again.
    if (status === 400 && !session.usable)
        session.requestNeedsSignIn()
    return true
}

// Sends one request; every parameter is already in `url`. `callback` gets the
// answer text whatever the status; when there was no answer at all,
// `failed` (optional) runs instead, after the error is shown. After a
// posting the session lets the current view reload.
function send(session, method, url, callback, failed) {
    var request = new XMLHttpRequest()
    var reported = false
    request.onreadystatechange = function () {
        if (request.readyState === XMLHttpRequest.HEADERS_RECEIVED) {
            reported = reportStatus(session, request)
        } else if (request.readyState === XMLHttpRequest.DONE) {
            if (request.status === 0) {
                session.showError("No connection to the service")
                if (failed)
                    failed()
                return
            }
            if (method === "POST")
                session.afterPosting()
            if (!callback)
                return
            session.answerReported = reported
            try {
                callback(request.responseText)
            } finally {
                session.answerReported = false
            }
        }
    }
    request.open(method, withRootScheme(url))
    request.send()
}
