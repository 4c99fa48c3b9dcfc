#include "sandboxlogging.h"

#include "kelvo_build_config.h"

Q_LOGGING_CATEGORY(lcSandbox, "kelvo.sandbox")

const char *kelvoSandboxClientSecret() {
    return kelvo::build::sandboxClientSecret;
}
