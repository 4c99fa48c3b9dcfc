// Date helpers every parser shares: reading the service's times and writing
// them for people. Pure functions: words come from the `translate` function
// and the `language` code handed in.

var monthNames = ["January", "February", "March", "April", "May", "June", "July",
                  "August", "September", "October", "November", "December"]

// A Graph time such as "2011-08-31T22:39:01+0000" (UTC; seconds dropped);
// undefined without a "T", the current time when it cannot be read.
function parseDate(text) {
    var parts = String(text).split("T")
    if (parts.length < 2)
        return undefined
    var day = parts[0].split("-")
    var time = parts[1].split(":")
    var date = new Date(Date.UTC(parseInt(day[0], 10), parseInt(day[1], 10) - 1, parseInt(day[2], 10),
                                 parseInt(time[0], 10), parseInt(time[1], 10)))
    return isNaN(date.getTime()) ? new Date() : date
}

function parseDateFromNumber(seconds) {
    return new Date(Number(seconds) * 1000)
}

var timeUnits = [
    { below: 3600, seconds: 60, name: "minute" },
    { below: 86400, seconds: 3600, name: "hour" },
    { below: 604800, seconds: 86400, name: "day" },
    { below: 2628000, seconds: 604800, name: "week" },
    { below: 31536000, seconds: 2628000, name: "month" },
    { below: Infinity, seconds: 31536000, name: "year" }
]

// How long ago (or ahead) `date` is, in words.
function prettyDate(date, translate, language) {
    var seconds = (Date.now() - date.getTime()) / 1000
    var suffix = " ago"
    if (seconds < 0) {
        seconds = -seconds
        suffix = " From Now"
    }
    if (seconds < 60)
        return translate("Just now")
    var unit = timeUnits[0]
    for (var i = 0; seconds >= unit.below; ++i)
        unit = timeUnits[i + 1]
    var count = seconds <= unit.seconds * 1.1 ? 1 : Math.ceil(seconds / unit.seconds)
    var words = translate(unit.name + (count === 1 ? "" : "s") + suffix)
    if (language === "fr")
        return words.replace("[number]", count)
    return count + " " + words
}

function twoDigits(n) {
    return (n < 10 ? "0" : "") + n
}

// "5 March - 14:02". With addTimezone the date is first moved to UTC wall
// time (the date passed in changes too).
function prettyDateTime(date, addTimezone, translate) {
    if (addTimezone)
        date.setMinutes(date.getMinutes() + date.getTimezoneOffset())
    return prettyDateDate(date, translate) + " - " + twoDigits(date.getHours()) + ":" + twoDigits(date.getMinutes())
}

function prettyDateDate(date, translate) {
    return date.getDate() + " " + translate(monthNames[date.getMonth()])
}

// Formats with a mask of "yyyy", "mm", "dd", "HH", "MM" and "ss"; other
// characters stand as they are.
function formatDate(date, mask) {
    var fields = {
        "yyyy": String(date.getFullYear()), "mm": twoDigits(date.getMonth() + 1),
        "dd": twoDigits(date.getDate()), "HH": twoDigits(date.getHours()),
        "MM": twoDigits(date.getMinutes()), "ss": twoDigits(date.getSeconds())
    }
    return mask.replace(/yyyy|mm|dd|HH|MM|ss/g, function (field) { return fields[field] })
}

// Newest "updated_time" first.
function sortByDate(a, b) {
    return parseDate(b.updated_time) - parseDate(a.updated_time)
}
