import QtQuick 2.15

// The application's top-level item: fills the view, paints the window
// background and holds the scene. Pages are placed by the main window's own
// loaders, so the page stack only records what was pushed.
Item {
    id: pageStackWindow

    property bool showStatusBar: true
    property bool showToolBar: false
    property Component initialPage: null
    property color backgroundColor: "#ffffff"
    property bool inPortrait: height >= width
    readonly property alias pageStack: stack

    default property alias content: contentArea.data

    // The view sizes the root item to itself; these are the portrait defaults.
    width: 480
    height: 854

    Rectangle {
        anchors.fill: parent
        color: pageStackWindow.backgroundColor
    }

    Item {
        id: contentArea
        anchors.fill: parent
    }

    QtObject {
        id: stack
        property int depth: 0
        property Item currentPage: null
    }
}
