#pragma once

#include <QString>

// Limits and storage of the chat server.
struct ChatOptions {
    // Connections at once; past it a new one gets a resource-constraint
    // stream error.
    int maxConnections = 256;
    // Bound sessions of one person at once, so one person cannot take every
    // connection; past it a bind is refused.
    int maxSessionsPerUser = 16;
    // How long a connection may take to log in and bind a resource.
    int loginTimeoutMs = 30 * 1000;
    // How long a connection that has not bound yet may stay silent.
    int idleTimeoutMs = 10 * 1000;
    // Messages kept per person without a session; the oldest go first.
    int maxOfflineMessages = 100;
    // Message bodies kept per addressee for reading back.
    int maxRecordedMessages = 1000;
    // Where messages are kept across restarts; empty: nowhere.
    QString stateDir;
    // Contacts' presences and messages come from full addresses at first.
    bool fullJids = false;
};
