// The updater window's controls, placed as designed in twips.
#include "fmain.h"

#include "ftextview.h"
#include "textfit.h"
#include "twips.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace kox {

namespace {

// The control, placed at a rectangle given in twips.
template <typename Control>
Control *placed(Control *control, int left, int top, int width, int height)
{
    using common::toPixels;
    control->setGeometry(QRect(toPixels(left), toPixels(top), toPixels(width), toPixels(height)));
    return control;
}

}  // namespace

QFont FMain::LabelFont(bool bold, bool underline)
{
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"), 9);
    font.setBold(bold);
    font.setUnderline(underline);
    return font;
}

void FMain::BuildControls()
{
    setFixedSize(420, 228);  // client 6300 x 3420 twips
    setWindowFlag(Qt::WindowMaximizeButtonHint, false);

    Frame1 = placed(new QGroupBox(QStringLiteral("Old File (Before)"), this), 100, 100, 3000, 1500);
    Command3 = placed(new QPushButton(QStringLiteral("Information"), Frame1), 100, 300, 2800, 1100);

    Frame2 = placed(new QGroupBox(QStringLiteral("New File (After)"), this), 3200, 100, 3000, 1500);
    Command4 = placed(new QPushButton(QStringLiteral("Information"), Frame2), 100, 300, 2800, 800);
    Command2 = placed(new QPushButton(QStringLiteral("Headeres"), Frame2), 100, 1100, 2800, 300);

    Text3 = placed(newReadOnlyTextBox(this, QStringLiteral("ログ")), 100, 1700, 6100, 700);

    Label1 = placed(new QLabel(this), 105, 2505, 2985, 495);
    Label1->setFont(LabelFont(true, false));
    Label1->setWordWrap(true);
    Label1->setAutoFillBackground(true);
    // No accessible name: assistive technology reads the status text itself.
    Label1->setAccessibleDescription(QStringLiteral("状態"));

    Command6 = placed(new QPushButton(QStringLiteral("Refresh"), this), 3300, 2600, 900, 300);
    Command1 = placed(new QPushButton(QStringLiteral("Update"), this), 4300, 2600, 900, 300);
    Command7 = placed(new QPushButton(QStringLiteral("Cancel"), this), 5300, 2600, 900, 300);

    // A link, so that the keyboard and assistive technology reach it too.
    Label2 = placed(new QLabel(this), 100, 3100, 2250, 180);
    Label2->setFont(LabelFont(false, true));
    Label2->setTextFormat(Qt::RichText);
    Label2->setText(
        QStringLiteral("<a href=\"%1\" style=\"color:#0000ff;\">© tuvel project</a>").arg(MakerPageAddress));
    textfit::shrinkToFit(Label2, LabelFont(false, true));
    Label2->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    Label2->setToolTip(MakerPageAddress);
    Label2->setAccessibleName(QStringLiteral("作者のウェブページ"));
    connect(Label2, &QLabel::linkActivated, this, &FMain::Label2_Click);

    Check1 =
        placed(new QCheckBox(QStringLiteral("更新後、バックアップファイルを削除する。"), this), 2700, 3100, 3500, 300);
    Check1->setChecked(false);  // keep the backup unless asked
    FitCaption(Check1, Label2->geometry().right() + 8);

    // Tab order; frames and the status label take no focus and are passed over.
    QWidget *order[] = {Frame1,   Frame2, Command3, Command4, Text3,  Command1,
                        Command7, Label1, Command2, Command6, Label2, Check1};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);
    const char *const names[] = {"Frame1",   "Frame2", "Command3", "Command4", "Text3",  "Command1",
                                 "Command7", "Label1", "Command2", "Command6", "Label2", "Check1"};
    static_assert(std::size(names) == std::size(order));
    for (std::size_t i = 0; i < std::size(order); ++i)
        order[i]->setObjectName(QLatin1String(names[i]));
    setObjectName(QStringLiteral("FMain"));

    connect(Command1, &QPushButton::clicked, this, &FMain::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &FMain::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &FMain::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &FMain::Command4_Click);
    connect(Command6, &QPushButton::clicked, this, &FMain::Command6_Click);
    connect(Command7, &QPushButton::clicked, this, &FMain::Command7_Click);
    SetStatus(QString(), false);
}

// Fonts without proportional kana make Japanese captions wider than the design
// allows: the control first takes the free room to its left, then its font shrinks
// until the caption fits, so it is never cut off.
void FMain::FitCaption(QWidget *control, int leftLimit)
{
    QRect area = control->geometry();
    if (control->sizeHint().width() <= area.width())
        return;
    area.setLeft(qMax(leftLimit, area.right() + 1 - control->sizeHint().width()));
    control->setGeometry(area);
    QFont font = control->font();
    while (control->sizeHint().width() > area.width() && font.pointSizeF() > 6.5) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
        control->setFont(font);
    }
}

}  // namespace kox
