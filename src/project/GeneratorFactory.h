#pragma once

#include <QString>
#include <memory>

class BrowserLink;
class GeneratorController;
class OrderController;
class Prompts;

// Builds the store generator the windows use: its controller on the home
// folder, linked to the browser, with the [Startup] settings that have no
// field in the window (another order database, a certificate to trust for
// a mail server with a self-signed one, the largest mail to read).
class GeneratorFactory {
public:
    static std::unique_ptr<GeneratorController> create(const QString& homeFolder, Prompts& prompts,
                                                       BrowserLink* browser);
    // The [Startup] settings for the "E-Mail DB" tab's orders.
    static void useStartupSettings(OrderController& orders);
};
