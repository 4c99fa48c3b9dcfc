import QtQuick 2.15

// Stands in for the root window: records what the scene can see when it is
// created and once the event loop has run.
Item {
    property string atCreation
    property string later

    function published() {
        return [typeof fbChatData, typeof imageSaver, typeof dir].join(",")
    }

    signal quit()

    Component.onCompleted: atCreation = published()

    Timer {
        interval: 50
        running: true
        onTriggered: later = published()
    }
}
