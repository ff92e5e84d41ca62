#include "app/KeyringPassword.h"

std::optional<QString> keyringPassword(PasswordKeyring::Kind kind, const QString& server,
                                       const QString& user, const QString& command,
                                       QTextStream& err) {
    if (server.isEmpty() || user.isEmpty())
        return std::nullopt;
    const auto remembered = PasswordKeyring().read(kind, server, user);
    if (!remembered)
        err << "quillmart " << command << ": no remembered password: " << remembered.error()
            << Qt::endl;
    if (!remembered || remembered->isEmpty())
        return std::nullopt;
    return *remembered;
}
