import QtQml 2.15
import QtQuick 2.15
import QtWebEngine 1.10
import "../../loginurls.js" as LoginUrls

// Signs the user in on the service's own login dialog. Every finished page
// load is reported with finished(url); the main window recognises the final
// redirect and exchanges its code for a token. The page stays hidden until
// its first load has finished.
Rectangle {
    id: loginView
    objectName: "loginView"

    property bool loaded: false
    // The last load failed and nothing of the dialog is shown yet.
    property bool failed: false
    readonly property alias url: web.url
    readonly property alias webView: web

    signal finished(string url)
    signal loadFailed()

    // Loads the dialog again from its start.
    function reset() {
        failed = false
        var url = LoginUrls.resetUrl()
        if (String(web.url) === url)
            web.reload()
        else
            web.url = url
    }

    // The dialog is shown inside the app: its footer goes and its button bar
    // is narrowed to the phone's width.
    function adaptPage() {
        web.runJavaScript("document.getElementById('footer').style.display = 'none'")
        web.runJavaScript("document.getElementById('platform_dialog_bottom_bar').setAttribute('class', '')")
        web.runJavaScript("document.getElementById('platform_dialog_bottom_bar').style.width = '360px'")
    }

    color: "#fff"

    LoggingCategory {
        id: loginLog
        name: "kelvo.ui"
    }

    // The page scrolls itself, so the wheel, the keyboard and focus moves
    // (Tab to the approve button) all bring what they reach into view.
    WebEngineView {
        id: web
        anchors.fill: parent
        visible: false
        url: LoginUrls.dialogUrl()

        onLoadingChanged: {
            switch (loadRequest.status) {
            case WebEngineView.LoadStartedStatus:
                window.waiting.label = "Loading.."
                window.waiting.state = "shown"
                break
            case WebEngineView.LoadSucceededStatus:
                loginView.failed = false
                loginView.finished(String(web.url))
                window.waiting.state = "hidden"
                loginView.loaded = true
                loginView.adaptPage()
                web.visible = true
                // Typing goes straight to the dialog's focused field.
                web.forceActiveFocus()
                console.info(loginLog, "login page shown")
                break
            case WebEngineView.LoadFailedStatus:
                console.warn(loginLog, "login page failed: " + loadRequest.errorString + " ("
                             + loadRequest.errorCode + ")")
                window.waiting.state = "hidden"
                loginView.failed = !web.visible
                loginView.loadFailed()
                break
            }
        }
    }

    // Until the dialog has been shown once, a failed load leaves a message
    // and a way to try again rather than an empty page.
    Column {
        objectName: "loginFailure"
        anchors.centerIn: parent
        width: parent.width - 40
        spacing: 16
        visible: loginView.failed

        Text {
            width: parent.width
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.Wrap
            color: "#3B5998"
            font.pixelSize: 22
            text: translator.translate("Error loading page")
        }

        FButton {
            anchors.horizontalCenter: parent.horizontalCenter
            width: 200
            height: 50
            buttonText: "Try again"
            onClicked: loginView.reset()
        }
    }
}
