import QtQml 2.15
import "../storage.js" as Storage

// Home, login and the session: signing out, quitting, acting as a page,
// the chat connection and the update cycle.
QtObject {
    property var window
    property var router

    property Connections answers: Connections {
        target: window.signalHandler

        function onShowHome() {
            router.open("home")
            router.remember("home")
            while (window.history.count > router.homeHistoryLength)
                window.history.remove(0)
        }

        function onShowLogin() { showLoginView() }

        function onGoBack() { router.nav.goBack() }

        function onQuit() { Storage.getKeyValue("logout", window.valueLoaded) }

        function onLogout() {
            Storage.setKeyValue("accesstoken", "")
            // Signed out here too: nothing of the account stays on show.
            window.token = ""
            showLoginView()
            window.disconnectChat()
        }

        function onUseAsPage(access_token, id, name) {
            window.userToken = window.token
            window.useAsPage = true
            window.pageId = id
            window.pageName = name
            window.token = "access_token=" + access_token
            window.ownPagedialog.close()
            window.signalHandler.showHome()
        }

        function onBackToUser() {
            window.useAsPage = false
            window.token = window.userToken
        }

        function onUpdateCycle(value) {
            window.updateCycle = value
            window.updateTimer.restart()
        }

        function onConnectChat() { window.connectChat(window.clientSession.sessionKey) }

        function onDisconnectChat() { window.disconnectChat() }
    }

    function showLoginView() {
        window.currentViewTop.sourceComponent = undefined
        router.open("login")
    }

    // A finished load of the login dialog: a URL holding "code=" after its
    // start carries the authorization code.
    function loginPageFinished(url) {
        var text = String(url)
        var at = text.indexOf("code=")
        if (at > 0)
            router.load("getAccessToken", text.substring(at + 5))
    }
}
