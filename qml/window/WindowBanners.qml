import QtQuick 2.15
import "../components/platform"

// The three banners that slide in under the status bar: "Done" after a
// posting, errors, and notifications of new messages and alerts.
Item {
    id: banners

    property int statusBarHeight: 0
    property alias infobanner: infobanner
    property alias errorbanner: errorbanner
    property alias notificationbanner: notificationbanner

    // The notification banner was tapped.
    signal notificationClicked()

    InfoBanner {
        id: infobanner
        objectName: "infobanner"
        y: banners.statusBarHeight
        text: translator.translate("Done")
        iconSource: "../components/media/ok.svg"
    }

    InfoBanner {
        id: errorbanner
        objectName: "errorbanner"
        y: banners.statusBarHeight
        timerShowTime: 5000
        iconSource: "../components/media/error.svg"
    }

    InfoBanner {
        id: notificationbanner
        objectName: "notificationbanner"
        property string jid
        property string name
        y: banners.statusBarHeight
        text: translator.translate("Done")
        iconSource: "../components/media/info.svg"
        onClicked: banners.notificationClicked()
    }
}
