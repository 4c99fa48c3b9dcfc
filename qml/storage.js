// Persistent settings: one text value per text key in the table
// KeyValueStorage of the local SQL database. The database is opened on every
// call; reads are synchronous, so a run of reads delivers in call order.
.import QtQuick.LocalStorage 2.0 as Sql

function openDatabase() {
    return Sql.LocalStorage.openDatabaseSync("Ostrel_Kelvo", "1.0", "KeyValueStorage", 10)
}

function createTable(tx) {
    tx.executeSql("CREATE TABLE IF NOT EXISTS KeyValueStorage(keyName TEXT, textValue TEXT)")
}

// Stores `value` under `key`, replacing any earlier value. Choosing a
// language switches the translations first, even if the write then fails.
// Returns whether the value was stored.
function setKeyValue(key, value) {
    if (key === "language")
        translator.setLanguage(value)
    try {
        openDatabase().transaction(function (tx) {
            createTable(tx)
            var found = tx.executeSql("SELECT keyName FROM KeyValueStorage WHERE keyName = ?", [key])
            if (found.rows.length > 0)
                tx.executeSql("UPDATE KeyValueStorage SET textValue = ? WHERE keyName = ?", [value, key])
            else
                tx.executeSql("INSERT INTO KeyValueStorage(textValue, keyName) VALUES (?, ?)", [value, key])
        })
        return true
    } catch (error) {
        console.warn("settings: could not store " + key + ": " + error)
        return false
    }
}

// Calls callback(key, value) before returning, with the stored text or, for a
// key never stored, the empty text. If the database cannot be read the
// callback is not called. Returns whether it was.
function getKeyValue(key, callback) {
    var value
    try {
        openDatabase().transaction(function (tx) {
            createTable(tx)
            var found = tx.executeSql("SELECT textValue FROM KeyValueStorage WHERE keyName = ?", [key])
            value = found.rows.length > 0 ? found.rows.item(0).textValue : ""
        })
    } catch (error) {
        console.warn("settings: could not read " + key + ": " + error)
        return false
    }
    callback(key, value === null || value === undefined ? "" : String(value))
    return true
}
