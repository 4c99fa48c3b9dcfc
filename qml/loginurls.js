// Addresses of the service's login dialog: the one the login view loads and
// the browser fallback offered when signing in there fails.
.import Kelvo 1.0 as Kelvo

var permissions = "user_about_me,friends_about_me,user_activities,friends_activities,"
        + "user_birthday,friends_birthday,user_checkins,friends_checkins,"
        + "user_education_history,friends_education_history,user_events,friends_events,"
        + "user_groups,friends_groups,user_hometown,friends_hometown,user_interests,"
        + "friends_interests,user_likes,friends_likes,user_location,friends_location,"
        + "user_online_presence,friends_online_presence,user_photo_video_tags,"
        + "friends_photo_video_tags,user_photos,friends_photos,user_religion_politics,"
        + "friends_religion_politics,user_status,friends_status,user_videos,friends_videos,"
        + "user_website,friends_website,user_work_history,friends_work_history,email,"
        + "read_friendlists,read_mailbox,read_requests,read_stream,xmpp_login,publish_stream,"
        + "create_event,rsvp_event,offline_access,publish_checkins,user_notes,"
        + "user_photo_video_tags,friends_notes,friends_photo_video_tags,manage_notifications,"
        + "manage_friendlists,manage_pages"

var relationships = "user_relationships,friends_relationships,user_relationship_details,"
        + "friends_relationship_details"

// The list with manage_pages moved right after publish_checkins.
function pagesAfterCheckins(list) {
    return list.replace(",manage_pages", "").replace("publish_checkins,", "publish_checkins,manage_pages,")
}

function redirectUri() {
    return Kelvo.ServiceConfig.webRoot + "/connect/login_success.html"
}

function dialogRoot(appId) {
    return Kelvo.ServiceConfig.webRoot + "/dialog/oauth?client_id=" + appId
            + "&redirect_uri=" + redirectUri()
}

// What the login view loads when it is created.
function dialogUrl() {
    return dialogRoot(Kelvo.ServiceConfig.appId) + "&display=popup&scope=" + permissions
}

// What it loads again on reset().
function resetUrl() {
    return dialogRoot(Kelvo.ServiceConfig.appId) + "&scope=" + pagesAfterCheckins(permissions)
            + "&display=popup"
}

// The dialog for the device's browser, under the second application id.
function browserUrl() {
    var scope = pagesAfterCheckins(permissions).replace("friends_photos,",
                                                        "friends_photos," + relationships + ",")
    return dialogRoot(Kelvo.ServiceConfig.loginHelpAppId) + "&display=wap&scope=" + scope
}
