import QtQuick 2.15

// Lets the user pick one row of a model. Callers may supply their own row
// delegate; the default one shows the row's name and marks the selected
// row. A tap on a row the delegate does not handle itself selects that row
// and accepts the dialog.
Dialog {
    id: selectionDialog

    property string titleText
    property alias model: list.model
    property Component delegate: defaultDelegate
    property int selectedIndex: -1
    readonly property alias listView: list

    title: Text {
        objectName: "selectionDialogTitle"
        width: parent ? parent.width : 0
        wrapMode: Text.Wrap
        color: "white"
        font.pixelSize: 26
        font.bold: true
        text: selectionDialog.titleText
        visible: text !== ""
    }

    function selectAndAccept(index) {
        if (index < 0)
            return;
        selectedIndex = index;
        accept();
    }

    ListView {
        id: list
        objectName: "selectionList"
        width: parent ? parent.width : 0
        height: Math.min(contentHeight, selectionDialog.availableContentHeight)
        clip: true
        boundsBehavior: Flickable.StopAtBounds
        interactive: contentHeight > height
        delegate: selectionDialog.delegate

        // Below the rows: catches taps that a custom delegate leaves alone.
        MouseArea {
            z: -1
            width: list.contentWidth > 0 ? list.contentWidth : list.width
            height: list.contentHeight
            onClicked: selectionDialog.selectAndAccept(list.indexAt(mouse.x, mouse.y))
        }

        ScrollDecorator {
            flickableItem: list
        }
    }

    Component {
        id: defaultDelegate

        Rectangle {
            id: row

            readonly property bool selected: index === selectionDialog.selectedIndex

            width: ListView.view ? ListView.view.width : 0
            height: 56
            radius: 6
            color: rowMouse.pressed ? "#5a5a5a" : (selected ? "#3b5998" : "transparent")

            Text {
                anchors.fill: parent
                anchors.leftMargin: 12
                anchors.rightMargin: 12
                verticalAlignment: Text.AlignVCenter
                elide: Text.ElideRight
                color: "white"
                font.pixelSize: 20
                font.bold: row.selected
                text: model.name !== undefined ? model.name : ""
            }

            Rectangle {
                anchors.bottom: parent.bottom
                width: parent.width
                height: 1
                color: "#3d3d3d"
                visible: !row.selected
            }

            MouseArea {
                id: rowMouse
                anchors.fill: parent
                onClicked: selectionDialog.selectAndAccept(index)
            }
        }
    }
}
