import QtQuick 2.15
import "chattext.js" as ChatText
import "../../client/text.js" as Markup

// One chat message in a nine-patch bubble: the message as our own markup
// (escaped, smileys, web links), under it the time and, for a message not
// yet confirmed, "Sending" or, when it could not be sent, "Not sent". The
// white and dark bubbles set the picture, insets and colours.
BorderImage {
    id: bubble

    // The raw message text and the time shown under it.
    property string text
    property string date
    property bool pending: false
    property bool failed: false
    property int textInset
    property int textTop
    property color textColor
    property color dateColor
    property color failedColor
    property string linkColor: "#70aac3"
    property int datePixelSize
    property int dateHeight
    readonly property string markup: ChatText.messageMarkup(text, Qt.resolvedUrl("../media/smileys/"),
                                                                 linkColor)
    readonly property string mark: failed ? translator.translate("Not sent")
                                          : (pending ? translator.translate("Sending") : "")

    height: column.height + 30

    Column {
        id: column
        x: bubble.textInset
        y: bubble.textTop
        width: bubble.width - 2 * bubble.textInset

        Text {
            objectName: "messageText"
            width: parent.width
            textFormat: Text.RichText
            wrapMode: Text.WrapAtWordBoundaryOrAnywhere
            color: bubble.textColor
            font.family: window.nokiapure ? window.nokiapure.name : "DejaVu Sans"
            font.pixelSize: window.mainFontSize
            text: bubble.markup
            // Only web addresses open; the markup links nothing else.
            onLinkActivated: {
                if (Markup.webAddress(link) !== "")
                    window.openLink(link)
            }
        }

        Text {
            objectName: "dateText"
            width: parent.width
            height: bubble.dateHeight
            horizontalAlignment: Text.AlignRight
            verticalAlignment: Text.AlignBottom
            textFormat: Text.PlainText
            elide: Text.ElideLeft
            color: bubble.failed ? bubble.failedColor : bubble.dateColor
            font.pixelSize: bubble.datePixelSize
            text: bubble.mark === "" ? bubble.date : bubble.mark + "  " + bubble.date
        }
    }
}
