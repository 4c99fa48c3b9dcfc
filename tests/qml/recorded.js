// Recorded service answers for parser tests: the text of a file under
// tests/data/.
function answer(path) {
    var request = new XMLHttpRequest()
    request.open("GET", Qt.resolvedUrl("../data/" + path), false)
    request.send()
    return request.responseText
}
