import QtQuick 2.15
import "../common"

// The news feed's filter menu: one row per stream filter or friend list
// (notes and videos left out); choosing one shows the feed it names.
Rectangle {
    id: menu

    // The feed is narrowed: name and key of the filter chosen ("" for the
    // whole feed).
    signal chosen(string name, string key)

    function iconOf(filter) {
        var folder = "../media/Menu/" + (window.darkTheme ? "Dark" : "Light") + "/"
        var icon = filter.type === "newsfeed" ? "feed"
                : filter.name === "Groups" || filter.type === "friendlist" ? "groups"
                : filter.name === "Photos" ? "photos"
                : filter.name === "Links" || filter.type === "network" ? "internet"
                : filter.name === "Status Updates" ? "status"
                : filter.name === "Pages" ? "pages" : ""
        return icon === "" ? "" : folder + icon + ".svg"
    }

    function choose(filter) {
        window.newsModel.clear()
        if (filter.key === "newsfeed") {
            window.filter = false
            signalHandler.showNews()
            chosen("", "")
        } else {
            signalHandler.loadFilterHomeFeed(filter.name, filter.key, 0)
            chosen(filter.name, filter.key)
        }
    }

    color: window.bgColor

    ListView {
        objectName: "filterList"
        anchors.fill: parent
        clip: true
        model: window.filterModel
        delegate: FullMenuButton {
            width: ListView.view.width
            height: visible ? 72 : 0
            visible: model.name !== "Notes" && model.name !== "Video"
            first: index === 0
            buttonWidth: 40
            imgSrc: menu.iconOf(model)
            btnText: model.name
            onClicked: menu.choose({ name: model.name, key: model.key, type: model.type })
        }
    }
}
