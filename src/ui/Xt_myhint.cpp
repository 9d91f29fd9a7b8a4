#include "ui/Xt_myhint.h"

#include "ui/ServiceWindowLook.h"

#include <QCoreApplication>
#include <QLabel>
#include <QVBoxLayout>

TForm_XT_MyHint *Form_XT_MyHint = nullptr;

TForm_XT_MyHint::TForm_XT_MyHint(QWidget *parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("Form_XT_MyHint"));
    ApplyServiceWindowLook(this);
    StaticText1 = new QLabel(DefaultHintText, this);
    StaticText1->setObjectName(QStringLiteral("StaticText1"));
    QFont font = StaticText1->font();
    font.setBold(true);
    font.setPixelSize(19);
    StaticText1->setFont(font);
    StaticText1->setAlignment(Qt::AlignCenter);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(StaticText1);
}

void ShowWaitBanner(const QString &text) {
    if (!Form_XT_MyHint)
        return;
    if (!text.isEmpty())
        Form_XT_MyHint->StaticText1->setText(text);
    CentreOnScreen(Form_XT_MyHint);
    Form_XT_MyHint->show();
    Form_XT_MyHint->raise();
    Form_XT_MyHint->repaint();
}

void HideWaitBanner() {
    if (!Form_XT_MyHint)
        return;
    Form_XT_MyHint->hide();
    Form_XT_MyHint->StaticText1->setText(DefaultHintText);
}

WaitBannerShown::WaitBannerShown(const QString &text) {
    ShowWaitBanner(text);
    // The work that follows blocks the event loop: let the window system map and paint the
    // banner first.
    if (Form_XT_MyHint)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

WaitBannerShown::~WaitBannerShown() {
    HideWaitBanner();
}
