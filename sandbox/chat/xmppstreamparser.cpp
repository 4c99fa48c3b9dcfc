#include "xmppstreamparser.h"

#include <algorithm>

namespace {
const QString streamNamespace = QStringLiteral("http://etherx.jabber.org/streams");
const QString clientNamespace = QStringLiteral("jabber:client");
} // namespace

XmppStreamParser::XmppStreamParser(qint64 maxPendingBytes, int maxDepth)
    : m_maxPendingBytes(maxPendingBytes)
    , m_maxDepth(maxDepth) {}

void XmppStreamParser::addData(const QByteArray &data) {
    if (m_failure != Failure::None)
        return;
    m_pendingBytes += data.size();
    m_reader.addData(data);
}

void XmppStreamParser::restart() {
    m_reader.clear();
    m_pendingBytes = 0;
    m_depth = 0;
    m_document = QDomDocument();
    m_current = QDomElement();
    m_element = QDomElement();
    m_streamAttributes.clear();
}

XmppStreamParser::Event XmppStreamParser::next() {
    while (m_failure == Failure::None) {
        switch (m_reader.readNext()) {
        case QXmlStreamReader::Invalid:
            if (m_reader.error() != QXmlStreamReader::PrematureEndOfDocumentError)
                return fail(Failure::NotWellFormed, m_reader.errorString());
            if (m_pendingBytes > m_maxPendingBytes)
                return fail(Failure::PolicyViolation, QStringLiteral("element too large"));
            return Event::NeedMoreData;
        case QXmlStreamReader::StartDocument:
            // XMPP streams are UTF-8 only.
            if (!m_reader.documentEncoding().isEmpty() &&
                m_reader.documentEncoding().compare(QLatin1String("UTF-8"), Qt::CaseInsensitive) !=
                    0)
                return fail(Failure::UnsupportedEncoding, QStringLiteral("not UTF-8"));
            break;
        case QXmlStreamReader::NoToken:
            break;
        case QXmlStreamReader::EndDocument:
            return Event::StreamClosed;
        case QXmlStreamReader::StartElement:
            if (const Event event = handleStartElement(); event != Event::NeedMoreData)
                return event;
            break;
        case QXmlStreamReader::EndElement:
            if (const Event event = handleEndElement(); event != Event::NeedMoreData)
                return event;
            break;
        case QXmlStreamReader::Characters:
            if (const Event event = handleCharacters(); event != Event::NeedMoreData)
                return event;
            break;
        case QXmlStreamReader::Comment:
        case QXmlStreamReader::DTD:
        case QXmlStreamReader::EntityReference:
        case QXmlStreamReader::ProcessingInstruction:
            return fail(Failure::RestrictedXml, QStringLiteral("restricted XML"));
        }
        if (m_pendingBytes > m_maxPendingBytes)
            return fail(Failure::PolicyViolation, QStringLiteral("element too large"));
    }
    return Event::Failed;
}

XmppStreamParser::Event XmppStreamParser::handleStartElement() {
    if (m_depth == 0) {
        if (m_reader.namespaceUri() != streamNamespace ||
            m_reader.name() != QLatin1String("stream"))
            return fail(Failure::InvalidNamespace, QStringLiteral("not an XMPP stream"));
        if (m_reader.namespaceDeclarations().isEmpty() ||
            std::none_of(m_reader.namespaceDeclarations().cbegin(),
                         m_reader.namespaceDeclarations().cend(), [](const auto &declaration) {
                             return declaration.prefix().isEmpty() &&
                                    declaration.namespaceUri() == clientNamespace;
                         }))
            return fail(Failure::InvalidNamespace, QStringLiteral("not a client stream"));
        m_streamAttributes = m_reader.attributes();
        m_depth = 1;
        m_pendingBytes = 0;
        return Event::StreamOpened;
    }
    if (m_depth >= m_maxDepth)
        return fail(Failure::PolicyViolation, QStringLiteral("elements nested too deeply"));

    if (m_depth == 1) {
        m_element = QDomElement();
        m_document = QDomDocument();
    }
    QDomElement element = m_document.createElementNS(m_reader.namespaceUri().toString(),
                                                     m_reader.qualifiedName().toString());
    const QXmlStreamAttributes attributes = m_reader.attributes();
    for (const QXmlStreamAttribute &attribute : attributes) {
        if (attribute.namespaceUri().isEmpty())
            element.setAttribute(attribute.qualifiedName().toString(),
                                 attribute.value().toString());
        else
            element.setAttributeNS(attribute.namespaceUri().toString(),
                                   attribute.qualifiedName().toString(),
                                   attribute.value().toString());
    }
    if (m_depth == 1)
        m_document.appendChild(element);
    else
        m_current.appendChild(element);
    m_current = element;
    ++m_depth;
    return Event::NeedMoreData;
}

XmppStreamParser::Event XmppStreamParser::handleEndElement() {
    --m_depth;
    if (m_depth == 0)
        return Event::StreamClosed;
    if (m_depth > 1) {
        m_current = m_current.parentNode().toElement();
        return Event::NeedMoreData;
    }
    m_element = m_current;
    m_current = QDomElement();
    m_pendingBytes = 0;
    return Event::Element;
}

XmppStreamParser::Event XmppStreamParser::handleCharacters() {
    if (m_depth >= 2) {
        m_current.appendChild(m_document.createTextNode(m_reader.text().toString()));
        return Event::NeedMoreData;
    }
    if (!m_reader.isWhitespace())
        return fail(Failure::BadFormat, QStringLiteral("text between stanzas"));
    // Whitespace between stanzas is the usual keep-alive; it holds nothing.
    m_pendingBytes = 0;
    return Event::NeedMoreData;
}

XmppStreamParser::Event XmppStreamParser::fail(Failure failure, const QString &text) {
    m_failure = failure;
    m_failureText = text;
    m_reader.clear();
    m_document = QDomDocument();
    m_current = QDomElement();
    m_element = QDomElement();
    return Event::Failed;
}

QString XmppStreamParser::conditionName(Failure failure) {
    switch (failure) {
    case Failure::None:
        return {};
    case Failure::NotWellFormed:
        return QStringLiteral("not-well-formed");
    case Failure::RestrictedXml:
        return QStringLiteral("restricted-xml");
    case Failure::BadFormat:
        return QStringLiteral("bad-format");
    case Failure::InvalidNamespace:
        return QStringLiteral("invalid-namespace");
    case Failure::PolicyViolation:
        return QStringLiteral("policy-violation");
    case Failure::UnsupportedEncoding:
        return QStringLiteral("unsupported-encoding");
    }
    return QStringLiteral("undefined-condition");
}
