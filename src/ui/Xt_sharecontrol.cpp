#include "ui/Xt_sharecontrol.h"

#include <QStyle>

TForm_XT_ShareControl *Form_XT_ShareControl = nullptr;

TForm_XT_ShareControl::TForm_XT_ShareControl(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::WindowTransparentForInput | Qt::WindowDoesNotAcceptFocus) {
    setObjectName(QStringLiteral("Form_XT_ShareControl"));
    // A window of its own, owned by its parent but never shown: as a child widget it would
    // appear with the main window and take the clicks meant for what lies beneath it.
    setAttribute(Qt::WA_DontShowOnScreen);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    QStyle *s = style();
    ImgTree = {s->standardIcon(QStyle::SP_DirClosedIcon), s->standardIcon(QStyle::SP_DirOpenIcon),
               s->standardIcon(QStyle::SP_FileIcon)};
    ImgBasicGrid_20 = {s->standardIcon(QStyle::SP_FileIcon), s->standardIcon(QStyle::SP_DialogApplyButton)};
    ImgBillState1 = {s->standardIcon(QStyle::SP_DialogApplyButton),
                     s->standardIcon(QStyle::SP_MessageBoxWarning)};
}
