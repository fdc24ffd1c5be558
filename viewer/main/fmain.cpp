#include "fmain.h"

#include "catalogue/cataloguemodel.h"
#include "catalogue/catalogueview.h"
#include "catalogue/keylistmodel.h"
#include "catalogue/keylistview.h"
#include "chrome/ftitle.h"
#include "layout/coolbar.h"
#include "layout/layoutmath.h"
#include "layout/splitterbar.h"
#include "util/ctrlflavors.h"
#include "viewerfont.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontMetrics>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

namespace {
const char *const panelKeys[] = {"list", "key", "date", "comment"};
}

FMain::FMain(platform::Services services, platform::AppInfo app, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_services(services), m_app(std::move(app)), m_clock([] { return QDateTime::currentDateTime(); })
{
    setObjectName(QStringLiteral("FMain"));
    setWindowTitle(QString());  // the caption stays empty except in compact mode
    setAccessibleName(m_app.title);
    buildControls();
    buildMenus();
    Form_Initialize();
    Form_Load();
}

FMain::~FMain()
{
    Form_Terminate();
}

QString FMain::VersionText(const platform::AppInfo &app)
{
    return platform::VersionText(app);
}

void FMain::Form_Initialize()
{
    if (!m_flavors)
        m_flavors = std::make_unique<CCtrlFlavors>(m_services.desktopMetrics);
    m_irForm = m_flavors.get();
    m_irForm->setFormName(this);
}

CCtrlFlavors *FMain::ctrlFlavors()
{
    // The window's reference creates its object on first use.
    if (!m_flavors) {
        m_flavors = std::make_unique<CCtrlFlavors>(m_services.desktopMetrics);
        m_flavors->setFormName(this);
    }
    return m_flavors.get();
}

void FMain::Form_Terminate()
{
    if (m_irForm) {
        m_irForm->setFormName(nullptr);
        m_irForm->setCtrlName(nullptr);
    }
    m_irForm = nullptr;
    m_flavors.reset();
}

QString FMain::panelText(const QString &key) const
{
    for (int i = 0; i < 4; ++i)
        if (key == QLatin1String(panelKeys[i]))
            return m_panels.at(i)->text();
    return {};
}

QString FMain::panelToolTip(const QString &key) const
{
    for (int i = 0; i < 4; ++i)
        if (key == QLatin1String(panelKeys[i]))
            return m_panels.at(i)->toolTip();
    return {};
}

int FMain::currentCatalogueRow() const
{
    const QModelIndex index = ListView1->selectionModel()->currentIndex();
    return index.isValid() ? index.row() : -1;
}

void FMain::setCurrentCatalogueRow(int row)
{
    ListView1->selectionModel()->setCurrentIndex(m_catalogue->index(row, 0),
        QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void FMain::showMessage(const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, m_app.title, text, QMessageBox::Ok, this);
    box.exec();
}

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

void FMain::buildControls()
{
    const QFont listFont = viewerListFont();

    // Band strip: title band with caption buttons; menu buttons; command buttons and picker.
    m_coolBar = new CoolBar(this);
    CoolBar1 = m_coolBar;
    CoolBar1->setObjectName(QStringLiteral("CoolBar1"));
    Frame2 = new QFrame(CoolBar1);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Image1 = new QLabel(Frame2);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setAccessibleName(QStringLiteral("アイコン"));
    Label1 = new QLabel(Frame2);
    Label1->setObjectName(QStringLiteral("Label1"));
    Toolbar3 = new QToolBar(CoolBar1);
    Toolbar3->setObjectName(QStringLiteral("Toolbar3"));

    Toolbar2 = new QToolBar(CoolBar1);
    Toolbar2->setObjectName(QStringLiteral("Toolbar2"));
    Toolbar2->setToolButtonStyle(Qt::ToolButtonTextOnly);

    Toolbar4 = new QToolBar(CoolBar1);
    Toolbar4->setObjectName(QStringLiteral("Toolbar4"));
    Combo1 = new QComboBox(CoolBar1);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setAccessibleName(QStringLiteral("項目"));
    Combo1->setFont(listFont);
    buildChrome();  // the five bands, the title band and the caption buttons

    // Catalogue.
    m_catalogue = new CatalogueModel(this);
    ListView1 = new CatalogueView(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setAccessibleName(QStringLiteral("リスト"));
    ListView1->setModel(m_catalogue);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->verticalHeader()->hide();
    // One text line per row, as a list control draws them.
    ListView1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    ListView1->verticalHeader()->setDefaultSectionSize(QFontMetrics(listFont).height() + 2);
    ListView1->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    ListView1->setShowGrid(false);
    ListView1->setWordWrap(false);
    ListView1->setFont(listFont);
    for (int c = 0; c < CatalogueModel::ColumnCount; ++c)
        ListView1->setColumnWidth(c, 1440 / 15);  // one inch each

    // Key list.
    m_keys = new KeyListModel(this);
    ListView2 = new KeyListView(m_keys, this);
    ListView2->setObjectName(QStringLiteral("ListView2"));
    ListView2->setFont(listFont);
    ListView2->detailsView()->verticalHeader()->setDefaultSectionSize(QFontMetrics(listFont).height() + 2);

    const QString listStyle = QStringLiteral(
        "QTableView, QListView { background: black; color: white; }");
    ListView1->setStyleSheet(listStyle);
    ListView2->setStyleSheet(listStyle);

    // Made after the lists, so the dark bar shows above them while it is dragged.
    auto *centerBar = new SplitterBar(this);
    FrameCenterBar = centerBar;
    connect(centerBar, &SplitterBar::mouseMoved, this, &FMain::FrameCenterBar_MouseMove);
    connect(centerBar, &SplitterBar::mouseReleased, this, &FMain::FrameCenterBar_MouseUp);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    // The first three panels fit their usual texts; "comment" takes the rest.
    const int stretches[] = {0, 0, 0, 1};
    const char *const widest[] = {"all 9999 lists", "all 99999 keys", "date 0000/00/00 00:00:00", ""};
    for (int i = 0; i < 4; ++i) {
        auto *panel = new QLabel(StatusBar1);
        panel->setObjectName(QLatin1String(panelKeys[i]));
        // No accessible name: it would hide the changing text from screen readers.
        panel->setMinimumWidth(panel->fontMetrics().horizontalAdvance(QLatin1String(widest[i])));
        if (i == 3)  // a long description is cut, not pushed over its neighbours
            panel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        StatusBar1->addWidget(panel, stretches[i]);
        m_panels.append(panel);
    }

    // The strip stays whole over the bar's top end (the status bar, made after the
    // bar, over its bottom end).
    CoolBar1->raise();

    Timer1 = new QTimer(this);
    Timer1->setInterval(100);
    connect(Timer1, &QTimer::timeout, this, &FMain::Timer1_Timer);

    connect(ListView1, &QAbstractItemView::clicked, this, [this](const QModelIndex &i) { ListView1_ItemClick(i.row()); });
    // Moving the current row with the keyboard selects a row as a click does.
    connect(ListView1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) { if (current.isValid()) ListView1_ItemClick(current.row()); });
    connect(ListView1, &CatalogueView::listDoubleClicked, this, &FMain::ListView1_DblClick);
    connect(ListView2, &KeyListView::doubleClicked, this, &FMain::ListView2_DblClick);
    connect(Combo1, &QComboBox::activated, this, &FMain::ChooseHeading);
}

void FMain::Form_Load()
{
    // 1. the splash, owned by this window
    m_splash = FTitle::showSplash(this, m_app);
    // 2. version text into the title band
    Label1->setText(VersionText(m_app));
    // 3. the window's icon beside it
    Image1->setPixmap(windowIcon().pixmap(32, 32));
    Label1->adjustSize();  // the title label sizes itself to its text
    // 4. details view of the key list
    mnuViewSelect_Click(1);
    // 5. build the catalogue
    mnuFileListOpen_Click();
    // 6. status bar without a key count
    UpdateStatusBar(0);
    // 7. start size
    resize(layoutmath::toPixels(6000), layoutmath::toPixels(3000));
    // 8. splitter at a third of the width
    m_barLeft = layoutmath::toTwips(width()) / 3;
    // 9. lay out and go topmost
    Form_Resize();
    // 10. bottom-right corner of the desktop
    ctrlFlavors()->Form2DPosition(3);
}
