// Looks texts up in the translation table of the window's language. Tables
// are filled on first use and kept for the life of the process; "en" and
// codes without a table leave every text as it is.
.import "translations/fi.js" as Fi
.import "translations/fr.js" as Fr
.import "translations/sk.js" as Sk

var tableModules = {
    "fi": Fi,
    "fr": Fr,
    "sk": Sk
}

var allTranslations = {}

// "pt_br" -> "Pt_br": the tables name their filler set + this.
function capitalised(code) {
    return code.charAt(0).toUpperCase() + code.slice(1)
}

function setLanguage(lang) {
    var module = tableModules[lang]
    if (module === undefined || allTranslations[lang] !== undefined)
        return
    module["set" + capitalised(lang)]()
    allTranslations[lang] = module["translations_" + lang]
}

function getWord(word) {
    var lang = window.language
    if (lang === "en")
        return word
    if (allTranslations[lang] === undefined)
        setLanguage(lang)
    var table = allTranslations[lang]
    if (table !== undefined && table.hasOwnProperty(word))
        return table[word]
    return word
}
