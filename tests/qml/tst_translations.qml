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
    }

    function filled(module, code) {
        module["set" + code.charAt(0).toUpperCase() + code.slice(1)]()
        return module["translations_" + code]
    }

    // English, a language without a table and a key without a text all
    // fall back to the key itself; languages switch back and forth.
    function test_lookup_data() {
        var fi = filled(Fi, "fi"), sk = filled(Sk, "sk")
        return [
            { tag: "en", languages: ["en"], word: "Settings", text: "Settings" },
            { tag: "en, unknown key", languages: ["en"], word: "No such text", text: "No such text" },
            { tag: "fi", languages: ["fi"], word: "Settings", text: fi["Settings"] },
            { tag: "fi, unknown key", languages: ["fi"], word: "Not a key of any table", text: "Not a key of any table" },
            { tag: "no table", languages: ["xx"], word: "Settings", text: "Settings" },
            { tag: "fi, sk, back to fi", languages: ["fi", "sk", "fi"], word: "Settings", text: fi["Settings"] },
            { tag: "fi, then sk", languages: ["fi", "sk"], word: "Settings", text: sk["Settings"] }
        ]
    }

    function test_lookup(data) {
        for (const language of data.languages) {
            window.language = language
            Translations.setLanguage(language)
            Translations.getWord(data.word)
        }
        compare(Translations.getWord(data.word), data.text)
        compare(translator.translate(data.word), data.text)
    }

    // The tables themselves: the same keys everywhere, nothing empty, and the
    // number marker exactly where the French relative times need it.
    function test_tablesShareTheirKeys() {
        var fi = filled(Fi, "fi"), fr = filled(Fr, "fr"), sk = filled(Sk, "sk")
        var keys = Object.keys(fi).sort()
        verify(keys.length >= 211, "fi has " + keys.length + " keys")
        compare(Object.keys(fr).sort(), keys)
        compare(Object.keys(sk).sort(), keys)
        for (const [code, table] of [["fi", fi], ["fr", fr], ["sk", sk]])
            for (const key of keys)
                verify(String(table[key]).trim() !== "", code + " has a text for " + key)
        verify(fi["Settings"] !== "Settings", "the tables are translations")
    }

    function test_relativeTimesCarryTheNumberOnlyInFrench() {
        var fi = filled(Fi, "fi"), fr = filled(Fr, "fr"), sk = filled(Sk, "sk")
        for (const unit of ["minute", "hour", "day", "week", "month", "year"]) {
            for (const key of [unit + " ago", unit + "s ago", unit + " From Now", unit + "s From Now"]) {
                compare(fr[key].split("[number]").length, 2, "fr " + key + ": " + fr[key])
                verify(fi[key].indexOf("[number]") < 0, "fi " + key)
                verify(sk[key].indexOf("[number]") < 0, "sk " + key)
            }
        }
        verify(fr["seconds ago"].indexOf("[number]") >= 0)
    }
}
