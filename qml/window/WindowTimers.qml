import QtQuick 2.15

// The main window's clocks: the update-count poll, the delayed chat
// connection, the "no friends online" notice, the chat-list rebuilds, the
// typing indicator's timeout and the vibration pulses.
Item {
    id: timers

    property alias updateTimer: updateTimer
    property alias chatTimer: chatTimer
    property alias nofriendTimer: nofriendTimer
    property alias updateUsersTimer: updateUsersTimer
    property alias hideTypingImage: hideTypingImage
    property alias vibraTimer: vibraTimer
    property alias vibraStopper: vibraStopper

    // Time to poll the update counts again.
    signal updateDue()
    // The typing indicator of the open conversation has timed out.
    signal typingTimedOut()
    // The chat lists are due for a rebuild, marking `from`'s new message.
    signal rebuildDue(string from)

    // Rebuilds of the chat lists run so far, for tests and measurements.
    property int rebuilds: 0

    // Asks for a rebuild within a frame; requests until then join it, and a
    // sender named by any of them keeps its mark.
    function requestRebuild(from) {
        if (from)
            rebuildTimer.from = from
        if (!rebuildTimer.running)
            rebuildTimer.start()
    }

    // The waiting rebuild's sender, the rebuild taken over by the caller.
    function takeRebuild() {
        var from = rebuildTimer.from
        rebuildTimer.stop()
        rebuildTimer.from = ""
        ++rebuilds
        return from
    }

    Timer {
        id: updateTimer
        interval: 60000 * window.updateCycle
        repeat: true
        onTriggered: timers.updateDue()
    }

    Timer {
        id: chatTimer
        interval: 2000
        onTriggered: signalHandler.connectChat()
    }

    Timer {
        id: nofriendTimer
        interval: 1500
        onTriggered: {
            if (window.chatModel.count === 0)
                window.nofriendsonline = true
        }
    }

    Timer {
        id: updateUsersTimer
        property string from
        interval: 500
        onTriggered: window.updateUsersList(from)
    }

    Timer {
        id: rebuildTimer
        property string from
        interval: 16
        onTriggered: timers.rebuildDue(timers.takeRebuild())
    }

    Timer {
        id: hideTypingImage
        interval: 6500
        onTriggered: timers.typingTimedOut()
    }

    Timer {
        id: vibraTimer
        interval: 100
        repeat: true
        onTriggered: window.vibrate()
    }

    Timer {
        id: vibraStopper
        interval: 500
        onTriggered: vibraTimer.stop()
    }
}
