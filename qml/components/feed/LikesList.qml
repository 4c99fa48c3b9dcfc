import QtQuick 2.15
import Kelvo 1.0
import "../common"

// People or pages: who liked an object, friend requests, the user's liked
// pages (with the favourites bar) or a wall's liked pages. The likes panel
// of the main window holds it and sets its mode; a wall shows it as a
// sub-view with its properties set directly. A tap emits clicked(index);
// the user's own like carries a delete icon that emits deleteItem.
Rectangle {
    id: list

    // Shown in the window's likes panel: the mode comes from the panel.
    readonly property bool inPanel: window.likesList !== undefined && window.likesList !== null
                                    && window.likesList.content === list
    property ListModel likesModel: window.likesModel
    property bool pages: inPanel && window.likesList.pages
    property bool showFriends: inPanel && window.likesList.showFriends
    property string entityId: inPanel ? window.likesList.entityId : ""
    property string mode
    property bool showClose: true
    property alias tagging: favouritesBar.tagging
    property alias removing: favouritesBar.removing
    readonly property alias topModel: favourites.topModel
    readonly property alias topFriendsList: favourites.topFriendsList

    readonly property string centerBtn: pages ? "../media/BottomBar/accounts.svg" : ""

    signal clicked(int index)
    signal deleteItem(string id)

    // Acting as a page: the owned pages are loaded first, then chosen from.
    function centerAction() {
        if (window.ownedModel.count === 0)
            signalHandler.loadOwnedPages()
        else
            window.ownPagedialog.open()
    }

    function reset() { favourites.reset() }
    function addUser(id, name) { favourites.addUser(id, name) }
    function removeUser(index) { favourites.removeUser(index) }

    function openFriendRequests() {
        var link = ServiceConfig.mobileRoot + "/friends/requests.php?v=friend-requests"
        if (/^https?:\/\//i.test(link))
            window.openLink(link)
    }

    objectName: "likesList"
    width: 480
    height: 854
    color: window.bgColor
    clip: true

    Favourites { id: favourites }

    FavouritesBar {
        id: favouritesBar
        objectName: "favouritesBar"
        width: parent.width
        y: list.pages ? 0 : -height
        visible: y > -height
        favourites: favourites
        onLetterChosen: view.positionViewAtIndex(index, ListView.Beginning)
        Behavior on y { NumberAnimation { duration: 200 } }
    }

    ListView {
        id: view
        objectName: "likesView"
        anchors.top: favouritesBar.bottom
        anchors.bottom: parent.bottom
        width: parent.width
        clip: true
        model: list.likesModel

        header: Item {
            width: view.width
            height: list.showFriends ? 50 + window.spacing : 0
            visible: list.showFriends

            FButton {
                objectName: "friendRequestsButton"
                x: window.spacing
                y: window.spacing / 2
                width: parent.width - 2 * window.spacing
                height: 50
                buttonText: "Manage friend requests"
                onClicked: list.openFriendRequests()
            }
        }

        section.property: "alphabet"
        // The list shows its section items itself: a band out of use has no
        // height and draws nothing.
        section.delegate: Rectangle {
            readonly property bool shown: window.toolbar.active === "pages"
            width: view.width
            height: shown ? 30 : 0
            clip: true
            color: window.listLineColor

            Text {
                visible: parent.shown
                x: window.spacing
                anchors.verticalCenter: parent.verticalCenter
                font.bold: true
                font.pixelSize: window.titleFontSize
                color: window.titleFontColor
                textFormat: Text.PlainText
                text: section
            }
        }

        delegate: LikeRow {
            width: view.width
            first: index === 0
            rowId: String(model.id)
            name: model.name || ""
            category: model.category || ""
            picture: model.profileImageUrl || ""
            entityId: list.entityId
            tagging: list.tagging && !favourites.isFavourite(rowId)
            onClicked: list.clicked(index)
            onDeleteClicked: list.deleteItem(list.entityId)
            onAddClicked: favourites.addUser(rowId, name)
        }
    }
}
