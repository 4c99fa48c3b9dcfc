import QtQuick 2.15

// Look of a BusyIndicator: size "small", "medium" or "large"; inverted for
// use on dark backgrounds; period of one turn in ms.
QtObject {
    property string size: "medium"
    property bool inverted: false
    property int period: 1000
}
