import QtQml 2.15

// Photo upload and albums.
QtObject {
    property var window
    property var router

    property Connections answers: Connections {
        target: window.signalHandler

        function onShowPhotoUploader() {
            router.open("photoupload")
            router.setClientState("uploadMode", true)
            router.fetch("photoupload")
            router.remember("photoupload")
        }

        function onShowAlbumPhotos(album_id) {
            router.open("album")
            window.lastAlbumId = album_id
            router.fetch("album", { "id": album_id })
            router.remember("album", { "id": album_id })
        }
    }

    function backToAlbum(entry) {
        router.hideAllPanels()
        window.clearModels()
        router.open("album")
        if (!router.albumShown(entry.id))
            router.fetch("album", entry)
        router.remember("album", entry)
    }
}
