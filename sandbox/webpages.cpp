#include "webpages.h"

#include "sandboxlogging.h"
#include "world.h"

#include <QUrl>

namespace {

QString escaped(const QString &text) {
    return text.toHtmlEscaped();
}

QString page(const QString &title, const QString &body) {
    return QStringLiteral(
               "<!DOCTYPE html><html><head><meta charset=\"utf-8\">"
               "<meta name=\"viewport\" content=\"width=device-width\">"
               "<title>%1</title><style>"
               "body{font-family:sans-serif;margin:0;background:#fff;color:#222}"
               "#header{background:#3b5998;color:#fff;padding:10px 14px;font-weight:bold}"
               "#content{padding:14px}"
               ".error{background:#ffebe8;border:1px solid #dd3c10;padding:8px;margin:8px 0}"
               "input{font-size:16px;margin:4px 0;padding:4px;width:90%}"
               "button{font-size:16px;padding:6px 14px;background:#5b74a8;color:#fff;border:0}"
               "#footer{color:#888;font-size:12px;padding:14px}"
               "#requests{list-style:none;margin:0;padding:0}"
               ".request{border-bottom:1px solid #ddd;padding:10px 0 10px 60px;min-height:50px;"
               "position:relative}"
               ".request img{position:absolute;left:0;top:10px}"
               ".request p{margin:4px 0 8px;color:#555}"
               "</style></head><body><div id=\"header\">Sandbox</div>"
               "<div id=\"content\">%2</div></body></html>")
        .arg(escaped(title), body);
}

bool redirectAllowed(const QString &uri, const QString &root) {
    const QUrl url(uri, QUrl::StrictMode);
    if (!url.isValid() || url.scheme() != QLatin1String("http"))
        return false;
    // Only this machine: the sandbox's own pages, or a local test harness.
    return uri.startsWith(root + QLatin1Char('/')) || url.host() == QLatin1String("127.0.0.1") ||
           url.host() == QLatin1String("localhost");
}

} // namespace

WebPages::WebPages(World &world, QString loginHelpAppId)
    : m_world(world)
    , m_loginHelpAppId(std::move(loginHelpAppId)) {}

QString WebPages::dialogPage(const ApiRequest &req, const QueryItems &fields,
                             const QString &error) const {
    const World::Snapshot w = m_world.snapshot();
    const QString accountName = w->people.value(w->meId).name;
    const QString login = w->loginName;
    QString hidden;
    for (const auto &f : fields)
        hidden += QStringLiteral("<input type=\"hidden\" name=\"%1\" value=\"%2\">")
                      .arg(escaped(f.first), escaped(f.second));
    QString body = QStringLiteral("<h3>Log in to Kelvo (sandbox)</h3>"
                                  "<p>Signing in as the sandbox account <b>%1</b>.</p>")
                       .arg(escaped(accountName));
    if (!error.isEmpty())
        body +=
            QStringLiteral("<div class=\"error\" id=\"error_box\">%1</div>").arg(escaped(error));
    body += QStringLiteral(
                "<form method=\"post\" action=\"%1/dialog/oauth\" id=\"login_form\">%2"
                "<label>Email<br><input type=\"text\" name=\"email\" id=\"email\" "
                "value=\"%3\"></label><br>"
                "<label>Password<br><input type=\"password\" name=\"pass\" id=\"pass\" autofocus>"
                "</label>"
                "<div id=\"platform_dialog_bottom_bar\" class=\"bottom_bar wide\">"
                "<p>Kelvo will receive your profile, friends, photos, messages, "
                "events and the right to post for you.</p>"
                "<button type=\"submit\" name=\"grant\" id=\"grant\" value=\"1\">"
                "Log In and Allow</button></div></form>"
                "<div id=\"footer\">Sandbox social network · "
                "<a href=\"%1/privacy\">Privacy</a></div>")
                .arg(req.root, hidden, escaped(login));
    return page(QStringLiteral("Log in"), body);
}

ApiResponse WebPages::loginDialog(const ApiRequest &req) {
    // The dialog's own fields travel in the query (GET) or the form (POST).
    QueryItems fields = req.query;
    const bool form = req.method == QLatin1String("POST");
    if (form && req.contentType.startsWith("application/x-www-form-urlencoded"))
        fields += parseQuery(req.body);
    const auto field = [&](const char *key) {
        for (const auto &f : fields)
            if (f.first == QLatin1String(key))
                return f.second;
        return QString();
    };
    const QString clientId = field("client_id");
    if (clientId != m_world.applicationId() && clientId != m_loginHelpAppId)
        return ApiResponse::html(
            page(QStringLiteral("Error"),
                 QStringLiteral("<div class=\"error\">Invalid application id.</div>")),
            400);
    QString redirect = field("redirect_uri");
    if (redirect.isEmpty())
        redirect = req.root + QStringLiteral("/connect/login_success.html");
    if (!redirectAllowed(redirect, req.root))
        return ApiResponse::html(
            page(QStringLiteral("Error"),
                 QStringLiteral("<div class=\"error\">The redirect address is not allowed for "
                                "this application.</div>")),
            400);
    QueryItems keep;
    for (const char *key : {"client_id", "redirect_uri", "display", "scope", "state"})
        if (!field(key).isEmpty())
            keep.append({QString::fromLatin1(key), field(key)});
    if (!form)
        return ApiResponse::html(dialogPage(req, keep, {}));

    QString userId;
    {
        const World::Snapshot w = m_world.snapshot();
        const QString login = field("email").trimmed();
        if (login.compare(w->loginName, Qt::CaseInsensitive) == 0 || login == w->meId)
            userId = w->meId;
    }
    if (userId.isEmpty() || !m_world.checkPassword(userId, field("pass")))
        return ApiResponse::html(dialogPage(
            req, keep,
            QStringLiteral("The email or password you entered is incorrect. Please try again.")));
    const QString code = m_world.issueCode(userId);
    QString target = redirect;
    target += redirect.contains(QLatin1Char('?')) ? QLatin1Char('&') : QLatin1Char('?');
    target += QStringLiteral("code=") + code;
    if (!field("state").isEmpty())
        target +=
            QStringLiteral("&state=") + QString::fromUtf8(QUrl::toPercentEncoding(field("state")));
    return ApiResponse::redirect(target);
}

