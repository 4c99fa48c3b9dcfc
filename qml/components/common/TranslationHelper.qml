import QtQuick 2.15
import "../../translations.js" as Translations

// The main window's translator: every text the user sees passes through
// translate(), in the language the window's `language` names.
QtObject {
    function setLanguage(lang) {
        console.log("set lang " + lang)
        Translations.setLanguage(lang)
    }

    function translate(word) {
        return Translations.getWord(word)
    }
}
