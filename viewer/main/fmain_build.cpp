// FMain: its controls, the subsystem objects over them, and the events wired to
// the window's handlers.
#include "fmain.h"

#include "catalogue/cataloguelist.h"
#include "catalogue/cataloguemodel.h"
#include "catalogue/catalogueview.h"
#include "catalogue/datacommands.h"
#include "catalogue/keylistmodel.h"
#include "catalogue/keylistpane.h"
#include "catalogue/keylistview.h"
#include "catalogue/statuspanels.h"
#include "chrome/announcer.h"
#include "chrome/commandbar.h"
#include "chrome/compactmode.h"
#include "chrome/menutree.h"
#include "chrome/toolbaricons.h"
#include "chrome/windowdrag.h"
#include "layout/coolbar.h"
#include "layout/listslayout.h"
#include "layout/splitterbar.h"
#include "output/keyoutput.h"
#include "resources/pictures.h"
#include "util/ctrlflavors.h"
#include "viewerfont.h"
#include "twips.h"

#include <QAction>
#include <QComboBox>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

namespace {

// The object, named as the window's field that holds it (tests look controls up by
// these names).
template <typename Object>
Object *named(Object *object, const char *name)
{
    object->setObjectName(QLatin1String(name));
    return object;
}

}  // namespace

void FMain::buildControls()
{
    const QFont listFont = viewerListFont();

    // Band strip: title band with caption buttons; menu buttons; command buttons and picker.
    CoolBar1 = named(new CoolBar(this), "CoolBar1");
    Frame2 = named(new QFrame(CoolBar1), "Frame2");
    Image1 = named(new QLabel(Frame2), "Image1");
    Image1->setAccessibleName(QStringLiteral("アイコン"));
    Label1 = named(new QLabel(Frame2), "Label1");
    Toolbar3 = named(new QToolBar(CoolBar1), "Toolbar3");
    Toolbar2 = named(new QToolBar(CoolBar1), "Toolbar2");
    Toolbar4 = named(new QToolBar(CoolBar1), "Toolbar4");
    Combo1 = named(new QComboBox(CoolBar1), "Combo1");
    Combo1->setAccessibleName(QStringLiteral("項目"));
    Combo1->setFont(listFont);
    buildTitleBand();

    // Catalogue.
    m_catalogueModel = new CatalogueModel(this);
    ListView1 = named(new CatalogueView(this), "ListView1");
    ListView1->setAccessibleName(QStringLiteral("リスト"));
    setUpDetailsTable(ListView1);
    ListView1->setModel(m_catalogueModel);
    // One text line per row, as a list control draws them.
    ListView1->verticalHeader()->setDefaultSectionSize(QFontMetrics(listFont).height() + 2);
    ListView1->setFont(listFont);
    for (int c = 0; c < CatalogueModel::ColumnCount; ++c)
        ListView1->setColumnWidth(c, common::toWholePixels(1440));  // one inch each

    // Key list.
    m_keyListModel = new KeyListModel(this);
    ListView2 = named(new KeyListView(m_keyListModel, this), "ListView2");
    ListView2->setFont(listFont);
    ListView2->detailsView()->verticalHeader()->setDefaultSectionSize(QFontMetrics(listFont).height() + 2);

    // The list with the keyboard focus shows it with a frame in the highlight colour.
    setUpDarkList(ListView1);
    setUpDarkList(ListView2->detailsView());
    setUpDarkList(ListView2->listView());

    // Made after the lists, so the dark bar shows above them while it is dragged.
    FrameCenterBar = new SplitterBar(this);

    StatusBar1 = named(new QStatusBar(this), "StatusBar1");
    StatusBar1->setSizeGripEnabled(false);
    m_statusPanels = std::make_unique<StatusPanels>(StatusBar1);

    // The strip stays whole over the bar's top end (the status bar, made after the
    // bar, over its bottom end).
    CoolBar1->raise();

    Timer1 = named(new QTimer(this), "Timer1");
    Timer1->setInterval(100);

    Announcer::registerAccessible();
    m_announcer = new Announcer(this);

    // Tab and Shift+Tab: catalogue, heading picker, key list, and round again.
    setTabOrder(ListView1, Combo1);
    setTabOrder(Combo1, ListView2->detailsView());
    setTabOrder(ListView2->detailsView(), ListView2->listView());
}

