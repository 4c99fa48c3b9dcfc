// Runs the QML and script tests. Each test file gets an engine of its own
// with a fresh, empty settings database and the service settings of the
// build, so no run sees another's stored values.
#include <QQmlEngine>
#include <QTemporaryDir>
#include <QtQuickTest>
#include <QtWebEngine>
#include <memory>
#include <vector>

#include "serviceconfig.h"

class Setup : public QObject {
    Q_OBJECT

public slots:
    void applicationAvailable() {
        m_config = std::make_unique<ServiceConfig>(ServiceSettings::builtIn());
        ServiceConfig::registerSingleton(m_config.get());
    }

    void qmlEngineAvailable(QQmlEngine *engine) {
        auto storage = std::make_unique<QTemporaryDir>();
        if (!storage->isValid())
            qFatal("cannot create a settings folder for the test: %s",
                   qPrintable(storage->errorString()));
        engine->setOfflineStoragePath(storage->path());
        m_storage.push_back(std::move(storage));
    }

private:
    std::unique_ptr<ServiceConfig> m_config;
    std::vector<std::unique_ptr<QTemporaryDir>> m_storage;
};

int main(int argc, char **argv) {
    // Tests of the main window show the login dialog's web engine, which must
    // be set up before the application; they run on a display (Xvfb), the
    // others on the offscreen platform, which has no OpenGL for it.
    if (qgetenv("QT_QPA_PLATFORM") != "offscreen")
        QtWebEngine::initialize();
    Setup setup;
    return quick_test_main_with_setup(argc, argv, "kelvo", QUICK_TEST_SOURCE_DIR, &setup);
}

#include "qmltests.moc"
