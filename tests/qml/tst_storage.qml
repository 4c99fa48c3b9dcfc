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

    function init() {
        delivered = []
        translator.switches = []
    }

    function test_textIsStoredVerbatim_data() {
        return [
            { tag: "apostrophes", value: "it's Bob's '; DROP TABLE KeyValueStorage; --" },
            { tag: "double quotes", value: "say \"hi\"" },
            { tag: "separators", value: "1:Ann,2:Bo_*_x_:_y" },
            { tag: "unicode", value: "Žofia 🙂 ümlaut" },
            { tag: "empty", value: "" },
            { tag: "number", value: 22, stored: "22" }
        ]
    }

    function test_textIsStoredVerbatim(data) {
        verify(Storage.setKeyValue("text", data.value))
        compare(read("text"), data.stored || data.value)
    }

    function test_secondWriteReplacesTheFirst() {
        Storage.setKeyValue("theme", "dark")
        Storage.setKeyValue("theme", "light")
        compare(read("theme"), "light")
    }

    // Reads answer before returning, in call order; a key never stored
    // reads empty.
    function test_readsDeliverInCallOrder() {
        Storage.setKeyValue("a", "1")
        Storage.setKeyValue("b", "2")
        Storage.getKeyValue("b", remember)
        Storage.getKeyValue("missing", remember)
        Storage.getKeyValue("a", remember)
        compare(delivered, ["b=2", "missing=", "a=1"])
    }

    function test_languageSwitchesBeforeTheWrite() {
        Storage.setKeyValue("language", "fi")
        Storage.setKeyValue("language", "sk")
        compare(translator.switches, ["fi over nothing", "sk over fi"])
        compare(read("language"), "sk")
        Storage.setKeyValue("theme", "dark")
        compare(translator.switches.length, 2)
    }

    // A write the database refuses reports failure and keeps the old value;
    // a language is switched to all the same.
    function test_refusedWrite() {
        Storage.setKeyValue("language", "fi")
        var database = Sql.LocalStorage.openDatabaseSync("Ostrel_Kelvo", "1.0", "KeyValueStorage", 10)
        database.transaction(function (tx) {
            tx.executeSql("CREATE TRIGGER refuse BEFORE UPDATE ON KeyValueStorage BEGIN SELECT RAISE(ABORT, 'no'); END")
        })
        ignoreWarning(/settings: could not store language: .*/)
        var stored = Storage.setKeyValue("language", "sk")
        database.transaction(function (tx) { tx.executeSql("DROP TRIGGER refuse") })
        verify(!stored)
        compare(read("language"), "fi")
        compare(translator.switches.pop(), "sk over fi")
    }
}
