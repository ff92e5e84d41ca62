#pragma once

#include <QString>
#include <curl/curl.h>

// Lets a libcurl transfer trust one more certificate (a PEM file, such as a
// merchant's own self-signed server certificate) besides the system's
// certificate authorities. Empty on success, else why the file was not used.
QString trustExtraCertificate(CURL* curl, const QString& pemPath);
