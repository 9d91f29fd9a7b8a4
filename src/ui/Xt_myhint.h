#pragma once

#include <QWidget>

class QLabel;

// The wait banner, shown while a list loads or a maintenance command runs.
class TForm_XT_MyHint : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm_XT_MyHint)

public:
    explicit TForm_XT_MyHint(QWidget *parent = nullptr);

    QLabel *StaticText1;
};

extern TForm_XT_MyHint *Form_XT_MyHint;

inline const QString DefaultHintText = QStringLiteral("正在加载数据，请稍候......");

// Shows the banner (with its own text when one is given) and paints it at once.
// Both do nothing when start-up has not created the banner.
void ShowWaitBanner(const QString &text = QString());
// Hides the banner and puts the default text back.
void HideWaitBanner();

// The banner with a text for the length of a scope: shown (and painted, even before the
// window system has mapped it) at construction, hidden with the default text put back at
// destruction.
class WaitBannerShown {
public:
    explicit WaitBannerShown(const QString &text);
    ~WaitBannerShown();
    WaitBannerShown(const WaitBannerShown &) = delete;
    WaitBannerShown &operator=(const WaitBannerShown &) = delete;
};
