import QtQuick 2.15
import "../components/common"
import "../components/feed"

// The pages the main window itself loads into its layers: the home menu, the
// login view, and the single-story view.
QtObject {
    readonly property Component mainMenuComponent: Component {
        MainMenu {
            onShare: signalHandler.shareStatus(text)
        }
    }

    readonly property Component statusViewComponent: Component {
        StatusView {}
    }

    readonly property Component loginViewComponent: Component {
        LoginView {
            onFinished: window.navigation.loginPageFinished(url)
            onLoadFailed: {
                window.done.label = "Error loading page"
                window.done.state = "shown"
            }
        }
    }
}
