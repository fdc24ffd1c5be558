#include "fmain.h"

#include "catalogue/cataloguelist.h"
#include "catalogue/catalogueview.h"
#include "catalogue/datacommands.h"
#include "catalogue/keylistpane.h"
#include "catalogue/statuspanels.h"
#include "chrome/commandbar.h"
#include "chrome/compactmode.h"
#include "chrome/ftitle.h"
#include "chrome/menutree.h"
#include "chrome/windowdrag.h"
#include "layout/listslayout.h"
#include "output/keyoutput.h"
#include "util/ctrlflavors.h"

#include <QCloseEvent>
#include <QCursor>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>

FMain::FMain(platform::Services services, common::AppInfo app, QWidget *parent)
    : FMain(services, app, DataFolder::portable(app.programFolder), parent)
{}

FMain::FMain(platform::Services services, common::AppInfo app, DataFolder data, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_services(services),
      m_app(std::move(app)),
      m_data(std::move(data))
{
    setObjectName(QStringLiteral("FMain"));
    setWindowTitle(QString());  // the caption stays empty except in compact mode
    setAccessibleName(m_app.title);
    Form_Initialize();
    showSplashFirst();
    buildControls();
    buildSubsystems();
    connectEvents();
    Form_Load();
}

FMain::~FMain() { Form_Terminate(); }

void FMain::Form_Initialize()
{
    m_flavors = std::make_unique<CCtrlFlavors>(m_services.desktopMetrics);
    m_flavors->setFormName(this);
}

// The splash is the first thing on screen: it is shown (showing a window sends
// its map request at once) before the controls are built and the catalogue is
// read. No events are handled here: the window under construction gets none.
void FMain::showSplashFirst() { m_splash = FTitle::showSplash(this, m_app); }

void FMain::Form_Load()
{
    // 1. the splash, owned by this window, is already up (showSplashFirst)
    // 2. version text into the title band
    Label1->setText(common::VersionText(m_app));
    // 3. the window's icon beside it
    Image1->setPixmap(windowIcon().pixmap(32, 32));
    Label1->adjustSize();  // the title label sizes itself to its text
    // 4. details view of the key list
    m_viewOptions->select(KeyListLook::Details);
    // 5. build the catalogue
    m_catalogueList->LoadCatalogue();
    // 6. status bar without a key count
    m_catalogueList->UpdateStatusBar(0);
    // 7.-9. start size, splitter at a third of the width, laid out and topmost
    m_listsLayout->setStartSize();
    // 10. bottom-right corner of the desktop
    m_flavors->Form2DPosition(CCtrlFlavors::BottomRight);
    // The keyboard starts in the catalogue, so that arrows and Enter open a list.
    ListView1->setFocus(Qt::OtherFocusReason);
}

void FMain::Form_Terminate()
{
    // The utility object lets go of the window before it is released.
    if (IRForm *form = m_flavors.get()) {
        form->setFormName(nullptr);
        form->setCtrlName(nullptr);
    }
    m_flavors.reset();
}

FTitle *FMain::splash() const { return qobject_cast<FTitle *>(m_splash.data()); }

void FMain::showMessage(const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, m_app.title, text, QMessageBox::Ok, this);
    box.exec();
}

void FMain::showPopup(QMenu *menu)
{
    // No position given: the menu opens at the pointer (or under its button, when its
    // access key opened it); returns once it has closed.
    menu->exec(m_popupAnchor ? m_popupAnchor->mapToGlobal(QPoint(0, m_popupAnchor->height())) : QCursor::pos());
}

void FMain::showAboutWindow() { FTitle::showAbout(this, m_app); }

void FMain::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void FMain::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        Form_Resize();
}

void FMain::closeEvent(QCloseEvent *event)
{
    // Closing the main window ends the program; nothing is saved.
    event->accept();
}

// ---- the handlers: each hands its event to the object that does the work

void FMain::ListView1_ItemClick(int row) { m_catalogueList->clickRow(row); }
void FMain::ListView1_DblClick() { m_keyList->openCurrentList(); }
void FMain::Combo1_Click(int index) { m_keyList->chooseHeading(index); }
void FMain::mnuFileListOpen_Click() { m_catalogueList->LoadCatalogue(); }
void FMain::mnuEditDataUpdaate_Click() { m_dataCommands->updateCurrentList(); }
void FMain::mnuViewOpenDataFile_Click() { m_dataCommands->openCurrentDataFile(); }
void FMain::mnuViewOpenDataDir_Click() { m_dataCommands->openDataBox(); }

void FMain::ListView2_DblClick() { m_keyOutput->sendCurrentKey(); }
void FMain::mnuEditSendKey_Click() { m_keyOutput->sendCurrentKey(); }
void FMain::mnuEditCopy_Click() { m_keyOutput->copyCurrentKey(); }

void FMain::Toolbar2_ButtonClick(const QString &key) { m_menuButtons->press(key); }
void FMain::Toolbar3_ButtonClick(CaptionButton button) { m_captionButtons->press(button); }
void FMain::Toolbar4_ButtonClick(const QString &key) { m_commandButtons->press(key); }
void FMain::mnuViewSelect_Click(KeyListLook look) { m_viewOptions->select(look); }
void FMain::mnuViewGrid_Click() { m_viewOptions->toggleGrid(); }
void FMain::mnuFileClose_Click() { close(); }

void FMain::mnuHelpAbout_Click()
{
    m_keyList->openListNamed(QStringLiteral("このソフトウェアについて"));
    showAboutWindow();
}

void FMain::Frame2_DblClick() { m_captionButtons->toggleMaximized(); }
void FMain::Image1_DblClick() { m_captionButtons->toggleMaximized(); }
void FMain::Label1_DblClick() { m_captionButtons->toggleMaximized(); }
void FMain::Frame2_MouseDown(int button) { m_windowDrag->press(button); }
void FMain::Image1_MouseDown(int button) { m_windowDrag->press(button); }
void FMain::Label1_MouseDown(int button) { m_windowDrag->press(button); }
void FMain::Timer1_Timer() { m_compactMode->tick(); }

void FMain::Form_Resize()
{
    if (m_listsLayout)  // not while the controls are being built
        m_listsLayout->resize();
}

void FMain::ArrangeBands()
{
    if (m_listsLayout)
        m_listsLayout->arrangeBands();
}

void FMain::FrameCenterBar_MouseMove(int button, int, double x, double) { m_listsLayout->barMouseMove(button, x); }

void FMain::FrameCenterBar_MouseUp(int button, int, double, double) { m_listsLayout->barMouseUp(button); }
