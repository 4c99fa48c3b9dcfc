#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcSandbox)

// The sandbox's own client secret (the build settings hold it as text).
const char *kelvoSandboxClientSecret();
