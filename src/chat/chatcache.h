#pragma once

#include <QJsonArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QVector>

class ChatData;

// The last conversations of each chat account, kept on disk so that the next
// start shows them before the chat server answers. An account is the bare JID
// the server confirmed; an index maps a fingerprint of each token (never the
// token) to the account last confirmed for it, so a token shows only its own
// account's conversations, and a token never confirmed shows none. Files are
// written at once or not at all, readable by the user only; a damaged one
// reads as none. Messages still pending are kept too and, once the server
// confirms the account again, handed back to the chat client to be sent.
class ChatCache : public QObject {
    Q_OBJECT

public:
    static constexpr int saveDelayMs = 300;
    // How many tokens the index remembers.
    static constexpr int rememberedTokens = 8;

    ChatCache(const QString &folder, ChatData *model, QObject *parent = nullptr);
    // Saves what changed since the last save.
    ~ChatCache() override;

    // The account whose conversations the model holds, "" for none.
    QString account() const { return m_account; }
    QString accountFile(const QString &account) const;

public slots:
    // A session is asked for with `token`: the conversations of the account
    // last confirmed for it appear in the model.
    void restore(const QString &token);
    // The server confirmed the session as `jid`. Conversations shown for
    // another account go; the confirmed account's are restored if none were,
    // and its pending messages are handed to the chat client.
    void confirm(const QString &jid);
    // The token was exchanged for another of the same sign-in.
    void rekey(const QString &oldToken, const QString &newToken);
    // The chat is closed (turned off, quit): what the model holds is saved
    // and stays on disk; the model is about to be cleared.
    void close();
    // Signed out or the token died: the kept conversations of `token`'s
    // account (and of the account shown) are deleted and the model cleared.
    void forget(const QString &token);
    void save();
    // Saves a little later: a burst of changes is written once.
    void scheduleSave();

signals:
    // A restored message still pending, oldest first.
    void pendingRestored(QString to, QString text, QString id);

private:
    struct Pending {
        QString to;
        QString text;
        QString id;
    };
    QString indexFile() const;
    // The index: per token fingerprint, newest first, the account confirmed.
    QJsonArray readIndex() const;
    void writeIndex(const QJsonArray &tokens, const QJsonArray &old) const;
    QString accountFor(const QString &tokenFingerprint) const;
    void remember(const QStringList &tokenFingerprints, const QString &account);
    void load(const QString &account);
    void detach();

    QString m_folder;
    QPointer<ChatData> m_model;
    QString m_account;
    // The fingerprints of the token asked with and of its exchanged ones.
    QStringList m_tokens;
    QVector<Pending> m_pending;
    QTimer m_saveTimer;
};