void FMain::buildTitleBand()
{
    setWindowIcon(pictures::appIcon());
    // The title band looks like an active title bar.
    const QColor caption = palette().color(QPalette::Active, QPalette::Highlight);
    const QColor captionText = palette().color(QPalette::Active, QPalette::HighlightedText);
    QPalette band = Frame2->palette();
    band.setColor(QPalette::Window, caption);
    band.setColor(QPalette::WindowText, captionText);
    Frame2->setPalette(band);
    Frame2->setAutoFillBackground(true);
    Frame2->setAccessibleName(QStringLiteral("タイトルバンド"));
    Image1->setScaledContents(true);
    Label1->setFont(viewerTitleFont());

    m_captionButtons = std::make_unique<CaptionButtons>(Toolbar3, this);

    // Bands: title band and caption buttons; menu buttons; command buttons and picker.
    CoolBar1->addBand(Frame2, 495, 255, 5835, false);
    CoolBar1->addBand(Toolbar3, 495, 240, 495, false);
    CoolBar1->addBand(Toolbar2, 495, 270, 4620, true);
    CoolBar1->addBand(Toolbar4, 495, 330, 240, true);
    CoolBar1->addBand(Combo1, 495, 315, 1005, false, QStringLiteral("項目"));
    CoolBar1->setBandColor(1, caption);
}

void FMain::buildSubsystems()
{
    m_menus = std::make_unique<MenuTree>(this);
    const auto message = [this](const QString &text) { showMessage(text); };
    const auto announce = [this](const QString &text) { m_announcer->announce(text); };
    m_catalogueList = std::make_unique<CatalogueList>(m_catalogueModel, ListView1, *m_statusPanels, m_data);
    m_keyList = std::make_unique<KeyListPane>(m_keyListModel, ListView2, Combo1, *m_catalogueList, announce);
    m_compactMode = std::make_unique<CompactMode>(this, Timer1, *m_captionButtons);
    m_keyOutput = std::make_unique<KeyOutput>(*m_keyList, m_services, this, message, announce);
    m_dataCommands = std::make_unique<DataCommands>(*m_catalogueList, *m_keyList, *m_compactMode, m_services,
                                                    m_app.programFolder, m_data.folder, message);
    m_viewOptions = std::make_unique<ViewOptions>(*m_menus, ListView1, ListView2);
    m_listsLayout =
        std::make_unique<ListsLayout>(ListsLayout::Controls{this, CoolBar1, Frame2, Image1, Label1, Toolbar3, Toolbar2,
                                                            Toolbar4, ListView1, ListView2, FrameCenterBar, StatusBar1},
                                      *m_compactMode, *m_flavors);
    m_windowDrag = new WindowDrag(this, m_services.desktopMetrics->windowManagerTakesDrags(), [this] {
        if (m_flavors)
            m_flavors->InsideDeskTop();
    });
    m_captionButtons->bind(CaptionButton::Minimize, [this] { m_compactMode->enter(); });
    m_captionButtons->bind(CaptionButton::Maximize, [this] { m_captionButtons->toggleMaximized(); });
    m_captionButtons->bind(CaptionButton::Close, [this] { close(); });
    buildToolbars();
}

void FMain::buildToolbars()
{
    // Toolbar2: the menu buttons, text only.
    Toolbar2->setToolButtonStyle(Qt::ToolButtonTextOnly);
    Toolbar2->setAccessibleName(QStringLiteral("メニュー"));
    m_menuButtons = std::make_unique<CommandBar>(Toolbar2);
    m_menuButtons->addButton(QStringLiteral("File"), QStringLiteral("ファイル"), {}, {},
                             [this] { showPopup(m_menus->mnuFile); });
    m_menuButtons->addButton(QStringLiteral("Edit"), QStringLiteral("編集"), {}, {},
                             [this] { showPopup(m_menus->mnuEdit); });
    m_menuButtons->addButton(QStringLiteral("View"), QStringLiteral("表示"), {}, {},
                             [this] { showPopup(m_menus->mnuView); });
    m_menuButtons->addButton(QStringLiteral("Help"), QStringLiteral("ヘルプ"), {}, {},
                             [this] { showPopup(m_menus->mnuHelp); });
    // Alt and the first letter of a menu button's key open its menu under the button;
    // in the menu, its items' own access keys (&L, &U, ...) choose.
    for (const QString &key :
         {QStringLiteral("File"), QStringLiteral("Edit"), QStringLiteral("View"), QStringLiteral("Help")}) {
        auto *shortcut = new QShortcut(QKeySequence(QStringLiteral("Alt+") + key.at(0)), this);
        connect(shortcut, &QShortcut::activated, this, [this, key] {
            m_popupAnchor = Toolbar2->findChild<QWidget *>(key);
            Toolbar2_ButtonClick(key);
            m_popupAnchor = nullptr;
        });
    }

    // Toolbar4: the command buttons, icons with tool tips.
    Toolbar4->setToolButtonStyle(Qt::ToolButtonIconOnly);
    Toolbar4->setIconSize(QSize(16, 16));
    Toolbar4->setAccessibleName(QStringLiteral("コマンド"));
    m_commandButtons = std::make_unique<CommandBar>(Toolbar4);
    m_commandButtons->addButton(QStringLiteral("DataOpen"), QString(), toolbarIcon(ToolbarIcon::DataOpen),
                                QStringLiteral("リストを展開"), [this] { m_catalogueList->LoadCatalogue(); });
    Toolbar4->addSeparator();
    m_commandButtons->addButton(QStringLiteral("ClipCopy"), QString(), toolbarIcon(ToolbarIcon::ClipCopy),
                                QStringLiteral("コピー"), [this] { m_keyOutput->copyCurrentKey(); });
    m_commandButtons->addButton(QStringLiteral("SendKey"), QString(), toolbarIcon(ToolbarIcon::SendKey),
                                QStringLiteral("直接出力"), [this] { m_keyOutput->sendCurrentKey(); });
    Toolbar4->addSeparator();
    m_commandButtons->addButton(QStringLiteral("UpData"), QString(), toolbarIcon(ToolbarIcon::UpData),
                                QStringLiteral("データをアップデートする"),
                                [this] { m_dataCommands->updateCurrentList(); });
}

