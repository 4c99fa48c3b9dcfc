import QtQuick 2.15
import "../common"

// A story list: the news feed, a filtered feed, and with a header a wall.
// Rows are made as they scroll into view. A tapped row goes to the hub with
// the name of the window's list it shows (`modelName`), which opens the
// story, the next page or nothing. The bottom bar reloads and opens the
// filter menu.
Item {
    id: feedList
    objectName: "NewsFeedList"

    // The window's list shown, by name, and the list itself.
    property string modelName: "newsModel"
    property var newsModel: window[modelName]
    property bool userWall: false
    property bool filter: window.filter
    property string filterKey: window.filterKey
    property bool loading: false
    property bool hasHeader: false
    property Component headerComponent
    property bool filterOpen: false
    readonly property alias listView: list

    property string button3: "../media/BottomBar/reload.svg"
    property string button4: "../media/BottomBar/filter.svg"

    signal clicked(int index)
    signal refresh()

    function clear() {
        list.positionViewAtBeginning()
    }

    function button3Action() {
        if (filter) {
            window.reload = true
            signalHandler.loadFilterHomeFeed(window.clientSession.filterType || "", filterKey, 0)
        } else {
            refresh()
        }
    }

    function button4Action() {
        filterOpen = !filterOpen
        if (filterOpen) {
            window.waiting.state = "hidden"
            signalHandler.loadFilters()
        }
    }

    onClicked: signalHandler.showStory(modelName, index)
    onRefresh: {
        window.reload = true
        window.noHistory = true
        signalHandler.showNews()
    }

    Rectangle {
        anchors.fill: parent
        color: window.feedBg
    }

    ListView {
        id: list
        objectName: "storyList"
        anchors.fill: parent
        clip: true
        model: feedList.newsModel
        header: feedList.hasHeader ? feedList.headerComponent : null
        delegate: NewsFeedRow {
            width: ListView.view.width
            row: model
            rowIndex: index
            onWall: feedList.userWall
            onClicked: feedList.clicked(index)
        }
    }

    // The feed kept from the last run is on show until the service answers.
    Rectangle {
        objectName: "updatingNote"
        visible: feedList.modelName === "newsModel" && window.newsFromSnapshot
        anchors.top: parent.top
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.topMargin: 6
        width: updatingText.implicitWidth + 24
        height: updatingText.implicitHeight + 10
        radius: height / 2
        color: window.titleFontColor
        opacity: 0.9

        Text {
            id: updatingText
            anchors.centerIn: parent
            color: window.bgColor
            font.pixelSize: window.mainFontSize - 4
            text: translator.translate("Updating...")
        }
    }

    FeedFilterMenu {
        objectName: "filterMenu"
        anchors.fill: parent
        visible: feedList.filterOpen
        onChosen: {
            feedList.filter = name !== ""
            feedList.filterKey = key
            feedList.filterOpen = false
        }
    }
}
