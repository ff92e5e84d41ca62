#include "browser/ui/AboutBox.h"

#include "platform/Launcher.h"
#include "platform/Prompts.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>
#include <QStyle>
#include <QVBoxLayout>
#include <QVersionNumber>
#include <optional>

namespace {

// Desktop programs that show what the machine is made of, in the order
// they are tried, with the arguments that open their overview.
struct SystemInfoProgram {
    QString name;
    QStringList arguments;
};

const QList<SystemInfoProgram>& systemInfoPrograms() {
    static const QList<SystemInfoProgram> programs = {
        {QStringLiteral("hardinfo2"), {}},
        {QStringLiteral("hardinfo"), {}},
        {QStringLiteral("kinfocenter"), {}},
        {QStringLiteral("gnome-control-center"), {QStringLiteral("info-overview")}},
        {QStringLiteral("lshw-gtk"), {}},
        {QStringLiteral("sysinfo"), {}},
    };
    return programs;
}

QString findOnPath(const QString& name) {
    return QStandardPaths::findExecutable(name);
}

// The first installed program of the list, with its full path as name.
std::optional<SystemInfoProgram> installedSystemInfoProgram(const AboutBox::ProgramFinder& find) {
    for (const SystemInfoProgram& program : systemInfoPrograms()) {
        const QString path = find(program.name);
        if (!path.isEmpty())
            return SystemInfoProgram{path, program.arguments};
    }
    return std::nullopt;
}

QLabel* textLabel(const QString& text, const QString& name) {
    auto* label = new QLabel(text);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    return label;
}

QLabel* iconLabel(QStyle* style) {
    QIcon icon = QApplication::windowIcon();
    if (icon.isNull())
        icon = QIcon::fromTheme(QStringLiteral("help-about"));
    if (icon.isNull())
        icon = style->standardIcon(QStyle::SP_MessageBoxInformation);
    auto* label = new QLabel;
    label->setObjectName(QStringLiteral("icon"));
    label->setPixmap(icon.pixmap(48, 48));
    label->setAccessibleName(QStringLiteral("Quillmart icon"));
    label->setAlignment(Qt::AlignTop);
    return label;
}

QString disclaimerText() {
    return QStringLiteral(
        "This program is provided \"as is\", without warranty of any kind, express or "
        "implied. You use it at your own risk: check the shop sites it writes and the "
        "orders it takes in before you rely on them.");
}

} // namespace

AboutBox::AboutBox(Launcher& launcher, Prompts& prompts, QWidget* parent)
    : AboutBox(launcher, prompts, findOnPath, parent) {}

AboutBox::AboutBox(Launcher& launcher, Prompts& prompts, ProgramFinder findProgram, QWidget* parent)
    : QDialog(parent), m_launcher(launcher), m_prompts(prompts),
      m_findProgram(std::move(findProgram)) {
    setModal(false);
    setWindowTitle(QStringLiteral("About ") + title());
    buildLayout();
}

QString AboutBox::title() {
    return QStringLiteral("Quillmart 6.0");
}

QString AboutBox::versionText() {
    const QVersionNumber version =
        QVersionNumber::fromString(QStringLiteral(QUILLMART_VERSION)).normalized();
    return QStringLiteral("Version %1.%2.%3")
        .arg(version.majorVersion())
        .arg(version.minorVersion())
        .arg(version.microVersion());
}

QString AboutBox::description() {
    return QStringLiteral(" Quillmart v.6.0 and full functional Internet Browser on a basis of "
                          "MSIE 4.0 - 5.0 \r\n with additional functionalities");
}

void AboutBox::buildLayout() {
    auto* titleLabel = textLabel(title(), QStringLiteral("title"));
    QFont titleFont = titleLabel->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    titleLabel->setFont(titleFont);

    auto* texts = new QVBoxLayout;
    texts->addWidget(titleLabel);
    texts->addWidget(textLabel(versionText(), QStringLiteral("version")));
    texts->addWidget(textLabel(description(), QStringLiteral("description")));
    texts->addStretch();

    auto* top = new QHBoxLayout;
    top->addWidget(iconLabel(style()));
    top->addLayout(texts, 1);

    auto* ok = new QPushButton(QStringLiteral("OK"));
    ok->setDefault(true);
    auto* systemInfo = new QPushButton(QStringLiteral("&System Info..."));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(systemInfo);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(textLabel(disclaimerText(), QStringLiteral("disclaimer")));
    layout->addLayout(buttons);
    setMinimumWidth(560);

    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(systemInfo, &QPushButton::clicked, this, &AboutBox::startSystemInfo);
}

void AboutBox::startSystemInfo() {
    const auto program = installedSystemInfoProgram(m_findProgram);
    if (program && m_launcher.start(program->name, program->arguments))
        return;
    m_prompts.message(QStringLiteral("System Information Is Unavailable At This Time"));
}
