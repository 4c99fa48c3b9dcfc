import QtQuick 2.15

// A received chat message.
ChatBubble {
    source: "../media/whiteBubble.png"
    border { left: 3; top: 25; right: 3; bottom: 15 }
    textInset: 10
    textTop: 20
    textColor: "black"
    dateColor: "grey"
    failedColor: "#C62828"
    datePixelSize: window.mainFontSize - 2
    dateHeight: 15
}
