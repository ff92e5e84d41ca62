#include "keyring/PasswordKeyring.h"

#include "platform/Logging.h"

#include <QEventLoop>
#include <QTimer>
#include <memory>
#include <qt6keychain/keychain.h>

namespace {

QString kindName(PasswordKeyring::Kind kind) {
    switch (kind) {
    case PasswordKeyring::Kind::Publishing:
        return QStringLiteral("publishing");
    case PasswordKeyring::Kind::Mail:
        return QStringLiteral("mail");
    case PasswordKeyring::Kind::Database:
        return QStringLiteral("database");
    }
    return {};
}

// The keyring's service name; the user name is the entry's key.
QString serviceFor(PasswordKeyring::Kind kind, const QString& server) {
    return QStringLiteral("quillmart/%1/%2").arg(kindName(kind), server.trimmed());
}

QString keyringFailure(const QString& detail) {
    return QStringLiteral("The desktop keyring (secret service) cannot be used: %1").arg(detail);
}

// Starts the job and waits until it finishes or the time-out passes. A job
// that has not finished by then deletes itself whenever it does, so no
// answer arriving late can reach a job that is gone.
template <typename Job>
Expected<std::unique_ptr<Job>> finished(std::unique_ptr<Job> job, int timeoutMs) {
    job->setAutoDelete(false);
    QEventLoop loop;
    bool done = false;
    QObject::connect(job.get(), &QKeychain::Job::finished, &loop, [&done, &loop] {
        done = true;
        loop.quit();
    });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    job->start();
    if (!done)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (!done) {
        job.release()->setAutoDelete(true);
        return Expected<std::unique_ptr<Job>>::failure(keyringFailure(
            QStringLiteral("it did not answer within %1 seconds").arg(timeoutMs / 1000)));
    }
    return job;
}

template <typename Job>
std::unique_ptr<Job> jobFor(PasswordKeyring::Kind kind, const QString& server,
                            const QString& user) {
    auto job = std::make_unique<Job>(serviceFor(kind, server));
    job->setKey(user);
    return job;
}

} // namespace

Expected<QString> PasswordKeyring::read(Kind kind, const QString& server,
                                        const QString& user) const {
    const auto job = finished(jobFor<QKeychain::ReadPasswordJob>(kind, server, user), m_timeoutMs);
    if (!job)
        return Expected<QString>::failure(job.error());
    const QKeychain::Error error = (*job)->error();
    qCDebug(lcKeyring) << "read" << kindName(kind) << server << user << "error" << error;
    if (error == QKeychain::EntryNotFound)
        return QString();
    if (error != QKeychain::NoError)
        return Expected<QString>::failure(keyringFailure((*job)->errorString()));
    return (*job)->textData();
}

Expected<void> PasswordKeyring::write(Kind kind, const QString& server, const QString& user,
                                      const QString& password) const {
    if (password.isEmpty())
        return forget(kind, server, user);
    auto writer = jobFor<QKeychain::WritePasswordJob>(kind, server, user);
    writer->setTextData(password);
    const auto job = finished(std::move(writer), m_timeoutMs);
    if (!job)
        return Expected<void>::failure(job.error());
    qCDebug(lcKeyring) << "write" << kindName(kind) << server << user << "error" << (*job)->error();
    if ((*job)->error() != QKeychain::NoError)
        return Expected<void>::failure(keyringFailure((*job)->errorString()));
    return {};
}

Expected<void> PasswordKeyring::forget(Kind kind, const QString& server,
                                       const QString& user) const {
    const auto job =
        finished(jobFor<QKeychain::DeletePasswordJob>(kind, server, user), m_timeoutMs);
    if (!job)
        return Expected<void>::failure(job.error());
    const QKeychain::Error error = (*job)->error();
    qCDebug(lcKeyring) << "forget" << kindName(kind) << server << user << "error" << error;
    if (error != QKeychain::NoError && error != QKeychain::EntryNotFound)
        return Expected<void>::failure(keyringFailure((*job)->errorString()));
    return {};
}
