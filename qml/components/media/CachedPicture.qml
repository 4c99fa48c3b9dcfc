import QtQuick 2.15
import "../common"

// A remote picture under the theme's rounded mask, with a placeholder until
// it is ready, kept in one of the image saver's caches: a picture cached
// under `cacheId` is shown from the cache folder and not fetched; one
// fetched is saved there as it is drawn. Without an id, or without a saver
// (the scene run on its own), nothing is cached.
Item {
    id: picture

    // The remote picture.
    property string source
    property string cacheId
    // The feed cache rather than the profile cache.
    property bool feed: false
    property bool setCache: true
    // The row under the picture is pressed.
    property bool hover: false
    property string placeholder: "profile"
    readonly property var saver: typeof imageSaver !== "undefined" ? imageSaver : null
    readonly property bool cached: saver !== null && cacheId !== ""
                                   && (feed ? saver.feedImageExists(cacheId) : saver.imageExists(cacheId))
    readonly property string shownSource: cached ? (feed ? window.feedImageCacheFolder : window.profileImageCacheFolder)
                                                   + cacheId + ".jpg" : source
    readonly property alias status: image.status

    function saveToCache() {
        if (cached || !setCache || saver === null || cacheId === "")
            return
        var id = cacheId, saver = picture.saver, feed = picture.feed
        image.grabToImage(function (result) {
            if (feed)
                saver.saveFeed(result, id + ".jpg")
            else
                saver.save(result, id + ".jpg")
        })
    }

    width: 50
    height: 50

    PlaceholderImage {
        anchors.fill: parent
        image: picture.placeholder
        visible: image.status !== Image.Ready
    }

    Image {
        id: image
        objectName: "picture"
        anchors.fill: parent
        fillMode: Image.PreserveAspectCrop
        clip: true
        asynchronous: true
        sourceSize.width: width
        source: picture.shownSource
        onStatusChanged: if (status === Image.Ready) picture.saveToCache()
    }

    Image {
        anchors.fill: parent
        source: "../media/" + (window.darkTheme ? "Dark" : "Light") + "/" + (picture.hover ? "mask_hover" : "mask")
                + ".png"
    }
}