ApiResponse WebPages::readItLater(const ApiRequest &req) {
    QueryItems fields = req.query;
    if (req.contentType.startsWith("application/x-www-form-urlencoded"))
        fields += parseQuery(req.body);
    ApiRequest all = req;
    all.query = fields;
    const QString user = all.value(QStringLiteral("username"));
    const QString url = all.value(QStringLiteral("url"));
    if (all.value(QStringLiteral("apikey")).isEmpty())
        return ApiResponse::text("403 Forbidden: missing API key", 403);
    if (user.isEmpty() || url.isEmpty())
        return ApiResponse::text("400 Bad Request", 400);
    const bool known =
        user.compare(m_world.snapshot()->loginName, Qt::CaseInsensitive) == 0 &&
        all.value(QStringLiteral("password")) == QLatin1String(World::accountPassword);
    if (!known)
        return ApiResponse::text("401 Unauthorized", 401);
    m_world.update([&](WorldData &w) {
        Posting posting;
        posting.time = w.now();
        posting.method = req.method;
        posting.path = req.path;
        posting.params = {{QStringLiteral("url"), url},
                          {QStringLiteral("title"), all.value(QStringLiteral("title"))}};
        posting.userId = w.meId;
        posting.result = QStringLiteral("200 OK");
        w.postings.append(posting);
    });
    return ApiResponse::text("200 OK");
}

ApiResponse WebPages::friendRequests(const ApiRequest &req) {
    const World::Snapshot w = m_world.snapshot();
    QString rows;
    for (const FriendRequest &r : w->friendRequests) {
        if (r.toId != w->meId)
            continue;
        rows +=
            QStringLiteral("<li class=\"request\" id=\"request_%1\">"
                           "<img src=\"%2/%1/picture\" width=\"50\" height=\"50\" alt=\"\">"
                           "<b class=\"name\">%3</b><p class=\"message\">%4</p>"
                           "<button type=\"button\">Confirm</button> "
                           "<button type=\"button\">Not now</button></li>")
                .arg(escaped(r.fromId), req.root, escaped(w->nameOf(r.fromId)), escaped(r.message));
    }
    const QString body =
        rows.isEmpty()
            ? QStringLiteral("<h3>Friend requests</h3><p id=\"none\">No new requests.</p>")
            : QStringLiteral("<h3>Friend requests</h3><ul id=\"requests\">%1</ul>").arg(rows);
    return ApiResponse::html(page(QStringLiteral("Friend requests"), body));
}

bool WebPages::handle(const ApiRequest &req, ApiResponse *response) {
    const QString &path = req.path;
    const QStringList segments = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    if (path == QLatin1String("/dialog/oauth")) {
        *response = loginDialog(req);
    } else if (path == QLatin1String("/connect/login_success.html")) {
        *response = ApiResponse::html(
            page(QStringLiteral("Success"), QStringLiteral("<p id=\"success\">Success</p>")));
    } else if (path == QLatin1String("/v2/add")) {
        *response = readItLater(req);
    } else if (path == QLatin1String("/privacy")) {
        *response = ApiResponse::html(
            page(QStringLiteral("Privacy"),
                 QStringLiteral("<h3>Privacy</h3><p>This is the local sandbox service. It runs on "
                                "your own machine, keeps its fictional world in memory and sends "
                                "nothing anywhere. Whatever you post here stays here and is gone "
                                "when the sandbox stops.</p>")));
    } else if (path == QLatin1String("/friends/requests.php")) {
        *response = friendRequests(req);
    } else if (!segments.isEmpty() &&
               (segments[0] == QLatin1String("permalink.php") ||
                segments[0] == QLatin1String("event.php") ||
                segments[0] == QLatin1String("photo.php") ||
                segments[0] == QLatin1String("profile.php") ||
                segments[0] == QLatin1String("album.php") ||
                segments[0] == QLatin1String("video.php") ||
                segments[0] == QLatin1String("events") || segments[0] == QLatin1String("groups") ||
                segments[0] == QLatin1String("apps") ||
                (segments.size() == 3 && (segments[1] == QLatin1String("posts") ||
                                          segments[1] == QLatin1String("albums"))))) {
        *response = ApiResponse::html(
            page(QStringLiteral("Sandbox"),
                 QStringLiteral("<p>This page of the sandbox world is shown in the app itself."
                                "</p><p><code>%1</code></p>")
                     .arg(escaped(path))));
    } else {
        return false;
    }
    return true;
}
