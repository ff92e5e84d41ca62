// Peak memory of the "E-Mail DB" tab taking in order mails from a local
// dovecot: ordinary orders, then mails of a single item line, an empty line
// and many more lines. The tab is shown on the platform Qt picks
// (QT_QPA_PLATFORM=offscreen needs no display).
//
//   bench_order_window [mails, default 4] [lines after the empty line, default 3000000]

#include "orders/OrderController.h"
#include "orders/OrderMail.h"
#include "orders/ui/EmailTab.h"
#include "platform/Prompts.h"
#include "support/DovecotFixture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>
#include <sys/resource.h>

namespace {

// Says yes to sending the password in clear to the local server, and keeps
// what the fetch says at its end.
class BenchPrompts : public Prompts {
public:
    QString said;
    void message(const QString& text, const QString&) override { said = text; }
    void warning(const QString&, const QString&) override {}
    bool askYesNo(const QString&, const QString&) override { return true; }
    std::optional<QString> input(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    std::optional<QString> openFile(const QString&, const QString&) override {
        return std::nullopt;
    }
    std::optional<QString> saveFile(const QString&, const QString&) override {
        return std::nullopt;
    }
    std::optional<QString> chooseColour(const QString&, const QString&) override {
        return std::nullopt;
    }
};

long peakKibibytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// One order line, an empty line and `lines` lines of "x", made as bytes so
// that making it costs little beside what is measured.
QByteArray longMail(int lines) {
    const QByteArray item = OrderMail::item("L1", "1", "5.00", "5.00").toUtf8() + '\n';
    return OrderMail::of("L1").saved().replace(item,
                                               item + '\n' + QByteArray("x\n").repeated(lines));
}

// Fetches the mailbox into a fresh database through the tab's controller
// and prints the peak memory after it.
void fetch(DovecotFixture& server, const char* label) {
    QTemporaryDir dir;
    BenchPrompts prompts;
    OrderController controller(dir.filePath(QStringLiteral("orders.sqlite")), prompts);
    EmailTab tab(controller);
    tab.show();
    controller.setPopHost(QStringLiteral("pop3://127.0.0.1:%1").arg(server.port()));
    controller.setUserName(server.user());
    controller.setPassword(server.password());
    QElapsedTimer timer;
    timer.start();
    controller.getOrders();
    while (controller.isFetching())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    std::printf("%-24s %8ld KiB peak, %6.1f s\n  %s\n", label, peakKibibytes(),
                timer.elapsed() / 1000.0, qPrintable(prompts.said.replace('\n', "\n  ")));
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int mails = argc > 1 ? std::atoi(argv[1]) : 4;
    const int lines = argc > 2 ? std::atoi(argv[2]) : 3000000;
    const QByteArray mail = longMail(lines);
    DovecotFixture server;
    if (!server.start()) {
        std::fprintf(stderr, "dovecot: %s\n", qPrintable(server.error()));
        return 1;
    }
    for (int i = 1; i <= 2; ++i)
        server.addMessage(OrderMail::of("A1").saved());
    fetch(server, "two orders");
    for (int i = 1; i <= mails; ++i)
        server.addMessage(mail);
    fetch(server, "and the long mails");
    return 0;
}
