#pragma once

#include <QObject>
#include <QString>

// The service settings chosen when the application was built: the hosts,
// application id and secret, chat server and the other deployment values.
struct ServiceSettings {
    QString graphRoot;
    QString restRoot;
    QString webRoot;
    QString chatDomain;
    QString chatHost; // empty: SRV look-up of chatDomain
    int chatPort = 0; // 0: the XMPP library's default
    QString appId;
    QString clientSecret;
    QString loginHelpAppId;
    QString rilRoot;
    QString rilKey;
    QString mapPlugin;
    QString privacyUrl;
    QString mobileRoot;
    QString productPageId;
    QString productPageName;

    static ServiceSettings builtIn();
};

// Read-only view of the service settings for the scene, published as the
// singleton ServiceConfig of the module "Kelvo" 1.0.
class ServiceConfig : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString graphRoot READ graphRoot CONSTANT)
    Q_PROPERTY(QString restRoot READ restRoot CONSTANT)
    Q_PROPERTY(QString webRoot READ webRoot CONSTANT)
    Q_PROPERTY(QString chatDomain READ chatDomain CONSTANT)
    Q_PROPERTY(QString chatHost READ chatHost CONSTANT)
    Q_PROPERTY(int chatPort READ chatPort CONSTANT)
    Q_PROPERTY(QString appId READ appId CONSTANT)
    Q_PROPERTY(QString clientSecret READ clientSecret CONSTANT)
    Q_PROPERTY(QString loginHelpAppId READ loginHelpAppId CONSTANT)
    Q_PROPERTY(QString rilRoot READ rilRoot CONSTANT)
    Q_PROPERTY(QString rilKey READ rilKey CONSTANT)
    Q_PROPERTY(QString mapPlugin READ mapPlugin CONSTANT)
    Q_PROPERTY(QString privacyUrl READ privacyUrl CONSTANT)
    Q_PROPERTY(QString mobileRoot READ mobileRoot CONSTANT)
    Q_PROPERTY(QString productPageId READ productPageId CONSTANT)
    Q_PROPERTY(QString productPageName READ productPageName CONSTANT)

public:
    explicit ServiceConfig(ServiceSettings settings, QObject *parent = nullptr);

    const ServiceSettings &settings() const { return m_settings; }

    QString graphRoot() const { return m_settings.graphRoot; }
    QString restRoot() const { return m_settings.restRoot; }
    QString webRoot() const { return m_settings.webRoot; }
    QString chatDomain() const { return m_settings.chatDomain; }
    QString chatHost() const { return m_settings.chatHost; }
    int chatPort() const { return m_settings.chatPort; }
    QString appId() const { return m_settings.appId; }
    QString clientSecret() const { return m_settings.clientSecret; }
    QString loginHelpAppId() const { return m_settings.loginHelpAppId; }
    QString rilRoot() const { return m_settings.rilRoot; }
    QString rilKey() const { return m_settings.rilKey; }
    QString mapPlugin() const { return m_settings.mapPlugin; }
    QString privacyUrl() const { return m_settings.privacyUrl; }
    QString mobileRoot() const { return m_settings.mobileRoot; }
    QString productPageId() const { return m_settings.productPageId; }
    QString productPageName() const { return m_settings.productPageName; }

    // Makes `settings` the process's service settings and registers the
    // ServiceConfig singleton type: every engine gets an instance of its own,
    // which it owns and deletes with itself, so no engine ever reads one that
    // another engine's end destroyed. The first call wins; later ones (a
    // second window in the same process) keep the settings already chosen.
    static void registerSingleton(const ServiceSettings &settings);

private:
    const ServiceSettings m_settings;
};
