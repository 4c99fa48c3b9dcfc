import QtQml 2.15
import QtQuick 2.15
import Kelvo 1.0

// A conversation: the header, the messages in bubbles, the input bar and
// the smiley panel. The window's showChat() sets the contact; the chat list
// builder shows the pencil and refreshes the messages as they come. The
// bottom bar's centre button deletes the conversation (`remove`).
Rectangle {
    id: page

    property string currentJid
    property string ownId
    property string profileId
    property string userName
    property int conversationIndex: -1
    property bool smileyVisible: false
    property bool typing: false
    readonly property string centerBtn: "../media/delete.svg"
    property alias timer: refreshTimer
    readonly property var conversation: conversationIndex >= 0 && typeof fbChatData !== "undefined"
                                        ? fbChatData.conversations[conversationIndex] || null : null

    signal remove(string jid)

    function centerAction() { remove(currentJid) }

    // Gives back what was being written to this contact when the page was
    // left; the page keeps it when it goes (Component.onDestruction).
    function focusChat() {
        input.text = window.chatDrafts[currentJid] || ""
    }

    function keepDraft() {
        if (input.text.trim() !== "")
            window.chatDrafts[currentJid] = input.text
        else
            delete window.chatDrafts[currentJid]
    }

    function close() {
        smileyVisible = false
        switcher.close()
        input.field.close()
    }

    function refreshMessages() {
        var index = -1
        if (typeof fbChatData !== "undefined") {
            var conversations = fbChatData.conversations
            for (var i = 0; i < fbChatData.conversationsCount; ++i) {
                if (conversations[i] && conversations[i].jid === currentJid) {
                    index = i
                    break
                }
            }
        }
        conversationIndex = index
        messages.model = null
        messages.model = conversation ? conversation.messages : null
        console.info(log, "conversation " + currentJid + " shows "
                     + (conversation ? conversation.messagesCount : 0) + " messages")
    }

    function hasNewMessages() {
        for (var i = 0; i < window.openConversations.count; ++i) {
            if (window.openConversations.get(i).newMessage)
                return true
        }
        return false
    }

    function lastMessage() {
        var count = conversation ? conversation.messagesCount : 0
        return count > 0 ? conversation.messages[count - 1] : null
    }

    // Sends the field's text. When the model did not file it (chat off,
    // no chat core), the text stays in the field and the user is told.
    function send() {
        var text = input.text
        if (text.trim() === "")
            return
        var before = lastMessage()
        if (window.chatOn)
            window.sendMsg(currentJid, text)
        refreshMessages()
        var sent = lastMessage()
        if (!sent || sent === before || sent.receiver) {
            window.errorbanner.text = translator.translate("Message not sent")
            window.errorbanner.show()
            return
        }
        input.text = ""
        input.field.closeToolbar()
        joinConversations()
    }

    // The first message to a contact moves it to the open conversations
    // until the next rebuild.
    function joinConversations() {
        var conversations = window.openConversations, contacts = window.chatModel
        for (var i = 0; i < conversations.count; ++i) {
            if (conversations.get(i).jid === currentJid)
                return
        }
        var online = false
        for (var j = 0; j < contacts.count; ++j) {
            if (contacts.get(j).jid === currentJid) {
                contacts.remove(j)
                online = true
                break
            }
        }
        conversations.append({ "name": userName, "alphabet": userName.charAt(0),
                               "profileImageUrl": ServiceConfig.graphRoot + "/" + profileId + "/picture?" + window.token,
                               "isOnline": online, "isAway": false, "jid": currentJid, "newMessage": false,
                               "hasConversation": true })
    }

    objectName: "chatView"
    color: window.bgColor
    Component.onDestruction: keepDraft()

    LoggingCategory {
        id: log
        name: "kelvo.ui"
    }

    ChatHeader {
        id: header
        z: 1
        y: window.bottomMargin > 0 ? -76 : 0
        width: parent.width
        profileId: page.profileId
        userName: page.userName
        typing: page.typing
        hasNews: page.hasNewMessages()
        onSwitcherWanted: switcher.open()
    }

    ListView {
        id: messages
        objectName: "messageList"
        anchors.top: header.bottom
        anchors.bottom: input.top
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.margins: window.spacing
        anchors.bottomMargin: 20
        spacing: 4
        clip: true
        delegate: ChatMessageRow {
            width: messages.width
            message: modelData
            onFailedTapped: {
                if (input.text === "")
                    input.text = text
            }
        }
        onCountChanged: positionViewAtEnd()
    }

    // The model adds, drops and trims messages; the list follows.
    Connections {
        target: page.conversation
        function onMessagesChanged() { page.refreshMessages() }
    }

    Smileys {
        objectName: "smileys"
        z: 2
        visible: page.smileyVisible
        anchors.bottom: input.top
        anchors.bottomMargin: window.landscape ? 4 : 20
        anchors.horizontalCenter: parent.horizontalCenter
        onAddSmiley: {
            if (smileyText !== "x")
                input.addSmiley(smileyText)
            page.smileyVisible = false
        }
    }

    ChatInputBar {
        id: input
        anchors.bottom: parent.bottom
        width: parent.width
        onSendWanted: page.send()
        onSmileysWanted: page.smileyVisible = !page.smileyVisible
    }

    ConversationSwitcher { id: switcher }

    Timer {
        id: refreshTimer
        interval: 1000
        onTriggered: page.refreshMessages()
    }
}
