import QtQuick 2.15

// A story's thumbnail, cached in the feed cache under the story's id
// (`imageId`); shown only for a source that can be a picture address.
CachedPicture {
    property string imageId

    cacheId: imageId
    feed: true
    placeholder: "photo"
    width: 80
    height: 80
    visible: source.length > 20
}
