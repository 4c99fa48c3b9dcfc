import QtQuick 2.15

// Thin scroll position bars for a Flickable, shown while it moves and faded
// out shortly after it stops. The bars are placed on the flickable itself,
// so the decorator may be declared anywhere (beside the flickable or in it).
Item {
    id: decorator

    property Flickable flickableItem: null
    readonly property bool active: flickableItem ? flickableItem.moving : false
    readonly property real barThickness: 4
    readonly property real minimumBarLength: 20

    Item {
        id: overlay
        objectName: "scrollDecoratorOverlay"
        parent: decorator.flickableItem ? decorator.flickableItem : decorator
        anchors.fill: parent
        z: 100
        visible: decorator.flickableItem !== null

        Rectangle {
            id: verticalBar
            objectName: "verticalIndicator"

            readonly property var area: decorator.flickableItem ? decorator.flickableItem.visibleArea : null
            readonly property bool needed: decorator.flickableItem !== null
                && decorator.flickableItem.contentHeight > decorator.flickableItem.height

            x: overlay.width - width - 2
            width: decorator.barThickness
            height: needed ? Math.max(decorator.minimumBarLength,
                                      Math.min(1, area.heightRatio) * overlay.height) : 0
            y: needed ? Math.max(0, Math.min(overlay.height - height,
                                             area.yPosition * overlay.height)) : 0
            radius: width / 2
            color: "#80808a"
            visible: needed
            opacity: 0
        }

        Rectangle {
            id: horizontalBar
            objectName: "horizontalIndicator"

            readonly property var area: decorator.flickableItem ? decorator.flickableItem.visibleArea : null
            readonly property bool needed: decorator.flickableItem !== null
                && decorator.flickableItem.contentWidth > decorator.flickableItem.width

            y: overlay.height - height - 2
            height: decorator.barThickness
            width: needed ? Math.max(decorator.minimumBarLength,
                                     Math.min(1, area.widthRatio) * overlay.width) : 0
            x: needed ? Math.max(0, Math.min(overlay.width - width,
                                             area.xPosition * overlay.width)) : 0
            radius: height / 2
            color: "#80808a"
            visible: needed
            opacity: 0
        }

        states: State {
            name: "moving"
            when: decorator.active
            PropertyChanges { target: verticalBar; opacity: 1 }
            PropertyChanges { target: horizontalBar; opacity: 1 }
        }

        transitions: [
            Transition {
                to: "moving"
                NumberAnimation { properties: "opacity"; duration: 100 }
            },
            Transition {
                from: "moving"
                SequentialAnimation {
                    PauseAnimation { duration: 400 }
                    NumberAnimation { properties: "opacity"; duration: 300 }
                }
            }
        ]
    }
}
