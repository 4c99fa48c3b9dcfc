import QtQuick 2.15
import QtTest 1.2

// The chat as a user meets it, the real main window with the native chat
// client and model against the sandbox's XMPP server: the list of online
// and away friends, a friend's message (banner, unread row), the
// conversation, typing and a reply that reaches the friend.
WindowHarness {
    id: harness

    TestCase {
        name: "WindowChat"
        when: windowShown

        Component.onCompleted: harness.testCase = this

        function cleanup() {
            harness.disconnectChat()
            harness.close()
        }

        function numericId(jid) {
            return String(jid).split("@")[0].replace("-", "")
        }

        function rowOf(model, jid) {
            for (var i = 0; i < model.count; ++i) {
                if (model.get(i).jid === jid)
                    return model.get(i)
            }
            return null
        }

        function test_chatWithAFriend() {
            verify(harness.wireChat(), "the chat core is wired to the harness")
            var w = harness.signedIn({ "chatOn": "1" })
            tryVerify(function () { return w.chatConnected }, 20000, "chat connects")
            tryVerify(function () { return fbChatData.totalUsers >= 2 }, 10000, "the roster arrives")
            var anna = fbChatData.users[0], ben = fbChatData.users[1]
            var annaId = numericId(anna.jid), benId = numericId(ben.jid)
            harness.call("POST", "/_sandbox/chat/presence?user=" + annaId + "&show=")
            harness.call("POST", "/_sandbox/chat/presence?user=" + benId + "&show=away")

            w.signalHandler.showChat()
            compare(w.currentPage, "ChatList")
            tryVerify(function () {
                var a = rowOf(w.chatModel, anna.jid), b = rowOf(w.chatModel, ben.jid)
                return a && a.isOnline && !a.isAway && b && b.isAway
            }, 10000, "online and away friends listed")
            verify(findChild(w.currentView.item, "connecting").visible === false)

            // A burst of updates rebuilds the lists once.
            var before = w.chatListRebuilds
            for (var i = 0; i < 50; ++i)
                w.updateUsers()
            tryVerify(function () { return w.chatListRebuilds > before })
            compare(w.chatListRebuilds, before + 1)

            // Elsewhere, a message raises the banner (plain text) and an
            // unread row on top.
            w.signalHandler.showNews()
            var body = "Hello <b>there</b> :) " + "y".repeat(80)
            harness.call("POST", "/_sandbox/chat/message?from=" + annaId + "&to=" + w.ownId + "&body="
                         + encodeURIComponent(body))
            tryCompare(w.notificationbanner, "text",
                       anna.name.split(" ")[0] + ": \"" + body.substring(0, 80) + "...\"", 10000)
            verify(w.toolbar.chatAlert)
            tryVerify(function () {
                var row = rowOf(w.openConversations, anna.jid)
                return row && row.newMessage && row.hasConversation
            }, 10000, "unread conversation on top")
            compare(rowOf(w.chatModel, anna.jid), null)

            // The conversation shows it; the friend types; a reply reaches her.
            w.showChat(anna.jid, anna.name)
            compare(w.currentPage, "ChatView")
            var page = w.currentView.item
            tryCompare(findChild(page, "messageList"), "count", 1)
            harness.call("POST", "/_sandbox/chat/typing?from=" + annaId + "&to=" + w.ownId + "&composing=1")
            tryVerify(function () { return findChild(page, "typingImage").visible }, 10000, "the pencil shows")

            // What was being written comes back when the conversation opens again.
            findChild(page, "chatField").text = "Hi Anna, on my way"
            w.signalHandler.showChat()
            w.showChat(anna.jid, anna.name)
            page = w.currentView.item
            compare(findChild(page, "chatField").text, "Hi Anna, on my way")
            page.send()
            compare(findChild(page, "chatField").text, "")
            tryCompare(findChild(page, "messageList"), "count", 2)
            tryVerify(function () {
                var got = harness.call("GET", "/_sandbox/chat/messages?user=" + annaId).data
                return got.some(function (m) { return m.body === "Hi Anna, on my way" })
            }, 10000, "the reply reaches the friend")
            tryVerify(function () {
                var messages = fbChatData.conversations[page.conversationIndex].messages
                return messages[1].pending === false && messages[1].failed === false
            }, 10000, "the reply is confirmed")

            // The delete button clears it and goes back to the list.
            page.centerAction()
            compare(w.currentPage, "ChatList")
            tryVerify(function () { return rowOf(w.openConversations, anna.jid) === null })

            // A conversation that opens while a list longer than the view is
            // shown from its top shows at the top, not above the view.
            var list = findChild(w.currentView.item, "chatListView")
            harness.call("POST", "/_sandbox/chat/contacts?count=20")
            tryVerify(function () { return list.contentHeight > 2 * list.height }, 10000)
            list.positionViewAtBeginning()
            harness.call("POST", "/_sandbox/chat/message?from=" + benId + "&to=" + w.ownId + "&body=hi")
            tryVerify(function () { return rowOf(w.openConversations, ben.jid) !== null }, 10000)
            tryVerify(function () { return list.contentY <= list.originY + 1 }, 5000,
                      "the new conversation row in view")
        }
    }
}
