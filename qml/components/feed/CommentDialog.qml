import QtQuick 2.15
import "../common"
import "../platform"

// The slide-down text dialog of the main window: a post on a wall, a
// comment on an object or a shared link. "Comment" ("Share" for a link)
// emits clicked(text); navigation posts it to `url`. The text stays until
// the service has taken it: a refused posting reopens the dialog with it.
Item {
    id: dialog

    property alias statusText: field.text
    // Where the text goes: a wall's "<id>/feed", an object's id, "me/links".
    property string url
    property string name
    property bool isLink: false
    property bool isPrivate: false
    property string jid
    property string link
    property string linkName
    property string picture
    property string caption
    property string description
    // What was sent and not yet answered, oldest first.
    property var pending: []
    // Refused while the user was writing another text: shown when that is done.
    property var refused: []

    signal clicked(string text)

    function clear() {
        field.text = ""
    }

    function closeKeyboard() {
        window.helpInput.forceActiveFocus()
        Qt.inputMethod.hide()
    }

    function linkFields() {
        return { isLink: isLink, link: link, linkName: linkName, picture: picture, caption: caption,
                 description: description }
    }

    function send() {
        var text = field.text
        // The service refuses an empty comment; a link may go without one.
        if (!isLink && text.trim() === "")
            return
        closeKeyboard()
        pending = pending.concat([Object.assign({ kind: isLink ? "link" : "comment", url: url, name: name,
                                                  text: text }, linkFields())])
        clicked(text)
        state = "hidden"
        showRefused()
    }

    function cancel() {
        clear()
        state = "hidden"
        isLink = false
        closeKeyboard()
        showRefused()
    }

    function showRefused() {
        if (refused.length > 0) {
            var posting = refused[0]
            refused = refused.slice(1)
            restore(posting)
        }
    }

    // A refused posting comes back; while the user writes another, it waits.
    function restore(posting) {
        if (state === "shown" && field.text !== "" && field.text !== posting.text) {
            refused = refused.concat([posting])
            return
        }
        url = posting.url
        name = posting.name
        isLink = posting.isLink
        link = posting.link
        linkName = posting.linkName
        picture = posting.picture
        caption = posting.caption
        description = posting.description
        field.text = posting.text
        state = "shown"
    }

    // Takes the oldest posting the answer is about off the list; `text`
    // undefined matches any text.
    function answered(kind, target, text) {
        for (var i = 0; i < pending.length; ++i) {
            var posting = pending[i]
            if (posting.kind === kind && posting.url === target && (text === undefined || posting.text === text)) {
                pending = pending.slice(0, i).concat(pending.slice(i + 1))
                return posting
            }
        }
        return null
    }

    objectName: "commentDialog"
    clip: true
    state: "hidden"
    visible: state === "shown" || slide.running
    states: [
        State { name: "shown"; PropertyChanges { target: panel; y: 0 } },
        State { name: "hidden"; PropertyChanges { target: panel; y: -panel.height } }
    ]
    transitions: Transition {
        NumberAnimation { id: slide; target: panel; property: "y"; duration: 200; easing.type: Easing.OutQuad }
    }
    onStateChanged: if (state === "shown") field.forceActiveFocus()

    // Shades the page below and keeps taps off it.
    Rectangle {
        anchors.fill: parent
        color: "#000"
        opacity: dialog.state === "shown" ? 0.5 : 0
        MouseArea { anchors.fill: parent }
    }

    Rectangle {
        id: panel
        objectName: "dialogPanel"
        width: parent.width
        height: content.height + 2 * window.spacing
        y: -height
        color: window.darkTheme ? "#111" : "#EFF2F7"

        Column {
            id: content
            x: window.spacing
            y: window.spacing
            width: parent.width - 2 * window.spacing
            spacing: window.spacing

            TextArea {
                id: field
                objectName: "dialogText"
                width: parent.width
                height: window.landscape ? 55 : 240
                placeholderText: translator.translate("What's on your mind?")
            }

            Row {
                width: parent.width
                spacing: window.spacing

                FButton {
                    objectName: "sendButton"
                    width: (parent.width - parent.spacing) * 2 / 3
                    height: 50
                    buttonText: dialog.isLink ? "Share" : "Comment"
                    onClicked: dialog.send()
                }

                FButton {
                    objectName: "cancelButton"
                    width: (parent.width - parent.spacing) / 3
                    height: 50
                    buttonText: "Cancel"
                    onClicked: dialog.cancel()
                }
            }
        }
    }

    Connections {
        target: window.clientSession
        ignoreUnknownSignals: true
        function onPostingSucceeded(kind, target) {
            var posting = dialog.answered(kind, target)
            if (posting && dialog.state === "hidden" && field.text === posting.text)
                dialog.clear()
        }
        function onPostingFailed(kind, target, text) {
            var posting = dialog.answered(kind, target, text)
            if (posting)
                dialog.restore(posting)
        }
    }
}
