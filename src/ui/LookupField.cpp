#include "ui/LookupField.h"

#include "data/DbQuery.h"
#include "data/Sharedm2.h"
#include "ui/CommandGuard.h"
#include "ui/LookupCloser.h"
#include "ui/LookupComboBox.h"
#include "ui/LookupGrid.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>

LookupField::LookupField(LookupComboBox *box, LookupGrid *grid,
                         std::function<QString(const QString &)> statement, std::function<void()> place,
                         QObject *parent)
    : QObject(parent)
    , m_box(box)
    , m_grid(grid)
    , m_statement(std::move(statement))
    , m_place(std::move(place)) {
    grid->hide();
    new LookupCloser(grid, box, this);
    box->installEventFilter(this);
    box->lineEdit()->installEventFilter(this);
    connect(box->lineEdit(), &QLineEdit::textEdited, this, &LookupField::onTextEdited);
    connect(box, &LookupComboBox::dropDownRequested, this, &LookupField::toggle);
    connect(grid, &LookupGrid::cellClicked, this, &LookupField::picked);
}

bool LookupField::isShown() const {
    return m_grid->isVisible();
}

void LookupField::hide() {
    m_grid->hide();
}

void LookupField::search() {
    RunCommand([this] {
        DbQuery query(ShareDM1->ShareConn);
        query.setText(m_statement(m_box->currentText()));
        query.open();
        m_grid->fill(query);
    });
}

void LookupField::open() {
    m_place();
    m_grid->show();
    m_grid->raise();
    search();
}

void LookupField::toggle() {
    if (isShown())
        hide();
    else
        open();
    m_box->setFocus(Qt::OtherFocusReason);
    m_box->lineEdit()->end(false);
}

void LookupField::onTextEdited(const QString &text) {
    emit edited(text);
    if (isShown())
        search();
    else
        open();
}

bool LookupField::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::FocusOut) {
        // Tab leaves the box and its lookup.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason)
            hide();
    }
    if (event->type() == QEvent::KeyPress && isShown()) {
        switch (static_cast<QKeyEvent *>(event)->key()) {
        case Qt::Key_Down:
            m_grid->moveNext();
            return true;
        case Qt::Key_Up:
            m_grid->movePrior();
            return true;
        case Qt::Key_Escape:
            hide();
            return true;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}
