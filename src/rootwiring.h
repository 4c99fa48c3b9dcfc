#pragma once

class QObject;

// The native objects the root window talks to. An object that is not part of
// this build yet is null, and its connections are left out.
struct NativeObjects {
    QObject *chatClient = nullptr;
    QObject *photoUploader = nullptr;
    QObject *imageSaver = nullptr;
    QObject *chatData = nullptr;
    // Keeps the last conversations on disk (ChatCache).
    QObject *chatCache = nullptr;
    // Desktop notifications of chat messages (ChatNotifier).
    QObject *chatNotifier = nullptr;
    // Opens web links in the desktop's browser (LinkOpener).
    QObject *linkOpener = nullptr;
};

// Connects the chat client's signals to the chat model's slots: roster,
// presences, messages both ways, delivery, session loss, sign-out. Returns
// the number of connections made; none when either is null.
int connectChatModel(QObject *chat, QObject *model);

// Connects the conversation cache between the chat client and the chat
// model: confirmed accounts, the chat's end, restored pending messages back
// to the client, the model's changes to be saved. Made before
// connectChatModel, so the cache has saved before the model forgets an
// account and has put back the outbox before the session sends it. Returns
// the number of connections made.
int connectChatCache(QObject *chat, QObject *model, QObject *cache);

// Connects the root window's signals to the native slots and the native
// signals to the root window's functions, in a fixed order: where one signal
// reaches two receivers (the chat client and the chat model), the chat client
// hears it first. The root window's quit() reaches `application`'s quit().
// Returns the number of connections made.
int connectRootWindow(QObject *root, const NativeObjects &objects, QObject *application);
