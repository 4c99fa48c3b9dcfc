// A chat message as the bubbles show it, built in one pass from the raw
// text: addresses found first (no smiley is ever looked for inside one), web
// addresses made links, smiley codes between them made our own pictures,
// every other character escaped. Nothing in a message renders as markup and
// no picture named by a message loads. Pure functions, no state.
.import "../../client/text.js" as Text

// Codes and their pictures (under media/smileys/), in the order they are
// tried at one position.
var smileys = [
    [":-)", "Smile"], [":)", "Smile"], [":]", "Sideways"], ["=)", "Smile"],
    [":-(", "Sad"], [":(", "Sad"], [":[", "Sad"], ["=(", "Sad"],
    [":-O", "Surprised"], [":O", "Surprised"], [":-o", "Surprised"], [":o", "Surprised"],
    [":-D", "Grin"], [":D", "Grin"], ["=D", "Lol"],
    [":-P", "Tongue"], [":P", "Tongue"], [":-p", "Tongue"], [":p", "Tongue"], ["=P", "Tongue"],
    [";-)", "Wink"], [";)", "Wink"], [":-*", "Kissing"], [":*", "Kissing"],
    ["8-)", "Cool"], ["8)", "Cool"], ["B-)", "Cool"], ["B)", "Cool"],
    ["o.O", "Andy"], ["O.o", "Andy"], ["O:)", "Angel"], ["O:-)", "Angel"],
    ["3:)", "Devil"], ["3:-)", "Devil"],
    [":/", "Unsure"], [":-/", "Unsure"], [":\\", "Unsure"], [":-\\", "Unsure"],
    ["<3", "Heart"], [":'(", "Crying"]
]

function pictureOf(code) {
    for (var i = 0; i < smileys.length; ++i) {
        if (smileys[i][0] === code)
            return smileys[i][1]
    }
    return ""
}

function smileyPattern() {
    return new RegExp(smileys.map(function (entry) {
        return entry[0].replace(/[\][{}()*+?.\\|^$\-,&#\s]/g, "\\$&")
    }).join("|"), "g")
}

// Text between addresses: smileys as pictures from `folder` (on the line's
// middle), the rest escaped.
function smileyMarkup(text, folder) {
    var out = "", from = 0
    text.replace(smileyPattern(), function (code, at) {
        out += Text.escapeMarkup(text.substring(from, at)) + "<img src=\"" + folder + pictureOf(code)
                + ".png\" width=\"24\" height=\"24\" align=\"middle\">"
        from = at + code.length
        return code
    })
    return out + Text.escapeMarkup(text.substring(from))
}

// The address a link opens: http(s) as found, "www." with "http://" in
// front; "" for any other scheme (shown as text, never linked).
function webTarget(address) {
    if (/^https?:\/\//i.test(address))
        return address
    return /^www\./i.test(address) ? "http://" + address : ""
}

function addressMarkup(address, colour) {
    var target = webTarget(address)
    var shown = Text.escapeMarkup(address)
    return target === "" ? shown : "<a style='color:" + colour + ";text-decoration:none' href='"
                                   + Text.escapeMarkup(target) + "'>" + shown + "</a>"
}

// The bubble's rich text for the raw `message`; smiley pictures come from
// `folder` (a URL ending in "/"), links in `linkColour` ("#70aac3" when not
// given); line breaks kept.
function messageMarkup(message, folder, linkColour) {
    var colour = linkColour || "#70aac3"
    var raw = message === undefined || message === null ? "" : String(message)
    var out = "", from = 0
    raw.replace(Text.linkPattern, function (address, at) {
        out += smileyMarkup(raw.substring(from, at), folder) + addressMarkup(address, colour)
        from = at + address.length
        return address
    })
    out += smileyMarkup(raw.substring(from), folder)
    return out.replace(/\r?\n/g, "<br>")
}
