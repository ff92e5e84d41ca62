#pragma once

#include "platform/Expected.h"

#include <QString>
#include <curl/curl.h>

// Lets a libcurl transfer trust one more certificate (a PEM file, such as a
// merchant's own self-signed server certificate) besides the system's
// certificate authorities. A failure says why the file was not used.
Expected<void> trustExtraCertificate(CURL* curl, const QString& pemPath);
