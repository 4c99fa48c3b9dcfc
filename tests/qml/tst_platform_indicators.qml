import QtQuick 2.15
import QtTest 1.2
import "../../qml/components/platform"

// What shows progress and position: busy indicator, progress bar and the
// scroll decorator.
Item {
    id: scene
    width: 480
    height: 854

    BusyIndicator { id: busy }
    // Turns all along: once it has moved, animations have had their time.
    BusyIndicator { id: reference; x: 100; running: true }
    Item { id: loader; property real progress: 0 }

    ProgressBar { id: bar; width: 200; minimumValue: 1; maximumValue: 100; value: loader.progress * 100 }

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
            loader.progress = 0;
            bar.minimumValue = 1;
            bar.maximumValue = 100;
            bar.indeterminate = false;
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

        // value stays as the caller's binding gives it; position and the
        // fill are held within the range.
        function test_progress_data() {
            return [
                { tag: "half", progress: 0.505, value: 50.5, position: 0.5 },
                { tag: "at minimum", progress: 0, value: 0, position: 0 },
                { tag: "full", progress: 1, value: 100, position: 1 },
                { tag: "above maximum", progress: 2.5, value: 250, position: 1 },
                { tag: "empty range", progress: 0.5, value: 50, position: 0, maximum: 1 },
                { tag: "reversed range", progress: 0.5, value: 50, position: 0, maximum: 0 }
            ];
        }

        function test_progress(data) {
            if (data.maximum !== undefined)
                bar.maximumValue = data.maximum;
            loader.progress = 3;
            loader.progress = data.progress;
            compare(bar.value, data.value);
            compare(bar.position, data.position);
            var fill = findChild(bar, "progressFill");
            compare(fill.width, findChild(bar, "progressTrack").width * data.position);
            compare(fill.visible, data.position > 0);
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
