import QtQuick 2.15
import QtTest 1.2
import QtQuick.LocalStorage 2.0 as Sql
import "../../qml/storage.js" as Storage

// The settings store over a fresh database (the test runner gives every test
// file an empty storage folder of its own).
TestCase {
    id: testCase
    name: "Storage"

    // What the store calls when the language changes; records the stored
    // value of "language" at that moment to prove the switch comes first.
    QtObject {
        id: translator
        property var switches: []
        function setLanguage(lang) {
            var stored
            Storage.getKeyValue("language", function (key, value) { stored = value })
            switches.push(lang + " over " + (stored === "" ? "nothing" : stored))
        }
    }

    property var delivered: []
    function remember(key, value) {
        delivered.push(key + "=" + value)
    }

    function read(key) {
        var result
        Storage.getKeyValue(key, function (k, value) { result = value })
        return result
    }

    function rowsFor(key) {
        var count = -1
        Sql.LocalStorage.openDatabaseSync("Ostrel_Kelvo", "1.0", "KeyValueStorage", 10).readTransaction(
            function (tx) {
                count = tx.executeSql("SELECT COUNT(*) AS n FROM KeyValueStorage WHERE keyName = ?", [key]).rows.item(0).n
            })
        return count
    }

    function init() {
        delivered = []
        translator.switches = []
    }

    function test_missingKeyReadsEmptyAtOnce() {
        var returned = Storage.getKeyValue("neverStored", remember)
        compare(delivered, ["neverStored="])
        verify(returned)
    }

    function test_textIsStoredVerbatim_data() {
        return [
            { tag: "apostrophes", value: "it's Bob's '; DROP TABLE KeyValueStorage; --" },
            { tag: "double quotes", value: "say \"hi\"" },
            { tag: "separators", value: "1:Ann,2:Bo_*_x_:_y" },
            { tag: "unicode", value: "Žofia 🙂 ümlaut" },
            { tag: "empty", value: "" }
        ]
    }

    function test_textIsStoredVerbatim(data) {
        verify(Storage.setKeyValue("text", data.value))
        compare(read("text"), data.value)
    }

    function test_secondWriteReplacesTheFirst() {
        Storage.setKeyValue("theme", "dark")
        Storage.setKeyValue("theme", "light")
        compare(read("theme"), "light")
        compare(rowsFor("theme"), 1)
    }

    function test_readsDeliverInCallOrder() {
        Storage.setKeyValue("a", "1")
        Storage.setKeyValue("b", "2")
        Storage.getKeyValue("b", remember)
        Storage.getKeyValue("missing", remember)
        Storage.getKeyValue("a", remember)
        compare(delivered, ["b=2", "missing=", "a=1"])
    }

    function test_numbersAreStoredAsText() {
        Storage.setKeyValue("fontSize", 22)
        compare(read("fontSize"), "22")
    }

    function test_languageSwitchesBeforeTheWrite() {
        Storage.setKeyValue("language", "fi")
        Storage.setKeyValue("language", "sk")
        compare(translator.switches, ["fi over nothing", "sk over fi"])
        compare(read("language"), "sk")
        Storage.setKeyValue("theme", "dark")
        compare(translator.switches.length, 2)
    }
}
