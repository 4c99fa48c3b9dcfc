import QtQuick 2.15
import "../common"

// "Connecting" under a spinner while the chat session is set up; compact,
// a small spinner beside the text, above the kept conversations.
Grid {
    id: connecting

    property bool compact: false

    columns: compact ? 2 : 1
    spacing: window.spacing
    horizontalItemAlignment: Grid.AlignHCenter
    verticalItemAlignment: Grid.AlignVCenter

    Spinner {
        width: connecting.compact ? 32 : 80
        height: width
        platformInverted: window.darkTheme
    }

    Text {
        objectName: "connectingText"
        textFormat: Text.PlainText
        font.pixelSize: window.mainFontSize
        color: window.descriptionTextColor
        text: translator.translate("Connecting")
    }
}
