import QtQuick 2.15

// A main-window overlay above the pages (comments, likes, albums, photos,
// photo view). It is shown and hidden through its state; the list inside it
// comes from `source`, created when the panel is first shown. It offers the
// bottom bar the buttons of that list.
Item {
    id: panel

    property url source
    // Set by navigation for the list inside.
    property string objectId
    property string entityId
    property bool pages: false
    property bool showFriends: false
    // The object the comments are about: its picture and name, set by the
    // comment loader.
    property string picture
    property string caption
    readonly property Item content: loader.item

    readonly property string centerBtn: content && content.centerBtn ? content.centerBtn : ""
    readonly property string button2: content && content.button2 ? content.button2 : ""
    readonly property string button5: content && content.button5 ? content.button5 : ""

    function centerAction() { if (content && content.centerAction) content.centerAction() }
    function button2Action() { if (content && content.button2Action) content.button2Action() }
    function button5Action() { if (content && content.button5Action) content.button5Action() }
    function reset() { if (content && content.reset) content.reset() }

    anchors.fill: parent
    state: "hidden"
    states: [
        State { name: "shown"; PropertyChanges { target: panel; visible: true } },
        State { name: "hidden"; PropertyChanges { target: panel; visible: false } }
    ]

    // The list is created the first time the panel is shown and then kept.
    property bool used: false
    onStateChanged: if (state === "shown") used = true

    Loader {
        id: loader
        anchors.fill: parent
        active: panel.used
        source: panel.source
    }
}
