// The main window as navigation uses it: its own properties, and beside
// them the parts navigation reaches that the window does not publish as
// properties yet, which `parts()` names only when asked. Once the window
// publishes them all, navigation takes the window itself and this goes.
function withParts(window, parts) {
    return new Proxy(window, {
        get: function (target, name) {
            var value = target[name]
            return value !== undefined ? value : parts()[name]
        },
        set: function (target, name, value) {
            target[name] = value
            return true
        }
    })
}
