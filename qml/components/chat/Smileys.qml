import QtQuick 2.15

// The smiley panel of the conversation page: a tap on a smiley hands its
// code to the page, which adds it to the message being written.
Item {
    id: panel

    signal addSmiley(string smileyText)

    width: grid.width + 8
    height: grid.height + 8

    Rectangle {
        anchors.fill: parent
        radius: 10
        color: window.bgColor
        opacity: 0.5
    }

    Rectangle {
        anchors.fill: parent
        radius: 10
        color: "transparent"
        border.width: 2
        border.color: window.statusPressBg
    }

    Grid {
        id: grid
        x: 4
        y: 4
        spacing: 2
        columns: window.landscape ? 15 : 7

        Repeater {
            model: [["Smile", ":)"], ["Sad", ":("], ["Crying", ":'("], ["Surprised", ":o"], ["Grin", ":D"],
                ["Tongue", ":P"], ["Wink", ";)"], ["Kissing", ":*"], ["Cool", "8)"], ["Angel", "O:)"],
                ["Devil", "3:)"], ["Unsure", ":/"], ["Heart", "<3"]]

            Rectangle {
                objectName: "smiley_" + modelData[0]
                width: 40
                height: 40
                radius: 10
                color: area.pressed ? window.hoverColor : "transparent"

                Image {
                    anchors.centerIn: parent
                    source: "../media/smileys/" + modelData[0] + ".png"
                }

                MouseArea {
                    id: area
                    anchors.fill: parent
                    onClicked: panel.addSmiley(modelData[1])
                }
            }
        }
    }
}
