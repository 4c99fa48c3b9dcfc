import QtQml 2.15
import QtQuick 2.15
import "../../translations.js" as Translations

// The main window's translator: every text the user sees passes through
// translate(), in the language the window's `language` names.
QtObject {
    readonly property LoggingCategory log: LoggingCategory { name: "kelvo.ui" }

    function setLanguage(lang) {
        console.debug(log, "set lang " + lang)
        Translations.setLanguage(lang)
    }

    function translate(word) {
        return Translations.getWord(word)
    }
}
