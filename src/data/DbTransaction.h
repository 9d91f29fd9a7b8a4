#pragma once

#include "data/DbConnection.h"

// A transaction for one scope: begins in the constructor, rolls back in the destructor
// unless commit() ran.
class DbTransaction {
public:
    explicit DbTransaction(DbConnection &connection)
        : m_conn(connection) {
        m_conn.beginTrans();
    }
    ~DbTransaction() {
        if (!m_done)
            m_conn.rollbackTrans();
    }
    DbTransaction(const DbTransaction &) = delete;
    DbTransaction &operator=(const DbTransaction &) = delete;

    void commit() {
        m_done = true;
        m_conn.commitTrans();
    }

private:
    DbConnection &m_conn;
    bool m_done = false;
};
