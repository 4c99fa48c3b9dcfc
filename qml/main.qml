import QtQuick 2.15
import "components"

// The main window: owns the application's state and everything that outlives
// a page. The root window relays its signals to the native core and calls its
// functions for native events.
Rectangle {
    id: window

    signal sendMsg(string to, string msg)
    signal connectChat(string sessionKey)
    signal disconnectChat()
    signal setPresence(bool available)
    signal clearConversation(string jid)
    signal markAsRead(string jid)
    signal openLink(string link)
    signal uploadPhoto(string path, string message, string album, string token)
    signal playSound(string sound, string full)
    signal quit()
    signal vibrate()

    property string language: "en"
    property bool chatOn: true
    property string uploadedPhoto
    property bool uploadOk: false
    property bool vkbOpen: false
    property int bottomMargin: 0
    property bool landscape: width > height
    property string title: "Kelvo"

    property color bgColor: "#fff"
    property color titleFontColor: "#3B5998"

    width: 360
    height: 640
    color: bgColor

    // Chat events; the chat lists are built by the chat list builder.
    function clientConnected(jid) {
        console.debug("chat session started as " + jid)
    }

    function messageReceived(from, msg) {
        console.debug("chat message from " + from)
    }

    function updateUsersList(msgFrom) {
        console.debug("chat contacts changed")
    }

    function setCurrentPresence() {
        setPresence(chatOn)
    }

    // An empty id means the upload failed; the waiting indicator goes either way.
    function photoUploaded(photoId) {
        uploadedPhoto = photoId
        waiting.state = "hidden"
        uploadOk = photoId !== ""
    }

    function vkbOpened() {
        vkbOpen = true
        bottomMargin = height > width ? 298 : 215
    }

    function vkbClosed() {
        vkbOpen = false
        bottomMargin = 0
        helpInput.forceActiveFocus()
    }

    TranslationHelper {
        id: translator
    }

    // Takes the focus when the keyboard closes, so no field keeps it.
    TextInput {
        id: helpInput
        visible: false
        width: 0
        height: 0
    }

    Text {
        anchors.centerIn: parent
        text: translator.translate(window.title)
        color: window.titleFontColor
        font.pixelSize: 28
    }

    Item {
        id: waiting
        state: "hidden"
        states: [
            State { name: "shown" },
            State { name: "hidden" }
        ]
    }
}
