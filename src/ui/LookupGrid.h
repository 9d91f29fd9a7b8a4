#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QTableWidget>

class DbQuery;

struct LookupColumn {
    QString field;
    int width = 0;
    bool centredTitle = false;
};

// The result grid of a live lookup, floating under its box: read-only, whole rows selected,
// every second record tinted. It never takes the focus, so typing goes on in the box while the
// arrows of the box move the current record and Enter or a click picks it.
class LookupGrid : public QTableWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LookupGrid)

public:
    // columns are shown (titled with their field names); keptFields are kept for the pick too.
    LookupGrid(const QList<LookupColumn> &columns, const QStringList &keptFields, QWidget *parent = nullptr);

    // Replaces the records with the rows of an open query; the first becomes current.
    void fill(DbQuery &query);
    bool isEmpty() const { return m_records.isEmpty(); }
    int recordCount() const { return static_cast<int>(m_records.size()); }
    // A field of the current record (empty without one).
    QString value(const QString &field) const;
    void moveNext();
    void movePrior();

private:
    QList<LookupColumn> m_columns;
    QStringList m_fields;
    QList<QHash<QString, QString>> m_records;
};
