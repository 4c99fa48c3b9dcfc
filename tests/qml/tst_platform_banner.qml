import QtQuick 2.15
import QtTest 1.2
import "../../qml/components/platform"

// The notices at the top of the window: the info banner and the status bar.
Item {
    id: scene
    width: 480
    height: 854

    InfoBanner { id: banner; text: "Done"; timerShowTime: 100 }
    InfoBanner { id: iconBanner; text: "With icon"; iconSource: "../../qml/components/media/Kelvo.svg" }
    StatusBar { id: statusBar }
    SignalSpy { id: clickedSpy; target: banner; signalName: "clicked" }

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

        function showAndWait() {
            banner.show();
            verify(banner.shown);
            tryCompare(banner, "visible", true);
        }

        function test_showAndHide() {
            banner.timerEnabled = false;
            showAndWait();
            banner.hide();
            verify(!banner.shown);
            tryCompare(banner, "visible", false);
        }

        function test_timerHidesBanner() {
            showAndWait();
            tryCompare(banner, "visible", false, 3000);
            verify(!banner.shown);
        }

        // A banner given longer is still up when a shorter one shown with it
        // has gone, and then goes too.
        function test_longerTimeOutlastsShorter() {
            iconBanner.timerShowTime = 2000;
            iconBanner.show();
            showAndWait();
            tryCompare(banner, "shown", false, 3000);
            verify(iconBanner.shown);
            tryCompare(iconBanner, "shown", false, 5000);
        }

        function test_serviceTextIsNotMarkup() {
            banner.timerEnabled = false;
            banner.text = "Error! <b>bad</b> <img src='x'>";
            banner.show();
            // Shown as typed, tags and all.
            compare(findChild(banner, "bannerText").textFormat, Text.PlainText);
        }

        function test_tapEmitsClickedAndHides() {
            banner.timerEnabled = false;
            showAndWait();
            tryCompare(findChild(banner, "bannerBody"), "y", 0);
            mouseClick(banner);
            compare(clickedSpy.count, 1);
            tryCompare(banner, "visible", false);
        }

        function test_longTextMakesBannerTaller() {
            var shortHeight = banner.height;
            banner.text = "A rather long notice that cannot possibly fit on a single line of "
                    + "the banner and so has to wrap onto further lines";
            verify(banner.height > shortHeight);
        }

        function test_statusBarClockShowsTheTime() {
            var clock = findChild(statusBar, "statusBarClock");
            var now = new Date();
            var earlier = new Date(now.getTime() - 60000);
            verify(clock.text === Qt.formatTime(now, "hh:mm")
                   || clock.text === Qt.formatTime(earlier, "hh:mm"), clock.text);
        }
    }
}
