#pragma once

#include "graphcontext.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QString>

struct FqlResult {
    bool ok = false;
    QJsonArray rows;
    QString error;
};

// Runs one of the FQL queries the client sends. Only those texts are known:
// anything else is an error. `sets` holds earlier result sets of a multiquery,
// for "#name" references.
FqlResult runFql(GraphContext &ctx, const QString &query,
                 const QHash<QString, QJsonArray> &sets = {});

// Runs a multiquery (a JSON object of named queries): the answer lists the
// result sets as {"name", "fql_result_set"}, queries that depend on no other
// set first, then in order of dependency, by name within each level.
FqlResult runFqlMultiquery(GraphContext &ctx, const QString &queriesJson);
