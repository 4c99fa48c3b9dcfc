import QtQuick 2.15
import Kelvo 1.0
import "../../storage.js" as Storage

// The user's favourite pages, stored under "topPages" as entries of an id,
// "_*_" and a name joined by "_:_". With nothing stored the product's own
// page is the one favourite, stored at once.
QtObject {
    id: favourites

    readonly property string key: "topPages"
    readonly property ListModel topModel: ListModel {}
    // The favourites in stored form.
    property string topFriendsList: ""

    // A name is stored without its first apostrophe and without the
    // separators, also those it would form with the ones around it
    // (a leading ":_", a trailing "_:"), which would split the entry.
    function storedName(name) {
        var text = String(name).replace("'", "")
        var before
        do {
            before = text
            text = text.split("_*_").join("").split("_:_").join("").replace(/^:_/, "_").replace(/_:$/, "_")
        } while (text !== before)
        return text
    }

    function store(text) {
        topFriendsList = text
        Storage.setKeyValue(key, text)
        fill(text)
    }

    function fill(text) {
        topModel.clear()
        text.split("_:_").forEach(function (entry) {
            if (entry === "")
                return
            var parts = entry.split("_*_")
            topModel.append({ id: parts[0], name: parts.length > 1 ? parts[1] : "" })
        })
    }

    function seed() {
        if (ServiceConfig.productPageId === "")
            return ""
        return ServiceConfig.productPageId + "_*_" + storedName(ServiceConfig.productPageName)
    }

    function reset() {
        var stored = ""
        Storage.getKeyValue(key, function (name, value) { stored = value })
        if (stored === "" && seed() !== "")
            store(seed())
        else
            topFriendsList = stored
        fill(topFriendsList)
    }

    function addUser(id, name) {
        var entry = storedName(id) + "_*_" + storedName(name)
        store(topFriendsList === "" ? entry : topFriendsList + "_:_" + entry)
    }

    function removeUser(index) {
        topModel.remove(index)
        var entries = []
        for (var i = 0; i < topModel.count; ++i)
            entries.push(topModel.get(i).id + "_*_" + topModel.get(i).name)
        store(entries.join("_:_"))
    }

    // Whole entries only: "12" is not a favourite because "112" is.
    function isFavourite(id) {
        return ("_:_" + topFriendsList).indexOf("_:_" + id + "_*_") >= 0
    }
}
