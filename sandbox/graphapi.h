#pragma once

#include "apirequest.h"
#include "graphcontext.h"

class World;

// Answers the Graph API, the REST API and the batch form from the world.
// Thread-safe: every request runs under the world's mutex.
class GraphApi {
public:
    explicit GraphApi(World &world);

    // Graph paths ("/me/home", "/<id>/feed", "/oauth/access_token", "/" with a batch ...).
    ApiResponse handleGraph(const ApiRequest &req);
    // REST paths ("/method/fql.query", "/method/fql.multiquery", "/method/notifications.get").
    ApiResponse handleRest(const ApiRequest &req);

private:
    World &m_world;

    ApiResponse accessToken(const ApiRequest &req);
    ApiResponse graphLocked(const ApiRequest &req, const QString &viewer, bool inBatch);
    ApiResponse batch(GraphContext &ctx);
};

// Families of Graph requests; the world is locked by the caller.
ApiResponse graphGet(GraphContext &ctx, const QStringList &segments);
ApiResponse graphPost(GraphContext &ctx, const QStringList &segments);
ApiResponse graphDelete(GraphContext &ctx, const QStringList &segments);
ApiResponse graphSearch(GraphContext &ctx);
ApiResponse notificationsGet(GraphContext &ctx);

// Writes the upload of a picture into an album (or a person's wall album).
ApiResponse uploadPhoto(GraphContext &ctx, const QString &targetId);

// The home feed, walls and other post lists, newest first.
QList<const Post *> newsFeedOf(const WorldData &w, const QString &userId);
QList<const Post *> wallOf(const WorldData &w, const QString &ownerId);
