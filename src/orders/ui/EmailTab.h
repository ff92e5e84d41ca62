#pragma once

#include <QList>
#include <QWidget>

class OrderController;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class RecentEntries;
class RememberPasswordBox;

// The "E-Mail DB" tab: the mailbox account, "Get Orders" with its
// progress, the order lines, the order log and the order counter, and
// "Show Orders". It shows the OrderController's state and forwards the
// user's actions to it.
class EmailTab : public QWidget {
    Q_OBJECT

public:
    explicit EmailTab(OrderController& controller, QWidget* parent = nullptr);

private:
    QWidget* buildAccountForm();
    void refresh();
    void showOrderLines();
    void showLog();
    void dropFromLog(const RecentEntries& log);
    void showProgress(int done, int total);
    void showOrders();

    OrderController& m_controller;
    QLineEdit* m_popHost = nullptr;
    QLineEdit* m_userName = nullptr;
    QLineEdit* m_password = nullptr;
    RememberPasswordBox* m_rememberPassword = nullptr;
    QLineEdit* m_email = nullptr;
    QCheckBox* m_hostDelete = nullptr;
    QPushButton* m_getOrders = nullptr;
    QProgressBar* m_progress = nullptr;
    QLabel* m_counter = nullptr;
    QListWidget* m_orderLines = nullptr;
    QPlainTextEdit* m_log = nullptr;
    qint64 m_linesAdded = 0;       // the controller's order lines the list has had
    qint64 m_logAdded = 0;         // the controller's order summaries the editor has had
    qint64 m_logDropped = 0;       // how many of them the controller has let go
    QList<qsizetype> m_logLengths; // the length of each summary the editor shows, oldest first
    qsizetype m_noteLength = 0;    // the note above them of how many were let go
};
