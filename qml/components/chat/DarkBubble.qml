import QtQuick 2.15

// A message the user sent.
ChatBubble {
    source: "../media/darkBubble.png"
    border { left: 5; top: 5; right: 5; bottom: 2 * window.spacing }
    textInset: window.spacing
    textTop: window.spacing
    textColor: "white"
    dateColor: "lightGray"
    failedColor: "#FFB4A8"
    // The usual link blue is too faint on the dark bubble.
    linkColor: "#B8E2F5"
    datePixelSize: 16
    dateHeight: 22
}
