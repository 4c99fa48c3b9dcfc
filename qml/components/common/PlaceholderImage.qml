import QtQuick 2.15

// Stand-in picture shown behind a remote picture until that one is ready:
// the named placeholder ("profile", "photo", "album", "event", "group",
// "page", "place") from the folder that suits the theme.
Image {
    id: placeholder

    property string image: "profile"
    property string folder: window.darkTheme ? "Dark" : "Light"

    fillMode: Image.PreserveAspectFit
    source: "../media/" + folder + "/" + image + ".png"
}
