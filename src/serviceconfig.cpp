#include "serviceconfig.h"

#include <QQmlEngine>
#include <utility>

#include "kelvo_build_config.h"

ServiceSettings ServiceSettings::builtIn() {
    namespace b = kelvo::build;
    ServiceSettings s;
    s.graphRoot = QString::fromUtf8(b::graphRoot);
    s.restRoot = QString::fromUtf8(b::restRoot);
    s.webRoot = QString::fromUtf8(b::webRoot);
    s.chatDomain = QString::fromUtf8(b::chatDomain);
    s.chatHost = QString::fromUtf8(b::chatHost);
    s.chatPort = b::chatPort;
    s.appId = QString::fromUtf8(b::appId);
    s.clientSecret = QString::fromUtf8(b::clientSecret);
    s.loginHelpAppId = QString::fromUtf8(b::loginHelpAppId);
    s.rilRoot = QString::fromUtf8(b::rilRoot);
    s.rilKey = QString::fromUtf8(b::rilKey);
    s.mapPlugin = QString::fromUtf8(b::mapPlugin);
    s.privacyUrl = QString::fromUtf8(b::privacyUrl);
    s.mobileRoot = QString::fromUtf8(b::mobileRoot);
    s.productPageId = QString::fromUtf8(b::productPageId);
    s.productPageName = QString::fromUtf8(b::productPageName);
    return s;
}

ServiceConfig::ServiceConfig(ServiceSettings settings, QObject *parent)
    : QObject(parent)
    , m_settings(std::move(settings)) {}

namespace {

ServiceSettings &processSettings() {
    static ServiceSettings settings;
    return settings;
}

} // namespace

void ServiceConfig::registerSingleton(const ServiceSettings &settings) {
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    processSettings() = settings;
    qmlRegisterSingletonType<ServiceConfig>("Kelvo", 1, 0, "ServiceConfig",
                                            [](QQmlEngine *, QJSEngine *) -> QObject * {
                                                return new ServiceConfig(processSettings());
                                            });
}
