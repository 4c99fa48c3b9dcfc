import QtQuick 2.15

// A window-modal dialog. Opening lifts its overlay to the top-most item of
// the scene, so the dialog covers the whole window wherever it is declared,
// dims everything behind it and shows title, content and buttons on a dark
// translucent panel. A tap outside the panel rejects the dialog.
Item {
    id: dialog

    enum Status { Opening, Open, Closing, Closed }

    property int status: Dialog.Closed
    property alias title: titleArea.data
    default property alias content: contentArea.data
    property alias buttons: buttonArea.data
    property bool rejectOnOutsideTap: true
    property int animationDuration: 200
    // Room left for the content once the title and buttons are laid out.
    readonly property real availableContentHeight: Math.max(0,
        overlay.height - 2 * panelMargin - 2 * panelPadding
        - titleArea.height - titleSeparator.height
        - buttonArea.height - buttonGap.height)
    readonly property real panelMargin: 20
    readonly property real panelPadding: 16

    signal accepted()
    signal rejected()

    function open() {
        if (status === Dialog.Open || status === Dialog.Opening)
            return;
        overlay.parent = topLevelItem();
        closeAnimation.stop();
        status = Dialog.Opening;
        openAnimation.start();
    }

    function close() {
        if (status === Dialog.Closed || status === Dialog.Closing)
            return;
        openAnimation.stop();
        status = Dialog.Closing;
        closeAnimation.start();
    }

    // Accepting or rejecting a dialog that is not shown does nothing, so a
    // double tap cannot report the choice twice.
    function accept() {
        if (status !== Dialog.Open && status !== Dialog.Opening)
            return;
        close();
        accepted();
    }

    function reject() {
        if (status !== Dialog.Open && status !== Dialog.Opening)
            return;
        close();
        rejected();
    }

    function topLevelItem() {
        var item = dialog;
        while (item.parent)
            item = item.parent;
        return item;
    }

    Item {
        id: overlay
        objectName: "dialogOverlay"
        anchors.fill: parent
        z: 1000
        visible: dialog.status !== Dialog.Closed
        opacity: 0

        Rectangle {
            id: fader
            objectName: "dialogFader"
            anchors.fill: parent
            color: "black"
            opacity: 0.7
        }

        // Swallows every press behind the panel; a tap there rejects.
        MouseArea {
            anchors.fill: parent
            onClicked: {
                if (dialog.rejectOnOutsideTap)
                    dialog.reject();
            }
        }

        Rectangle {
            id: panel
            objectName: "dialogPanel"
            anchors.centerIn: parent
            width: Math.min(parent.width - 2 * dialog.panelMargin, 440)
            height: panelColumn.height + 2 * dialog.panelPadding
            radius: 10
            color: "#262626"
            border.color: "#4a4a4a"
            border.width: 1

            // Taps on the panel itself must not reach the fader.
            MouseArea {
                anchors.fill: parent
            }

            // Empty areas collapse to no height, and the gaps around them
            // with them, so a dialog without a title or buttons stays tight.
            Column {
                id: panelColumn
                x: dialog.panelPadding
                y: dialog.panelPadding
                width: panel.width - 2 * dialog.panelPadding

                Column {
                    id: titleArea
                    width: parent.width
                    spacing: 8
                }

                Item {
                    id: titleSeparator
                    width: parent.width
                    height: titleArea.height > 0
                            && contentArea.height + buttonArea.height > 0 ? 25 : 0

                    Rectangle {
                        anchors.verticalCenter: parent.verticalCenter
                        width: parent.width
                        height: 1
                        color: "#5a5a5a"
                        visible: parent.height > 0
                    }
                }

                Column {
                    id: contentArea
                    width: parent.width
                    spacing: 8
                }

                Item {
                    id: buttonGap
                    width: parent.width
                    height: contentArea.height > 0 && buttonArea.height > 0 ? 16 : 0
                }

                Column {
                    id: buttonArea
                    width: parent.width
                    spacing: 10
                }
            }
        }
    }

    NumberAnimation {
        id: openAnimation
        target: overlay
        property: "opacity"
        to: 1
        duration: dialog.animationDuration
        easing.type: Easing.OutQuad
        onFinished: {
            if (dialog.status === Dialog.Opening)
                dialog.status = Dialog.Open;
        }
    }

    NumberAnimation {
        id: closeAnimation
        target: overlay
        property: "opacity"
        to: 0
        duration: dialog.animationDuration
        easing.type: Easing.InQuad
        onFinished: {
            if (dialog.status === Dialog.Closing)
                dialog.status = Dialog.Closed;
        }
    }
}
