import QtQuick 2.15
import QtTest 1.2
import "../../qml/components/platform"

// What shows progress and position: busy indicator, progress bar and the
// scroll decorator.
Item {
    id: scene
    width: 480
    height: 854

    BusyIndicator { id: mediumBusy }
    BusyIndicator { id: smallBusy; size: "small" }
    BusyIndicator { id: largeBusy; platformStyle.size: "large"; platformStyle.inverted: true }

    Item {
        id: loader
        property real progress: 0
    }

    ProgressBar {
        id: bar
        width: 200
        minimumValue: 1
        maximumValue: 100
        value: loader.progress * 100
    }

    Flickable {
        id: flickable
        objectName: "feedList"
        x: 0
        y: 300
        width: 300
        height: 200
        contentWidth: width
        contentHeight: 2000

        ScrollDecorator {
            id: innerDecorator
            flickableItem: flickable
        }
    }

    Flickable {
        id: wideFlickable
        x: 0
        y: 550
        width: 300
        height: 200
        contentWidth: 900
        contentHeight: 200
    }

    ScrollDecorator {
        id: siblingDecorator
        flickableItem: wideFlickable
    }

    ScrollDecorator {
        id: idleDecorator
    }

    TestCase {
        id: testCase
        name: "PlatformIndicators"
        when: windowShown

        function init() {
            mediumBusy.running = false;
            loader.progress = 0;
            bar.minimumValue = 1;
            bar.maximumValue = 100;
            bar.indeterminate = false;
            flickable.cancelFlick();
            flickable.contentY = 0;
        }

        function test_busySizes() {
            compare(smallBusy.width, 32);
            compare(mediumBusy.width, 64);
            compare(mediumBusy.height, 64);
            compare(largeBusy.width, 96);
            compare(largeBusy.size, "large");
        }

        function test_busyStyleInverts() {
            verify(largeBusy.platformInverted);
            compare(largeBusy.color, "#ffffff");
            verify(!mediumBusy.platformInverted);
            verify(Qt.colorEqual(mediumBusy.color, "#3b5998"));
        }

        function test_busySpinsOnlyWhileRunning() {
            var arc = findChild(mediumBusy, "busyArc");
            var still = arc.rotation;
            wait(100);
            compare(arc.rotation, still);
            mediumBusy.running = true;
            tryVerify(function() { return arc.rotation !== still; });
            mediumBusy.running = false;
            var stopped = arc.rotation;
            wait(100);
            compare(arc.rotation, stopped);
        }

        function test_busyHiddenDoesNotSpin() {
            var arc = findChild(mediumBusy, "busyArc");
            mediumBusy.visible = false;
            mediumBusy.running = true;
            var still = arc.rotation;
            wait(100);
            compare(arc.rotation, still);
            mediumBusy.visible = true;
            tryVerify(function() { return arc.rotation !== still; });
        }

        function test_progressFollowsValue() {
            var fill = findChild(bar, "progressFill");
            var track = findChild(bar, "progressTrack");
            loader.progress = 0.505;
            compare(bar.position, 0.5);
            compare(fill.width, track.width / 2);
        }

        function test_progressClampsValue() {
            var fill = findChild(bar, "progressFill");
            var track = findChild(bar, "progressTrack");
            loader.progress = 0;
            compare(bar.value, 0);
            compare(bar.position, 0);
            compare(fill.width, 0);
            verify(!fill.visible);
            loader.progress = 2.5;
            compare(bar.position, 1);
            compare(fill.width, track.width);
        }

        function test_progressKeepsCallersBinding() {
            loader.progress = 3;
            loader.progress = 0.25;
            compare(bar.value, 25);
            loader.progress = 1;
            compare(bar.value, 100);
            compare(bar.position, 1);
        }

        function test_progressEmptyRange() {
            bar.maximumValue = bar.minimumValue;
            loader.progress = 0.5;
            compare(bar.position, 0);
            bar.maximumValue = 0;
            compare(bar.position, 0);
        }

        function test_progressIndeterminate() {
            bar.indeterminate = true;
            loader.progress = 0.8;
            verify(!findChild(bar, "progressFill").visible);
            var runner = findChild(bar, "progressRunner");
            verify(runner.visible);
            var start = runner.x;
            tryVerify(function() { return runner.x !== start; });
        }

        function test_decoratorSitsOnFlickable() {
            var overlay = findChild(innerDecorator, "scrollDecoratorOverlay");
            compare(overlay.parent, flickable);
            compare(overlay.width, flickable.width);
            compare(overlay.height, flickable.height);
            var siblingOverlay = findChild(siblingDecorator, "scrollDecoratorOverlay");
            compare(siblingOverlay.parent, wideFlickable);
        }

        function test_decoratorBarsOnlyWhereContentOverflows() {
            verify(findChild(innerDecorator, "verticalIndicator").visible);
            verify(!findChild(innerDecorator, "horizontalIndicator").visible);
            verify(findChild(siblingDecorator, "horizontalIndicator").visible);
            verify(!findChild(siblingDecorator, "verticalIndicator").visible);
        }

        function test_decoratorHiddenUntilMoved() {
            var bar = findChild(innerDecorator, "verticalIndicator");
            compare(bar.opacity, 0);
            flickable.flick(0, -3000);
            verify(flickable.moving);
            tryCompare(bar, "opacity", 1);
            tryCompare(flickable, "moving", false, 10000);
            tryCompare(bar, "opacity", 0);
        }

        function test_decoratorTracksPosition() {
            var bar = findChild(innerDecorator, "verticalIndicator");
            compare(bar.height, flickable.height * flickable.height / flickable.contentHeight);
            compare(bar.y, 0);
            flickable.contentY = flickable.contentHeight - flickable.height;
            compare(bar.y + bar.height, flickable.height);
            flickable.contentY = (flickable.contentHeight - flickable.height) / 2;
            var middle = bar.y + bar.height / 2;
            verify(Math.abs(middle - flickable.height / 2) < 1, middle);
        }

        function test_decoratorWithoutFlickable() {
            verify(!findChild(idleDecorator, "scrollDecoratorOverlay").visible);
        }

        function test_createdDynamically() {
            var names = ["BusyIndicator", "ProgressBar", "ScrollDecorator"];
            for (var i = 0; i < names.length; ++i) {
                var component = Qt.createComponent("../../qml/components/platform/" + names[i] + ".qml");
                compare(component.status, Component.Ready, component.errorString());
                var made = component.createObject(scene);
                verify(made !== null, names[i]);
                made.destroy();
                var orphan = component.createObject(null);
                verify(orphan !== null, names[i]);
                orphan.destroy();
            }
            var decoratorComponent = Qt.createComponent("../../qml/components/platform/ScrollDecorator.qml");
            var decorator = decoratorComponent.createObject(scene, { flickableItem: wideFlickable });
            compare(findChild(decorator, "scrollDecoratorOverlay").parent, wideFlickable);
            decorator.destroy();
            var busy = Qt.createComponent("../../qml/components/platform/BusyIndicator.qml")
                .createObject(scene, { running: true, size: "large" });
            compare(busy.width, 96);
            busy.destroy();
        }
    }
}
