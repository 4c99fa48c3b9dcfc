#include "logging.h"

Q_LOGGING_CATEGORY(lcCore, "kelvo.core")
Q_LOGGING_CATEGORY(lcHttp, "kelvo.http")
Q_LOGGING_CATEGORY(lcXmpp, "kelvo.xmpp")
Q_LOGGING_CATEGORY(lcUpload, "kelvo.upload")
Q_LOGGING_CATEGORY(lcPhotos, "kelvo.photos")
