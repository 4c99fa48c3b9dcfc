#include "chatlogging.h"

Q_LOGGING_CATEGORY(lcSandboxChat, "kelvo.sandbox.chat")
