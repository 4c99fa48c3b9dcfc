import QtQuick 2.15
import QtTest 1.2
import "../../qml/client/notifications.js" as Notifications

// The update-count parser on recorded answers of every shape seen: each row
// names an answer and the counts it gives, or why it cannot be read.
TestCase {
    name: "ParseUpdateCounts"

    // The recorded answer in tests/data/notifications/.
    function recorded(file) {
        var request = new XMLHttpRequest()
        request.open("GET", Qt.resolvedUrl("../data/notifications/" + file), false)
        request.send()
        return request.responseText
    }

    function counts(notifications, messages, requests, events) {
        return { unread_notifications: notifications, unread_messages: messages,
                 friend_requests: requests, open_events: events }
    }

    function test_parse_data() {
        return [
            { tag: "numbers", file: "numbers.json", result: counts(5, 3, 2, 3) },
            { tag: "decimal texts", file: "strings.json", result: counts(12, 4, 1, 0) },
            { tag: "empty collections as {}", file: "empty_objects.json", result: counts(0, 0, 0, 0) },
            { tag: "a count missing", file: "count_missing.json", result: { failure: "no unread_messages" } },
            { tag: "a count not a number", file: "count_garbled.json", result: { failure: "no friend_requests" } },
            { tag: "not JSON", file: "not_json.html", result: { failure: "not JSON" } },
            { tag: "JSON null", file: "null.json", result: { failure: "not a JSON object" } },
            { tag: "REST error", file: "error_rest.json",
              result: { failure: "service error 102: Session key invalid or no longer valid" } },
            { tag: "Graph error", file: "error_graph.json",
              result: { failure: "service error: (#977) Dkp bufs yypb't kpoljbfbib vcm lnnxtfsklcv ed dlbzgco lnlu behpsc" } }
        ]
    }

    function test_parse(data) {
        compare(Notifications.parseUpdateCounts(recorded(data.file)), data.result)
    }
}
