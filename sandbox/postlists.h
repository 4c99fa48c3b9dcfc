#pragma once

#include "world.h"

#include <QList>

// The home feed and walls: posts in the world's order, newest first.
QList<const Post *> newsFeedOf(const WorldData &w, const QString &userId);
QList<const Post *> wallOf(const WorldData &w, const QString &ownerId);
