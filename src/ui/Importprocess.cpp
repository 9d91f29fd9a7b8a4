#include "ui/Importprocess.h"

#include "ui/ServiceWindowLook.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

TForm_Importprocess *Form_Importprocess = nullptr;

TForm_Importprocess::TForm_Importprocess(QWidget *parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("Form_Importprocess"));
    setWindowTitle(QStringLiteral("处理中......请耐心等待"));
    ApplyServiceWindowLook(this);
    Label1 = new QLabel(windowTitle(), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2 = new QLabel(QStringLiteral("正在处理数据，请稍候......"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    QFont bold = Label2->font();
    bold.setBold(true);
    bold.setPixelSize(17);
    Label2->setFont(bold);
    Label1->setAlignment(Qt::AlignCenter);
    Label2->setAlignment(Qt::AlignCenter);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 12, 20, 16);
    layout->addWidget(Label1);
    layout->addWidget(Label2);
    layout->addWidget(ProgressBar1);
}
