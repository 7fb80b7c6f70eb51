#pragma once

#include <memory>

#include "VarTable.h"

// The variables computations read. One on the window's thread reads the
// table where it stands; a job on another thread takes an unchanging copy,
// made when first asked for after a change and shared by every job until
// the table changes again, so a few hundred thousand variables are not
// copied for each key.
class SharedVariables {
  public:
    // Views `table`, which must outlive this object.
    explicit SharedVariables(const VarTable& table) : m_table(table) {}

    const VarTable& Table() const { return m_table; }
    std::shared_ptr<const VarTable> Snapshot() {
        if (!m_snapshot)
            m_snapshot = std::make_shared<const VarTable>(m_table);
        return m_snapshot;
    }
    // The table changed: the next snapshot is a new copy.
    void Changed() { m_snapshot.reset(); }

  private:
    const VarTable& m_table;
    std::shared_ptr<const VarTable> m_snapshot;
};
