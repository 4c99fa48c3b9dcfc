import QtQuick 2.15

// The home menu: a status-update field over a grid of large entries that
// open the top-level pages, on black or on the user's background picture.
// In page mode (the user acts as one of their pages) only what a page can
// do is offered: its own feed, photo upload and the way back to the user.
Rectangle {
    id: mainMenu

    // Lets the bottom bar tell the home menu from anything else in the
    // window's menu loader.
    readonly property bool isHomeMenu: true
    property bool landscape: width > height
    property alias status: statusField
    readonly property int columns: landscape ? 6 : 3
    readonly property int margin: 10
    // Privacy, Share and Cancel show on small screens, where the keyboard
    // leaves no room to reach them later, and whenever there is text.
    readonly property bool actionRowShown: {
        var windowLandscape = window.width > window.height
        return (!windowLandscape && window.height < 600)
                || (windowLandscape && window.height < 250)
                || statusField.text !== ""
    }

    // Answered by the main window, which posts the status.
    signal share(string text)

    function closeKeyboard() {
        statusField.setFocus(false)
    }

    function shareStatus() {
        var text = statusField.text
        closeKeyboard()
        // A blank status is refused by the service; keep the field as it is.
        if (text.trim() === "")
            return
        share(text)
        statusField.text = ""
    }

    function cancelStatus() {
        closeKeyboard()
        statusField.text = ""
    }

    // Every entry first takes the focus from the status field.
    function open(action) {
        closeKeyboard()
        action()
    }

    width: 480
    height: 854
    color: "black"

    Image {
        objectName: "background"
        anchors.fill: parent
        clip: true
        asynchronous: true
        fillMode: Image.PreserveAspectCrop
        sourceSize.width: width
        sourceSize.height: height
        source: window.backgroundUrl
        visible: window.backgroundUrl !== ""
    }

    Flickable {
        id: flick
        objectName: "menuFlickable"
        anchors.fill: parent
        contentWidth: width
        contentHeight: content.height + 2 * mainMenu.margin
        flickableDirection: Flickable.VerticalFlick
        boundsBehavior: Flickable.StopAtBounds
        clip: true

        Column {
            id: content
            x: mainMenu.margin
            y: mainMenu.margin
            width: flick.width - 2 * mainMenu.margin
            spacing: mainMenu.landscape ? 8 : 10

            TextInsertSymbian {
                id: statusField
                objectName: "statusField"
                width: parent.width
                startHeight: mainMenu.landscape ? 65 : 100
                placeholderText: "What's on your mind?"
            }

            Row {
                id: actionRow
                objectName: "actionRow"
                width: parent.width
                spacing: 18
                visible: mainMenu.actionRowShown

                FButton {
                    objectName: "privacyButton"
                    width: actionRow.width / 3 - 12
                    height: 50
                    buttonImg: "../media/BottomBar/lock.svg"
                    pressed: window.privacyString !== ""
                    visible: !window.useAsPage
                    onClicked: signalHandler.showPrivacy()
                }

                FButton {
                    objectName: "shareButton"
                    width: actionRow.width / 3 - 12
                    height: 50
                    buttonText: "Share"
                    onClicked: mainMenu.shareStatus()
                }

                FButton {
                    objectName: "cancelButton"
                    width: actionRow.width / 3 - 12
                    height: 50
                    buttonText: "Cancel"
                    onClicked: mainMenu.cancelStatus()
                }
            }

            Grid {
                id: grid
                objectName: "menuGrid"

                readonly property real cellWidth: (width - (columns - 1) * columnSpacing) / columns

                width: parent.width
                columns: mainMenu.columns
                columnSpacing: mainMenu.landscape ? 4 : 20
                rowSpacing: mainMenu.landscape ? 8 : 10

                MenuButton {
                    objectName: "newsEntry"
                    width: grid.cellWidth
                    icon: "../media/Home/Feed.png"
                    text: "News Feed"
                    onClicked: mainMenu.open(function () {
                        window.reload = true
                        if (window.useAsPage)
                            signalHandler.showPage(window.pageId, window.pageName)
                        else
                            signalHandler.showNews()
                    })
                }

                MenuButton {
                    objectName: "notificationsEntry"
                    width: grid.cellWidth
                    icon: "../media/Home/Notifications.svg"
                    text: "Notifications"
                    counter: window.unread_notifications
                    visible: !window.useAsPage
                    onClicked: mainMenu.open(function () { signalHandler.showNotifications() })
                }

                MenuButton {
                    objectName: "chatEntry"
                    width: grid.cellWidth
                    icon: window.toolbar.chatAlert ? "../media/Home/Chat_NEW.svg" : "../media/Home/Chat.svg"
                    text: "Chat"
                    visible: !window.useAsPage
                    onClicked: mainMenu.open(function () { signalHandler.showChat() })
                }

                MenuButton {
                    objectName: "photoUploadEntry"
                    width: grid.cellWidth
                    icon: "../media/Home/PhotoUpload.svg"
                    text: "Photo upload"
                    onClicked: mainMenu.open(function () { signalHandler.showPhotoUploader() })
                }

                MenuButton {
                    objectName: "checkinEntry"
                    width: grid.cellWidth
                    icon: "../media/Home/Checkin.svg"
                    text: "Check-in"
                    visible: !window.useAsPage
                    onClicked: mainMenu.open(function () { signalHandler.showPlaces() })
                }

                MenuButton {
                    objectName: "messagesEntry"
                    width: grid.cellWidth
                    icon: "../media/Home/Conversation.png"
                    text: "Messages"
                    counter: window.hasNewMessage ? 999 : 0
                    visible: !window.useAsPage
                    onClicked: mainMenu.open(function () { signalHandler.showMessages("inbox") })
                }

                MenuButton {
                    objectName: "profileEntry"
                    width: grid.cellWidth
                    icon: "../media/Home/Contacts.png"
                    text: window.useAsPage ? "Back to user" : "Profile"
                    onClicked: mainMenu.open(function () {
                        window.reload = true
                        if (window.useAsPage)
                            signalHandler.backToUser()
                        else
                            signalHandler.showProfile()
                    })
                }

                MenuButton {
                    objectName: "friendsEntry"
                    width: grid.cellWidth
                    icon: "../media/Home/Friends.svg"
                    text: "Friends"
                    counter: window.friend_requests
                    visible: !window.useAsPage
                    onClicked: mainMenu.open(function () {
                        window.reload = true
                        signalHandler.showFriends()
                    })
                }

                MenuButton {
                    objectName: "groupsEntry"
                    width: grid.cellWidth
                    icon: "../media/Home/Groups.svg"
                    text: "Groups"
                    visible: !window.useAsPage
                    onClicked: mainMenu.open(function () {
                        window.reload = true
                        signalHandler.showGroups()
                    })
                }

                MenuButton {
                    objectName: "searchEntry"
                    width: grid.cellWidth
                    icon: "../media/Home/Search.png"
                    text: "Search"
                    visible: !window.useAsPage
                    onClicked: mainMenu.open(function () { signalHandler.showSearch() })
                }

                MenuButton {
                    objectName: "eventsEntry"
                    width: grid.cellWidth
                    icon: "../media/Home/Calendar.png"
                    text: "Events"
                    counter: window.open_events
                    visible: !window.useAsPage
                    onClicked: mainMenu.open(function () {
                        window.reload = true
                        signalHandler.showEvents()
                    })
                }

                MenuButton {
                    objectName: "pagesEntry"
                    width: grid.cellWidth
                    icon: "../media/Home/Browser.png"
                    text: "Pages"
                    visible: !window.useAsPage
                    onClicked: mainMenu.open(function () { signalHandler.showPages() })
                }
            }
        }
    }
}
