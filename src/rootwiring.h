#pragma once

class QObject;

// The native objects the root window talks to. An object that is not part of
// this build yet is null, and its connections are left out.
struct NativeObjects {
    QObject *chatClient = nullptr;
    QObject *photoUploader = nullptr;
    QObject *imageSaver = nullptr;
    QObject *chatData = nullptr;
    // Opens web links in the desktop's browser (LinkOpener).
    QObject *linkOpener = nullptr;
};

// Connects the chat client's signals to the chat model's slots: roster,
// presences, messages both ways, delivery, session loss, sign-out. Returns
// the number of connections made; none when either is null.
int connectChatModel(QObject *chat, QObject *model);

// Connects the root window's signals to the native slots and the native
// signals to the root window's functions, in a fixed order: where one signal
// reaches two receivers (the chat client and the chat model), the chat client
// hears it first. The root window's quit() reaches `application`'s quit().
// Returns the number of connections made.
int connectRootWindow(QObject *root, const NativeObjects &objects, QObject *application);
