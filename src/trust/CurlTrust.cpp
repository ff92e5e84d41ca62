#include "trust/CurlTrust.h"

#include <QByteArray>
#include <QFile>

// Both the system's authorities and the extra certificate go to libcurl as
// one list: naming only the extra file would stop trusting everyone else.
Expected<void> trustExtraCertificate(CURL* curl, const QString& pemPath) {
    QFile extra(pemPath);
    if (!extra.open(QIODevice::ReadOnly))
        return Failure{QStringLiteral("The certificate file %1 could not be read.").arg(pemPath)};
    QByteArray pem;
    char* systemBundle = nullptr;
    if (curl_easy_getinfo(curl, CURLINFO_CAINFO, &systemBundle) == CURLE_OK && systemBundle) {
        QFile system(QString::fromLocal8Bit(systemBundle));
        if (system.open(QIODevice::ReadOnly))
            pem = system.readAll() + '\n';
    }
    pem += extra.readAll();
    curl_blob blob{pem.data(), size_t(pem.size()), CURL_BLOB_COPY};
    curl_easy_setopt(curl, CURLOPT_CAINFO_BLOB, &blob);
    return {};
}
