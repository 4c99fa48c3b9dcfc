// Text helpers every parser shares: escaping, links, form parameters and
// sorting by name. Pure functions, no state.

function htmlEntities(text) {
    if (text === undefined || text === null)
        return ""
    return String(text).replace(/<3/g, "&hearts;").replace(/</g, "&lt;").replace(/>/g, "&gt;")
}

var linkPattern = /\b(?:(?:https?|ftp|file):\/\/|(?:www|ftp)\.)[-A-Z0-9+&@#\/%?=~_|!:,.;]*[-A-Z0-9+&@#\/%=~_|]/ig

function setLinks(text) {
    return String(text).replace(linkPattern, function (link) {
        return "<a style='color:#70aac3;text-decoration:none' href='" + link + "'>" + link + "</a>"
    })
}

// The value after the first occurrence of `name` (a plain substring search),
// from the next "=" to the next "&" or the end; "" when absent.
function parseParameter(url, name) {
    var text = String(url)
    var at = text.indexOf(name)
    if (at < 0)
        return ""
    var equals = text.indexOf("=", at + name.length)
    if (equals < 0)
        return ""
    var end = text.indexOf("&", equals + 1)
    return end < 0 ? text.substring(equals + 1) : text.substring(equals + 1, end)
}

// An address the views may fetch: http or https only, "" otherwise (a
// picture must never read a local file or run a script).
function webAddress(value) {
    var address = value === undefined || value === null ? "" : String(value)
    return /^https?:\/\/[^\s]+$/i.test(address) ? address : ""
}

function sortByName(a, b) {
    var x = String(a.name).toLowerCase(), y = String(b.name).toLowerCase()
    return x < y ? -1 : (x > y ? 1 : 0)
}

// Service text made safe to stand in our markup: every character that means
// something there ("&", "<", ">", both quotes) as an entity, "<3" as a heart.
function escapeMarkup(text) {
    if (text === undefined || text === null)
        return ""
    return String(text).replace(/&/g, "&amp;").replace(/<3/g, "&hearts;").replace(/</g, "&lt;")
        .replace(/>/g, "&gt;").replace(/"/g, "&quot;").replace(/'/g, "&#39;")
}

// Service text as markup: escaped, its web links made links (the link text
// and target escaped too), newlines as line breaks when `breaks` is set.
function linkedMarkup(text, breaks) {
    var raw = text === undefined || text === null ? "" : String(text)
    var out = "", from = 0
    raw.replace(linkPattern, function (found, at) {
        var link = escapeMarkup(found)
        out += escapeMarkup(raw.substring(from, at))
                + "<a style='color:#70aac3;text-decoration:none' href='" + link + "'>" + link + "</a>"
        from = at + found.length
        return found
    })
    out += escapeMarkup(raw.substring(from))
    return breaks ? out.replace(/\r?\n/g, "<br>") : out
}
