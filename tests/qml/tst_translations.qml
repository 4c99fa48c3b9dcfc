import QtQuick 2.15
import QtTest 1.2
import "../../qml/translations.js" as Translations
import "../../qml/translations/fi.js" as Fi
import "../../qml/translations/fr.js" as Fr
import "../../qml/translations/sk.js" as Sk
import "../../qml/components/common"

// The lookup and the tables. `window` stands for the main window, whose
// `language` the lookup reads.
TestCase {
    id: testCase
    name: "Translations"

    Item {
        id: window
        property string language: "en"
    }

    TranslationHelper {
        id: translator
    }

    function init() {
        window.language = "en"
        Translations.allTranslations = {}
    }

    function test_englishIsTheKeyItself() {
        compare(Translations.getWord("Settings"), "Settings")
        compare(Translations.getWord("No such text"), "No such text")
        compare(Object.keys(Translations.allTranslations).length, 0)
    }

    function test_knownAndUnknownWords() {
        window.language = "fi"
        var settings = Translations.getWord("Settings")
        verify(settings !== "Settings", "Settings has a Finnish text")
        verify(settings.length > 0)
        compare(Translations.getWord("Not a key of any table"), "Not a key of any table")
        compare(translator.translate("Settings"), Translations.getWord("Settings"))
    }

    function test_unknownLanguageTranslatesNothing() {
        window.language = "xx"
        compare(Translations.getWord("Settings"), "Settings")
        Translations.setLanguage("xx")
        compare(Object.keys(Translations.allTranslations).length, 0)
    }

    function test_tablesAreFilledOnce() {
        window.language = "fi"
        Translations.getWord("Settings")
        // A refill would bring back the table's own text.
        Translations.allTranslations["fi"]["Settings"] = "marker"
        window.language = "sk"
        verify(Translations.getWord("Settings") !== "Settings")
        Translations.setLanguage("fi")
        window.language = "fi"
        compare(Translations.getWord("Settings"), "marker")
        compare(Object.keys(Translations.allTranslations).sort(), ["fi", "sk"])
    }

    function test_theTranslatorSwitchesTheTables() {
        translator.setLanguage("fr")
        verify(Translations.allTranslations["fr"] === undefined,
               "the helper has a lookup of its own, not this one")
        window.language = "fr"
        verify(translator.translate("Cancel") !== "Cancel")
    }

    // The tables themselves: the same keys everywhere, nothing empty, and the
    // number marker exactly where the French relative times need it.
    function filled(module, code) {
        module["set" + code.charAt(0).toUpperCase() + code.slice(1)]()
        return module["translations_" + code]
    }

    function test_tablesShareTheirKeys() {
        var fi = filled(Fi, "fi"), fr = filled(Fr, "fr"), sk = filled(Sk, "sk")
        var keys = Object.keys(fi).sort()
        verify(keys.length >= 211, "fi has " + keys.length + " keys")
        compare(Object.keys(fr).sort(), keys)
        compare(Object.keys(sk).sort(), keys)
        var tables = { "fi": fi, "fr": fr, "sk": sk }
        for (var code in tables)
            for (var i = 0; i < keys.length; ++i)
                verify(String(tables[code][keys[i]]).trim() !== "", code + " has a text for " + keys[i])
    }

    function test_relativeTimesCarryTheNumberOnlyInFrench() {
        var fi = filled(Fi, "fi"), fr = filled(Fr, "fr"), sk = filled(Sk, "sk")
        var units = ["minute", "hour", "day", "week", "month", "year"]
        var checked = 0
        for (var u = 0; u < units.length; ++u) {
            var forms = [units[u] + " ago", units[u] + "s ago", units[u] + " From Now", units[u] + "s From Now"]
            for (var f = 0; f < forms.length; ++f) {
                var key = forms[f]
                compare(fr[key].split("[number]").length, 2, "fr " + key + ": " + fr[key])
                verify(fi[key].indexOf("[number]") < 0, "fi " + key)
                verify(sk[key].indexOf("[number]") < 0, "sk " + key)
                ++checked
            }
        }
        compare(checked, 24)
        verify(fr["seconds ago"].indexOf("[number]") >= 0)
    }
}
