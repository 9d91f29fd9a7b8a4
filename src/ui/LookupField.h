#pragma once

#include <QObject>
#include <QString>

#include <functional>

class LookupComboBox;
class LookupGrid;

// A live lookup: the box without a list of its own, and the result grid that drops under it.
// Typing in the box shows the grid and searches for the text; the box's drop-down button
// toggles the grid; Down and Up in the box move the current record, Esc and Tab hide the grid;
// a click on a record picks it. Clicks elsewhere close the grid. What a pick does, and Enter,
// belong to the form.
class LookupField : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LookupField)

public:
    // statement gives the search for a typed text; place moves the grid to where it drops.
    LookupField(LookupComboBox *box, LookupGrid *grid, std::function<QString(const QString &)> statement,
                std::function<void()> place, QObject *parent);

    LookupComboBox *box() const { return m_box; }
    LookupGrid *grid() const { return m_grid; }
    bool isShown() const;
    void hide();
    // Runs the search for the box text into the grid (a failing search is reported).
    void search();
    // The grid placed, shown above its neighbours and filled for the box text.
    void open();

public slots:
    // The drop-down button: hides a shown grid, or opens it; the caret goes to the box's end.
    void toggle();

signals:
    // The user changed the box text; sent before the search runs.
    void edited(const QString &text);
    // A record was clicked.
    void picked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void onTextEdited(const QString &text);

    LookupComboBox *m_box;
    LookupGrid *m_grid;
    std::function<QString(const QString &)> m_statement;
    std::function<void()> m_place;
};
