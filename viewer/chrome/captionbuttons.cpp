#include "captionbuttons.h"

#include "codetext.h"

#include <QAction>
#include <QToolBar>

namespace {

constexpr common::CodeText<CaptionPicture> CaptionButtonNames[] = {
    {CaptionPicture::Minimize, u"最小化"},
    {CaptionPicture::Maximize, u"最大化"},
    {CaptionPicture::Restore, u"元に戻す"},
    {CaptionPicture::Close, u"閉じる"},
};

}  // namespace

CaptionButtons::CaptionButtons(QToolBar *toolbar, QWidget *window) : m_toolbar(toolbar), m_window(window)
{
    m_toolbar->setIconSize(QSize(12, 10));
    m_toolbar->setAccessibleName(QStringLiteral("キャプションボタン"));
    const CaptionButton buttons[] = {CaptionButton::Minimize, CaptionButton::Maximize, CaptionButton::Close};
    const CaptionPicture startPictures[] = {CaptionPicture::Minimize, CaptionPicture::Maximize, CaptionPicture::Close};
    for (int i = 0; i < 3; ++i) {
        m_toolbar->addAction(QString());
        setPicture(buttons[i], startPictures[i]);
    }
}

void CaptionButtons::bind(CaptionButton button, std::function<void()> command)
{
    m_commands[button] = std::move(command);
}

void CaptionButtons::press(CaptionButton button) const
{
    const auto found = m_commands.find(button);
    if (found != m_commands.end() && found->second)
        found->second();
}

QAction *CaptionButtons::action(CaptionButton button) const { return m_toolbar->actions().at(int(button) - 1); }

CaptionPicture CaptionButtons::picture(CaptionButton button) const
{
    return CaptionPicture(action(button)->data().toInt());
}

void CaptionButtons::setPicture(CaptionButton button, CaptionPicture picture)
{
    QAction *buttonAction = action(button);
    const QString name = common::textOf(CaptionButtonNames, picture, QStringLiteral("閉じる"));
    buttonAction->setData(int(picture));
    buttonAction->setIcon(QIcon(pictures::captionPicture(picture)));
    buttonAction->setText(name);
    buttonAction->setToolTip(name);
    if (QWidget *widget = m_toolbar->widgetForAction(buttonAction))
        widget->setAccessibleName(name);
}

void CaptionButtons::toggleMaximized()
{
    if (m_window->windowState() & Qt::WindowMaximized) {
        m_window->setWindowState(m_window->windowState() & ~Qt::WindowMaximized);
        setPicture(CaptionButton::Maximize, CaptionPicture::Maximize);
    } else {
        m_window->setWindowState((m_window->windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
        setPicture(CaptionButton::Maximize, CaptionPicture::Restore);
    }
}
