#pragma once

#include "apirequest.h"

#include <QJsonValue>

// The answer writer's variant shapes (AnswerShape flags in switches.h): one
// rewrite of any Graph answer, so that no endpoint needs a copy of its own.

// A successful JSON answer rewritten into the shapes that are on; any other
// answer as it is.
ApiResponse reshapeAnswer(const ApiResponse &answer, int shapes);

// What a batch holds in place of element `index` when batches fail: a 500
// error, null, or a 302 without a body, in turn.
QJsonValue failedBatchElement(int index, const QString &location);

// "after" and "before" cursors handed out by the cursor shape, turned back
// into the paging parameters they stand for ("offset", "until", "since").
QueryItems decodeCursors(const QueryItems &query);
