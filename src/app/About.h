#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class ClickLabel;

// The version text of the About dialog: major.minor.release.build, the build part written
// with at least four digits, then "(Build2014022001)".
QString AboutVersionText(int major, int minor, int release, int build);
// The same from a dotted version text such as "8.0.5164.38426" (missing parts count as 0).
// An empty text gives "()" and an unreadable one "8.0.0.0", each with the build suffix.
QString AboutVersionText(const QString &version);

// The program's version as the build sets it (the CMake project version).
QString ProgramVersion();

// The About dialog: a picture, the program's own lines, a link to the help pages shipped
// beside the program, and the version.
class TFrm_About : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFrm_About)

public:
    explicit TFrm_About(QWidget *parent = nullptr);

    QLabel *Image1;       // the picture
    QLabel *Label1;       // the program's title
    QLabel *Label2;       // rights notice
    ClickLabel *Label3;   // opens AppDir + "/help/index.html"
    QLabel *Label4;       // "版本：" + version text
    QPushButton *BitBtn1; // "确定(&O)"

public slots:
    void Label3Click();

protected:
    void showEvent(QShowEvent *event) override;

private:
    bool m_shownOnce = false;
};
