#pragma once

#include "apirequest.h"

#include <QJsonArray>
#include <QStringList>

#include <functional>

class World;
class SandboxState;
class SandboxSwitches;
struct WorldData;

// What the control endpoints can ask of the chat server. Set by the owner of
// the chat server; empty functions mean no chat server runs.
struct ChatControl {
    std::function<void(const QString &from, const QString &to, const QString &body,
                       const QString &id)>
        sendMessage;
    std::function<void(const QString &from, const QString &to, bool composing)> sendTyping;
    std::function<void(const QString &userId, const QString &show)> setPresence;
    std::function<QJsonArray(const QString &userId)> messagesTo;
    std::function<QStringList()> onlineUsers;
    // Whether the chat knows the person (the world's people and generated ones).
    std::function<bool(const QString &userId)> isPerson;
    std::function<QStringList(const QString &userId, int count)> addContacts;
    std::function<void(const QString &userId, const QString &name)> rename;
    std::function<void(bool on)> setFullJids;
    // stop() and start() (false: the port is taken) the XMPP listener.
    std::function<void()> stop;
    std::function<bool()> start;
    std::function<int(const QString &userId)> drop;
};

// "/_sandbox/...": endpoints for tests and demos, answered to loopback peers only.
class ControlApi {
public:
    // `state`, when given, forgets what was posted when the world is reset;
    // `switches` are what the shape, failure and paging commands set.
    ControlApi(World &world, ChatControl chat, SandboxState *state, SandboxSwitches &switches);

    ApiResponse handle(const ApiRequest &req);

private:
    World &m_world;
    ChatControl m_chat;
    SandboxState *m_state;
    SandboxSwitches &m_switches;

    ApiResponse addNotification(const ApiRequest &req);
    ApiResponse addNotification(const ApiRequest &req, WorldData &w);
    ApiResponse addFriendRequest(const ApiRequest &req);
    ApiResponse addFriendRequest(const ApiRequest &req, WorldData &w);
    ApiResponse postings(const ApiRequest &req);
    ApiResponse chatCommand(const QString &command, const ApiRequest &req);
    // Stop, start, drop, contacts, name and full_jids.
    ApiResponse chatServerCommand(const QString &command, const ApiRequest &req);
    ApiResponse account(const ApiRequest &req);
    // Shapes, failures, the feeds' paging and the home feed's size.
    ApiResponse switchCommand(const QString &command, const ApiRequest &req);
    ApiResponse addFault(const ApiRequest &req);
};
