import QtQuick 2.15

Rectangle {
    width: 480
    height: 854
    color: "#3B5998"
}
