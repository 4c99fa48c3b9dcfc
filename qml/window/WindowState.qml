import QtQuick 2.15

// What the main window knows beyond any one page: the signals it sends to the
// native core, the application's state (token, page mode, counters, flags),
// the settings with their defaults, and the theme. Pages and scripts read and
// write these properties on `window` by name.
Rectangle {
    signal sendMsg(string to, string msg)
    signal connectChat(string sessionKey)
    signal disconnectChat()
    signal setPresence(bool available)
    signal clearConversation(string jid)
    signal markAsRead(string jid)
    signal openLink(string link)
    signal uploadPhoto(string path, string message, string album, string token)
    signal playSound(string sound, string full)
    signal quit()
    // A short haptic pulse; this platform has no vibrator, nothing receives it.
    signal vibrate()

    // --- Application state ---------------------------------------------------
    property bool newapp: true
    property string userToken
    property bool useAsPage: false
    property string pageId
    property string pageName
    property string ownId
    property string currentChatJid
    // What the user was writing to each contact, kept while the app runs.
    property var chatDrafts: ({})
    property bool chatConnected: false
    property bool nofriendsonline: false
    // The user can see the window: only then are chat messages read.
    readonly property bool applicationActive: Qt.application.state === Qt.ApplicationActive
    property bool reload: false
    property bool dontReload: false
    property bool back: false
    property bool filter: false
    // The news list shows the feed kept from the last run until the service
    // answers.
    property bool newsFromSnapshot: false
    property string filterKey: ""
    property bool noHistory: false
    property bool searching: false
    property string searchText
    property string lastWall
    property string lastPage
    property string lastAlbumId
    property string lastMessageId: ""
    property bool hasNewMessage: false
    property int unread_notifications: 0
    property int open_events: 0
    property int unread_messages: 0
    property int friend_requests: 0
    property int lastFriendRequests: 0
    // The update counts have been read from the service at least once.
    property bool countsLoaded: false
    property string uploadedPhoto
    property bool uploadOk: false
    property string privacyString: ""
    property bool vkbOpen: false
    property int bottomMargin: 0
    property bool landscape: width > height
    // The native image saver names its cache folders; the phone's folders
    // stand in where no saver is published (the scene run on its own).
    property string profileImageCacheFolder: typeof imageSaver !== "undefined" && imageSaver
                                             ? imageSaver.profileImageCacheFolder
                                             : "file:///c:/data/.config/Kelvo/profileimages/"
    property string feedImageCacheFolder: typeof imageSaver !== "undefined" && imageSaver
                                          ? imageSaver.feedImageCacheFolder
                                          : "file:///c:/data/.config/Kelvo/feedimages/"
    // The component name of the page in `currentView` ("" for none).
    property string currentPage: ""
    readonly property bool loginShown: currentPage === "LoginView"

    // --- Settings (defaults hold until the stored value is read) -------------
    property bool showComments: true
    property bool soundOption: true
    property bool vibra: true
    property int updateCycle: 5
    property bool bigIcons: true
    property bool chatOn: true
    property bool darkTheme: false
    property bool loudSounds: false
    property bool disableT9: true
    property string startPage: "home"
    property bool fullscreen: true
    property bool profileImage: true
    property bool transparentToolbar: false
    property string language: "en"
    property bool exitConfirmation: false
    property string backgroundUrl: ""
    property bool rememberRil: false
    property string rilUsername: ""
    property string rilPassword: ""
    property int fontSize: 18

    // --- Theme ---------------------------------------------------------------
    property int mainFontSize: fontSize
    property int titleFontSize: fontSize + 1
    property color bgColor: darkTheme ? "#000" : "#fff"
    property color hoverColor: darkTheme ? "#222" : "#ddd"
    property color titleFontColor: darkTheme ? "#fafafa" : "#3B5998"
    property color descriptionTextColor: darkTheme ? "#898989" : "#555"
    property color messageTextColor: darkTheme ? "#DDDDDD" : "#111"
    property color placeHolderTextColor: darkTheme ? "#eeeeee" : "#555555"
    property color feedBg: darkTheme ? "black" : "white"
    property color feedPressedBg: darkTheme ? "#161616" : "#dddddd"
    property color commentBg: darkTheme ? "#222222" : "#EFF2F7"
    property color statusBg: "#00000000"
    property color statusPressBg: darkTheme ? "#222222" : "#EFF2F7"
    property color commentColor: darkTheme ? "#494949" : "#E3EAF2"
    property color listLineColor: darkTheme ? "#4C4C4C" : "#D8DFEA"
    property Gradient gradient: darkTheme ? darkGradient : lightGradient
    property int spacing: 12
    property var nokiapure: fontModel.get(0)

    Gradient {
        id: lightGradient
        GradientStop { position: 0.0; color: "#7896D3" }
        GradientStop { position: 1.0; color: "#3B5998" }
    }

    Gradient {
        id: darkGradient
        GradientStop { position: 0.0; color: "#666666" }
        GradientStop { position: 1.0; color: "#222222" }
    }

    ListModel {
        id: fontModel
        ListElement { name: "DejaVu Sans" }
    }
}
