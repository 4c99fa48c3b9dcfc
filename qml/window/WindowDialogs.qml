import QtQuick 2.15
import "../components/feed"
import "../components/groups"
import "../components/platform"

// The main window's dialogs: quitting, login problems, Read It Later, the
// audience of a posting and the choice of an own page.
Item {
    id: dialogs

    // Where the browser signs in when the login dialog gives trouble.
    property string browserLoginUrl
    property alias exitdialog: exitdialog
    property alias loginHelpDialog: loginHelpDialog
    property alias rilDialog: rilDialog
    property alias privacyDialog: privacyDialog
    property alias ownPagedialog: ownPagedialog

    QueryDialog {
        id: exitdialog
        objectName: "exitdialog"
        titleText: translator.translate("Quit") + "?"
        message: translator.translate("Are you sure you want to quit?")
        acceptButtonText: translator.translate("Quit")
        rejectButtonText: translator.translate("Cancel")
        onAccepted: signalHandler.quit()
    }

    QueryDialog {
        id: loginHelpDialog
        objectName: "loginHelpDialog"
        titleText: translator.translate("Problems") + "?"
        message: translator.translate("Problems trying to login and give permissions?")
        acceptButtonText: translator.translate("Try this!")
        rejectButtonText: translator.translate("Cancel")
        onAccepted: window.openLink(dialogs.browserLoginUrl)
    }

    ReadItLaterDialog {
        id: rilDialog
        objectName: "rilDialog"
    }

    PrivacyDialog {
        id: privacyDialog
    }

    OwnPageDialog {
        id: ownPagedialog
    }
}
