import QtQml 2.15

// Groups, pages and the liked pages.
QtObject {
    property var window
    property var router

    property Connections answers: Connections {
        target: window.signalHandler

        function onShowGroups() {
            router.open("groups")
            if (!window.searching && (window.reload || window.groupsModel.count === 0)) {
                router.fetch("groups")
                window.reload = false
            }
            if (!window.searching)
                router.remember("groups")
        }

        // The group at `index` of the group list; its last row loads more groups.
        function onGetGroup(index) {
            var group = router.itemAt(window.groupsModel, index)
            if (group && router.isLoadMore(group)) {
                router.fetchMore("group", group.id)
                return
            }
            router.open("group")
            if (group)
                router.fetch("group", { "id": group.id })
            router.remember("group", { "id": String(index), "name": group ? group.name : "" })
        }

        function onShowPage(page_id, page_name) {
            var fetch = window.pageModel.count === 0 || !window.back || window.lastPage !== page_id
            var values = { "id": page_id, "name": page_name }
            router.open("page")
            if (fetch) {
                router.callPage("clear")
                router.fetch("page", values)
                window.back = false
            }
            window.lastPage = page_id
            router.remember("page", values)
        }

        // The liked pages; while searching, the panel shows the search's pages.
        function onShowPages() {
            router.hideAllPanels()
            window.currentView.sourceComponent = undefined
            window.currentPage = ""
            router.open("showPages")
            window.likesList.reset()
            window.likesList.pages = !window.searching
            if (!window.searching) {
                router.fetch("showPages")
                router.remember("showPages")
            }
        }
    }
}
