import QtQuick 2.15
import "../platform"

// Asks for the Read It Later account and saves the item shown in the top
// view there. The password is masked.
QueryDialog {
    id: rilDialog

    property alias username: usernameField.text
    property alias password: passwordField.text
    property bool remember: false

    titleText: "Read it later"
    acceptButtonText: translator.translate("Send")
    rejectButtonText: translator.translate("Close")

    onAccepted: {
        var item = window.currentViewTop.item
        signalHandler.ril(username, password, item && item.link ? item.link : "",
                          item && item.name ? item.name : "", remember)
    }

    Column {
        width: parent ? parent.width : 0
        height: 170
        spacing: 8

        TextField {
            id: usernameField
            objectName: "rilUsername"
            width: parent.width
            height: 50
            placeholderText: translator.translate("Username")
            inputMethodHints: Qt.ImhNoAutoUppercase
        }

        TextField {
            id: passwordField
            objectName: "rilPassword"
            width: parent.width
            height: 50
            placeholderText: translator.translate("Password")
            echoMode: TextInput.Password
        }

        Row {
            spacing: 12
            height: 50

            Rectangle {
                objectName: "rilRemember"
                width: 50
                height: 50
                radius: 6
                color: "white"
                border.color: "#3B5998"
                border.width: 2

                Text {
                    anchors.centerIn: parent
                    text: "\u2713"
                    color: "#3B5998"
                    font.pixelSize: 34
                    visible: rilDialog.remember
                }

                MouseArea {
                    anchors.fill: parent
                    onClicked: rilDialog.remember = !rilDialog.remember
                }
            }

            Text {
                anchors.verticalCenter: parent.verticalCenter
                color: "white"
                font.pixelSize: 20
                text: translator.translate("Remember credentials")
            }
        }
    }
}
