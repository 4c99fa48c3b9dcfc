import QtQml 2.15

// The news feed, walls, stories, and the comment and audience dialogs.
QtObject {
    property var window
    property var router

    // The loader of each story list's next page.
    readonly property var nextLoaders: ({ "newsModel": "nextPage", "wallModel": "nextWallPage",
                                          "groupFeedModel": "nextGroupPage", "eventFeedModel": "nextEventPage",
                                          "pageModel": "nextPagePage" })
    // Lists whose tapped story's author the client remembers.
    readonly property var authorRemembered: ["wallModel", "groupFeedModel", "pageModel"]

    property Connections answers: Connections {
        target: window.signalHandler

        function onShowNews() {
            var fetch = window.reload || window.newsModel.count === 0 || window.filter || window.newsFromSnapshot
            router.open("news")
            window.filter = false
            if (fetch) {
                // What is shown stays until a usable answer replaces it (a
                // failed reload keeps it, with the error).
                if (!window.newsFromSnapshot)
                    router.callPage("clear")
                router.fetch("news")
                window.reload = false
            }
            router.rememberUnlessRefresh("news")
        }

        function onLoadFilterHomeFeed(name, filter_key, page) {
            var fetch = !window.filter || window.newsModel.count === 0 || window.filterKey !== filter_key
                    || window.reload
            router.open("filternews")
            window.filter = true
            window.filterKey = filter_key
            if (fetch) {
                router.callPage("clear")
                router.fetch("filternews", { "name": name, "filter_key": filter_key, "page": page })
                window.reload = false
            }
            router.rememberUnlessRefresh("filternews")
        }

        function onShowProfile() {
            var fetch = window.wallModel.count === 0 || !window.back || window.lastWall !== "me"
            router.open("profile")
            if (fetch) {
                router.callPage("clear")
                router.fetch("profile")
                window.back = false
            }
            window.lastWall = "me"
            router.remember("profile")
        }

        // Going back to a wall shows the stored list if it is that wall's.
        function onShowWall(user_id, user_name) {
            var fetch = window.reload || window.wallModel.count === 0 || !window.back || window.lastWall !== user_id
            var values = { "id": user_id, "name": user_name }
            router.open("wall", values)
            if (fetch) {
                router.fetch("wall", values)
                window.back = false
                window.reload = false
            }
            window.lastWall = user_id
            router.remember("wall", values)
        }

        function onLoadStatus(id) {
            router.fetch("status", { "id": id })
            router.rememberUnlessRefresh("status", { "id": id })
        }

        // A story list's row: the story over the list, the list's next page,
        // or nothing for the no-data row. A filtered feed fetches the story.
        function onShowStory(list, index) {
            var model = window[list]
            var row = model ? router.itemAt(model, index) : null
            if (!row)
                return
            if (row.type === "next") {
                if (nextLoaders[list])
                    router.load(nextLoaders[list], row.next)
                return
            }
            if (row.id === "")
                return
            if (list === "newsModel" && window.filter) {
                window.signalHandler.loadStatus(row.id)
                return
            }
            if (authorRemembered.indexOf(list) >= 0)
                router.setClientState("currentName", row.fromName)
            var id = row.id
            console.info(router.log, "story opened: " + id)
            router.place(router.route("status"), {}, { "model": model, "commentsModel": window.statusCommentsModel })
            router.callOn(window.currentViewTop.item, "fill", [index])
            router.record({ "page": "status", "id": id, "name": "" })
        }

        function onShowPrivacy() {
            if (window.privacyModel.count === 0)
                router.perform("showPrivacy")
            else
                window.privacyDialog.open()
        }

        function onLoadFilters() {
            if (window.filterModel.count === 0)
                router.perform("loadFilters")
        }

        function onShareLink(link, picture, name, caption, description) {
            openDialog({ "isLink": true, "name": "Link", "url": "me/links", "link": link, "picture": picture,
                         "linkName": name, "caption": caption, "description": description })
        }

        // A post on that wall; asked again while open, the dialog closes.
        function onShowComment(id, name) {
            if (window.commentDialog.state === "shown")
                window.commentDialog.state = "hidden"
            else
                openDialog({ "name": name, "url": id + "/feed" })
        }

        // A comment on that object.
        function onShowIdComment(id, name) {
            openDialog({ "name": name, "url": id })
        }
    }

    // The dialog's text goes to its url: a shared link or a comment.
    property Connections dialogAnswers: Connections {
        target: window.commentDialog

        function onClicked(text) {
            var dialog = window.commentDialog
            if (dialog.isLink) {
                router.perform("shareLink", [text, dialog.url, dialog.link, dialog.linkName, dialog.description,
                                             dialog.picture, dialog.caption])
                dialog.isLink = false
            } else {
                router.perform("comment", [text, dialog.url])
            }
        }
    }

    // The likes panel's list: the next part, a person's wall or a page; the
    // user's own like taken back.
    property Connections likesAnswers: Connections {
        target: window.likesList.content
        ignoreUnknownSignals: true

        function onClicked(index) {
            var row = router.itemAt(window.likesList.content.likesModel, index)
            if (!row)
                return
            if (router.isLoadMore(row))
                window.signalHandler.loadMoreLikes(row.id)
            else if (!row.category)
                window.signalHandler.showWall(row.id, row.name)
            else
                window.signalHandler.showPage(row.id, row.name)
        }

        function onDeleteItem(id) {
            window.signalHandler.deleteLike(id)
        }
    }

    // Opens the dialog afresh with `values`; a link share sets the link fields.
    function openDialog(values) {
        var dialog = window.commentDialog
        dialog.clear()
        Object.assign(dialog, { "isLink": false, "link": "", "linkName": "", "picture": "", "caption": "",
                                "description": "" }, values)
        dialog.state = "shown"
    }

    // Back from a story shows the stored feed; from anywhere else, a fresh one.
    function backToNews(entry, currentTag) {
        if (currentTag !== "status")
            window.reload = true
        window.signalHandler.showNews()
    }

    function backToFilteredNews() {
        window.signalHandler.loadFilterHomeFeed(window.clientSession.filterType || "", window.filterKey, 0)
    }

    function backToStatus(entry) {
        router.hideAllPanels()
        window.clearModels()
        window.currentViewTop.visible = true
        window.signalHandler.loadStatus(entry.id)
    }
}
