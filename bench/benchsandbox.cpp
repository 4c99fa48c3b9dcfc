#include "benchsandbox.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QRegularExpression>
#include <algorithm>

QByteArray request(QNetworkAccessManager &network, const QString &method, const QString &url) {
    QNetworkRequest req{QUrl(url)};
    QNetworkReply *reply = network.sendCustomRequest(req, method.toLatin1(), QByteArray());
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    loop.exec();
    const QByteArray body = reply->readAll();
    reply->deleteLater();
    return body;
}

bool startSandbox(QProcess &sandbox, const QString &program, const QStringList &extra,
                  quint16 *httpPort, quint16 *xmppPort) {
    sandbox.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    sandbox.start(program, QStringList{"--http-port", "0", "--xmpp-port", "0"} + extra);
    const QRegularExpression http(QStringLiteral("on http://127\\.0\\.0\\.1:(\\d+)"));
    const QRegularExpression xmpp(QStringLiteral("chat on 127\\.0\\.0\\.1:(\\d+)"));
    QString printed;
    while (sandbox.waitForReadyRead(20000)) {
        printed += QString::fromUtf8(sandbox.readAll());
        const auto h = http.match(printed), x = xmpp.match(printed);
        if (h.hasMatch() && x.hasMatch()) {
            *httpPort = quint16(h.captured(1).toUInt());
            *xmppPort = quint16(x.captured(1).toUInt());
            return true;
        }
    }
    return false;
}

double percentile(const QVector<double> &sorted, double p) {
    return sorted.at(std::min(int(sorted.size() * p), int(sorted.size()) - 1));
}
