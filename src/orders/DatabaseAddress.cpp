#include "orders/DatabaseAddress.h"

#include "orders/OrderSchema.h"

#include <QRegularExpression>
#include <QStringList>
#include <QUrl>
#include <QUrlQuery>

namespace {

constexpr int kPostgresPort = 5432;
constexpr int kConnectTimeoutSeconds = 10;

// Options that would send the login somewhere the address does not name.
const QStringList kRefusedOptions{QStringLiteral("host"),     QStringLiteral("hostaddr"),
                                  QStringLiteral("port"),     QStringLiteral("password"),
                                  QStringLiteral("passfile"), QStringLiteral("service")};
// The client joins the options into one text of "key=value" pairs separated
// by blanks: a blank, a quote or a backslash in a key or value would start
// an option of its own, a ";" or "=" would split the list differently.
const QRegularExpression kUnsafeOptionText(QStringLiteral("[\\s;'\"\\\\=]"));

// "postgresql://" and "postgres://", as PostgreSQL's own programs write
// the address, name Qt's driver for it.
QString driverOf(const QString& scheme) {
    if (scheme == QLatin1String("postgresql") || scheme == QLatin1String("postgres"))
        return OrderSchema::kPostgres;
    return scheme.toUpper();
}

Expected<void> checkOption(const QString& key, const QString& value) {
    if (kRefusedOptions.contains(key.toLower()))
        return Failure{QStringLiteral("The database address cannot set \"%1\": the host, port and "
                                      "password are the address's own.")
                           .arg(key)};
    if (key.contains(kUnsafeOptionText) || value.contains(kUnsafeOptionText))
        return Failure{
            QStringLiteral("The database address option \"%1\" cannot hold blanks, quotes, "
                           "backslashes, \";\" or \"=\".")
                .arg(key)};
    return {};
}

// The encryption a PostgreSQL connection asks for: required unless the
// address says otherwise, with the server's certificate checked when the
// address names the authority to check it against.
Expected<void> checkSslMode(const QString& sslmode) {
    static const QStringList kTaken{QStringLiteral("disable"), QStringLiteral("require"),
                                    QStringLiteral("verify-ca"), QStringLiteral("verify-full")};
    if (sslmode.isEmpty() || kTaken.contains(sslmode))
        return {};
    return Failure{QStringLiteral("The database address asks for sslmode=%1, which may send the "
                                  "password unencrypted without a word. Leave sslmode out (the "
                                  "connection is then encrypted), or write sslmode=disable to "
                                  "send it unencrypted.")
                       .arg(sslmode)};
}

// The first rule the options break fails the whole address.
Expected<void> readOptions(const QUrl& url, DatabaseAddress& address) {
    Expected<void> checked;
    QStringList options;
    QString sslmode;
    bool rootCertificate = false;
    bool timeout = false;
    for (const auto& [key, value] : QUrlQuery(url).queryItems(QUrl::FullyDecoded)) {
        if (checked)
            checked = checkOption(key, value);
        if (key == QLatin1String("sslmode"))
            sslmode = value;
        rootCertificate = rootCertificate || key == QLatin1String("sslrootcert");
        timeout = timeout || key == QLatin1String("connect_timeout");
        options << key + QLatin1Char('=') + value;
    }
    if (address.isPostgres()) {
        if (checked)
            checked = checkSslMode(sslmode);
        if (sslmode.isEmpty())
            options << (rootCertificate ? QStringLiteral("sslmode=verify-full")
                                        : QStringLiteral("sslmode=require"));
        // A server that does not answer is given up on after seconds, not
        // after the minutes the system waits for a connection.
        if (!timeout)
            options << QStringLiteral("connect_timeout=%1").arg(kConnectTimeoutSeconds);
    }
    address.options = options.join(QLatin1Char(';'));
    return checked;
}

Expected<DatabaseAddress> readUrl(const QString& text) {
    const QUrl url(text);
    DatabaseAddress address;
    address.driver = driverOf(url.scheme().toLower());
    address.database = url.path(QUrl::FullyDecoded);
    if (address.database.startsWith(QLatin1Char('/')))
        address.database.remove(0, 1);
    address.user = url.userName(QUrl::FullyDecoded);
    address.password = url.password(QUrl::FullyDecoded);
    address.host = url.host(QUrl::FullyDecoded);
    address.port = url.port(-1);
    if (const Expected<void> checked = readOptions(url, address); !checked)
        return Failure{checked.error()};
    return address;
}

bool isUrl(const QString& text) {
    static const QRegularExpression urlLike(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*://"));
    return urlLike.match(text).hasMatch();
}

} // namespace

Expected<DatabaseAddress> DatabaseAddress::read(const QString& text, const QString& password) {
    DatabaseAddress address;
    if (isUrl(text)) {
        Expected<DatabaseAddress> read = readUrl(text);
        if (!read)
            return read;
        address = *std::move(read);
    } else {
        address.driver = OrderSchema::kSqlite;
        address.database = text;
    }
    if (!password.isEmpty())
        address.password = password;
    return address;
}

QString DatabaseAddress::shown(const QString& text) {
    if (!isUrl(text))
        return text;
    return QUrl(text).toDisplayString(QUrl::RemovePassword);
}

bool DatabaseAddress::isSqlite() const {
    return driver == OrderSchema::kSqlite;
}

bool DatabaseAddress::isPostgres() const {
    return driver == OrderSchema::kPostgres;
}

QString DatabaseAddress::serverName() const {
    return QStringLiteral("%1:%2/%3")
        .arg(host.isEmpty() ? QStringLiteral("localhost") : host)
        .arg(port > 0 ? port : kPostgresPort)
        .arg(database);
}

QString DatabaseAddress::passwordInClearWarning() const {
    if (!isPostgres() ||
        !options.split(QLatin1Char(';')).contains(QStringLiteral("sslmode=disable")))
        return {};
    return QStringLiteral("The connection to the order database %1 is not encrypted "
                          "(sslmode=disable): the user name and password go over it as they are, "
                          "readable on the way.")
        .arg(serverName().section(QLatin1Char('/'), 0, 0));
}
