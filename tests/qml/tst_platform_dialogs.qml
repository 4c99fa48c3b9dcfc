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
            id: selection
            titleText: "Select privacy"; animationDuration: 10
            model: ListModel {
                ListElement { name: "Everyone" }
                ListElement { name: "Friends of friends" }
                ListElement { name: "Friends" }
            }
        }
        SelectionDialog {
            id: plainRows
            titleText: "Open conversations"; animationDuration: 10; model: 4
            delegate: Rectangle { width: 200; height: 54; color: "grey" }
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
            for (const dialog of [query, form, selection, plainRows, ownRows, longList]) {
                dialog.close();
                tryCompare(dialog, "status", Dialog.Closed);
            }
            selection.selectedIndex = plainRows.selectedIndex = -1;
            query.rejectOnOutsideTap = true;
            selection.rejectOnOutsideTap = true;
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

        function test_choices_data() {
            return [
                { tag: "accept button", dialog: "query", tap: "acceptButton", accepted: 1, rejected: 0 },
                { tag: "reject button", dialog: "query", tap: "rejectButton", accepted: 0, rejected: 1 },
                { tag: "tap outside", dialog: "query", tap: "dialogOverlay", accepted: 0, rejected: 1 },
                { tag: "tap on the panel", dialog: "query", tap: "queryDialogMessage", accepted: 0, rejected: 0 },
                { tag: "tap outside, turned off", dialog: "query", tap: "dialogOverlay", noOutside: true,
                  accepted: 0, rejected: 0 },
                { tag: "close()", dialog: "query", accepted: 0, rejected: 0, closed: true },
                { tag: "selection, tap outside", dialog: "selection", tap: "dialogOverlay", accepted: 0, rejected: 1 }
            ];
        }

        function test_choices(data) {
            var dialog = data.dialog === "query" ? query : selection;
            dialog.rejectOnOutsideTap = !data.noOutside;
            openAndWait(dialog);
            if (data.tap === "dialogOverlay")
                mouseClick(findChild(dialog, data.tap), 5, 5);
            else if (data.tap)
                mouseClick(findChild(dialog, data.tap));
            else
                dialog.close();
            compare(acceptedSpy.count, data.accepted);
            compare(rejectedSpy.count, data.rejected);
            compare(selection.selectedIndex, -1);
            if (data.accepted + data.rejected > 0 || data.closed)
                tryCompare(dialog, "status", Dialog.Closed);
            else
                compare(dialog.status, Dialog.Open);
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

        function test_emptyButtonTextHidesButton() {
            query.rejectButtonText = "";
            openAndWait(query);
            verify(!findChild(query, "rejectButton").visible);
            verify(findChild(query, "acceptButton").visible);
            query.rejectButtonText = "Cancel";
        }

        function test_childrenGoBelowMessage() {
            openAndWait(form);
            var panel = findChild(form, "dialogPanel");
            var fieldTop = formField.mapToItem(panel, 0, 0).y;
            verify(fieldTop > 0);
            verify(findChild(form, "acceptButton").mapToItem(panel, 0, 0).y >= fieldTop + formField.height,
                   "buttons below the form");
        }

        function test_selectionShowsNamesAndMarksTheSelected() {
            selection.selectedIndex = 1;
            openAndWait(selection);
            var list = findChild(selection, "selectionList");
            compare(list.count, 3);
            var texts = Array.from(list.itemAtIndex(1).children).map(function (child) { return child.text; });
            verify(texts.indexOf("Friends of friends") >= 0, texts.join(","));
            verify(list.itemAtIndex(1).selected);
            verify(!list.itemAtIndex(0).selected);
        }

        // A tapped row is selected and accepted, unless the delegate handles
        // the tap itself.
        function test_rowTap_data() {
            return [
                { tag: "default delegate", dialog: selection, row: 2, selected: 2, accepted: 1 },
                { tag: "own delegate without a handler", dialog: plainRows, row: 3, selected: 3, accepted: 1 },
                { tag: "own delegate with a handler", dialog: ownRows, row: 1, selected: -1, accepted: 0 }
            ];
        }

        function test_rowTap(data) {
            ownRows.chosen = -1;
            openAndWait(data.dialog);
            mouseClick(findChild(data.dialog, "selectionList").itemAtIndex(data.row));
            compare(data.dialog.selectedIndex, data.selected);
            compare(acceptedSpy.count, data.accepted);
            compare(rejectedSpy.count, 0);
            compare(ownRows.chosen, data.dialog === ownRows ? 1 : -1);
            tryCompare(data.dialog, "status", Dialog.Closed);
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
