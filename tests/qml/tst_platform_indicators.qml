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

    Flickable { id: flickable; y: 300; width: 300; height: 200; contentWidth: width; contentHeight: 2000 }
    // Declared beside its flickable rather than inside it, as the selection
    // dialog does.
    ScrollDecorator { id: decorator; flickableItem: flickable }
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

        // A vertical bar over the flickable, no horizontal one for content
        // that fits across; without a flickable nothing shows.
        function test_decoratorBars() {
            compare(findChild(decorator, "scrollDecoratorOverlay").parent, flickable);
            verify(findChild(decorator, "verticalIndicator").visible);
            verify(!findChild(decorator, "horizontalIndicator").visible);
            verify(!findChild(idleDecorator, "scrollDecoratorOverlay").visible);
        }

        function test_decoratorShownOnlyWhileMoving() {
            var indicator = findChild(decorator, "verticalIndicator");
            compare(indicator.opacity, 0);
            flickable.flick(0, -3000);
            verify(flickable.moving);
            tryCompare(indicator, "opacity", 1);
            tryCompare(flickable, "moving", false, 10000);
            tryCompare(indicator, "opacity", 0);
        }

        function test_decoratorTracksPosition() {
            var indicator = findChild(decorator, "verticalIndicator");
            compare(indicator.height, flickable.height * flickable.height / flickable.contentHeight);
            compare(indicator.y, 0);
            flickable.contentY = flickable.contentHeight - flickable.height;
            compare(indicator.y + indicator.height, flickable.height);
        }
    }
}
