// Reading the service's answers, the first step of every parser. A parser is
// a pure function from the answer text (and what else it needs: own id,
// language, a translate function) to its result; a result that holds
// `failure` says why the answer could not be read.

function failure(reason) {
    return { failure: reason }
}

// The answer as JSON, or undefined when it is not JSON.
function parseJson(text) {
    try {
        return JSON.parse(String(text))
    } catch (error) {
        return undefined
    }
}

// The answer as a JSON object, or a failure: not JSON, not an object, or the
// service's error object (Graph's {"error": {...}}, REST's "error_code").
function object(text) {
    var answer = parseJson(text)
    if (answer === undefined)
        return failure("not JSON")
    if (answer === null || typeof answer !== "object" || Array.isArray(answer))
        return failure("not a JSON object")
    if (answer.error !== undefined)
        return failure("service error: " + (answer.error.message || answer.error))
    if (answer.error_code !== undefined)
        return failure("service error " + answer.error_code + ": " + answer.error_msg)
    return answer
}
