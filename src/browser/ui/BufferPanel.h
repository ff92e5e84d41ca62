#pragma once

#include "browser/GeneratedPage.h"
#include "buffers/Catalogs.h"
#include "buffers/Mp3Buffer.h"
#include "buffers/PictureBuffer.h"
#include "platform/ui/SystemBeep.h"

#include <QList>
#include <QObject>
#include <QString>
#include <array>

struct DocumentSnapshot;
struct RamLink;
class Beep;
class BrowserController;
class PanelHost;
class Prompts;

// The buffers' part of the browser window: the picture buffer, the MP3
// buffer and the catalogs with their "Reporting" commands, the pictures
// collected from every page a user view loads, and the user views' page
// events (mouse-over and mouse-out in status panel 1, double-click to pick
// a picture).
class BufferPanel : public QObject {
    Q_OBJECT

public:
    BufferPanel(BrowserController& controller, PanelHost& window, Prompts& prompts);
    ~BufferPanel() override;

    // The warning sound of a double-click (tests give a silent one).
    void setBeep(Beep& beep) { m_beep = &beep; }

    // The one way pictures enter the picture buffer.
    void addPicture(const QString& url);
    // The RealAudio links of a "Get/Add all Links" run.
    void addRamLinks(const QList<RamLink>& links);

    const PictureBuffer& pictures() const { return m_pictures; }
    const Mp3Buffer& mp3() const { return m_mp3; }
    const Catalogs& catalogs() const { return m_catalogs; }

    void viewCatalog();
    void viewImageBuf();
    void viewMp3();
    void clearCatalog();
    void clearMp3();
    void clearImageBuf();
    void saveCatalog();
    void saveMp3();
    void saveImageBuf();
    // Status panel 4's click; a report already being shown is not started
    // again.
    void showPictureReport();
    // "Save image buf" is only offered while the user may save it.
    void setSaveImageBufEnabled(bool enabled);

private:
    void connectView(int which);
    void collectPictures(int which, const DocumentSnapshot& document);
    void mouseOver(const QString& href);
    void mouseOut();
    void doubleClick(int which, const QString& address);
    void askForCatalog(bool inView1);
    void placeInGenerator(const QString& address);
    void showPage(const QString& html);

    BrowserController& m_controller;
    PanelHost& m_window;
    Prompts& m_prompts;
    PictureBuffer m_pictures;
    Mp3Buffer m_mp3;
    Catalogs m_catalogs;
    // The page a view command shows; kept until the next one replaces it.
    GeneratedPage m_page;
    bool m_reporting = false;
    bool m_asking = false;
    // Whether links were armed when each user view's page finished loading.
    std::array<bool, 2> m_armedAtLoad{};
    SystemBeep m_systemBeep;
    Beep* m_beep = &m_systemBeep;
};
