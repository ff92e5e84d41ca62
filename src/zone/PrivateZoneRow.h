#pragma once

#include <QString>

// A row of the private-zone table (the channel server's "pass.txt"): the
// password that opens it and the lists and start page it brings.
struct PrivateZoneRow {
    QString password;
    QString searchListUrl;
    QString channelListUrl;
    QString startPageUrl;
};
