#include "linkopener.h"

#include <QDesktopServices>
#include <QRegularExpression>

#include "logging.h"

QUrl LinkOpener::webUrl(const QString &link) {
    QString text = link.trimmed();
    if (text.isEmpty())
        return {};
    // The service's links may lack a scheme ("www.example.org/page"); one
    // that has another scheme (file:, javascript:, mailto:) stays closed.
    static const QRegularExpression otherScheme(QStringLiteral("^[a-z][a-z0-9+.-]*:(?!\\d)"),
                                                QRegularExpression::CaseInsensitiveOption);
    if (!text.startsWith(QLatin1String("http"), Qt::CaseInsensitive)) {
        if (otherScheme.match(text).hasMatch())
            return {};
        text.prepend(QLatin1String("http://"));
    }
    const QUrl url(text, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() ||
        (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return {};
    return url;
}

void LinkOpener::openLink(const QString &link) {
    const QUrl url = webUrl(link);
    if (url.isEmpty()) {
        qCWarning(lcCore) << "not opening a link that is not a web address";
        return;
    }
    if (!QDesktopServices::openUrl(url))
        qCWarning(lcCore) << "the desktop could not open" << url.host();
}
