import QtQuick 2.15
import Kelvo 1.0

// Under the login dialog: the maker's privacy policy. It takes its own room
// at the foot of the login view, so it never covers the dialog's buttons.
Rectangle {
    color: "black"
    implicitHeight: 20

    Text {
        anchors.centerIn: parent
        color: "white"
        font.pixelSize: 14
        font.underline: true
        text: translator.translate("Privacy Policy")
        MouseArea {
            anchors.fill: parent
            onClicked: window.openLink(ServiceConfig.privacyUrl)
        }
    }
}
