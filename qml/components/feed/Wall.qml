import QtQuick 2.15
import "../common"

// A person's wall: the story list under a header with cover and picture,
// and in its place on demand the person's albums, information or liked
// pages. The wall menu switches between them and writes a private message.
Rectangle {
    id: wall
    objectName: "Wall"

    property var model: window.wallModel
    property var albumsModel: window.albumsModel
    property var userInfoModel: window.userInfoModel
    property var likesModel: window.likesModel
    property string user_id: "me"
    property string user_name
    property string cover
    property int coverOffset: 0
    // Set when a sub-view is shown again from the history.
    property string pageName
    property string ownerId
    // "" the story list, else "info", "likes" or "albums".
    property string subView: ""
    property bool menuOpen: false
    readonly property bool storiesShown: subView === ""
    readonly property bool messageOffered: user_id !== "me" && user_id !== window.ownId && window.chatOn

    property string button2: storiesShown ? "../media/BottomBar/chat.svg" : ""
    property string centerBtn: storiesShown ? "../media/BottomBar/reload.svg" : ""
    property string button5: storiesShown ? "../media/BottomBar/menu.svg" : ""

    signal clicked(int index)

    function button2Action() { signalHandler.showComment(user_id, user_name) }
    function centerAction() {
        window.reload = true
        signalHandler.showWall(user_id, user_name)
    }
    function button5Action() {
        menuOpen = !menuOpen
        if (menuOpen)
            window.waiting.state = "hidden"
    }

    function show(what) {
        subView = ["info", "likes", "albums"].indexOf(what) >= 0 ? what : "none"
    }

    function clearStates() {
        subView = ""
        menuOpen = false
    }

    // A sub-view shown again from the history; an album's photos belong to
    // the albums.
    function showSubView(name) {
        show(name === "photos" || name === "photo" ? "albums" : name)
    }

    // A sub-view chosen in the menu: shown, fetched and recorded.
    function openSubView(what, tag, signalName) {
        show(what)
        menuOpen = false
        signalHandler[signalName](user_id)
        window.history.append({ "page": tag, "id": user_id, "name": user_name })
    }

    function likedPageClicked(index) {
        var item = likesModel.get(index)
        if (!item)
            return
        if (item.name === translator.translate("Load more") + "...")
            signalHandler.loadMoreLikes(item.id)
        else if (item.category)
            signalHandler.showPage(item.id, item.name)
        else
            signalHandler.showWall(item.id, item.name)
    }

    // The own wall is asked for as "me": its name is its own stories' author's.
    readonly property string shownName: {
        var count = model ? model.count : 0
        for (var i = 0; user_id === "me" && i < Math.min(count, 20); ++i) {
            var row = model.get(i)
            if (row.fromID !== "" && row.fromID === window.ownId)
                return row.fromName
        }
        return user_name
    }

    onCoverChanged: Qt.callLater(stories.clear)
    onPageNameChanged: user_name = pageName
    onOwnerIdChanged: user_id = ownerId
    color: window.feedBg

    NewsFeedList {
        id: stories
        objectName: "wallStories"
        anchors.fill: parent
        visible: wall.storiesShown
        modelName: "wallModel"
        newsModel: wall.model
        userWall: true
        hasHeader: true
        headerComponent: Component {
            WallHeader {
                width: ListView.view ? ListView.view.width : wall.width
                userId: wall.user_id
                userName: wall.shownName
                cover: wall.cover
                coverOffset: wall.coverOffset
            }
        }
        onClicked: wall.clicked(index)
    }

    // The sub-views other families draw, made when first shown.
    Loader {
        objectName: "albumsView"
        anchors.fill: parent
        active: wall.subView === "albums"
        visible: active
        source: active ? "../photos/AlbumsList.qml" : ""
    }

    Loader {
        objectName: "infoView"
        anchors.fill: parent
        active: wall.subView === "info"
        visible: active
        source: active ? "../people/UserInfo.qml" : ""
    }

    Loader {
        objectName: "likesView"
        anchors.fill: parent
        active: wall.subView === "likes"
        visible: active
        onActiveChanged: if (active) setSource(Qt.resolvedUrl("LikesList.qml"), { "mode": "wall", "showClose": false })
        Connections {
            target: parent.item
            ignoreUnknownSignals: true
            function onClicked(index) { wall.likedPageClicked(index) }
        }
    }

    Rectangle {
        anchors.fill: parent
        color: "#99000000"
        visible: wall.menuOpen
        MouseArea {
            anchors.fill: parent
            onClicked: wall.menuOpen = false
        }
    }

    Column {
        objectName: "wallMenu"
        width: parent.width
        visible: wall.menuOpen
        readonly property string icons: "../media/Menu/" + (window.darkTheme ? "Dark" : "Light") + "/"

        FullMenuButton {
            first: true
            color: pressed ? window.statusPressBg : window.bgColor
            imgSrc: parent.icons + "wall.svg"
            btnText: "Wall"
            onClicked: {
                wall.menuOpen = false
                window.reload = true
                signalHandler.showWall(wall.user_id, wall.user_name)
            }
        }
        FullMenuButton {
            objectName: "privateMessageEntry"
            color: pressed ? window.statusPressBg : window.bgColor
            imgSrc: parent.icons + "message.svg"
            btnText: "Write private message"
            visible: wall.messageOffered
            onClicked: {
                wall.menuOpen = false
                messageBox.open = true
            }
        }
        FullMenuButton {
            color: pressed ? window.statusPressBg : window.bgColor
            imgSrc: parent.icons + "photos.svg"
            btnText: "Photos"
            onClicked: wall.openSubView("albums", "wallAlbums", "showAlbums")
        }
        FullMenuButton {
            color: pressed ? window.statusPressBg : window.bgColor
            imgSrc: parent.icons + "info.svg"
            btnText: "Info"
            onClicked: wall.openSubView("info", "wallInfo", "loadUserInfo")
        }
        FullMenuButton {
            color: pressed ? window.statusPressBg : window.bgColor
            imgSrc: parent.icons + "likes.svg"
            btnText: "Liked Pages"
            onClicked: wall.openSubView("likes", "wallLikes", "loadLikes")
        }
    }

    PrivateMessageBox {
        id: messageBox
        objectName: "privateMessageBox"
        width: parent.width
        userId: wall.user_id
    }
}
