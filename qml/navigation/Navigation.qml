import QtQuick 2.15
import "../storage.js" as Storage
import "../loginurls.js" as LoginUrls

// Answers the navigation hub: decides which page goes into which layer,
// which lists are cleared, which web-API loader runs, which toolbar button is
// active and what the history records; and walks the history back. It works
// on the main window's layers, models and flags, which it reaches by name.
Item {
    id: navigation

    // History entries kept by showHome().
    readonly property int homeHistoryLength: 5

    // The main web-API client instance.
    function client() {
        return window.facebook
    }

    // Runs a loader of the web-API client; one this build lacks is skipped
    // with a warning, so that navigation itself keeps working.
    function load(name) {
        var fb = client()
        var args = Array.prototype.slice.call(arguments, 1)
        if (typeof fb[name] !== "function") {
            console.warn("navigation: no loader " + name + " in this build")
            return
        }
        fb[name].apply(null, args)
    }

    function record(entry) {
        history.append(entry)
    }

    // Loads the page component `name` into the current view.
    function showPage(name, properties) {
        menu.sourceComponent = undefined
        currentView.setSource(Qt.resolvedUrl("../components/" + name + ".qml"), properties || {})
        window.currentPage = name
    }

    function pageItem() {
        return currentView.item
    }

    // Calls `method` of the current page if it has one.
    function callPage(method) {
        var page = pageItem()
        if (page && typeof page[method] === "function")
            page[method].apply(page, Array.prototype.slice.call(arguments, 1))
    }

    function setActive(tag) {
        toolbar.active = tag
    }

    function hideAllPanels() {
        window.uploadOk = false
        searchBar.close()
        errorbanner.hide()
        infobanner.hide()
        notificationbanner.hide()
        currentViewTop.visible = true
        currentViewTag.sourceComponent = undefined
        commentDialog.state = "hidden"
        if (!window.searching)
            waiting.state = "hidden"
        menu.sourceComponent = undefined
        albumsList.state = "hidden"
        photosList.state = "hidden"
        photoView.state = "hidden"
        commentsList.state = "hidden"
        likesList.state = "hidden"
        likesList.pages = false
        likesList.showFriends = false
        currentViewTop.sourceComponent = undefined
    }

    function openPage(name, tag, properties) {
        hideAllPanels()
        window.clearModels()
        showPage(name, properties)
        if (tag !== undefined)
            setActive(tag)
    }

    function showLoginView() {
        menu.sourceComponent = undefined
        currentViewTop.sourceComponent = undefined
        currentView.sourceComponent = loginViewComponent
        window.currentPage = "LoginView"
        callPage("reset")
    }

    // A finished load of the login dialog: a URL holding "code=" after its
    // start carries the authorization code.
    function loginPageFinished(url) {
        var text = String(url)
        var at = text.indexOf("code=")
        if (at > 0)
            client().getAccessToken(text.substring(at + 5))
    }

    function browserLoginUrl() {
        return LoginUrls.browserUrl()
    }

    function showChat(jid, name) {
        hideAllPanels()
        window.currentChatJid = jid
        var profileId = String(jid).split("@")[0].replace("-", "")
        currentView.sourceComponent = undefined
        showPage("ChatView")
        var view = pageItem()
        if (view) {
            view.currentJid = jid
            view.ownId = window.ownId
            view.profileId = profileId
            view.userName = name
            callPage("focusChat")
            callPage("refreshMessages")
        }
        window.markAsRead(jid)
        record({ "page": "chatView", "jid": jid, "name": name })
        window.updateUsers()
    }

    // The notification banner was tapped: open what it announced.
    function followNotificationBanner() {
        var icon = String(notificationbanner.iconSource)
        if (icon.indexOf("chat") >= 0) {
            window.updateUsers()
            for (var i = 0; i < openConversations.count; ++i) {
                var entry = openConversations.get(i)
                if (entry.jid === notificationbanner.jid) {
                    showChat(entry.jid, entry.name)
                    toolbar.active = "chat"
                    toolbar.chatAlert = false
                    break
                }
            }
        } else if (icon.indexOf("notification") >= 0) {
            signalHandler.showNotifications()
        } else if (icon.indexOf("Messages") >= 0) {
            signalHandler.showMessages("inbox")
        }
    }

    // --- Back ----------------------------------------------------------------

    function goBack() {
        if (history.count <= 1)
            return
        if (topViewHolds("CheckinView")) {
            currentViewTop.sourceComponent = undefined
            return
        }
        if (!likesList.pages && (likesList.state === "shown" || commentsList.state === "shown")) {
            if (likesList.state === "shown" && commentsList.state === "shown") {
                likesList.state = "hidden"
            } else {
                likesList.state = "hidden"
                commentsList.state = "hidden"
            }
            return
        }
        waiting.state = "hidden"
        window.back = true

        var target = history.get(history.count - 2)
        if (target.page === "photo" || target.page === "eventFriendList") {
            history.remove(history.count - 2)
            if (history.count < 2)
                return
            target = history.get(history.count - 2)
        }
        var current = history.get(history.count - 1)
        if (current.page === "news" && pageItem() && pageItem().filterMenuOpen) {
            pageItem().filterMenuOpen = false
            return
        }
        // Copy the target: showing it appends entries and moves the model.
        var entry = {}
        for (var key in target)
            entry[key] = target[key]
        var currentPage = current.page

        showEntry(entry, currentPage)
        history.remove(history.count - 2)
        history.remove(history.count - 1)
    }

    function topViewHolds(name) {
        return window.topViewHolds(name)
    }

    function showEntry(entry, currentPage) {
        switch (entry.page) {
        case "home": signalHandler.showHome(); break
        case "news":
            if (currentPage !== "status")
                window.reload = true
            signalHandler.showNews()
            break
        case "filternews":
            signalHandler.loadFilterHomeFeed(client().filterType || "", window.filterKey, 0)
            break
        case "wall": signalHandler.showWall(entry.id, entry.name); break
        case "page": signalHandler.showPage(entry.id, entry.name); break
        case "chat": signalHandler.showChat(); break
        case "chatView": showChat(entry.jid, entry.name); break
        case "friends": signalHandler.showFriends(); break
        case "profile": signalHandler.showProfile(); break
        case "groups": signalHandler.showGroups(); break
        case "about": signalHandler.showAbout(); break
        case "settings": signalHandler.showSettings(); break
        case "showSearch": signalHandler.showSearch(); break
        case "photoupload": signalHandler.showPhotoUploader(); break
        case "events": window.dontReload = true; signalHandler.showEvents(); break
        case "notifications": window.dontReload = true; signalHandler.showNotifications(); break
        case "showPages": window.dontReload = true; signalHandler.showPages(); break
        case "messages": window.dontReload = true; signalHandler.showMessages(entry.name); break
        case "places":
            window.dontReload = false
            currentViewTop.sourceComponent = undefined
            if (window.currentPage === "Places" && pageItem())
                pageItem().status = entry.name === "nearby" || entry.name === "friends" ? entry.name : "recent"
            signalHandler.showPlaces()
            break
        case "showLikes": signalHandler.showLikes(entry.id); break
        case "showComments":
        case "comments": signalHandler.showComments(entry.id); break
        case "event": signalHandler.getEvent(parseInt(entry.id, 10)); break
        case "inviteEvent": signalHandler.getInviteEvent(parseInt(entry.id, 10)); break
        case "group": signalHandler.getGroup(parseInt(entry.id, 10)); break
        case "eventWall": signalHandler.loadEventFeed(entry.id); break
        case "eventFriends": signalHandler.showEventFriends(entry.id); break
        case "message":
            signalHandler.getMessage(entry.id, entry.count, entry.canReply, entry.recipient,
                                     client().recipients || [])
            break
        case "status":
            hideAllPanels()
            window.clearModels()
            currentViewTop.visible = true
            signalHandler.loadStatus(entry.id)
            break
        case "tagFriends": signalHandler.tagFriends(""); break
        case "checkin":
        case "photo": currentViewTop.visible = true; break
        case "search": replaySearch(entry); break
        case "album":
            hideAllPanels()
            window.clearModels()
            photosList.state = "shown"
            if (photosModel.count === 0 || window.lastAlbumId !== entry.id)
                load("loadPhotos", entry.id)
            record({ "page": "album", "id": entry.id })
            break
        case "pageInfo": showSubView("Page", "info", entry, "pageInfo"); break
        case "pageAlbums": showSubView("Page", "albums", entry, "pageAlbums"); break
        case "pageAlbum": showSubView("Page", "photos", entry, "pageAlbum"); break
        case "wallLikes": showSubView("Wall", "likes", entry, "wall"); break
        case "wallInfo": showSubView("Wall", "info", entry, "wall"); break
        case "wallAlbums": showSubView("Wall", "albums", entry, "wallAlbums"); break
        case "wallAlbum": showSubView("Wall", "photos", entry, "wallAlbum"); break
        case "wallPhoto": showSubView("Wall", "photo", entry, "wallPhoto"); break
        default:
            // "groupInfo", "eventInfo", "nearby", "groupMembers": nothing to show again.
            break
        }
    }

    // A sub-view of a page or wall: the view is loaded afresh with its name and
    // id, shows the sub-view (the view's showSubView(name)) and fetches what it
    // lists; the entry is recorded as `tag`.
    function showSubView(view, sub, entry, tag) {
        hideAllPanels()
        window.clearModels()
        var ownerId = view === "Page" ? (sub === "photos" ? entry.page_id : entry.id)
                                      : (sub === "photos" ? entry.user_id : entry.id)
        showPage(view, { "model": dummyList })
        var page = pageItem()
        if (page) {
            if ("pageName" in page)
                page.pageName = entry.name || ""
            if ("ownerId" in page)
                page.ownerId = ownerId || ""
        }
        callPage("showSubView", sub)
        switch (sub) {
        case "info": load(view === "Page" ? "loadPageInfo" : "loadUserInfo", entry.id); break
        case "likes": load("loadLikes", entry.id); break
        case "albums": load("loadAlbums", entry.id); break
        case "photos":
            if (photosModel.count === 0 || window.lastAlbumId !== entry.id)
                load("loadPhotos", entry.id)
            break
        case "photo": load("loadPhoto", entry.id); break
        }
        var recorded = {}
        for (var key in entry)
            recorded[key] = entry[key]
        recorded.page = tag
        record(recorded)
    }

    function replaySearch(entry) {
        signalHandler.search(entry.name, entry.text)
        window.searching = true
        switch (entry.name) {
        case "user": signalHandler.showFriends(); break
        case "page": signalHandler.showPages(); break
        case "group": signalHandler.showGroups(); break
        case "event": signalHandler.showEvents(); break
        }
        window.searching = false
        record({ "page": "search", "name": entry.name, "text": entry.text })
    }

    // --- Page handlers -------------------------------------------------------

    Connections {
        target: signalHandler

        function onShowHome() {
            hideAllPanels()
            currentView.sourceComponent = undefined
            window.currentPage = ""
            currentViewTop.sourceComponent = undefined
            menu.sourceComponent = mainMenuComponent
            setActive("home")
            record({ "page": "home" })
            while (history.count > homeHistoryLength)
                history.remove(0)
        }

        function onShowNews() {
            var wasFiltered = window.filter
            openPage("NewsFeedList", "news")
            window.filter = false
            if (window.reload || newsModel.count === 0 || wasFiltered) {
                newsModel.clear()
                callPage("clear")
                load("loadHomeFeed")
                window.reload = false
            }
            if (!window.noHistory)
                record({ "page": "news" })
            window.noHistory = false
        }

        function onLoadFilterHomeFeed(name, filter_key, page) {
            var fetch = !window.filter || newsModel.count === 0 || window.filterKey !== filter_key
                    || window.reload
            openPage("NewsFeedList")
            window.filter = true
            window.filterKey = filter_key
            if (fetch) {
                callPage("clear")
                load("loadFilterHomeFeed", name, filter_key, page)
                window.reload = false
            }
            if (!window.noHistory)
                record({ "page": "filternews" })
            window.noHistory = false
        }

        function onShowChat() {
            openPage("ChatList", "chat")
            window.updateUsers()
            toolbar.chatAlert = false
            record({ "page": "chat" })
        }

        function onShowFriends() {
            openPage("FriendsList", "friends")
            callPage("setTagging", false, "")
            callPage("reset")
            if (!window.searching && (window.reload || friendsModel.count === 0
                                      || window.friend_requests !== window.lastFriendRequests)) {
                load("loadFriends")
                window.reload = false
            }
            window.lastFriendRequests = window.friend_requests
            if (!window.searching)
                record({ "page": "friends" })
        }

        function onShowProfile() {
            var fetch = wallModel.count === 0 || !window.back || window.lastWall !== "me"
            openPage("Wall", "profile")
            if (fetch) {
                callPage("clear")
                load("loadUserWall", "me")
                window.back = false
            }
            window.lastWall = "me"
            record({ "page": "profile", "name": "You" })
        }

        function onShowWall(user_id, user_name) {
            var fetch = window.reload || wallModel.count === 0 || !window.back || window.lastWall !== user_id
            openPage("Wall")
            if (fetch) {
                load("loadUserWall", user_id)
                window.back = false
                window.reload = false
            }
            window.lastWall = user_id
            record({ "page": "wall", "id": user_id, "name": user_name })
        }

        function onShowPage(page_id, page_name) {
            var fetch = pageModel.count === 0 || !window.back || window.lastPage !== page_id
            openPage("Page")
            if (fetch) {
                callPage("clear")
                load("loadPage", page_id)
                window.back = false
            }
            window.lastPage = page_id
            record({ "page": "page", "id": page_id, "name": page_name })
        }

        function onShowPages() {
            hideAllPanels()
            window.clearModels()
            currentView.sourceComponent = undefined
            window.currentPage = ""
            likesList.state = "shown"
            likesList.reset()
            likesList.pages = !window.searching
            setActive("pages")
            if (!window.searching) {
                load("loadLikes", "me")
                record({ "page": "showPages" })
            }
        }

        function onShowGroups() {
            openPage("GroupsList", "groups")
            callPage("reset")
            if (!window.searching && (window.reload || groupsModel.count === 0)) {
                load("loadGroups")
                window.reload = false
            }
            if (!window.searching)
                record({ "page": "groups" })
        }

        function onShowGroup(id, name) {
            hideAllPanels()
            showPage("GroupsView")
            load("loadGroupFeed", id)
            record({ "page": "group", "id": id, "name": name })
        }

        function onGetGroup(index) {
            var group = index >= 0 && index < groupsModel.count ? groupsModel.get(index) : null
            if (group && group.name === translator.translate("Load more") + "...") {
                load("loadMoreGroups", group.id)
                return
            }
            hideAllPanels()
            showPage("GroupsView")
            if (group)
                load("loadGroupFeed", group.id)
            record({ "page": "group", "id": String(index), "name": group ? group.name : "" })
        }

        function onShowEvents() {
            openPage("EventsList", "events")
            if (!window.searching && (window.reload || eventsModel.count === 0 || window.open_events > 0)) {
                load("loadEvents")
                window.reload = false
            }
            if (!window.searching)
                record({ "page": "events" })
        }

        function onGetEvent(index) {
            var event = index >= 0 && index < eventsModel.count ? eventsModel.get(index) : null
            if (event && event.name === translator.translate("Load more") + "...") {
                load("loadMoreEvents", event.id)
                return
            }
            hideAllPanels()
            eventFeedModel.clear()
            showPage("EventView")
            if (event)
                load("loadPageInfo", event.id)
            record({ "page": "event", "id": String(index) })
        }

        function onGetInviteEvent(index) {
            var event = index >= 0 && index < invitesModel.count ? invitesModel.get(index) : null
            hideAllPanels()
            eventFeedModel.clear()
            showPage("EventView", { "invite": true })
            if (event)
                load("loadPageInfo", event.id)
            record({ "page": "inviteEvent", "id": String(index) })
        }

        function onLoadEventFeed(id) {
            hideAllPanels()
            showPage("EventView")
            callPage("setState", "wall")
            load("loadEventFeed", id)
            record({ "page": "eventWall", "id": id })
        }

        function onShowEventFriends(id) {
            hideAllPanels()
            showPage("EventView")
            callPage("setState", "attending")
            record({ "page": "eventFriends", "id": id })
        }

        function onShowNotifications() {
            openPage("NotificationsList", "notifications")
            window.clientSession.lastNotifications = 0
            load("loadNotifications")
            record({ "page": "notifications" })
        }

        function onShowMessages(box) {
            openPage("MessagesList", "messages", { "type": box })
            load("loadMessages", box)
            record({ "page": "messages", "name": box })
        }

        function onGetMessage(id, message_count, canReply, recipientId, recipients) {
            hideAllPanels()
            threadModel.clear()
            if (recipients && recipients.length > 0)
                client().recipients = recipients
            currentViewTop.setSource(Qt.resolvedUrl("../components/MessagesView.qml"))
            load("loadThread", id, message_count)
            if (!window.noHistory)
                record({ "page": "message", "id": id, "count": message_count,
                         "recipient": recipientId, "canReply": canReply })
            window.noHistory = false
        }

        function onGetMessageByindex(index) {
            hideAllPanels()
            currentViewTop.setSource(Qt.resolvedUrl("../components/MessagesView.qml"), { "index": index })
            record({ "page": "message", "id": String(index) })
        }

        function onShowPlaces() {
            hideAllPanels()
            showPage("Places")
            setActive("places")
            if (!window.dontReload)
                load("loadCheckins")
            else
                window.dontReload = false
            record({ "page": "places", "name": pageItem() && pageItem().status ? pageItem().status : "" })
        }

        function onShowPhotoUploader() {
            openPage("PhotoUpload", "Upload")
            client().uploadMode = true
            load("loadAlbums", "me")
            record({ "page": "photoupload" })
        }

        function onShowSettings() {
            openPage("Settings", "settings")
            callPage("clear")
            record({ "page": "settings" })
        }

        function onShowSearch() {
            openPage("SearchList", "search")
            record({ "page": "showSearch" })
        }

        function onShowAbout() {
            hideAllPanels()
            showPage("About")
            record({ "page": "about" })
        }

        function onSearch(type, search) {
            hideAllPanels()
            window.clearModels()
            load("search", type, search)
        }

        // --- Overlays and actions -------------------------------------------

        function onShowLikes(id) {
            load("loadLikes", id)
            likesList.entityId = id
            likesList.pages = false
            likesList.showFriends = false
            likesList.state = "shown"
        }

        function onShowFriendRequests() {
            load("loadFriendRequests")
            likesList.pages = false
            likesList.showFriends = true
            likesList.state = "shown"
        }

        function onShowComments(id) {
            load("loadComments", id)
            commentsList.objectId = id
            commentsList.state = "shown"
        }

        function onShowAlbums(id) { load("loadAlbums", id) }

        function onShowAlbumPhotos(album_id) {
            photosList.state = "shown"
            window.lastAlbumId = album_id
            load("loadPhotos", album_id)
            record({ "page": "album", "id": album_id })
        }

        function onShowPhoto(id) {
            photoView.state = "shown"
            load("loadPhoto", id)
            record({ "page": "photo", "id": id })
        }

        function onLoadStatus(id) {
            load("loadStatus", id)
            if (!window.noHistory)
                record({ "page": "status", "id": id })
            window.noHistory = false
        }

        function onShowPrivacy() {
            if (privacyModel.count === 0)
                load("getPrivacyOptions")
            else
                privacyDialog.open()
        }

        function onTagFriends(type) {
            currentViewTag.setSource(Qt.resolvedUrl("../components/FriendsList.qml"))
            if (currentViewTag.item) {
                if (typeof currentViewTag.item.setTagging === "function")
                    currentViewTag.item.setTagging(true, type)
                if (typeof currentViewTag.item.reset === "function")
                    currentViewTag.item.reset()
            }
            if (friendsModel.count === 0)
                load("loadFriends")
        }

        function onUseAsPage(access_token, id, name) {
            window.userToken = window.token
            window.useAsPage = true
            window.pageId = id
            window.pageName = name
            window.token = "access_token=" + access_token
            ownPagedialog.close()
            signalHandler.showHome()
        }

        function onBackToUser() {
            window.useAsPage = false
            window.token = window.userToken
        }

        function onUpdateCycle(value) {
            window.updateCycle = value
            updateTimer.restart()
        }

        function onConnectChat() { window.connectChat(window.clientSession.sessionKey) }
        function onDisconnectChat() { window.disconnectChat() }
        function onQuit() { Storage.getKeyValue("logout", window.valueLoaded) }

        function onLogout() {
            Storage.setKeyValue("accesstoken", "")
            showLoginView()
            window.disconnectChat()
        }

        function onShowLogin() { showLoginView() }
        function onGoBack() { navigation.goBack() }

        function onLoadNearby(search, lat, lon) {
            var page = pageItem()
            if (page && "nearbyModel" in page)
                page.nearbyModel = nearbyModel
            load("loadNearby", search, lat, lon)
        }

        function onLoadFilters() {
            if (filterModel.count === 0)
                load("loadFilters")
        }

        function onCheckin(message, lat, lon, id) { load("checkin", lat, lon, message, id) }
        function onComment(text, url) { load("comment", text, url) }
        function onLike(id) { load("like", id) }
        function onShareStatus(text) { load("shareStatus", text) }
        function onShareLink(link, picture, name, caption, description) {
            commentDialog.state = "shown"
        }
        function onShowComment(id, name) { commentDialog.state = commentDialog.state === "shown" ? "hidden" : "shown" }
        function onShowIdComment(id, name) { commentDialog.state = "shown" }
        function onLoadLikes(id) { load("loadLikes", id) }
        function onLoadUserInfo(id) { load("loadUserInfo", id) }
        function onLoadPageInfo(id) { load("loadPageInfo", id) }
        function onLoadMoreLikes(id) { load("loadMoreLikes", id) }
        function onLoadMoreComments(url) { load("loadMoreComments", url) }
        function onLoadMorePhotoComments(url) { load("loadMorePhotoComments", url) }
        function onLoadMoreStatusComments(url) { load("loadMoreStatusComments", url) }
        function onLoadStatusComments(id) { load("loadStatusComments", id) }
        function onRefreshStatusComments(id) { load("refreshStatusComments", id) }
        function onLoadEvent(id) { load("loadEvent", id) }
        function onAddToCalendar(id) { load("addToCalendar", id) }
        function onSetRSVP(id, rsvp) { load("setRsvp", id, rsvp) }
        function onTagPhoto(id) { load("tagPhoto", id) }
        function onCreateAlbum(album, caption) { load("createAlbum", album, caption) }
        function onDeleteItem(id) { load("deleteItem", id) }
        function onDeleteLike(id) { load("deleteLike", id) }
        function onRemoveGroup(id) { load("removeGroup", id) }
        function onLoadOwnedPages() { load("loadOwnedPages") }
        function onRil(username, password, link, name, rememberMe) {
            load("RIL", username, password, link, name, rememberMe)
        }
        function onCheckMessageCount() { load("loadMessages2", "inbox") }
    }
}
