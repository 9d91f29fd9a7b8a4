#include "app/About.h"

#include "data/Globals.h"
#include "ui/ClickLabel.h"
#include "ui/ServiceWindowLook.h"
#include "ui/UiServices.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#ifndef QUILLO_VERSION
#error "QUILLO_VERSION must be set by the build"
#endif

namespace {

constexpr qint64 BuildNumber = 2014022001;

QString BuildSuffix() {
    return QStringLiteral("(Build") + QString::number(BuildNumber) + u')';
}

// A receipt slip with a red seal, drawn at the size it is shown.
QPixmap ReceiptPicture(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal u = size / 96.0;

    // the slip, with a shadow
    const QRectF slip(16 * u, 8 * u, 58 * u, 78 * u);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 40));
    p.drawRoundedRect(slip.translated(4 * u, 4 * u), 5 * u, 5 * u);
    p.setBrush(Qt::white);
    p.setPen(QPen(QColor(78, 124, 181), 2 * u));
    p.drawRoundedRect(slip, 5 * u, 5 * u);

    // heading band and lines of the form
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(78, 124, 181));
    p.drawRect(QRectF(slip.left() + 8 * u, slip.top() + 9 * u, slip.width() - 16 * u, 7 * u));
    p.setPen(QPen(QColor(150, 160, 175), 2 * u, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 4; ++i) {
        const qreal y = slip.top() + (26 + 10 * i) * u;
        p.drawLine(QPointF(slip.left() + 8 * u, y), QPointF(slip.right() - (i == 3 ? 26 : 8) * u, y));
    }

    // the seal
    const QRectF seal(50 * u, 52 * u, 36 * u, 36 * u);
    p.setPen(QPen(QColor(210, 30, 30, 220), 3 * u));
    p.setBrush(QColor(255, 255, 255, 120));
    p.drawEllipse(seal);
    QFont font = p.font();
    font.setPixelSize(qRound(18 * u));
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(210, 30, 30));
    p.drawText(seal, Qt::AlignCenter, QStringLiteral("收"));
    return pixmap;
}

} // namespace

QString AboutVersionText(int major, int minor, int release, int build) {
    return QStringLiteral("%1.%2.%3.%4")
               .arg(major)
               .arg(minor)
               .arg(release)
               .arg(build, 4, 10, QLatin1Char('0')) +
           BuildSuffix();
}

QString AboutVersionText(const QString &version) {
    if (version.trimmed().isEmpty())
        return QStringLiteral("()") + BuildSuffix();
    const QStringList parts = version.trimmed().split(u'.');
    int numbers[4] = {0, 0, 0, 0};
    bool readable = parts.size() <= 4;
    for (qsizetype i = 0; readable && i < parts.size(); ++i) {
        const int n = parts[i].toInt(&readable);
        readable = readable && n >= 0;
        numbers[i] = n;
    }
    if (!readable)
        return QStringLiteral("8.0.0.0") + BuildSuffix();
    return AboutVersionText(numbers[0], numbers[1], numbers[2], numbers[3]);
}

QString ProgramVersion() {
    return QStringLiteral(QUILLO_VERSION);
}

TFrm_About::TFrm_About(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("Frm_About"));
    setWindowTitle(QStringLiteral("关于..."));

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(ReceiptPicture(96));
    Image1->setFixedSize(96, 96);

    Label1 = new QLabel(AppTitle, this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont titleFont = Label1->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.3);
    Label1->setFont(titleFont);

    Label2 = new QLabel(QStringLiteral("版权所有 (C) Quillo 开发者，保留所有权利。"), this);
    Label2->setObjectName(QStringLiteral("Label2"));

    Label3 = new ClickLabel(QStringLiteral("使用帮助"), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setToolTip(QStringLiteral("打开本软件的帮助页面"));
    QFont linkFont = Label3->font();
    linkFont.setUnderline(true);
    Label3->setFont(linkFont);
    QPalette blue = Label3->palette();
    blue.setColor(QPalette::WindowText, Qt::blue);
    Label3->setPalette(blue);
    connect(Label3, &ClickLabel::clicked, this, &TFrm_About::Label3Click);

    Label4 = new QLabel(QStringLiteral("版本：") + AboutVersionText(ProgramVersion()), this);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setTextInteractionFlags(Qt::TextSelectableByMouse);

    BitBtn1 = new QPushButton(QStringLiteral("确定(&O)"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);

    auto *lines = new QVBoxLayout;
    lines->setSpacing(8);
    lines->addWidget(Label1);
    lines->addWidget(Label4);
    lines->addWidget(Label2);
    lines->addWidget(Label3, 0, Qt::AlignLeft);
    lines->addStretch();

    auto *top = new QHBoxLayout;
    top->setSpacing(20);
    top->addWidget(Image1, 0, Qt::AlignTop);
    top->addLayout(lines);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 16);
    layout->setSpacing(16);
    layout->addLayout(top);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TFrm_About::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (m_shownOnce)
        return;
    m_shownOnce = true;
    CentreOnScreen(this);
}

void TFrm_About::Label3Click() {
    const QString page = AppDir + QStringLiteral("/help/index.html");
    if (!OpenWithSystem(page))
        ShowInfo(QStringLiteral("无法打开帮助页面：") + page);
}
