import QtQuick 2.15

// The side toolbar: a narrow strip of page buttons along the left edge.
// The button of the current top-level page (`active`) is marked, and
// buttons of pages with something new show their alert icons. It slides
// off-screen in full-screen mode and on the About page, and is not shown
// at all on the login view (both pages are recognised by the objectName of
// the window's current page: "aboutPage", "loginView").
Item {
    id: bar

    // Tag of the current top-level page; the window's page handlers set it.
    property string active: "home"
    property alias chatAlert: chatButton.alert
    property alias notificationsAlert: notificationsButton.alert
    property bool hide: window.fullscreen
    readonly property string currentPageName: window.currentView.item ? window.currentView.item.objectName : ""
    readonly property bool offScreen: hide || currentPageName === "aboutPage"

    width: window.bigIcons ? 52 : 40
    height: parent ? parent.height : 640
    x: offScreen ? -width : 0
    visible: currentPageName !== "loginView"

    Rectangle {
        objectName: "darkBackground"
        anchors.fill: parent
        color: "black"
        visible: window.darkTheme

        Rectangle {
            anchors.right: parent.right
            width: 1
            height: parent.height
            color: "white"
        }
    }

    Rectangle {
        objectName: "lightBackground"
        anchors.fill: parent
        visible: !window.darkTheme
        gradient: Gradient {
            GradientStop { position: 0.08; color: "#7896D3" }
            GradientStop { position: 0.5; color: "#3B5998" }
            GradientStop { position: 1.0; color: "#0F1B47" }
        }
    }

    Flickable {
        objectName: "toolbarFlickable"
        anchors.fill: parent
        // Leaves the dark theme's edge line uncovered.
        anchors.rightMargin: window.darkTheme ? 1 : 0
        contentWidth: width
        contentHeight: buttons.height
        flickableDirection: Flickable.VerticalFlick
        boundsBehavior: Flickable.StopAtBounds
        interactive: contentHeight > height
        clip: true

        Column {
            id: buttons
            width: parent.width

            ToolbarButton {
                objectName: "newsButton"
                width: buttons.width
                icon: "../media/Sidebar/Feeds.svg"
                active: bar.active === "news"
                onClicked: {
                    window.reload = true
                    signalHandler.showNews()
                }
            }

            ToolbarButton {
                id: notificationsButton
                objectName: "notificationsButton"
                width: buttons.width
                icon: "../media/Sidebar/Notifications.svg"
                alertIcon: "../media/Sidebar/Notifications_NEW.svg"
                active: bar.active === "notifications"
                alert: window.unread_notifications > 0
                onClicked: signalHandler.showNotifications()
            }

            ToolbarButton {
                id: chatButton
                objectName: "chatButton"
                width: buttons.width
                icon: "../media/Sidebar/Chat.svg"
                alertIcon: "../media/Sidebar/Chat_NEW.svg"
                active: bar.active === "chat"
                onClicked: signalHandler.showChat()
            }

            ToolbarButton {
                objectName: "uploadButton"
                width: buttons.width
                icon: "../media/Sidebar/PhotoUpload.svg"
                active: bar.active === "Upload"
                onClicked: signalHandler.showPhotoUploader()
            }

            ToolbarButton {
                objectName: "placesButton"
                width: buttons.width
                icon: "../media/Sidebar/Checkin.svg"
                active: bar.active === "places"
                onClicked: signalHandler.showPlaces()
            }

            ToolbarButton {
                objectName: "messagesButton"
                width: buttons.width
                icon: "../media/Sidebar/Messages.svg"
                alertIcon: "../media/Sidebar/Messages_NEW.svg"
                active: bar.active === "messages"
                alert: window.hasNewMessage
                onClicked: signalHandler.showMessages("inbox")
            }

            ToolbarButton {
                objectName: "profileButton"
                width: buttons.width
                icon: "../media/Sidebar/Profile.svg"
                active: bar.active === "profile"
                onClicked: {
                    window.reload = true
                    signalHandler.showProfile()
                }
            }

            ToolbarButton {
                objectName: "friendsButton"
                width: buttons.width
                icon: "../media/Sidebar/Friends.svg"
                alertIcon: "../media/Sidebar/Friends_NEW.svg"
                active: bar.active === "friends"
                alert: window.friend_requests > 0
                onClicked: signalHandler.showFriends()
            }

            ToolbarButton {
                objectName: "groupsButton"
                width: buttons.width
                icon: "../media/Sidebar/Groups.svg"
                active: bar.active === "groups"
                onClicked: signalHandler.showGroups()
            }

            ToolbarButton {
                objectName: "searchButton"
                width: buttons.width
                icon: "../media/Sidebar/Search.svg"
                active: bar.active === "search"
                onClicked: signalHandler.showSearch()
            }

            ToolbarButton {
                objectName: "eventsButton"
                width: buttons.width
                icon: "../media/Sidebar/Events.svg"
                alertIcon: "../media/Sidebar/Events_NEW.svg"
                active: bar.active === "events"
                alert: window.open_events > 0
                onClicked: signalHandler.showEvents()
            }

            ToolbarButton {
                objectName: "pagesButton"
                width: buttons.width
                icon: "../media/Sidebar/Pages.svg"
                active: bar.active === "pages"
                onClicked: signalHandler.showPages()
            }

            ToolbarButton {
                objectName: "settingsButton"
                width: buttons.width
                icon: "../media/Sidebar/Settings.svg"
                active: bar.active === "settings"
                onClicked: signalHandler.showSettings()
            }
        }
    }
}
