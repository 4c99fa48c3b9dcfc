import QtQml 2.15
import QtQuick 2.15
import "components/common"
import "components/platform"

// The root window. It shows the splash, loads the main window 50 ms later
// (once the native core has published its objects and made its connections)
// and from then on relays: the main window's requests become this window's
// signals, which the native core is connected to, and native events arrive as
// calls of this window's functions, which forward them to the main window.
PageStackWindow {
    id: start

    signal sendMsg(string to, string msg)
    signal connectChat(string sessionKey)
    signal disconnectChat()
    signal setPresence(bool available)
    signal openLink(string link)
    signal playsound(string dir, string sound, string full)
    signal clearConversation(string jid)
    signal markAsRead(string jid)
    signal uploadPhoto(string path, string message, string album, string token)
    signal quit()

    readonly property LoggingCategory coreLog: LoggingCategory { name: "kelvo.core" }

    showStatusBar: false
    backgroundColor: "black"

    // Native events. They can only arrive once the main window exists; one
    // that comes earlier is dropped with a warning.
    function mainWindow(call) {
        if (!mainContainer.item)
            console.warn(coreLog, "root window: " + call + " before the main window exists, dropped")
        return mainContainer.item
    }

    function clientConnected(jid) {
        var w = mainWindow("clientConnected")
        if (w)
            w.clientConnected(jid)
    }

    function chatDisconnected() {
        var w = mainWindow("chatDisconnected")
        if (w)
            w.chatDisconnected()
    }

    // A desktop notification was chosen: its conversation opens.
    function showChat(jid, name) {
        var w = mainWindow("showChat")
        if (w)
            w.showChat(jid, name)
    }

    function messageReceived(from, msg) {
        var w = mainWindow("messageReceived")
        if (w)
            w.messageReceived(from, msg)
    }

    function updateUsers() {
        var w = mainWindow("updateUsers")
        if (w)
            w.updateUsersList("")
    }

    function setCurrentPresence() {
        var w = mainWindow("setCurrentPresence")
        if (w)
            w.setCurrentPresence()
    }

    function photoUploaded(id) {
        var w = mainWindow("photoUploaded")
        if (w)
            w.photoUploaded(uploadedPhotoId(id))
    }

    function keyboardOpened() {
        var w = mainWindow("keyboardOpened")
        if (w)
            w.vkbOpened()
    }

    function keyboardClosed() {
        var w = mainWindow("keyboardClosed")
        if (w)
            w.vkbClosed()
    }

    // The id of the new photo in the upload answer, or "" for any answer
    // without one: an error object, an empty body or text that is not JSON
    // all count as a failed upload, so the main window always hears the end.
    function uploadedPhotoId(reply) {
        var answer
        try {
            answer = JSON.parse(String(reply))
        } catch (error) {
            console.warn(coreLog, "root window: upload answer is not JSON: " + error)
            return ""
        }
        if (answer !== null && typeof answer === "object" && answer.id !== undefined)
            return answer.id
        return ""
    }

    // The uploader wants the token as the query pair "access_token=...".
    function uploadToken(token) {
        var text = String(token)
        return text.indexOf("access_token") === 0 ? text : "access_token=" + text
    }

    // Gallery paths relative to the home folder lose that prefix; the
    // uploader resolves them against its working directory.
    function uploadPath(path) {
        var text = String(path)
        return text.indexOf("home/user/") === 0 ? text.substring(10) : text
    }

    Loader {
        id: mainContainer
        objectName: "mainContainer"
        anchors.fill: parent
    }

    Splash {
        id: splash
        objectName: "splash"
        anchors.fill: parent
        z: 5
        image: Qt.resolvedUrl("components/media/Kelvo.svg")
        fadeout: 700
        timeout: 0
        onFinished: splash.destroy()
        Component.onCompleted: timer.start()
    }

    Timer {
        id: timer
        interval: 50
        repeat: false
        onTriggered: {
            mainContainer.source = "main.qml"
            splash.activate()
        }
    }

    Connections {
        target: mainContainer.item

        function onSendMsg(to, msg) { start.sendMsg(to, msg) }
        function onConnectChat(sessionKey) { start.connectChat(sessionKey) }
        function onClearConversation(jid) { start.clearConversation(jid) }
        function onMarkAsRead(jid) { start.markAsRead(jid) }
        function onOpenLink(link) { start.openLink(link) }
        function onDisconnectChat() { start.disconnectChat() }
        function onSetPresence(available) { start.setPresence(available) }
        function onPlaySound(sound, full) { start.playsound(dir, sound, full) }
        function onUploadPhoto(path, message, album, token) {
            start.uploadPhoto(uploadPath(path), message, album, uploadToken(token))
        }
        function onQuit() {
            start.disconnectChat()
            Qt.quit()
            start.quit()
        }
    }

    // The input panel's visibility drives the main window's keyboard margin.
    Connections {
        target: Qt.inputMethod
        function onVisibleChanged() {
            if (Qt.inputMethod.visible)
                start.keyboardOpened()
            else
                start.keyboardClosed()
        }
    }
}
