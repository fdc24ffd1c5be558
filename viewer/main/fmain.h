#pragma once
// The viewer's main window. Its handlers are grouped by subsystem, each group
// defined in the folder of its subsystem (catalogue/, output/, chrome/, layout/).
#include "catalogue/catalogueview.h"
#include "platform/appinfo.h"
#include "platform/services.h"

#include <QDateTime>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

class QComboBox;
class QFrame;
class QLabel;
class QMenu;
class QAction;
class QActionGroup;
class QStatusBar;
class QTableView;
class QTimer;
class QToolBar;
class CatalogueModel;
class KeyListModel;
class KeyListView;
class CCtrlFlavors;
class IRForm;
class CoolBar;
class FTitle;
class TitleBandFilter;

class FMain : public QWidget {
    Q_OBJECT
public:
    // The clock lets tests set the date and time the idle clock reads.
    using Clock = std::function<QDateTime()>;

    FMain(platform::Services services, platform::AppInfo app, QWidget *parent = nullptr);
    ~FMain() override;

    static QString VersionText(const platform::AppInfo &app);

    // ---- start-up and shutdown (main/)
    void Form_Initialize();
    void Form_Load();
    void Form_Terminate();

    // ---- catalogue and key list (catalogue/)
    void LoadCatalogue();
    int AddListRow(const QString &name, const QString &description, const QString &lastUpdate,
                   const QString &location, const QString &address, quint32 colour);
    void UpdateStatusBar(int keyCount);
    void ListView1_ItemClick(int row);
    void ListView1_DblClick();
    void LoadKeys(const QString &path);
    int AddKeyRow(const QString &text, bool bold);
    void Combo1_Click(const QString &text);
    void mnuFileListOpen_Click();
    void mnuEditDataUpdaate_Click();
    void mnuViewOpenDataFile_Click();
    void mnuViewOpenDataDir_Click();

    // ---- key output (output/)
    void ListView2_DblClick();
    void mnuEditSendKey_Click();
    void mnuEditCopy_Click();

    // ---- commands and chrome (chrome/)
    void Toolbar2_ButtonClick(const QString &key);
    void Toolbar3_ButtonClick(int index);
    void Toolbar4_ButtonClick(const QString &key);
    void mnuViewSelect_Click(int index);
    void mnuViewGrid_Click();
    void mnuFileClose_Click();
    void mnuHelpAbout_Click();
    void SetCompactMode(bool on);
    void Frame2_DblClick();
    void Image1_DblClick();
    void Label1_DblClick();
    void Frame2_MouseDown(int button);
    void Image1_MouseDown(int button);
    void Label1_MouseDown(int button);
    void Timer1_Timer();
    QString NextSleepFrame();
    // chrome, read access for tests and the menus
    QToolBar *toolbar3() const { return Toolbar3; }
    int captionButtonPicture(int index) const;  // picture shown on caption button 1..3
    QFrame *frame2() const { return Frame2; }
    QLabel *label1() const { return Label1; }
    QLabel *image1() const { return Image1; }
    QTimer *timer1() const { return Timer1; }
    double savedHeight() const { return m_savedHeight; }
    FTitle *splash() const;

    // ---- layout (layout/)
    void Form_Resize();
    void ArrangeBands();
    void FrameCenterBar_MouseMove(int button, int shift, double x, double y);
    void FrameCenterBar_MouseUp(int button, int shift, double x, double y);
    // layout, read access for tests
    CoolBar *coolBar1() const { return m_coolBar; }
    QFrame *frameCenterBar() const { return FrameCenterBar; }
    QStatusBar *statusBar1() const { return StatusBar1; }
    double barLeft() const { return m_barLeft; }

    // ---- read access for tests and the other subsystems
    CatalogueModel *catalogueModel() const { return m_catalogue; }
    KeyListModel *keyListModel() const { return m_keys; }
    QTableView *listView1() const { return ListView1; }
    KeyListView *listView2() const { return ListView2; }
    QComboBox *combo1() const { return Combo1; }
    QString panelText(const QString &key) const;
    QString panelToolTip(const QString &key) const;
    int currentCatalogueRow() const;
    void setCurrentCatalogueRow(int row);
    CCtrlFlavors *ctrlFlavors();
    void setClock(Clock clock) { m_clock = std::move(clock); }
    const platform::AppInfo &app() const { return m_app; }

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

private:
    void buildControls();
    void buildMenus();
    QString EscapeKeys(const QString &keyText) const;
    void ReportKeyRefused(const QString &reason);
    void TakeFocusBack();
    int findCatalogueRow(const QString &name) const;
    // Combo1's entries, and the choice of one by its index.
    void AddHeadings(const QStringList &headings);
    void ChooseHeading(int index);

    platform::Services m_services;
    platform::AppInfo m_app;
    Clock m_clock;

    // catalogue and key list
    CatalogueModel *m_catalogue = nullptr;
    KeyListModel *m_keys = nullptr;
    CatalogueView *ListView1 = nullptr;
    KeyListView *ListView2 = nullptr;
    QComboBox *Combo1 = nullptr;
    QStatusBar *StatusBar1 = nullptr;
    QList<QLabel *> m_panels;  // "list", "key", "date", "comment"

    // band strip and chrome
    QWidget *CoolBar1 = nullptr;
    QFrame *Frame2 = nullptr;
    QLabel *Image1 = nullptr;
    QLabel *Label1 = nullptr;
    QToolBar *Toolbar2 = nullptr;
    QToolBar *Toolbar3 = nullptr;
    QToolBar *Toolbar4 = nullptr;
    QFrame *FrameCenterBar = nullptr;
    QTimer *Timer1 = nullptr;
    CoolBar *m_coolBar = nullptr;  // CoolBar1 with its bands
    QPointer<QWidget> m_splash;  // the start-up title window while it is open
    TitleBandFilter *m_titleBandFilter = nullptr;
    void buildChrome();
    void DragWindow();
    void FitBandToToolbar(int band, QToolBar *toolbar, double extra);
    void StretchBand(CoolBar *coolBar, int index);
    void FitLastColumn(KeyListView *listView, double allowance);
    friend class TitleBandFilter;

    // menu tree
    QMenu *mnuFile = nullptr;
    QMenu *mnuEdit = nullptr;
    QMenu *mnuView = nullptr;
    QMenu *mnuHelp = nullptr;
    QAction *mnuFileListOpen = nullptr;
    QAction *mnuFileClose = nullptr;
    QAction *mnuEditCopy = nullptr;
    QAction *mnuEditSendKey = nullptr;
    QAction *mnuEditDataUpdaate = nullptr;
    QAction *mnuViewSelect[3] = {nullptr, nullptr, nullptr};  // indexes 1 and 2
    QAction *mnuViewGrid = nullptr;
    QAction *mnuViewOpenDataFile = nullptr;
    QAction *mnuViewOpenDataDir = nullptr;
    QAction *mnuHelpAbout = nullptr;

    // window fields
    std::unique_ptr<CCtrlFlavors> m_flavors;
    IRForm *m_irForm = nullptr;
    double m_savedHeight = 0;   // twips, taken when compact mode starts
    qint16 m_lastSecond = 0;
    qint16 m_frameCounter = 0;
    double m_barLeft = 0;       // splitter bar's left edge, twips
};
