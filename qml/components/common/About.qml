import QtQuick 2.15

// The About page: the product's icon and name over the credits, each with
// a picture, a name, a role and a web link that opens in the browser.
Rectangle {
    id: about

    // Web address of the product's page, by default the window's
    // `productPageLink` (built from the service settings) when it has one.
    // Without one the developers' row shows no link.
    property string productPageLink: typeof window.productPageLink === "string"
                                     ? window.productPageLink : ""
    readonly property var credits: [
        { name: "Kelvo developers", role: "Design and code", link: productPageLink,
          picture: "../media/Kelvo.svg" },
        { name: "Qt", role: "Application framework", link: "www.qt.io", picture: "" },
        { name: "QXmpp", role: "Chat library", link: "github.com/qxmpp-project/qxmpp",
          picture: "" }
    ]

    // Links are kept as people write them; the browser needs a scheme.
    function fullLink(link) {
        return /^http/i.test(link) ? link : "http://" + link
    }

    function openCredit(link) {
        window.openLink(fullLink(link))
    }

    objectName: "aboutPage"
    width: 480
    height: 854
    color: "black"

    Flickable {
        objectName: "aboutFlickable"
        anchors.fill: parent
        contentWidth: width
        contentHeight: content.height + 40
        flickableDirection: Flickable.VerticalFlick
        boundsBehavior: Flickable.StopAtBounds
        clip: true

        Column {
            id: content
            x: 20
            y: 20
            width: parent.width - 40
            spacing: 20

            Image {
                objectName: "logo"
                anchors.horizontalCenter: parent.horizontalCenter
                width: 100
                height: 100
                sourceSize.width: 100
                sourceSize.height: 100
                source: "../media/Kelvo.svg"
            }

            Text {
                objectName: "productName"
                anchors.horizontalCenter: parent.horizontalCenter
                font.pixelSize: 30
                color: window.titleFontColor
                text: "Kelvo"
            }

            Repeater {
                objectName: "creditRepeater"
                model: about.credits

                Row {
                    objectName: "credit_" + index
                    width: content.width
                    spacing: 16

                    Item {
                        width: 80
                        height: 80

                        PlaceholderImage {
                            anchors.fill: parent
                            image: "page"
                            visible: modelData.picture === ""
                        }

                        Image {
                            anchors.fill: parent
                            sourceSize.width: width
                            sourceSize.height: height
                            fillMode: Image.PreserveAspectFit
                            source: modelData.picture
                            visible: modelData.picture !== ""
                        }
                    }

                    Column {
                        width: parent.width - 96
                        spacing: 4

                        Text {
                            objectName: "creditName"
                            width: parent.width
                            wrapMode: Text.Wrap
                            font.pixelSize: 23
                            color: "#eeeeee"
                            text: translator.translate(modelData.name)
                        }

                        Text {
                            objectName: "creditRole"
                            width: parent.width
                            wrapMode: Text.Wrap
                            font.pixelSize: 18
                            color: "#bbbbbb"
                            text: translator.translate(modelData.role)
                        }

                        Text {
                            objectName: "creditLink"
                            width: parent.width
                            elide: Text.ElideRight
                            font.pixelSize: 18
                            font.underline: false
                            color: "#70aac3"
                            text: modelData.link
                            visible: modelData.link !== ""

                            MouseArea {
                                objectName: "creditLinkArea"
                                anchors.fill: parent
                                onClicked: about.openCredit(modelData.link)
                            }
                        }
                    }
                }
            }
        }
    }
}
