import QtQuick 2.15

// Frame drawn over a picture: the border picture stretched to the item,
// its 5-pixel edges kept as they are.
Item {
    width: 100
    height: 100

    BorderImage {
        objectName: "border"
        anchors.fill: parent
        border { left: 5; top: 5; right: 5; bottom: 5 }
        source: "../media/image_border.png"
    }
}
