#include "ftitle.h"

#include "resources/pictures.h"
#include "twips.h"

#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>

FTitle::FTitle(QWidget *owner, const common::AppInfo &app)
    : QWidget(owner, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), m_app(app)
{
    setObjectName(QStringLiteral("FTitle"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_QuitOnClose, false);  // closing the main window still ends the program
    setAccessibleName(app.title);
    setFixedSize(320, 240);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);

    Timer1 = new QTimer(this);
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &FTitle::Timer1_Timer);

    QFont labelFont;
    labelFont.setFamilies({QStringLiteral("Noto Sans CJK JP"), QStringLiteral("MS PGothic")});
    labelFont.setPixelSize(12);
    QPalette light = palette();
    light.setColor(QPalette::WindowText, Qt::white);

    Label3 = new QLabel(QStringLiteral("3"), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setFont(labelFont);
    Label3->setPalette(light);
    Label3->setGeometry(common::toWholePixels(4500), common::toWholePixels(100), 20, 16);

    Label2 = new QLabel(QStringLiteral("Ver"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setFont(labelFont);
    Label2->setPalette(light);
    // A fixed box that holds any version text, so that no font is needed before
    // the window is up (sizing it to the text would load the font now).
    Label2->setGeometry(common::toWholePixels(105), common::toWholePixels(105), 160, 18);

    Form_Load();
    Timer1->start();

    // Centred on the screen.
    if (const QScreen *screen = owner && owner->screen() ? owner->screen() : QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

FTitle *FTitle::showSplash(QWidget *owner, const common::AppInfo &app)
{
    auto *title = new FTitle(owner, app);
    title->show();
    return title;
}

FTitle *FTitle::showAbout(QWidget *owner, const common::AppInfo &app)
{
    auto *title = new FTitle(owner, app);
    title->Timer1->stop();
    title->Label3->setText(QString());
    title->show();
    return title;
}

QString FTitle::versionText(const common::AppInfo &app)
{
    return QStringLiteral("version %1.%2.(%3)").arg(app.major).arg(app.minor).arg(app.revision);
}

double FTitle::leadingNumber(const QString &text)
{
    // Read by hand rather than with a regular expression: the splash would otherwise
    // load and compile a regular-expression engine for a one-character label.
    const auto isSpace = [](QChar c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); };
    const auto isDigit = [](QChar c) { return c >= u'0' && c <= u'9'; };
    qsizetype at = 0;
    while (at < text.size() && isSpace(text[at]))
        ++at;
    const qsizetype start = at;
    if (at < text.size() && (text[at] == u'+' || text[at] == u'-'))
        ++at;
    const qsizetype digitsStart = at;
    while (at < text.size() && isDigit(text[at]))
        ++at;
    const bool whole = at > digitsStart;
    if (at < text.size() && text[at] == u'.') {
        qsizetype end = at + 1;
        while (end < text.size() && isDigit(text[end]))
            ++end;
        if (whole || end > at + 1)  // "5." and ".5" are numbers, "." alone is not
            at = end;
    }
    if (at == digitsStart)
        return 0;
    return QStringView(text).sliced(start, at - start).toDouble();
}

void FTitle::Form_Load() { Label2->setText(versionText(m_app)); }

void FTitle::Timer1_Timer()
{
    Label3->setText(QString::number(leadingNumber(Label3->text()) - 1, 'g', 15));
    if (!(leadingNumber(Label3->text()) > 0))
        close();
}

void FTitle::Form_Click() { close(); }

void FTitle::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    // Drawn at paint time, not before the window is up: it needs two fonts.
    pictures::paintTitlePicture(painter);
    // Fixed single-line border.
    painter.setPen(QColor(0x40, 0x40, 0x40));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

// Presses on the labels reach the window too; only the picture itself is a click.
void FTitle::mousePressEvent(QMouseEvent *event)
{
    m_pressedOnPicture = event->button() == Qt::LeftButton && !childAt(event->position().toPoint());
}

void FTitle::mouseReleaseEvent(QMouseEvent *event)
{
    const bool onPicture =
        m_pressedOnPicture && rect().contains(event->position().toPoint()) && !childAt(event->position().toPoint());
    m_pressedOnPicture = false;
    if (onPicture && event->button() == Qt::LeftButton)
        Form_Click();
}
