#pragma once

#include "apirequest.h"

class World;

// The service's web pages: the login dialog and its redirect target, the
// privacy page, Read It Later's "/v2/add", the friend-requests page, and small pages for the links
// that stories and notifications carry.
class WebPages {
public:
    WebPages(World &world, QString loginHelpAppId);

    // False when the path is not a web page.
    bool handle(const ApiRequest &req, ApiResponse *response);

private:
    World &m_world;
    QString m_loginHelpAppId;

    ApiResponse loginDialog(const ApiRequest &req);
    ApiResponse readItLater(const ApiRequest &req);
    // The mobile web page of pending friend requests, which the app opens in the browser.
    ApiResponse friendRequests(const ApiRequest &req);
    QString dialogPage(const ApiRequest &req, const QueryItems &fields, const QString &error) const;
};
