#pragma once

#include <QString>

// The start pages the program ships (index.htm and welcome.htm), so a new
// installation shows something useful without a network.
class StartPages {
public:
    // The file: URL of the shipped start-page folder, ending in "/": the
    // installed copy beside the executable, else the source tree's copy.
    static QString folderUrl();
    // The default channel-server location.
    static QString defaultLocation();
};
