import QtQuick 2.15
import QtTest 1.2
import "../../qml/components/platform"

// What shows work going on and position: the busy indicator and the scroll
// decorator.
Item {
    id: scene
    width: 480
    height: 854

    BusyIndicator { id: busy }
    // Turns all along: once it has moved, animations have had their time.
    BusyIndicator { id: reference; x: 100; running: true }

    Flickable {
        id: flickable
        y: 300; width: 300; height: 200; contentWidth: width; contentHeight: 2000
        ScrollDecorator { id: innerDecorator; flickableItem: flickable }
    }

    Flickable { id: wideFlickable; y: 550; width: 300; height: 200; contentWidth: 900; contentHeight: 200 }
    // Declared beside its flickable rather than inside it.
    ScrollDecorator { id: siblingDecorator; flickableItem: wideFlickable }
    ScrollDecorator { id: idleDecorator }

    TestCase {
        id: testCase
        name: "PlatformIndicators"
        when: windowShown

        function init() {
            busy.running = false;
            busy.visible = true;
            flickable.cancelFlick();
            flickable.contentY = 0;
        }

        function letAnimationsRun() {
            var other = findChild(reference, "busyArc");
            var mark = other.rotation;
            tryVerify(function () { return other.rotation !== mark; });
        }

        // The arc turns only while running and visible.
        function test_busySpinsOnlyWhileRunningAndVisible() {
            var arc = findChild(busy, "busyArc");
            var still = arc.rotation;
            busy.visible = false;
            busy.running = true;
            letAnimationsRun();
            compare(arc.rotation, still);
            busy.visible = true;
            tryVerify(function () { return arc.rotation !== still; });
            busy.running = false;
            var stopped = arc.rotation;
            letAnimationsRun();
            compare(arc.rotation, stopped);
        }

        // A bar shows over the flickable (also when the decorator is declared
        // beside it), only along a direction whose content overflows;
        // without a flickable nothing shows.
        function test_decoratorBars_data() {
            return [
                { tag: "inside a tall flickable", decorator: innerDecorator, on: flickable, vertical: true, horizontal: false },
                { tag: "beside a wide flickable", decorator: siblingDecorator, on: wideFlickable, vertical: false, horizontal: true },
                { tag: "no flickable", decorator: idleDecorator, vertical: false, horizontal: false }
            ];
        }

        function test_decoratorBars(data) {
            var overlay = findChild(data.decorator, "scrollDecoratorOverlay");
            if (data.on)
                compare(overlay.parent, data.on, "drawn over its flickable");
            compare(overlay.visible && findChild(data.decorator, "verticalIndicator").visible, data.vertical);
            compare(overlay.visible && findChild(data.decorator, "horizontalIndicator").visible, data.horizontal);
        }

        function test_decoratorShownOnlyWhileMoving() {
            var indicator = findChild(innerDecorator, "verticalIndicator");
            compare(indicator.opacity, 0);
            flickable.flick(0, -3000);
            verify(flickable.moving);
            tryCompare(indicator, "opacity", 1);
            tryCompare(flickable, "moving", false, 10000);
            tryCompare(indicator, "opacity", 0);
        }

        function test_decoratorTracksPosition() {
            var indicator = findChild(innerDecorator, "verticalIndicator");
            compare(indicator.height, flickable.height * flickable.height / flickable.contentHeight);
            compare(indicator.y, 0);
            flickable.contentY = flickable.contentHeight - flickable.height;
            compare(indicator.y + indicator.height, flickable.height);
        }
    }
}
