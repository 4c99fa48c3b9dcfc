import QtQuick 2.15

// Asks the user one question: an optional icon, a title, a message and up to
// two buttons. Children declared in an instance are placed below the message,
// so the same dialog also serves small forms.
Dialog {
    id: queryDialog

    property string titleText
    property string message
    property string acceptButtonText
    property string rejectButtonText
    // Typed as url so a relative path resolves against the caller's file.
    property url icon

    title: Column {
        width: parent ? parent.width : 0
        spacing: 8

        Image {
            id: iconImage
            anchors.horizontalCenter: parent.horizontalCenter
            width: 64
            height: 64
            sourceSize.width: 64
            sourceSize.height: 64
            fillMode: Image.PreserveAspectFit
            source: queryDialog.icon
            visible: queryDialog.icon.toString() !== ""
        }

        Text {
            objectName: "queryDialogTitle"
            width: parent.width
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.Wrap
            color: "white"
            font.pixelSize: 26
            font.bold: true
            text: queryDialog.titleText
            visible: text !== ""
        }
    }

    Text {
        objectName: "queryDialogMessage"
        width: parent ? parent.width : 0
        horizontalAlignment: Text.AlignHCenter
        wrapMode: Text.Wrap
        color: "#e6e6e6"
        font.pixelSize: 20
        textFormat: Text.PlainText
        text: queryDialog.message
        visible: text !== ""
    }

    buttons: Column {
        width: parent ? parent.width : 0
        spacing: 10

        DialogButton {
            objectName: "acceptButton"
            width: parent.width
            primary: true
            text: queryDialog.acceptButtonText
            visible: text !== ""
            onClicked: queryDialog.accept()
        }

        DialogButton {
            objectName: "rejectButton"
            width: parent.width
            text: queryDialog.rejectButtonText
            visible: text !== ""
            onClicked: queryDialog.reject()
        }
    }
}
