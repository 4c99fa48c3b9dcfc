#pragma once

#include "apirequest.h"
#include "graphcontext.h"
#include "world.h"

class SandboxState;
class SandboxSwitches;
struct PostedChange;

// Answers the Graph API, the REST API and the batch form from the world.
// Thread-safe: reads use a snapshot of the world, changes World::update().
class GraphApi {
public:
    // `state`, when given, keeps every change the client makes; `switches`
    // give the answers' shapes and the feeds' paging.
    GraphApi(World &world, SandboxState *state, const SandboxSwitches &switches);

    // Graph paths ("/me/home", "/<id>/feed", "/oauth/access_token", "/" with a batch ...).
    ApiResponse handleGraph(const ApiRequest &req);
    // REST paths ("/method/fql.query", "/method/fql.multiquery", "/method/notifications.get").
    ApiResponse handleRest(const ApiRequest &req);
    // Makes a kept change again, with its time and ids (at start-up).
    void replay(const PostedChange &change);

private:
    World &m_world;
    SandboxState *m_state;
    const SandboxSwitches &m_switches;

    ApiResponse accessToken(const ApiRequest &req);
    // A Graph request answered in the shapes that are on; respond() in the plain one.
    ApiResponse graph(const ApiRequest &req, const QString &viewer, bool inBatch);
    ApiResponse respond(const ApiRequest &req, const QString &viewer, bool inBatch);
    ApiResponse read(GraphContext &ctx);
    ApiResponse change(const ApiRequest &req, const QString &viewer);
    ApiResponse batch(const ApiRequest &req, const QString &token);
    void applyAfterwards(GraphContext &ctx);
};

// Families of Graph requests: reads on a snapshot, changes on the world being changed.
ApiResponse graphGet(GraphContext &ctx, const QStringList &segments);
ApiResponse graphPost(GraphContext &ctx, const QStringList &segments);
ApiResponse graphDelete(GraphContext &ctx, const QStringList &segments);
ApiResponse graphSearch(GraphContext &ctx);
ApiResponse notificationsGet(GraphContext &ctx);

// Writes the upload of a picture into an album (or a person's wall album).
ApiResponse uploadPhoto(GraphContext &ctx, const QString &targetId);
