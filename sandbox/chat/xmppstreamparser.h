#pragma once

#include <QDomDocument>
#include <QDomElement>
#include <QString>
#include <QXmlStreamReader>

// Splits the bytes of an incoming XMPP stream, as they arrive, into the
// stream header, complete top-level elements (stanzas, SASL and stream
// elements, as DOM elements) and the stream's end. It enforces what a server
// must refuse: malformed XML, XML that XMPP forbids (DTDs, comments,
// processing instructions, entity references), encodings other than UTF-8,
// text between stanzas, a
// header that is not an XMPP client stream, and elements too large or too
// deeply nested. After an error it reports that error for ever.
class XmppStreamParser {
public:
    enum class Event { NeedMoreData, StreamOpened, Element, StreamClosed, Failed };
    // Stream error conditions (RFC 6120, 4.9.3) the failure maps to.
    enum class Failure {
        None,
        NotWellFormed,
        RestrictedXml,
        BadFormat,
        InvalidNamespace,
        PolicyViolation,
        UnsupportedEncoding,
    };

    static constexpr qint64 defaultMaxPendingBytes = 1024 * 1024;
    static constexpr int defaultMaxDepth = 32;

    explicit XmppStreamParser(qint64 maxPendingBytes = defaultMaxPendingBytes,
                              int maxDepth = defaultMaxDepth);

    void addData(const QByteArray &data);
    // The next complete piece of the stream, or NeedMoreData.
    Event next();
    // Starts over for a stream restart: a new header is expected and anything
    // not yet parsed is dropped.
    void restart();

    // Valid after StreamOpened: the header's attributes.
    const QXmlStreamAttributes &streamAttributes() const { return m_streamAttributes; }
    // Valid after Element: the element, with its namespace resolved.
    QDomElement element() const { return m_element; }
    Failure failure() const { return m_failure; }
    QString failureText() const { return m_failureText; }

    // Names of the stream condition elements, e.g. "not-well-formed".
    static QString conditionName(Failure failure);

private:
    Event fail(Failure failure, const QString &text);
    Event handleStartElement();
    Event handleEndElement();
    Event handleCharacters();

    QXmlStreamReader m_reader;
    qint64 m_maxPendingBytes;
    int m_maxDepth;
    // Bytes received since the parser last stood between two top-level
    // elements: what a peer may make us hold on to.
    qint64 m_pendingBytes = 0;
    int m_depth = 0;
    QDomDocument m_document;
    QDomElement m_current;
    QDomElement m_element;
    QXmlStreamAttributes m_streamAttributes;
    Failure m_failure = Failure::None;
    QString m_failureText;
};
