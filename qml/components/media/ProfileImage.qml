import QtQuick 2.15
import Kelvo 1.0
import "../feed/richtext.js" as RichText

// A person's or page's picture, cached under the object id of its Graph
// picture URL; a picture from anywhere else is shown but not cached.
CachedPicture {
    cacheId: RichText.pictureCacheId(source, ServiceConfig.graphRoot)
}
