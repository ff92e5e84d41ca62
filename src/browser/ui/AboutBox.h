#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <functional>

class Launcher;
class Prompts;

// The about box: the program's title, version and description, and a
// button that starts the desktop's system-information program. Modeless;
// OK closes it.
class AboutBox : public QDialog {
    Q_OBJECT

public:
    // Finds a program by name and gives its full path, or an empty text
    // when it is not installed. The default looks on PATH.
    using ProgramFinder = std::function<QString(const QString& name)>;

    AboutBox(Launcher& launcher, Prompts& prompts, QWidget* parent = nullptr);
    AboutBox(Launcher& launcher, Prompts& prompts, ProgramFinder findProgram,
             QWidget* parent = nullptr);

    static QString title();
    // "Version " + major.minor.revision of the program's own version.
    static QString versionText();
    static QString description();

    // Starts the first system-information program found; tells the user
    // when there is none or it does not start.
    void startSystemInfo();

private:
    void buildLayout();

    Launcher& m_launcher;
    Prompts& m_prompts;
    ProgramFinder m_findProgram;
};
