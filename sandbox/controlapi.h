#pragma once

#include "apirequest.h"

#include <QJsonArray>
#include <QStringList>

#include <functional>

class World;

// What the control endpoints can ask of the chat server. Set by the owner of
// the chat server; empty functions mean no chat server runs.
struct ChatControl {
    std::function<void(const QString &from, const QString &to, const QString &body)> sendMessage;
    std::function<void(const QString &from, const QString &to, bool composing)> sendTyping;
    std::function<void(const QString &userId, const QString &show)> setPresence;
    std::function<QJsonArray(const QString &userId)> messagesTo;
    std::function<QStringList()> onlineUsers;
};

// "/_sandbox/...": endpoints for tests and demos, answered to loopback peers only.
class ControlApi {
public:
    ControlApi(World &world, ChatControl chat);

    ApiResponse handle(const ApiRequest &req);

private:
    World &m_world;
    ChatControl m_chat;

    ApiResponse addNotification(const ApiRequest &req);
    ApiResponse addFriendRequest(const ApiRequest &req);
    ApiResponse postings(const ApiRequest &req);
    ApiResponse chatCommand(const QString &command, const ApiRequest &req);
    ApiResponse account(const ApiRequest &req);
};
