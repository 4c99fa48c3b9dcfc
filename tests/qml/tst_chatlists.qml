import QtQuick 2.15
import QtTest 1.2
import "../../qml/window/slots.js" as Slot
import "../../qml/components/common"
import "../../qml/components/chat"

// The chat list builder over a stand-in chat model made of plain objects,
// the chat list's search and the conversation page's first message.
Item {
    id: scene
    width: 480
    height: 854

    readonly property var signalHandler: window.navigation
    TranslationHelper { id: translator }

    FakeWindow {
        id: window
        property string currentPage: "ChatList"
        property string currentChatJid
        property bool chatConnected: false
        property bool chatOn: true
        property bool nofriendsonline: false
        property bool applicationActive: true
        property bool soundOption: true
        property bool loudSounds: false
        property bool vibra: false
        property var sounds: []
        property var read: []
        property var sent: []
        readonly property ListModel chatModel: ListModel {}
        readonly property ListModel openConversations: ListModel {}
        readonly property ListModel friendsModel: ListModel {}
        readonly property Timer nofriendTimer: Timer { interval: 100000 }
        readonly property Timer updateUsersTimer: Timer { property string from; interval: 100000 }
        readonly property Timer hideTypingImage: Timer { interval: 100000 }
        readonly property var notificationbanner: ({ shown: 0, show: function () { ++this.shown } })
        function playSound(sound, loud) { sounds.push(sound) }
        function markAsRead(jid) { read.push(jid) }
        function showChat(jid, name) { log("showChat", [jid, name]) }
        // The chat core files what is sent into the conversation.
        function sendMsg(to, text) {
            sent.push(text)
            var conversation = fbChatData.conversations[0]
            conversation.messages = conversation.messages.concat([{ message: text, receiver: false, time: "12:00",
                                                                    pending: true, failed: false }])
        }
    }

    QtObject {
        id: fbChatData
        property string ownJid: "-1001@chat.test/kelvo"
        property var users: []
        property int totalUsers: users.length
        property var conversations: []
        property int conversationsCount: conversations.length
    }

    Component {
        id: conversationItem
        QtObject {
            property string jid
            property string name
            property bool hasNewMessages: false
            property var messages: []
            property int messagesCount: messages.length
        }
    }

    // The window's page layer while a conversation is open.
    Item { id: shownPage; property var item: null }

    Component { id: chatList; ChatList { width: 480; height: 700 } }
    Component { id: chatView; ChatView { width: 480; height: 700 } }
    Loader { id: page; width: 480; height: 700 }

    function user(id, name, online, away) {
        return { jid: "-" + id + "@chat.test", name: name, alphabet: name.charAt(0), isOnline: online, isAway: !!away }
    }

    function conversation(id, name, news) {
        return conversationItem.createObject(scene, { jid: "-" + id + "@chat.test", name: name || "",
                                                      hasNewMessages: !!news })
    }

    function rows(model) {
        var list = []
        for (var i = 0; i < model.count; ++i)
            list.push(model.get(i).name + (model.get(i).newMessage ? "*" : ""))
        return list
    }

    TestCase {
        name: "ChatLists"
        when: windowShown

        function init() {
            window.reset()
            Object.assign(window, { currentPage: "ChatList", currentChatJid: "", applicationActive: true,
                                    sounds: [], read: [], sent: [] })
            window.notificationbanner.shown = 0
            window.toolbar.chatAlert = false
            window.chatModel.clear()
            window.openConversations.clear()
            window.friendsModel.clear()
            fbChatData.users = []
            fbChatData.conversations = []
            page.sourceComponent = undefined
        }

        // Blocks: conversations (one row each, strangers by stored name or
        // id), then online, then away; equal names in index text order.
        function test_rebuild() {
            var users = []
            for (var i = 0; i < 11; ++i)
                users.push(user(100 + i, "Zed " + i, false))
            users[2] = user(2, "Anna", true)
            users[10] = user(10, "Anna", true)
            users[4] = user(4, "Bea", true, true)
            users[5] = user(5, "Cid", true)
            users[6] = user(6, "Dan", true)
            fbChatData.users = users
            fbChatData.conversations = [conversation(77, "Stored Name", true), conversation(6),
                                        conversation(78), conversation(6)]
            Slot.updateUsersList("-5@chat.test")
            compare(rows(window.openConversations), ["Stored Name*", "Dan", "78"])
            compare(window.openConversations.get(0).alphabet, "*")
            verify(window.openConversations.get(1).isOnline)
            compare(rows(window.chatModel), ["Anna", "Anna", "Cid*", "Bea"])
            compare(window.chatModel.get(0).jid, "-10@chat.test")
            compare(window.chatModel.get(1).jid, "-2@chat.test")

            Slot.updateConversationList("")
            compare(rows(window.openConversations), ["Stored Name*", "Dan", "78"])
            compare(window.openConversations.get(1).alphabet, "D")
        }

        // A contact's message elsewhere: banner with the first name and the
        // message cut at 80, sound, alert; own messages and typing
        // elsewhere stay silent; in the open conversation typing shows the
        // pencil and a message is read only while the window is active.
        function test_messages_data() {
            var longText = "x".repeat(100)
            return [
                { tag: "banner", page: "News", from: "-5@chat.test/phone", msg: longText,
                  banner: "Anna: \"" + "x".repeat(80) + "...\"", alert: true },
                { tag: "short, on the list", page: "ChatList", from: "-5@chat.test", msg: "hi",
                  banner: "Anna: \"hi\"", alert: false },
                { tag: "stranger", page: "News", from: "-9@chat.test", msg: "hi", banner: "9: \"hi\"", alert: true },
                { tag: "own", page: "News", from: "-1001@chat.test/other", msg: "hi" },
                { tag: "typing elsewhere", page: "News", from: "-5@chat.test", msg: "" },
                { tag: "typing, open", page: "ChatView", from: "-5@chat.test", msg: "", typing: true },
                { tag: "message, open", page: "ChatView", from: "-5@chat.test", msg: "hi", read: ["-5@chat.test"] },
                { tag: "message, open, inactive", page: "ChatView", from: "-5@chat.test", msg: "hi", inactive: true,
                  read: [] }
            ]
        }

        function test_messages(data) {
            fbChatData.users = [user(5, "Anna Berg", true)]
            var open = { typing: false, refreshed: 0, refreshMessages: function () { ++this.refreshed },
                         timer: { restart: function () {} } }
            shownPage.item = data.page === "ChatView" ? open : null
            window.currentView = shownPage
            Object.assign(window, { currentPage: data.page, currentChatJid: "-5@chat.test",
                                    applicationActive: !data.inactive })
            Slot.messageReceived(data.from, data.msg)
            compare(window.notificationbanner.shown, data.banner ? 1 : 0)
            if (data.banner) {
                compare(window.notificationbanner.text, data.banner)
                compare(window.sounds, ["chat"])
                compare(window.updateUsersTimer.from, Slot.bareJid(data.from))
            } else {
                compare(window.sounds, [])
            }
            compare(window.toolbar.chatAlert, !!data.alert)
            compare(open.typing, !!data.typing)
            compare(window.hideTypingImage.running, !!data.typing)
            compare(open.refreshed, data.read ? 1 : 0)
            compare(window.read, data.read || [])
        }

        // "jo" lists the friends starting so, in any case, and stops at the
        // first miss after them; the rows carry the chat state.
        function test_search() {
            window.chatModel.append({ name: "john", jid: "-2@chat.test", isOnline: true, isAway: true,
                                      newMessage: false, hasConversation: false, alphabet: "j", profileImageUrl: "" })
            for (const name of ["Anna", "Jo A", "john", "Jonas", "Kim", "Joe"])
                window.friendsModel.append({ name: name, jid: "-" + window.friendsModel.count + "@chat.test",
                                             alphabet: name.charAt(0), profileImageUrl: "", request: false })
            page.sourceComponent = chatList
            var list = findChild(page.item, "chatListView")
            var field = findChild(page.item, "searchField")
            field.text = "jo"
            compare(rows(list.model), ["Jo A", "john", "Jonas"])
            verify(list.model.get(1).isAway)
            field.text = ""
            compare(list.model, window.chatModel)
        }

        // The first message sent moves the contact from the online block to
        // the conversations; the message shows pending.
        function test_firstMessageJoinsConversations() {
            fbChatData.conversations = [conversation(5, "Anna")]
            window.chatModel.append({ name: "Anna", jid: "-5@chat.test", isOnline: true, isAway: false,
                                      newMessage: false, hasConversation: false, alphabet: "A", profileImageUrl: "" })
            page.sourceComponent = chatView
            Object.assign(page.item, { currentJid: "-5@chat.test", userName: "Anna", profileId: "5" })
            page.item.refreshMessages()
            findChild(page.item, "chatField").text = "hello :)"
            page.item.send()
            compare(window.sent, ["hello :)"])
            compare(findChild(page.item, "chatField").text, "")
            compare(rows(window.chatModel), [])
            compare(rows(window.openConversations), ["Anna"])
            verify(window.openConversations.get(0).isOnline)
            var list = findChild(page.item, "messageList")
            tryCompare(list, "count", 1)
            verify(findChild(list, "sentBubble").pending)
        }
    }
}
