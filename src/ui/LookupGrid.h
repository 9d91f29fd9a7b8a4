#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QTableWidget>

class DbQuery;

struct LookupColumn {
    QString field;
    QString caption; // the heading an operator reads
    int width = 0;   // at least; a wider heading widens its column
    bool centredTitle = false;
};

// The result grid of a live lookup, floating under its box: read-only, whole rows selected,
// every second record tinted. It never takes the focus, so typing goes on in the box while the
// arrows of the box move the current record and Enter or a click picks it.
class LookupGrid : public QTableWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LookupGrid)

public:
    // columns are shown under their captions; keptFields are kept for the pick too.
    LookupGrid(const QList<LookupColumn> &columns, const QStringList &keptFields, QWidget *parent = nullptr);

    // New headings (in column order), the columns widened where a heading needs it.
    void setCaptions(const QStringList &captions);
    // Replaces the records with the rows of an open query; the first becomes current.
    void fill(DbQuery &query);
    bool isEmpty() const { return m_records.isEmpty(); }
    int recordCount() const { return static_cast<int>(m_records.size()); }
    // A field of the current record (empty without one).
    QString value(const QString &field) const;
    void moveNext();
    void movePrior();

private:
    void applyCaptions();

    QList<LookupColumn> m_columns;
    QStringList m_fields;
    QList<QHash<QString, QString>> m_records;
};
