#include "orders/ui/EmailTab.h"

#include "orders/OrderController.h"
#include "orders/RecentEntries.h"
#include "orders/ui/OrdersDialog.h"
#include "platform/ui/FormRows.h"
#include "platform/ui/RememberPasswordBox.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTextCursor>
#include <QVBoxLayout>

namespace {

QLineEdit* addField(QFormLayout* form, const QString& label) {
    auto* field = new QLineEdit;
    FormRows::addRow(form, label, field);
    return field;
}

} // namespace

EmailTab::EmailTab(OrderController& controller, QWidget* parent)
    : QWidget(parent), m_controller(controller) {
    m_getOrders = new QPushButton(QStringLiteral("Get Orders"));
    m_hostDelete = new QCheckBox(QStringLiteral("Host &Delete"));
    auto* show = new QPushButton(QStringLiteral("Show Orders"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_getOrders);
    buttons->addWidget(m_hostDelete);
    buttons->addWidget(show);

    m_progress = new QProgressBar;
    m_progress->setAccessibleName(QStringLiteral("Order fetch progress"));
    m_progress->setFormat(QStringLiteral("Reading messages: %v of %m"));
    m_progress->hide();
    m_counter = new QLabel;
    m_counter->setAccessibleName(QStringLiteral("Order counter"));
    m_orderLines = new QListWidget;
    m_orderLines->setAccessibleName(QStringLiteral("Order lines"));
    m_log = new QPlainTextEdit;
    m_log->setReadOnly(true);
    m_log->setAccessibleName(QStringLiteral("Order log"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildAccountForm());
    layout->addLayout(buttons);
    layout->addWidget(m_progress);
    layout->addWidget(m_counter);
    layout->addWidget(m_orderLines);
    layout->addWidget(m_log);

    connect(m_getOrders, &QPushButton::clicked, &m_controller, &OrderController::getOrders);
    connect(m_hostDelete, &QCheckBox::toggled, &m_controller, &OrderController::setHostDelete);
    connect(show, &QPushButton::clicked, this, &EmailTab::showOrders);
    connect(&m_controller, &OrderController::changed, this, &EmailTab::refresh);
    connect(&m_controller, &OrderController::fetchProgress, this, &EmailTab::showProgress);
    refresh();
    m_controller.lookUpRememberedPassword();
}

QWidget* EmailTab::buildAccountForm() {
    auto* box = new QWidget;
    auto* form = new QFormLayout(box);
    form->setContentsMargins(0, 0, 0, 0);
    m_popHost = addField(form, QStringLiteral("POP Host:"));
    m_userName = addField(form, QStringLiteral("User Name:"));
    m_rememberPassword = new RememberPasswordBox;
    m_password = m_rememberPassword->addRowBesideField(form, QStringLiteral("Password:"));
    m_email = addField(form, QStringLiteral("E-Mail:"));
    connect(m_popHost, &QLineEdit::textChanged, &m_controller, &OrderController::setPopHost);
    connect(m_userName, &QLineEdit::textChanged, &m_controller, &OrderController::setUserName);
    connect(m_password, &QLineEdit::textChanged, &m_controller, &OrderController::setPassword);
    connect(m_email, &QLineEdit::textChanged, &m_controller, &OrderController::setEmail);
    for (QLineEdit* account : {m_popHost, m_userName})
        connect(account, &QLineEdit::editingFinished, &m_controller,
                &OrderController::lookUpRememberedPassword);
    connect(m_rememberPassword, &QCheckBox::toggled, &m_controller,
            &OrderController::setRememberPassword);
    return box;
}

void EmailTab::refresh() {
    if (m_password->text() != m_controller.password()) {
        const QSignalBlocker block(m_password);
        m_password->setText(m_controller.password());
    }
    m_rememberPassword->showState(m_controller.rememberedPassword());
    m_counter->setText(m_controller.counter());
    showOrderLines();
    showLog();
}

// The list follows the controller's order lines: those it gained are added
// at the end, those it let go taken off the top.
void EmailTab::showOrderLines() {
    const RecentEntries& lines = m_controller.orderLines();
    for (const QString& line : lines.addedAfter(m_linesAdded))
        m_orderLines->addItem(line);
    m_linesAdded = lines.added();
    while (m_orderLines->count() > lines.size())
        delete m_orderLines->takeItem(0);
}

// The editor follows the controller's log the same way, only adding and
// taking off what changed, so a long fetch does not set the whole text
// again for every message. The log keeps CR LF line ends; the editor shows
// LF ones, each one character, as every other character of the text.
void EmailTab::showLog() {
    const RecentEntries& log = m_controller.log();
    QTextCursor end(m_log->document());
    end.movePosition(QTextCursor::End);
    for (QString summary : log.addedAfter(m_logAdded)) {
        summary.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        end.insertText(summary);
        m_logLengths << summary.size();
    }
    m_logAdded = log.added();
    if (log.dropped() != m_logDropped)
        dropFromLog(log);
}

// Takes the summaries the controller let go off the top, under a note of
// how many it let go.
void EmailTab::dropFromLog(const RecentEntries& log) {
    qsizetype letGo = 0;
    while (m_logLengths.size() > log.size())
        letGo += m_logLengths.takeFirst();
    m_logDropped = log.dropped();
    const QString note =
        QStringLiteral("Earlier orders not shown here: %1 (\"Show Orders\" lists them all).\n\n")
            .arg(m_logDropped);
    QTextCursor top(m_log->document());
    top.setPosition(m_noteLength + letGo, QTextCursor::KeepAnchor);
    top.insertText(note);
    m_noteLength = note.size();
}

// The tab stays usable while messages are read; only a second fetch waits.
void EmailTab::showProgress(int done, int total) {
    const bool fetching = total > 0;
    m_progress->setVisible(fetching);
    m_getOrders->setEnabled(!fetching);
    if (fetching) {
        m_progress->setRange(0, total);
        m_progress->setValue(done);
    }
}

void EmailTab::showOrders() {
    OrdersDialog::showFor(m_controller, this);
}
