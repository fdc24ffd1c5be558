#pragma once
// Places, stacks and sizes a form and its controls. The owner hands it the target
// form and control through IRForm. Geometry is in twips, 15 twips per pixel.
// The viewer places, stacks and sizes with it; the send handle, Sleep,
// TextBoxAutoSize, the desktop size, SendMsg and Undo are there for other forms.
#include "twips.h"

#include <QPointer>
#include <QWidget>

namespace platform {
class DesktopMetrics;
}

class IRForm {
public:
    virtual ~IRForm() = default;
    virtual QWidget *FormName() const = 0;
    // Only a window (a top-level widget) is accepted; anything else is refused and
    // the previous form stays. Returns false when refused.
    virtual bool setFormName(QWidget *form) = 0;
    virtual QWidget *CtrlName() const = 0;
    virtual void setCtrlName(QWidget *control) = 0;
};

class CCtrlFlavors : public IRForm {
public:
    static constexpr int TwipsPerPixel = common::TwipsPerPixel;
    static constexpr qint32 EM_UNDO = 199;
    // Places of Form2DPosition.
    enum Position2D : qint32 { Centre = -1, TopLeft = 0, TopRight = 1, BottomLeft = 2, BottomRight = 3 };
    // Insert-after values of the stacking call.
    static constexpr qint32 HWND_TOP = 0;
    static constexpr qint32 HWND_BOTTOM = 1;
    static constexpr qint32 HWND_TOPMOST = -1;
    static constexpr qint32 HWND_NOTOPMOST = -2;

    explicit CCtrlFlavors(platform::DesktopMetrics *metrics);

    qint32 SendHandle() const { return m_sendHandle; }
    void setSendHandle(qint32 value) { m_sendHandle = value; }
    void Sleep(qint32 milliseconds);
    // Sizes the target text box (QLineEdit, QTextEdit, QPlainTextEdit) to its text in
    // its own font. False (and nothing changed) when the target is not a text box.
    bool TextBoxAutoSize();
    qint32 DeskTopWidth();
    qint32 DeskTopHeight();
    void Form2DPosition(qint32 venm2DPosType);
    qint32 Form3DPosition(qint32 venm3DPosType);
    void InsideDeskTop();
    void MaxCtrlSize(qint32 vlngTopMargin, qint32 vlngLeftMargin, qint32 vlngWidthMargin, qint32 vlngHeightMargin);
    // Message sending and Undo complete the class's interface for other forms;
    // the viewer sends no messages through it.
    qint32 SendMsg(qint32 wMsg, qint32 wParam, qint32 &lParam);
    qint32 Undo();

    // Send handles name text boxes for SendMsg; 0 names none. A handle whose box
    // has gone names none either.
    static qint32 sendHandleOf(QWidget *textBox);

    QWidget *FormName() const override { return m_form; }
    bool setFormName(QWidget *form) override;
    QWidget *CtrlName() const override { return m_control; }
    void setCtrlName(QWidget *control) override { m_control = control; }

private:
    platform::DesktopMetrics *m_metrics;
    QPointer<QWidget> m_form;
    QPointer<QWidget> m_control;
    qint32 m_sendHandle = 0;
};
