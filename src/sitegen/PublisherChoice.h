#pragma once

#include "sitegen/Publisher.h"

#include <memory>

// The back end the "Server name:" text asks for: a folder of this machine
// (a path or a "file:" URL) or a WebDAV server (host[:port][/path] over
// http, or an address starting with "https://").
class PublisherChoice {
public:
    static std::unique_ptr<Publisher> forServer(const QString& server);
};
