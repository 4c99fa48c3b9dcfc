#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

class QNetworkAccessManager;
class QProcess;

// What the chat benchmarks share: a kelvo-sandbox process and its control
// endpoints.

// An HTTP request with an empty body; the answer's body once it is in.
QByteArray request(QNetworkAccessManager &network, const QString &method, const QString &url);
// Starts the sandbox on free ports and reads them from what it prints.
bool startSandbox(QProcess &sandbox, const QString &program, const QStringList &extra,
                  quint16 *httpPort, quint16 *xmppPort);
// The value at fraction `p` of sorted values.
double percentile(const QVector<double> &sorted, double p);