void FMain::connectEvents()
{
    // catalogue and key list
    connect(ListView1, &QAbstractItemView::clicked, this,
            [this](const QModelIndex &i) { ListView1_ItemClick(i.row()); });
    // Moving the current row with the keyboard selects a row as a click does.
    connect(ListView1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) {
                if (current.isValid())
                    ListView1_ItemClick(current.row());
            });
    connect(ListView1, &CatalogueView::listDoubleClicked, this, &FMain::ListView1_DblClick);
    connect(ListView2, &KeyListView::doubleClicked, this, &FMain::ListView2_DblClick);
    connect(Combo1, &QComboBox::activated, this, &FMain::Combo1_Click);

    // menus; a checkable action toggles itself before triggered(), the commands own the marks
    const MenuTree &menus = *m_menus;
    connect(menus.mnuFileListOpen, &QAction::triggered, this, &FMain::mnuFileListOpen_Click);
    connect(menus.mnuFileClose, &QAction::triggered, this, &FMain::mnuFileClose_Click);
    connect(menus.mnuEditCopy, &QAction::triggered, this, &FMain::mnuEditCopy_Click);
    connect(menus.mnuEditSendKey, &QAction::triggered, this, &FMain::mnuEditSendKey_Click);
    connect(menus.mnuEditDataUpdaate, &QAction::triggered, this, &FMain::mnuEditDataUpdaate_Click);
    connect(menus.mnuViewSelect[1], &QAction::triggered, this, [this] { mnuViewSelect_Click(KeyListLook::Details); });
    connect(menus.mnuViewSelect[2], &QAction::triggered, this, [this] { mnuViewSelect_Click(KeyListLook::List); });
    connect(menus.mnuViewGrid, &QAction::triggered, this, [this] {
        m_menus->mnuViewGrid->setChecked(!m_menus->mnuViewGrid->isChecked());  // undo the automatic toggle
        mnuViewGrid_Click();
    });
    connect(menus.mnuViewOpenDataFile, &QAction::triggered, this, &FMain::mnuViewOpenDataFile_Click);
    connect(menus.mnuViewOpenDataDir, &QAction::triggered, this, &FMain::mnuViewOpenDataDir_Click);
    connect(menus.mnuHelpAbout, &QAction::triggered, this, &FMain::mnuHelpAbout_Click);

    // toolbars and the title band
    connect(Toolbar2, &QToolBar::actionTriggered, this,
            [this](QAction *a) { Toolbar2_ButtonClick(a->data().toString()); });
    connect(Toolbar4, &QToolBar::actionTriggered, this,
            [this](QAction *a) { Toolbar4_ButtonClick(a->data().toString()); });
    for (CaptionButton button : {CaptionButton::Minimize, CaptionButton::Maximize, CaptionButton::Close})
        connect(m_captionButtons->action(button), &QAction::triggered, this,
                [this, button] { Toolbar3_ButtonClick(button); });
    m_windowDrag->watch(
        Frame2, [this](int button) { Frame2_MouseDown(button); }, [this] { Frame2_DblClick(); });
    m_windowDrag->watch(
        Image1, [this](int button) { Image1_MouseDown(button); }, [this] { Image1_DblClick(); });
    m_windowDrag->watch(
        Label1, [this](int button) { Label1_MouseDown(button); }, [this] { Label1_DblClick(); });
    connect(Timer1, &QTimer::timeout, this, &FMain::Timer1_Timer);

    // layout
    connect(CoolBar1, &CoolBar::changed, this, &FMain::ArrangeBands);
    connect(FrameCenterBar, &SplitterBar::mouseMoved, this, &FMain::FrameCenterBar_MouseMove);
    connect(FrameCenterBar, &SplitterBar::mouseReleased, this, &FMain::FrameCenterBar_MouseUp);
}
