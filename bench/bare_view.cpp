// The baseline of the start-up benchmark: a bare QQuickView showing one
// rectangle. Prints "first frame" when the first frame is on screen, then quits.
#include <QGuiApplication>
#include <QQuickView>
#include <QTimer>
#include <cstdio>

int main(int argc, char *argv[]) {
    QGuiApplication app(argc, argv);
    QQuickView view;
    view.setResizeMode(QQuickView::SizeRootObjectToView);
    view.setColor(Qt::white);
    view.setSource(QUrl(QStringLiteral("qrc:/bare.qml")));
    QObject::connect(&view, &QQuickWindow::frameSwapped, &app, [] {
        std::fprintf(stderr, "first frame\n");
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    });
    view.resize(480, 854);
    view.show();
    return QGuiApplication::exec();
}
