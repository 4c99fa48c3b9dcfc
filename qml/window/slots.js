// The chat list builder: turns the native chat model into the window's two
// chat lists (`openConversations` on top, `chatModel` with the online, then
// the away contacts) and chat events into the banner, sound, alert and the
// open conversation's pencil. It keeps no state: it reads the importing
// window's context, `window` and the model `fbChatData` (absent when the
// scene runs without the native core).
.import Kelvo 1.0 as Kelvo

var bannerLength = 80

function chatData() {
    return typeof fbChatData === "undefined" ? null : fbChatData
}

function bareJid(jid) {
    return String(jid || "").split("/")[0]
}

// "-123@chat.example" -> "123": kept as text, ids exceed exact numbers.
function numericId(jid) {
    return bareJid(jid).split("@")[0].replace("-", "")
}

// A function giving a JID's profile picture address,
// "<graph root>/<id>/picture?<token>", with the root and token read once.
function pictureUrls() {
    var root = Kelvo.ServiceConfig.graphRoot + "/"
    var query = "/picture?" + window.token
    return function (jid) { return root + numericId(jid) + query }
}

// The roster users as plain records { name, alphabet, jid, isOnline, isAway,
// key }, each user's properties read once, sorted by key, name + "||" +
// index as text: among equal names index "10" comes before "2".
function sortedUsers(data) {
    var users = data.users
    var records = []
    var total = data.totalUsers
    for (var x = 0; x < total; ++x) {
        var user = users[x]
        if (user)
            records.push({ "name": user.name, "alphabet": user.alphabet, "jid": user.jid,
                           "isOnline": user.isOnline, "isAway": user.isAway, "key": user.name + "||" + x })
    }
    return records.sort(function (a, b) { return a.key < b.key ? -1 : a.key > b.key ? 1 : 0 })
}

function userRow(user, alphabet, newMessage, hasConversation, picture) {
    return { "name": user.name, "alphabet": alphabet, "profileImageUrl": picture(user.jid),
             "isOnline": user.isOnline, "isAway": user.isAway, "jid": user.jid,
             "newMessage": newMessage, "hasConversation": hasConversation }
}

// A conversation whose contact is not in the roster: its stored name, else
// the numeric id.
function strangerRow(conversation, alphabet, picture) {
    var name = conversation.name || numericId(conversation.jid)
    return { "name": name, "alphabet": alphabet === undefined ? name.charAt(0) : alphabet,
             "profileImageUrl": picture(conversation.jid), "isOnline": false, "isAway": false,
             "jid": conversation.jid, "newMessage": conversation.hasNewMessages, "hasConversation": true }
}

// The open conversations' rows, one per contact, in the model's order;
// `starred` gives them the section "*". Fills `taken` with their JIDs.
function conversationRows(data, sorted, starred, taken, picture) {
    var rows = []
    var count = data.conversationsCount
    if (count === 0)
        return rows
    var byJid = {}
    sorted.forEach(function (user) {
        if (!(user.jid in byJid))
            byJid[user.jid] = user
    })
    var conversations = data.conversations
    for (var i = 0; i < count; ++i) {
        var conversation = conversations[i]
        if (!conversation || taken[conversation.jid])
            continue
        taken[conversation.jid] = true
        var user = byJid[conversation.jid]
        if (user)
            rows.push(userRow(user, starred ? "*" : user.alphabet, conversation.hasNewMessages, true, picture))
        else
            rows.push(strangerRow(conversation, starred ? "*" : undefined, picture))
    }
    return rows
}

function clientConnected(jid) {
    window.ownId = numericId(jid)
    window.chatConnected = true
    window.nofriendTimer.restart()
}

function updateUsers() {
    updateUsersList("")
}

// The full rebuild: conversations on top, then the online contacts, then the
// away ones; offline contacts without a conversation are left to the search.
function updateUsersList(msgFrom) {
    window.chatModel.clear()
    window.openConversations.clear()
    var data = chatData()
    if (!data)
        return
    var sorted = sortedUsers(data)
    var picture = pictureUrls()
    var taken = {}
    window.openConversations.append(conversationRows(data, sorted, true, taken, picture))
    var rows = []
    for (var away = 0; away < 2; ++away) {
        for (var i = 0; i < sorted.length; ++i) {
            var user = sorted[i]
            if (user.isOnline && user.isAway === (away === 1) && !taken[user.jid]) {
                taken[user.jid] = true
                rows.push(userRow(user, user.alphabet, user.jid === msgFrom, false, picture))
            }
        }
    }
    window.chatModel.append(rows)
}

// The messages of all conversations the model holds.
function messageCount() {
    var data = chatData()
    var count = 0
    for (var i = 0; data && i < data.conversationsCount; ++i) {
        if (data.conversations[i])
            count += data.conversations[i].messagesCount
    }
    return count
}

function updateConversationList(msgFrom) {
    window.openConversations.clear()
    var data = chatData()
    if (data)
        window.openConversations.append(conversationRows(data, sortedUsers(data), false, {}, pictureUrls()))
}

// The contact's or conversation's name for `jid`: roster first.
function nameOf(data, jid) {
    var users = data.users
    for (var x = 0; x < data.totalUsers; ++x) {
        if (users[x] && users[x].jid === jid)
            return users[x].name
    }
    var conversations = data.conversations
    for (var i = 0; i < data.conversationsCount; ++i) {
        if (conversations[i] && conversations[i].jid === jid)
            return conversations[i].name || numericId(jid)
    }
    return numericId(jid)
}

// Name, colon, the message in quotes, cut after 80 characters.
function bannerText(name, msg) {
    var text = msg.length > bannerLength ? msg.substring(0, bannerLength) + "..." : msg
    return name.split(" ")[0] + ": \"" + text + "\""
}

function announce(data, from, msg) {
    window.updateUsersTimer.from = from
    window.updateUsersTimer.restart()
    var name = data ? nameOf(data, from) : numericId(from)
    var banner = window.notificationbanner
    banner.iconSource = Qt.resolvedUrl("../components/media/chat_notif.svg")
    banner.text = bannerText(name, msg)
    banner.jid = from
    banner.name = name
    banner.show()
    if (window.soundOption)
        window.playSound("chat", window.loudSounds ? "1" : "0")
    if (window.vibra) {
        window.vibraTimer.start()
        window.vibraStopper.start()
    }
    if (window.currentPage !== "ChatList")
        window.toolbar.chatAlert = true
}

// A contact's message (`msg` not empty) or typing (`msg` empty), told once
// the model has filed it. Messages from the own account stay silent.
function messageReceived(from, msg) {
    var data = chatData()
    var jid = bareJid(from)
    var text = msg === undefined || msg === null ? "" : String(msg)
    if (data && jid === bareJid(data.ownJid))
        return
    var page = window.currentPage === "ChatView" && window.currentChatJid === jid ? window.currentView.item : null
    if (!page) {
        if (text !== "")
            announce(data, jid, text)
    } else if (text === "") {
        page.typing = true
        window.hideTypingImage.restart()
    } else {
        window.hideTypingImage.stop()
        page.typing = false
        page.refreshMessages()
        page.timer.restart()
        // Read only while the user can see it; the window marks it on return.
        if (window.applicationActive)
            window.markAsRead(jid)
    }
}
