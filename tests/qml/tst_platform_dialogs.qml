import QtQuick 2.15
import QtTest 1.2
import "../../qml/components/platform"

// Query and selection dialogs: opening over the whole window, the choices
// they report, and closing on a tap outside.
Item {
    id: scene
    width: 480
    height: 854

    // The dialogs live in a small item, as they would inside a page.
    Item {
        id: page
        x: 40; y: 300; width: 100; height: 100

        QueryDialog {
            id: query
            titleText: "Quit?"; message: "Are you sure you want to quit?"
            acceptButtonText: "Quit"; rejectButtonText: "Cancel"; animationDuration: 10
        }
        QueryDialog {
            id: form
            titleText: "Read it later"; acceptButtonText: "Send"; rejectButtonText: "Close"; animationDuration: 10
            Rectangle { id: formField; width: parent ? parent.width : 0; height: 50 }
        }
        SelectionDialog {
            id: ownRows
            titleText: "Login as page"; animationDuration: 10; model: 3
            property int chosen: -1
            delegate: Rectangle {
                width: 200; height: 74
                MouseArea { anchors.fill: parent; onClicked: { ownRows.chosen = index; ownRows.close(); } }
            }
        }
        SelectionDialog { id: longList; titleText: "Many rows"; animationDuration: 10; model: 40 }
    }

    SignalSpy { id: acceptedSpy; signalName: "accepted" }
    SignalSpy { id: rejectedSpy; signalName: "rejected" }

    TestCase {
        id: testCase
        name: "PlatformDialogs"
        when: windowShown

        function watch(dialog) {
            acceptedSpy.clear();
            rejectedSpy.clear();
            acceptedSpy.target = dialog;
            rejectedSpy.target = dialog;
        }

        function openAndWait(dialog) {
            watch(dialog);
            dialog.open();
            tryCompare(dialog, "status", Dialog.Open);
        }

        function cleanup() {
            for (const dialog of [query, form, ownRows, longList]) {
                dialog.close();
                tryCompare(dialog, "status", Dialog.Closed);
            }
        }

        // The dialog is declared in a small item but covers the window, so
        // a tap anywhere outside its panel reaches it.
        function test_openCoversWholeWindow() {
            var overlay = findChild(query, "dialogOverlay");
            verify(!overlay.visible);
            openAndWait(query);
            verify(overlay.visible);
            var topLeft = overlay.mapToItem(scene, 0, 0);
            compare([topLeft.x, topLeft.y, overlay.width, overlay.height], [0, 0, scene.width, scene.height]);
        }

        // Buttons and taps outside report one choice and close; a tap on the
        // panel reports none, a row that handles its own tap neither.
        function test_choices_data() {
            return [
                { tag: "accept button", dialog: query, tap: "acceptButton", accepted: 1 },
                { tag: "reject button", dialog: query, tap: "rejectButton", rejected: 1 },
                { tag: "tap outside", dialog: query, tap: "dialogOverlay", rejected: 1 },
                { tag: "tap on the panel", dialog: query, tap: "queryDialogMessage", stays: true },
                { tag: "close()", dialog: query },
                { tag: "selection, tap outside", dialog: ownRows, tap: "dialogOverlay", rejected: 1 },
                { tag: "selection, row with its own handler", dialog: ownRows, row: 1, chosen: 1 }
            ];
        }

        function test_choices(data) {
            var dialog = data.dialog;
            ownRows.chosen = -1;
            openAndWait(dialog);
            if (data.row !== undefined)
                mouseClick(findChild(dialog, "selectionList").itemAtIndex(data.row));
            else if (data.tap)
                mouseClick(findChild(dialog, data.tap), data.tap === "dialogOverlay" ? 5 : undefined, 5);
            else
                dialog.close();
            compare([acceptedSpy.count, rejectedSpy.count], [data.accepted || 0, data.rejected || 0]);
            compare(ownRows.chosen, data.chosen || -1);
            if (data.stays)
                compare(dialog.status, Dialog.Open);
            else
                tryCompare(dialog, "status", Dialog.Closed);
        }

        // A choice is reported once, and never by a dialog that is not shown.
        function test_acceptOnlyOnce() {
            watch(query);
            query.accept();
            query.reject();
            compare(acceptedSpy.count + rejectedSpy.count, 0);
            compare(query.status, Dialog.Closed);
            openAndWait(query);
            query.accept();
            query.accept();
            query.reject();
            compare(acceptedSpy.count, 1);
            compare(rejectedSpy.count, 0);
        }

        function test_childrenGoBelowMessage() {
            openAndWait(form);
            var panel = findChild(form, "dialogPanel");
            var fieldTop = formField.mapToItem(panel, 0, 0).y;
            verify(fieldTop > 0);
            verify(findChild(form, "acceptButton").mapToItem(panel, 0, 0).y >= fieldTop + formField.height,
                   "buttons below the form");
        }

        // A list taller than the window scrolls inside a panel that fits.
        function test_longListFitsTheWindow() {
            openAndWait(longList);
            var list = findChild(longList, "selectionList");
            var panel = findChild(longList, "dialogPanel");
            verify(list.contentHeight > scene.height);
            verify(list.interactive);
            var top = panel.mapToItem(scene, 0, 0).y;
            verify(top >= 0);
            verify(top + panel.height <= scene.height);
        }

        // Without a parent (its page going away) there is no window to
        // cover; opening and answering must not throw.
        function test_withoutParent() {
            var orphan = Qt.createComponent("../../qml/components/platform/QueryDialog.qml").createObject(null);
            watch(orphan);
            orphan.open();
            orphan.reject();
            compare(rejectedSpy.count, 1);
            orphan.destroy();
        }
    }
}
