#include "sitegen/PublisherChoice.h"

#include "sitegen/FolderPublisher.h"
#include "sitegen/WebDavPublisher.h"

std::unique_ptr<Publisher> PublisherChoice::forServer(const QString& server) {
    if (FolderPublisher::namesFolder(server))
        return std::make_unique<FolderPublisher>();
    return std::make_unique<WebDavPublisher>();
}
