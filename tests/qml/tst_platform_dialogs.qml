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
        x: 40
        y: 300
        width: 100
        height: 100

        QueryDialog {
            id: query
            titleText: "Quit?"
            message: "Are you sure you want to quit?"
            acceptButtonText: "Quit"
            rejectButtonText: "Cancel"
            animationDuration: 10
        }

        QueryDialog {
            id: form
            titleText: "Read it later"
            icon: "../../qml/components/media/Kelvo.svg"
            acceptButtonText: "Send"
            rejectButtonText: "Close"
            animationDuration: 10

            Rectangle {
                id: formField
                width: parent ? parent.width : 0
                height: 50
            }
        }

        SelectionDialog {
            id: selection
            titleText: "Select privacy"
            animationDuration: 10
            model: ListModel {
                id: privacyModel
                ListElement { name: "Everyone" }
                ListElement { name: "Friends of friends" }
                ListElement { name: "Friends" }
            }
        }

        SelectionDialog {
            id: plainRows
            titleText: "Open conversations"
            animationDuration: 10
            model: 4
            delegate: Rectangle {
                width: 200
                height: 54
                color: "grey"
            }
        }

        SelectionDialog {
            id: ownRows
            titleText: "Login as page"
            animationDuration: 10
            model: 3
            delegate: Rectangle {
                width: 200
                height: 74
                color: "grey"

                MouseArea {
                    anchors.fill: parent
                    onClicked: {
                        ownRows.chosen = index;
                        ownRows.close();
                    }
                }
            }

            property int chosen: -1
        }

        SelectionDialog {
            id: longList
            titleText: "Many rows"
            animationDuration: 10
            model: 40
        }
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
            var all = [query, form, selection, plainRows, ownRows, longList];
            for (var i = 0; i < all.length; ++i) {
                all[i].close();
                tryCompare(all[i], "status", Dialog.Closed);
            }
            selection.selectedIndex = -1;
            query.rejectOnOutsideTap = true;
        }

        function test_closedAtStart() {
            compare(query.status, QueryDialog.Closed);
            verify(!findChild(query, "dialogOverlay").visible);
        }

        function test_openCoversWholeWindow() {
            openAndWait(query);
            var overlay = findChild(query, "dialogOverlay");
            verify(overlay.visible);
            var topLeft = overlay.mapToItem(scene, 0, 0);
            compare(topLeft.x, 0);
            compare(topLeft.y, 0);
            compare(overlay.width, scene.width);
            compare(overlay.height, scene.height);
            verify(findChild(query, "dialogFader").opacity > 0.5);
        }

        function test_showsTitleMessageAndButtons() {
            openAndWait(query);
            compare(findChild(query, "queryDialogTitle").text, "Quit?");
            compare(findChild(query, "queryDialogMessage").text, "Are you sure you want to quit?");
            compare(findChild(query, "acceptButton").text, "Quit");
            compare(findChild(query, "rejectButton").text, "Cancel");
            verify(findChild(query, "acceptButton").visible);
            verify(findChild(query, "rejectButton").visible);
        }

        function test_acceptButtonAccepts() {
            openAndWait(query);
            mouseClick(findChild(query, "acceptButton"));
            compare(acceptedSpy.count, 1);
            compare(rejectedSpy.count, 0);
            tryCompare(query, "status", Dialog.Closed);
            verify(!findChild(query, "dialogOverlay").visible);
        }

        function test_rejectButtonRejects() {
            openAndWait(query);
            mouseClick(findChild(query, "rejectButton"));
            compare(rejectedSpy.count, 1);
            compare(acceptedSpy.count, 0);
            tryCompare(query, "status", Dialog.Closed);
        }

        function test_tapOutsideRejects() {
            openAndWait(query);
            mouseClick(findChild(query, "dialogOverlay"), 5, 5);
            compare(rejectedSpy.count, 1);
            compare(acceptedSpy.count, 0);
            tryCompare(query, "status", Dialog.Closed);
        }

        function test_tapOnPanelKeepsOpen() {
            openAndWait(query);
            mouseClick(findChild(query, "queryDialogMessage"));
            compare(rejectedSpy.count, 0);
            compare(acceptedSpy.count, 0);
            compare(query.status, Dialog.Open);
        }

        function test_outsideTapCanBeTurnedOff() {
            query.rejectOnOutsideTap = false;
            openAndWait(query);
            mouseClick(findChild(query, "dialogOverlay"), 5, 5);
            compare(rejectedSpy.count, 0);
            compare(query.status, Dialog.Open);
        }

        function test_closeEmitsNothing() {
            openAndWait(query);
            query.close();
            tryCompare(query, "status", Dialog.Closed);
            compare(acceptedSpy.count, 0);
            compare(rejectedSpy.count, 0);
        }

        function test_closedDialogIgnoresAcceptAndReject() {
            watch(query);
            query.accept();
            query.reject();
            compare(acceptedSpy.count, 0);
            compare(rejectedSpy.count, 0);
            compare(query.status, Dialog.Closed);
        }

        function test_acceptOnlyOnce() {
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
            verify(formField.width > 0);
            var panel = findChild(form, "dialogPanel");
            var fieldTop = formField.mapToItem(panel, 0, 0).y;
            var acceptTop = findChild(form, "acceptButton").mapToItem(panel, 0, 0).y;
            verify(fieldTop > 0);
            verify(acceptTop >= fieldTop + formField.height, "buttons below the form");
            verify(fieldTop + formField.height <= panel.height);
        }

        function test_queryIconResolvesAgainstCaller() {
            compare(form.icon, Qt.resolvedUrl("../../qml/components/media/Kelvo.svg"));
            compare(query.icon.toString(), "");
        }

        function test_selectionDefaultDelegateShowsNames() {
            openAndWait(selection);
            var list = findChild(selection, "selectionList");
            compare(list.count, 3);
            var row = list.itemAtIndex(1);
            verify(row !== null);
            var texts = [];
            for (var i = 0; i < row.children.length; ++i)
                if (row.children[i].text !== undefined)
                    texts.push(row.children[i].text);
            verify(texts.indexOf("Friends of friends") >= 0, texts.join(","));
            compare(findChild(selection, "selectionDialogTitle").text, "Select privacy");
        }

        function test_selectionRowClickSelectsAndAccepts() {
            openAndWait(selection);
            var list = findChild(selection, "selectionList");
            mouseClick(list.itemAtIndex(2));
            compare(selection.selectedIndex, 2);
            compare(acceptedSpy.count, 1);
            compare(rejectedSpy.count, 0);
            tryCompare(selection, "status", Dialog.Closed);
        }

        function test_selectedRowIsMarked() {
            selection.selectedIndex = 1;
            openAndWait(selection);
            var list = findChild(selection, "selectionList");
            verify(list.itemAtIndex(1).selected);
            verify(!list.itemAtIndex(0).selected);
            verify(list.itemAtIndex(1).color !== list.itemAtIndex(0).color);
        }

        function test_selectionTapOutsideRejects() {
            openAndWait(selection);
            mouseClick(findChild(selection, "dialogOverlay"), 5, 5);
            compare(rejectedSpy.count, 1);
            compare(acceptedSpy.count, 0);
            compare(selection.selectedIndex, -1);
            tryCompare(selection, "status", Dialog.Closed);
        }

        function test_customDelegateWithoutHandlerSelects() {
            openAndWait(plainRows);
            var list = findChild(plainRows, "selectionList");
            mouseClick(list.itemAtIndex(3));
            compare(plainRows.selectedIndex, 3);
            compare(acceptedSpy.count, 1);
        }

        function test_customDelegateHandlesItsOwnTap() {
            openAndWait(ownRows);
            var list = findChild(ownRows, "selectionList");
            mouseClick(list.itemAtIndex(1));
            compare(ownRows.chosen, 1);
            compare(ownRows.selectedIndex, -1);
            compare(acceptedSpy.count, 0);
            tryCompare(ownRows, "status", Dialog.Closed);
        }

        function test_longListFitsTheWindow() {
            openAndWait(longList);
            var list = findChild(longList, "selectionList");
            var panel = findChild(longList, "dialogPanel");
            verify(list.contentHeight > scene.height);
            verify(list.height < list.contentHeight);
            verify(list.interactive);
            var top = panel.mapToItem(scene, 0, 0).y;
            verify(top >= 0);
            verify(top + panel.height <= scene.height);
        }

        function test_createdDynamically() {
            var queryComponent = Qt.createComponent("../../qml/components/platform/QueryDialog.qml");
            compare(queryComponent.status, Component.Ready, queryComponent.errorString());
            var made = queryComponent.createObject(page, { titleText: "Delete?", acceptButtonText: "Yes",
                                                          rejectButtonText: "Cancel", animationDuration: 10 });
            verify(made !== null);
            openAndWait(made);
            mouseClick(findChild(made, "acceptButton"));
            compare(acceptedSpy.count, 1);
            tryCompare(made, "status", Dialog.Closed);
            made.destroy();

            var selectionComponent = Qt.createComponent("../../qml/components/platform/SelectionDialog.qml");
            compare(selectionComponent.status, Component.Ready, selectionComponent.errorString());
            var chooser = selectionComponent.createObject(page, { model: privacyModel, animationDuration: 10 });
            verify(chooser !== null);
            openAndWait(chooser);
            mouseClick(findChild(chooser, "selectionList").itemAtIndex(0));
            compare(chooser.selectedIndex, 0);
            compare(acceptedSpy.count, 1);
            chooser.destroy();

            var orphan = queryComponent.createObject(null);
            verify(orphan !== null);
            orphan.open();
            orphan.reject();
            orphan.destroy();
        }
    }
}
