#pragma once

#include <QString>

// The start pages the program ships (index.htm and welcome.htm), so a new
// installation shows something useful without a network.
class StartPages {
public:
    // The file: URL of the shipped start-page folder, ending in "/".
    static QString folderUrl();
    // The default channel-server location.
    static QString defaultLocation();
    // An address as the settings keep it: one inside the shipped folder is
    // kept relative to that folder ("./..."), so a moved or reinstalled
    // program still finds it; any other address is kept as it is.
    static QString keptForm(const QString& address);
    // A kept address back as a full one.
    static QString fromKept(const QString& kept);
};
