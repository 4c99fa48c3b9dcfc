import QtQuick 2.15
import "../platform"

// Chooses the audience of the next status post. The choice is kept in the
// main window's privacyString as the service's privacy value.
SelectionDialog {
    id: privacyDialog
    objectName: "privacyDialog"

    titleText: "Select privacy"
    model: privacyModel

    // The privacy value for a chosen option, a JSON object; "" for the
    // default audience. A friend list's id is written as JSON text, so that
    // no id can break the object.
    function privacyValue(id) {
        switch (id) {
        case "": return ""
        case "FRIENDS_OF_FRIENDS":
        case "ALL_FRIENDS":
        case "CUSTOM":
            return JSON.stringify({ "value": id })
        default:
            return JSON.stringify({ "value": "CUSTOM", "friends": "SOME_FRIENDS", "allow": id })
        }
    }

    function isChosen(id) {
        return id === "" ? window.privacyString === "" : window.privacyString.indexOf(id) >= 0
    }

    function choose(id) {
        window.privacyString = privacyValue(id)
        close()
        if (window.menu.item)
            window.menu.item.forceActiveFocus()
    }

    delegate: Rectangle {
        width: ListView.view ? ListView.view.width : 0
        height: 50
        color: rowArea.pressed || privacyDialog.isChosen(model.privacy_id) ? window.statusPressBg : "transparent"

        Text {
            anchors.verticalCenter: parent.verticalCenter
            x: window.spacing
            color: window.titleFontColor
            font.pixelSize: window.titleFontSize
            textFormat: Text.PlainText
            text: translator.translate(model.name)
        }

        MouseArea {
            id: rowArea
            anchors.fill: parent
            onClicked: privacyDialog.choose(model.privacy_id)
        }
    }
}
