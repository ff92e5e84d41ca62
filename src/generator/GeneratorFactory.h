#pragma once

#include <QString>
#include <memory>

class BrowserLink;
class GeneratorController;
class Prompts;
class StartupSettings;

// Builds the store generator the windows use: its controller on the home
// folder, linked to the browser, with the [Startup] settings that have no
// field in the generator's window (another order database, certificates to
// trust for the mail and publish servers, the largest mail to read). A
// change of the settings reaches the controller at once.
class GeneratorFactory {
public:
    static std::unique_ptr<GeneratorController> create(const QString& homeFolder, Prompts& prompts,
                                                       BrowserLink* browser,
                                                       const StartupSettings& settings);
};
