#pragma once
// The viewer's main window: the controls, named as the code knows them, and one
// handler per event, each handing the event to the subsystem object that does the
// work (catalogue/, output/, chrome/, layout/).
#include "chrome/captionbuttons.h"
#include "chrome/viewoptions.h"
#include "appinfo.h"
#include "catalogue/datafolder.h"
#include "services.h"

#include <QPointer>
#include <QWidget>
#include <memory>

class QComboBox;
class QFrame;
class QLabel;
class QMenu;
class QStatusBar;
class QTimer;
class QToolBar;
class Announcer;
class CatalogueList;
class CatalogueModel;
class CatalogueView;
class CCtrlFlavors;
class CommandBar;
class CompactMode;
class CoolBar;
class DataCommands;
class FTitle;
class KeyListModel;
class KeyListPane;
class KeyListView;
class KeyOutput;
class ListsLayout;
class SplitterBar;
class StatusPanels;
class WindowDrag;
struct MenuTree;

class FMain : public QWidget {
    Q_OBJECT
public:
    // A viewer whose data box and list.txt lie beside the program (a portable folder).
    FMain(platform::Services services, common::AppInfo app, QWidget *parent = nullptr);
    FMain(platform::Services services, common::AppInfo app, DataFolder data, QWidget *parent = nullptr);
    ~FMain() override;

    // The subsystems, for whatever drives the window other than its controls.
    CatalogueList *catalogue() const { return m_catalogueList.get(); }
    KeyListPane *keyList() const { return m_keyList.get(); }
    KeyOutput *keyOutput() const { return m_keyOutput.get(); }
    DataCommands *dataCommands() const { return m_dataCommands.get(); }
    CompactMode *compactMode() const { return m_compactMode.get(); }
    CaptionButtons *captionButtons() const { return m_captionButtons.get(); }
    CommandBar *menuButtons() const { return m_menuButtons.get(); }
    CommandBar *commandButtons() const { return m_commandButtons.get(); }
    ViewOptions *viewOptions() const { return m_viewOptions.get(); }
    ListsLayout *listsLayout() const { return m_listsLayout.get(); }
    // The start-up title window while it is open.
    FTitle *splash() const;

protected:
    // Message box with the application title as caption. Tests override it.
    virtual void showMessage(const QString &text);
    // Opens a pop-up menu at the pointer and returns once it has closed.
    virtual void showPopup(QMenu *menu);
    // A title window without countdown, owned by this window.
    virtual void showAboutWindow();

    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private slots:
    // catalogue and key list
    void ListView1_ItemClick(int row);
    void ListView1_DblClick();
    void Combo1_Click(int index);
    void mnuFileListOpen_Click();
    void mnuEditDataUpdaate_Click();
    void mnuViewOpenDataFile_Click();
    void mnuViewOpenDataDir_Click();
    // key output
    void ListView2_DblClick();
    void mnuEditSendKey_Click();
    void mnuEditCopy_Click();
    // commands and chrome
    void Toolbar2_ButtonClick(const QString &key);
    void Toolbar3_ButtonClick(CaptionButton button);
    void Toolbar4_ButtonClick(const QString &key);
    void mnuViewSelect_Click(KeyListLook look);
    void mnuViewGrid_Click();
    void mnuFileClose_Click();
    void mnuHelpAbout_Click();
    void Frame2_DblClick();
    void Image1_DblClick();
    void Label1_DblClick();
    void Frame2_MouseDown(int button);
    void Image1_MouseDown(int button);
    void Label1_MouseDown(int button);
    void Timer1_Timer();
    // layout
    void Form_Resize();
    void ArrangeBands();
    void FrameCenterBar_MouseMove(int button, int shift, double x, double y);
    void FrameCenterBar_MouseUp(int button, int shift, double x, double y);

private:
    void Form_Initialize();
    void Form_Load();
    void showSplashFirst();
    void Form_Terminate();
    void buildControls();
    void buildTitleBand();
    void buildSubsystems();
    void buildToolbars();
    void connectEvents();

    platform::Services m_services;
    common::AppInfo m_app;
    DataFolder m_data;

    // controls
    CatalogueModel *m_catalogueModel = nullptr;
    KeyListModel *m_keyListModel = nullptr;
    CatalogueView *ListView1 = nullptr;
    KeyListView *ListView2 = nullptr;
    QComboBox *Combo1 = nullptr;
    QStatusBar *StatusBar1 = nullptr;
    CoolBar *CoolBar1 = nullptr;  // the band strip
    QFrame *Frame2 = nullptr;     // the title band
    QLabel *Image1 = nullptr;
    QLabel *Label1 = nullptr;
    QToolBar *Toolbar2 = nullptr;
    QToolBar *Toolbar3 = nullptr;
    QToolBar *Toolbar4 = nullptr;
    SplitterBar *FrameCenterBar = nullptr;
    QTimer *Timer1 = nullptr;
    QPointer<QWidget> m_splash;
    Announcer *m_announcer = nullptr;
    QPointer<QWidget> m_popupAnchor;  // a menu opened by its access key opens under its button
    std::unique_ptr<MenuTree> m_menus;

    // subsystems
    std::unique_ptr<StatusPanels> m_statusPanels;
    std::unique_ptr<CatalogueList> m_catalogueList;
    std::unique_ptr<KeyListPane> m_keyList;
    std::unique_ptr<CaptionButtons> m_captionButtons;
    WindowDrag *m_windowDrag = nullptr;  // owned as a child object
    std::unique_ptr<CompactMode> m_compactMode;
    std::unique_ptr<KeyOutput> m_keyOutput;
    std::unique_ptr<DataCommands> m_dataCommands;
    std::unique_ptr<ViewOptions> m_viewOptions;
    std::unique_ptr<CommandBar> m_menuButtons;
    std::unique_ptr<CommandBar> m_commandButtons;
    std::unique_ptr<ListsLayout> m_listsLayout;

    // the window-utility object, bound to this window for its whole life
    std::unique_ptr<CCtrlFlavors> m_flavors;
};
