// The web-API client's entry point: every operation under the names the
// window, navigation and pages call. The work is done by the scripts in
// client/: the shared core (request.js, answer.js, text.js, dates.js) and one
// script per operation family. The token, the client's flags and what it
// reports through live in the session object the main window hands in once
// (setSession); this script keeps only a reference to it.
.import "client/answer.js" as Answer
.import "client/request.js" as Request
.import "client/text.js" as Text
.import "client/dates.js" as Dates
.import "client/login.js" as Login
.import "client/notifications.js" as Notifications
.import "client/feed.js" as Feed
.import "client/status.js" as Status
.import "client/statusrows.js" as StatusRows

var session = null

function setSession(clientSession) {
    session = clientSession
}

function setComponents(comments, doneInd, waitInd) {
    session.commentsModel = comments
    session.done = doneInd
    session.waiting = waitInd
}

// --- Requests and reporting -------------------------------------------------
var graphRoot = Request.graphRoot
var restRoot = Request.restRoot
var webRoot = Request.webRoot
var loginSuccessUrl = Request.loginSuccessUrl
var splitRoot = Request.splitRoot
var withRootScheme = Request.withRootScheme
var isDeadTokenHeader = Request.isDeadTokenHeader
var parseJson = Answer.parseJson

function doWebRequest(method, url, params, callback) {
    Request.send(session, method, url, callback)
}

function pictureUrl(id) {
    return graphRoot() + "/" + id + "/picture?" + session.accessToken
}

function showWaiting(label) { session.showWaiting(label) }
function hideWaiting() { session.hideWaiting() }
function showError(err) { session.showError(err) }
function showDone(data) { session.showDone() }
function parseFailed(what) { session.parseFailed(what) }
function alert(icon, text) { session.alert(icon, text) }
function reloadAfterPosting() { session.afterPosting() }
function tokenDied() { session.tokenDied() }

// Back to the page before the current one.
function goBack() { session.signalHandler.goBack() }

// --- Tokens -----------------------------------------------------------------
var tokenIn = Login.tokenIn
function setAccessToken(token) { Login.setAccessToken(session, token) }
function storeToken(token) { Login.storeToken(session, token) }
function getAccessToken(code) { Login.getAccessToken(session, code) }
function parseAccessToken(response) { Login.parseAccessToken(session, response) }
function getExtendedToken(currentToken) { Login.getExtendedToken(session, currentToken) }
function parseExtendedToken(response) { Login.parseExtendedToken(session, response) }
function getId() { Login.getId(session) }
function parseId(response) { Login.parseId(session, response) }

// --- Update counts ----------------------------------------------------------
var parseUpdateCounts = Notifications.parseUpdateCounts
function fetchUpdateCounts() { Notifications.fetchUpdateCounts(session) }
function applyUpdateCounts(counts) { Notifications.applyUpdateCounts(session, counts) }

// --- News feed, walls and filters -------------------------------------------
var parseFeed = Feed.parseFeed
var parseHomeFeed = Feed.parseHomeFeed
var parseWallFeed = Feed.parseWallFeed
var parseFilters = Feed.parseFilters
var parseFilteredFeed = Feed.parseFilteredFeed
function loadHomeFeed() { Feed.loadHomeFeed(session) }
function showKeptHomeFeed() { return Feed.showKeptHomeFeed(session) }
function loadFilters() { Feed.loadFilters(session) }
function loadFilterHomeFeed(name, filter_key, page) { Feed.loadFilterHomeFeed(session, name, filter_key, page) }
function loadUserWall(id) { Feed.loadUserWall(session, id) }
function loadPage(id) { Feed.loadPage(session, id) }
function nextPage(url) { Feed.nextPage(session, url) }
function nextWallPage(url) { Feed.nextWallPage(session, url) }
function loadEventFeed(id) { Feed.loadEventFeed(session, id) }
function loadGroupFeed(id) { Feed.loadGroupFeed(session, id) }
function nextPagePage(url) { Feed.nextPagePage(session, url) }
function nextEventPage(url) { Feed.nextEventPage(session, url) }
function nextGroupPage(url) { Feed.nextGroupPage(session, url) }

// --- Status, comments, likes and postings ------------------------------------
var parseStatus = StatusRows.parseStatus
var parseStatusComments = StatusRows.parseStatusComments
var parseComments = StatusRows.parseComments
var parseLikes = StatusRows.parseLikes
var parsePrivacyOptions = StatusRows.parsePrivacyOptions
var parseRIL = StatusRows.parseRIL
function loadStatus(id) { Status.loadStatus(session, id) }
function loadStatusComments(id) { Status.loadStatusComments(session, id) }
function loadMoreStatusComments(url) { Status.loadMoreStatusComments(session, url) }
function refreshStatusComments(id) { Status.refreshStatusComments(session, id) }
function loadComments(id) { Status.loadComments(session, id) }
function loadMoreComments(url) { Status.loadMoreComments(session, url) }
function loadLikes(id) { Status.loadLikes(session, id) }
function loadMoreLikes(url) { Status.loadMoreLikes(session, url) }
function getPrivacyOptions() { Status.getPrivacyOptions(session) }
function like(id) { Status.like(session, id) }
function deleteLike(id) { Status.deleteLike(session, id) }
function deleteItem(id) { Status.deleteItem(session, id) }
function comment(message, id) { Status.comment(session, message, id) }
function shareStatus(message) { Status.shareStatus(session, message) }
function shareLink(text, id, link, linkName, description, picture, caption) {
    Status.shareLink(session, text, id, link, linkName, description, picture, caption)
}
function RIL(username, password, link, name, remember) { Status.RIL(session, username, password, link, name, remember) }

// --- Text, dates, sorting ---------------------------------------------------
var htmlEntities = Text.htmlEntities
var setLinks = Text.setLinks
var parseParameter = Text.parseParameter
var sortByName = Text.sortByName
var parseDate = Dates.parseDate
var parseDateFromNumber = Dates.parseDateFromNumber
var twoDigits = Dates.twoDigits
var formatDate = Dates.formatDate
var sortByDate = Dates.sortByDate

function translate(key) { return session.translate(key) }
function prettyDate(date) { return Dates.prettyDate(date, translate, session.language) }
function prettyDateTime(date, addTimezone) { return Dates.prettyDateTime(date, addTimezone, translate) }
function prettyDateDate(date) { return Dates.prettyDateDate(date, translate) }
