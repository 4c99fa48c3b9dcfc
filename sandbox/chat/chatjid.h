#pragma once

#include <QString>

// Chat addresses of the sandbox: a person with the numeric id 1234 is
// "-1234@<domain>", and one of their connections "-1234@<domain>/<resource>".
namespace ChatJid {

// True for a numeric user id as the directory knows it (digits only, no sign).
bool isUserId(const QString &userId);

// "-<id>@<domain>".
QString bare(const QString &userId, const QString &domain);

// "-<id>@<domain>/<resource>".
QString full(const QString &userId, const QString &domain, const QString &resource);

// The user id of a bare or full address of this domain, or an empty string
// for anything else (another domain, a local part not of the form "-<digits>").
QString userIdOf(const QString &jid, const QString &domain);

// A resource a client may ask for: not empty, at most 1023 bytes of UTF-8 and
// no control characters or slashes.
bool isAcceptableResource(const QString &resource);

} // namespace ChatJid
