import QtQml 2.15
import Kelvo 1.0
import "richtext.js" as RichText

// Where a tapped link of a story leads: "a" the author's wall or page, "b"
// the addressee's, "app" the page of the application it came from, a tag
// link a wall, a page or the people it names, anything else the browser.
// Only web addresses reach the browser; other schemes are refused.
QtObject {
    function openWallOrPage(id, name, isPage) {
        if (id === "")
            return
        if (isPage)
            signalHandler.showPage(id, name)
        else
            signalHandler.showWall(id, name)
    }

    // The people of a tag, listed in the likes panel.
    function showPeople(people) {
        var model = window.likesModel
        model.clear()
        people.forEach(function (person) {
            model.append({ id: person.id, name: person.name, category: "",
                           profileImageUrl: ServiceConfig.graphRoot + "/" + person.id + "/picture?" + window.token })
        })
        window.likesList.pages = false
        window.likesList.showFriends = false
        window.likesList.state = "shown"
    }

    // Opens `link` in the browser when it is a web address; says so when not.
    function openWeb(link) {
        var address = RichText.webLink(link)
        if (address === "") {
            window.done.label = "Not a web address"
            window.done.state = "shown"
            return
        }
        window.openLink(address)
    }

    function follow(link, row) {
        var application = RichText.parsed(row.application) || {}
        if (link === "a")
            return openWallOrPage(row.fromID, row.fromName, row.fromCategory !== "")
        if (link === "b")
            return openWallOrPage(row.toId, row.toRealName, row.toCategory !== "")
        if (link === "app")
            return openWallOrPage(RichText.str(application.id), RichText.str(application.name), true)
        var tag = RichText.tagTarget(link)
        if (tag === null)
            return openWeb(link)
        if (tag.id.indexOf("_:_") >= 0)
            return showPeople(RichText.taggedPeople(tag.id))
        openWallOrPage(tag.id, tag.name, tag.category !== "undefined")
    }
}
