import QtQuick 2.15

// Two text fields and a focusable item that takes no text.
Rectangle {
    width: 300
    height: 300

    TextInput { objectName: "first"; x: 10; y: 10; width: 200; height: 40 }
    TextInput { objectName: "second"; x: 10; y: 60; width: 200; height: 40 }

    Rectangle {
        objectName: "plain"
        x: 10; y: 120; width: 200; height: 40
        MouseArea { anchors.fill: parent; onClicked: parent.forceActiveFocus() }
    }
}
