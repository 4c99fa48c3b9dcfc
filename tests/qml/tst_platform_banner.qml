import QtQuick 2.15
import QtTest 1.2
import "../../qml/components/platform"

// The notices at the top of the window: the info banner and the status bar.
Item {
    id: scene
    width: 480
    height: 854

    InfoBanner {
        id: banner
        text: "Done"
        timerShowTime: 100
    }

    InfoBanner {
        id: iconBanner
        text: "With icon"
        iconSource: "../../qml/components/media/Kelvo.svg"
    }

    StatusBar {
        id: statusBar
    }

    SignalSpy {
        id: clickedSpy
        target: banner
        signalName: "clicked"
    }

    TestCase {
        id: testCase
        name: "PlatformBanner"
        when: windowShown

        function init() {
            banner.hide();
            tryCompare(banner, "visible", false);
            banner.timerEnabled = true;
            banner.timerShowTime = 100;
            banner.text = "Done";
            clickedSpy.clear();
        }

        function test_hiddenUntilShown() {
            verify(!banner.visible);
            verify(!banner.shown);
        }

        function test_showAndHide() {
            banner.timerEnabled = false;
            banner.show();
            verify(banner.shown);
            tryCompare(banner, "visible", true);
            tryCompare(findChild(banner, "bannerBody"), "opacity", 1);
            banner.hide();
            verify(!banner.shown);
            tryCompare(banner, "visible", false);
        }

        function test_timerHidesBanner() {
            banner.timerShowTime = 100;
            banner.show();
            tryCompare(banner, "visible", true);
            tryCompare(banner, "visible", false, 3000);
            verify(!banner.shown);
        }

        function test_staysWithoutTimer() {
            banner.timerEnabled = false;
            banner.show();
            tryCompare(banner, "visible", true);
            wait(banner.timerShowTime * 4);
            verify(banner.visible);
            verify(banner.shown);
        }

        function test_enablingTimerWhileShownHides() {
            banner.timerEnabled = false;
            banner.show();
            tryCompare(banner, "visible", true);
            banner.timerEnabled = true;
            tryCompare(banner, "visible", false, 3000);
        }

        function test_showsItsText() {
            banner.timerEnabled = false;
            banner.text = "New notification";
            banner.show();
            compare(findChild(banner, "bannerText").text, "New notification");
        }

        function test_serviceTextIsNotMarkup() {
            banner.timerEnabled = false;
            banner.text = "Error! <b>bad</b> <img src='x'>";
            banner.show();
            var label = findChild(banner, "bannerText");
            compare(label.textFormat, Text.PlainText);
            // Shown as typed: the tags are text, so the line is as wide as all of it.
            verify(label.contentWidth > label.font.pixelSize * 10);
        }

        function test_tapEmitsClickedAndHides() {
            banner.timerEnabled = false;
            banner.show();
            tryCompare(findChild(banner, "bannerBody"), "y", 0);
            mouseClick(banner);
            compare(clickedSpy.count, 1);
            tryCompare(banner, "visible", false);
        }

        function test_sitsAtTopWithMargins() {
            compare(banner.x, banner.leftMargin);
            compare(banner.y, banner.topMargin);
            compare(banner.width, scene.width - 2 * banner.leftMargin);
            verify(banner.height >= 64);
        }

        function test_longTextMakesBannerTaller() {
            var shortHeight = banner.height;
            banner.text = "A rather long notice that cannot possibly fit on a single line of "
                    + "the banner and so has to wrap onto further lines";
            verify(banner.height > shortHeight);
        }

        function test_iconResolvesAgainstCaller() {
            compare(iconBanner.iconSource, Qt.resolvedUrl("../../qml/components/media/Kelvo.svg"));
        }

        function test_createdDynamically() {
            var component = Qt.createComponent("../../qml/components/platform/InfoBanner.qml");
            compare(component.status, Component.Ready, component.errorString());
            var made = component.createObject(scene, { text: "Dynamic", timerShowTime: 50 });
            verify(made !== null);
            made.show();
            tryCompare(made, "visible", true);
            tryCompare(made, "visible", false, 3000);
            made.destroy();
            var orphan = component.createObject(null);
            verify(orphan !== null);
            orphan.show();
            verify(orphan.shown);
            orphan.destroy();
        }

        function test_statusBarGeometry() {
            compare(statusBar.height, 36);
            compare(statusBar.width, scene.width);
        }

        function test_statusBarClockShowsTimeAtRight() {
            var clock = findChild(statusBar, "statusBarClock");
            verify(/^\d\d:\d\d$/.test(clock.text));
            var now = new Date();
            var earlier = new Date(now.getTime() - 60000);
            verify(clock.text === Qt.formatTime(now, "hh:mm")
                   || clock.text === Qt.formatTime(earlier, "hh:mm"), clock.text);
            var right = clock.mapToItem(statusBar, clock.width, 0).x;
            verify(right > statusBar.width - 20, "clock ends at " + right);
        }

        function test_statusBarCreatedDynamically() {
            var component = Qt.createComponent("../../qml/components/platform/StatusBar.qml");
            compare(component.status, Component.Ready, component.errorString());
            var made = component.createObject(null);
            verify(made !== null);
            compare(made.width, 480);
            made.destroy();
        }
    }
}
