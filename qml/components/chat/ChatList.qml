import QtQuick 2.15
import "../platform"

// The chat list: the open conversations on top, then the contacts online,
// then those away; a search over all friends; "Chat off" while chat is off,
// and "Connecting" while the session is set up (the conversations kept from
// the last run show under it).
Rectangle {
    id: page

    property ListModel chatModel: window.chatModel
    readonly property bool searching: search.text !== ""
    readonly property bool connecting: window.chatOn && !window.chatConnected
    readonly property bool empty: chatModel.count === 0 && window.openConversations.count === 0

    // `row` with the chat state of the same contact in the chat lists.
    function checkOnlineUser(row) {
        for (const model of [window.chatModel, window.openConversations]) {
            for (var i = 0; i < model.count; ++i) {
                var shown = model.get(i)
                if (shown.jid === row.jid) {
                    row.isOnline = shown.isOnline
                    row.isAway = shown.isAway
                    row.newMessage = shown.newMessage
                    row.hasConversation = shown.hasConversation
                    return row
                }
            }
        }
        return row
    }

    // The friends whose names start with `text`; the friends list is sorted
    // by name, so the walk ends at the first miss after a match.
    function searchFriends(text) {
        var wanted = text.toLowerCase()
        var found = []
        var friends = window.friendsModel
        for (var i = 0; i < friends.count; ++i) {
            var friend = friends.get(i)
            if (!friend.jid || friend.request)
                continue
            if (String(friend.name).toLowerCase().indexOf(wanted) !== 0) {
                if (found.length > 0)
                    break
                continue
            }
            found.push(checkOnlineUser({ "name": friend.name, "alphabet": friend.alphabet,
                                         "profileImageUrl": friend.profileImageUrl, "jid": friend.jid,
                                         "isOnline": false, "isAway": false, "newMessage": false,
                                         "hasConversation": false }))
        }
        results.clear()
        results.append(found)
    }

    objectName: "chatList"
    color: window.bgColor

    ListModel { id: results }

    // Taps that hit no row end here.
    MouseArea { anchors.fill: parent }

    Text {
        objectName: "chatOffText"
        anchors.centerIn: parent
        visible: !window.chatOn
        textFormat: Text.PlainText
        font.pixelSize: window.titleFontSize
        color: window.descriptionTextColor
        text: translator.translate("Chat off")
    }

    TextField {
        id: search
        objectName: "searchField"
        visible: window.chatOn
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.margins: window.spacing
        anchors.topMargin: window.darkTheme || window.landscape ? 4 : window.spacing
        placeholderText: translator.translate("Search from all friends")
        inputMethodHints: Qt.ImhNoPredictiveText
        onTextChanged: {
            if (text !== "")
                page.searchFriends(text)
            else
                list.positionViewAtBeginning()
        }
    }

    Rectangle {
        id: line
        visible: window.chatOn
        anchors.top: search.bottom
        anchors.topMargin: window.landscape ? 4 : window.spacing
        width: parent.width
        height: 1
        color: window.listLineColor
    }

    ChatConnecting {
        objectName: "connecting"
        anchors.centerIn: parent
        visible: page.connecting && page.empty && !page.searching
    }

    Text {
        objectName: "noFriendsText"
        anchors.top: line.bottom
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.margins: window.spacing
        visible: window.chatOn && !page.connecting && !page.searching && page.empty && window.nofriendsonline
        wrapMode: Text.WordWrap
        textFormat: Text.PlainText
        font.pixelSize: window.mainFontSize
        color: window.descriptionTextColor
        text: translator.translate("No friends online. Try searching for offline friends.")
    }

    ListView {
        id: list
        objectName: "chatListView"
        anchors.top: line.bottom
        anchors.bottom: parent.bottom
        width: parent.width
        visible: window.chatOn
        clip: true
        cacheBuffer: 750
        model: page.searching ? results : page.chatModel
        section.property: "alphabet"
        header: page.searching ? null : conversations
        footer: Item { width: 1; height: window.spacing }
        delegate: ChatContactRow { onClicked: window.showChat(model.jid, model.name) }
    }

    // Above the contacts: "Connecting" while the kept conversations show,
    // then the open conversations.
    Component {
        id: conversations

        Column {
            // The list keeps its place when the block above the contacts
            // grows or shrinks; a list shown from its top stays at its top,
            // so a new conversation is not hidden above the view.
            property real shownHeight: 0

            width: list.width
            onHeightChanged: {
                if (list.contentY <= -shownHeight + 1 && !list.moving)
                    Qt.callLater(list.positionViewAtBeginning)
                shownHeight = height
            }

            Item {
                width: parent.width
                height: visible ? 32 + 2 * window.spacing : 0
                visible: page.connecting && !page.empty

                ChatConnecting {
                    objectName: "connectingStrip"
                    anchors.centerIn: parent
                    compact: true
                }
            }

            Repeater {
                model: window.openConversations
                delegate: ChatContactRow {
                    width: list.width
                    onClicked: window.showChat(model.jid, model.name)
                }
            }
        }
    }
}
